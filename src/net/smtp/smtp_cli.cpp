#include "net/smtp/smtp_cli.h"

#include "net/smtp/mime_parts.h"
#include "net/smtp/smtp_text.h"
#include "platform/ascii.h"

#include <filesystem>

namespace statvane {

void TSmtpCli::AssignEmailFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& entry : paths) {
        const std::string path(trimControls(entry));
        if (path.empty())
            continue;
        if (!std::filesystem::exists(path))
            throw SmtpException("File not found '" + path + "'");
        files.push_back(path);
    }
    EmailFiles = std::move(files);
}

void TSmtpCli::Data() {
    requireReady();
    requireConnected();
    prepareMime();
    TCustomSmtpClient::Data();
}

// With files to attach the message becomes multipart: a boundary from the
// clock, and the lines that open the text part waiting to be sent.
void TSmtpCli::prepareMime() {
    reader_.close();
    fileOpen_ = false;
    pendingMimeLines_.clear();
    files_ = EmailFiles;
    textPartDone_ = false;
    nextFile_ = 0;
    closingSent_ = false;
    boundary_.clear();
    if (files_.empty())
        return;
    boundary_ = multipartBoundary(boundaryStamp(clock()()));
    for (std::string& line : mimePrologue(boundary_, contentTypeLine()))
        pendingMimeLines_.push_back(std::move(line));
}

// The body: the waiting MIME lines first, then the text part, then the
// attachments and the closing boundary.
bool TSmtpCli::produceBodyLine(std::string& line) {
    if (!pendingMimeLines_.empty()) {
        line = std::move(pendingMimeLines_.front());
        pendingMimeLines_.pop_front();
        return true;
    }
    if (!textPartDone_) {
        if (TCustomSmtpClient::produceBodyLine(line))
            return true;
        textPartDone_ = true;
    }
    return !boundary_.empty() && produceAttachmentLine(line);
}

bool TSmtpCli::produceAttachmentLine(std::string& line) {
    if (fileOpen_) {
        if (std::optional<std::string> encoded = reader_.nextLine()) {
            line = std::move(*encoded);
            return true;
        }
        fileOpen_ = false;
        if (reader_.failed()) {
            abandonMessage("Cannot read attachment '" + files_[nextFile_ - 1] + "'");
            return false;
        }
    }
    line.clear();
    if (nextFile_ < files_.size())
        return startNextFile();
    if (closingSent_)
        return false;
    closingSent_ = true;
    pendingMimeLines_.push_back(closingBoundary(boundary_));
    return true;
}

// Opens the next file and queues its part header; the empty line before the
// part is the line produced now.
bool TSmtpCli::startNextFile() {
    const std::string& path = files_[nextFile_++];
    if (!reader_.open(path)) {
        abandonMessage("Cannot open attachment '" + path + "'");
        return false;
    }
    fileOpen_ = true;
    const std::string name = fileNameWithoutFolder(path);
    const std::string type = attachmentContentType(static_cast<int>(nextFile_), name);
    for (std::string& header : attachmentPartHeader(boundary_, type, name))
        pendingMimeLines_.push_back(std::move(header));
    return true;
}

std::string TSmtpCli::attachmentContentType(int fileNumber, const std::string& fileName) {
    std::string type = "application/octet-stream";
    if (OnAttachContentType)
        OnAttachContentType(fileNumber, fileName, type);
    return type;
}

void TSmtpCli::passHeaderLine(std::string& line) {
    constexpr std::string_view contentType = "Content-Type:";
    if (!boundary_.empty() &&
        ascii::equalsIgnoringCase(std::string_view(line).substr(0, contentType.size()),
                                  contentType))
        line = multipartContentType(boundary_);
    TCustomSmtpClient::passHeaderLine(line);
}

void TSmtpCli::stopMessage() {
    reader_.close();
    fileOpen_ = false;
    pendingMimeLines_.clear();
    TCustomSmtpClient::stopMessage();
}

} // namespace statvane
