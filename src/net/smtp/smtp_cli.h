#pragma once

#include "net/smtp/base64_file_reader.h"
#include "net/smtp/custom_smtp_client.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace statvane {

// The SMTP client that sends files as base64 attachments of a MIME multipart
// message. Without files the message is plain text, as the base client sends
// it.
class TSmtpCli : public TCustomSmtpClient {
  public:
    using TCustomSmtpClient::TCustomSmtpClient;

    // Paths of the files to attach, in order. Entries put here directly are
    // taken as they are; see AssignEmailFiles.
    std::vector<std::string> EmailFiles;
    // Replaces EmailFiles with the given paths trimmed, blank ones skipped.
    // Raises "File not found '<path>'" for a file that does not exist, and
    // then keeps the old list.
    void AssignEmailFiles(const std::vector<std::string>& paths);

    // May change an attachment's content type (fileNumber counts from 1).
    std::function<void(int fileNumber, const std::string& fileName, std::string& contentType)>
        OnAttachContentType;

    void Data() override;
    const std::string& Boundary() const { return boundary_; }

  protected:
    bool produceBodyLine(std::string& line) override;
    void passHeaderLine(std::string& line) override;
    void stopMessage() override;

  private:
    void prepareMime();
    bool produceAttachmentLine(std::string& line);
    bool startNextFile();
    std::string attachmentContentType(int fileNumber, const std::string& fileName);

    std::vector<std::string> files_;
    std::string boundary_;
    std::deque<std::string> pendingMimeLines_;
    bool textPartDone_ = false;
    std::size_t nextFile_ = 0;
    bool fileOpen_ = false;
    bool closingSent_ = false;
    Base64FileReader reader_;
};

} // namespace statvane
