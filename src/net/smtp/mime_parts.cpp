#include "net/smtp/mime_parts.h"

namespace statvane {
namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

} // namespace

std::string multipartBoundary(const std::string& stamp) {
    return "= Multipart Boundary " + stamp;
}

std::string multipartContentType(const std::string& boundary) {
    return "Content-Type: multipart/mixed;\r\n\tboundary=" + quoted(boundary);
}

std::vector<std::string> mimePrologue(const std::string& boundary,
                                      const std::string& textContentTypeLine) {
    return {"This is a multipart MIME message.", "", "--" + boundary, textContentTypeLine,
            "Content-Transfer-Encoding: 7bit",   ""};
}

std::vector<std::string> attachmentPartHeader(const std::string& boundary,
                                              const std::string& contentType,
                                              const std::string& fileName) {
    return {"--" + boundary,
            "Content-Type: " + contentType + ";",
            "\tname=" + quoted(fileName),
            "Content-Transfer-Encoding: base64",
            "Content-Disposition: attachment;",
            "\tfilename=" + quoted(fileName),
            ""};
}

std::string closingBoundary(const std::string& boundary) {
    return "--" + boundary + "--";
}

std::string fileNameWithoutFolder(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

} // namespace statvane
