// The message text of TCustomSmtpClient: the header, then the body lines,
// produced one at a time while the socket drains, then the final ".".
#include "net/smtp/custom_smtp_client.h"
#include "net/smtp/smtp_text.h"
#include "platform/one_line_text.h"

#include <QHostInfo>
#include <QSslSocket>

namespace statvane {
namespace {

// Lines are produced only while less than this waits to be written, so a
// message of any size is never held whole.
constexpr qint64 sendHighWater = 16 * 1024;

} // namespace

bool TCustomSmtpClient::produceBodyLine(std::string& line) {
    if (!OnGetData)
        return false;
    bool more = true;
    line.clear();
    OnGetData(++bodyLineNumber_, line, maxBodyLineLength, more);
    if (!more)
        return false;
    if (line.size() > maxBodyLineLength)
        line.resize(maxBodyLineLength);
    return true;
}

void TCustomSmtpClient::passHeaderLine(std::string& line) {
    if (OnHeaderLine)
        OnHeaderLine(line);
}

void TCustomSmtpClient::stopMessage() {
    sendingMessage_ = false;
    headerLines_.clear();
}

void TCustomSmtpClient::abandonMessage(const std::string& reason) {
    setErrorMessage(reason);
    dropConnection();
}

std::string TCustomSmtpClient::contentTypeLine() const {
    const char* type = ContentType == smtpHTML ? "text/html" : "text/plain";
    return std::string("Content-Type: ") + type + "; charset=\"" + CharSet + "\"";
}

// From here until the final "." is sent, a reply from the server ends the
// request as the answer to the message.
void TCustomSmtpClient::startMessage() {
    headerLines_ = headerLines();
    if (OnProcessHeader)
        OnProcessHeader(headerLines_);
    headerLines_.emplace_back();
    nextHeaderLine_ = 0;
    bodyLineNumber_ = 0;
    acceptedCodes_ = {250};
    continuation_ = Continuation::none;
    sendingMessage_ = true;
    pumpMessage();
}

// A value with a line break in it (from a settings file) would start a
// header line of its own: each break is sent as a blank.
std::vector<std::string> TCustomSmtpClient::headerLines() const {
    std::vector<std::string> lines;
    if (!isBlank(HdrReplyTo))
        lines.push_back("Reply-To: " + oneLineText(HdrReplyTo));
    if (!isBlank(HdrReturnPath))
        lines.push_back("Return-Path: " + oneLineText(HdrReturnPath));
    lines.push_back("From: " + oneLineText(HdrFrom));
    lines.push_back("To: " + oneLineText(HdrTo));
    lines.push_back("Subject: " + oneLineText(HdrSubject));
    lines.push_back("Mime-Version: 1.0");
    lines.push_back(contentTypeLine());
    lines.push_back("Date: " + mailDateText(clock_()));
    lines.push_back("Message-ID: " +
                    messageIdText(messageIdSource_(), HdrFrom,
                                  QHostInfo::localHostName().toLatin1().toStdString()));
    return lines;
}

void TCustomSmtpClient::pumpMessage() {
    std::string line;
    while (sendingMessage_ && socket_->bytesToWrite() < sendHighWater) {
        if (!nextMessageLine(line)) {
            if (sendingMessage_)
                endMessage();
            return;
        }
        line += "\r\n";
        socket_->write(line.data(), static_cast<qint64>(line.size()));
    }
}

// Header lines are passed on as they are; body lines are dot-stuffed and
// shown.
bool TCustomSmtpClient::nextMessageLine(std::string& line) {
    if (nextHeaderLine_ < headerLines_.size()) {
        line = headerLines_[nextHeaderLine_++];
        passHeaderLine(line);
        return true;
    }
    if (!produceBodyLine(line))
        return false;
    if (!line.empty() && line.front() == '.')
        line.insert(0, 1, '.');
    display("> " + line);
    return true;
}

void TCustomSmtpClient::endMessage() {
    stopMessage();
    sendCommand(".", {250}, Continuation::none);
}

} // namespace statvane
