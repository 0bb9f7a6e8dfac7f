#include "net/http/http_request.h"

#include "net/base64.h"
#include "net/http/http_date.h"

namespace statvane {
namespace {

void addLine(std::string& text, std::string_view name, const std::string& value) {
    if (value.empty())
        return;
    text.append(name).append(": ").append(value).append("\r\n");
}

} // namespace

std::string requestText(const HeadRequest& request) {
    std::string text = "HEAD " + request.path + " HTTP/1.0\r\n";
    addLine(text, "From", request.sender);
    addLine(text, "Accept", request.accept);
    addLine(text, "Referer", request.reference);
    addLine(text, "User-Agent", request.agent);
    text += "Host: " + request.host + "\r\n";
    if (request.noCache)
        text += "Pragma: no-cache\r\n";
    if (request.modifiedSince)
        addLine(text, "If-Modified-Since", httpDate(*request.modifiedSince));
    if (!request.user.empty())
        addLine(text, "Authorization", basicAuthorization(request.user, request.password));
    if (!request.proxyUser.empty())
        addLine(text, "Proxy-Authorization",
                basicAuthorization(request.proxyUser, request.proxyPassword));
    addLine(text, "Cookie", request.cookie);
    return text + "\r\n";
}

std::string basicAuthorization(const std::string& user, const std::string& password) {
    return "Basic " + base64Encode(user + ":" + password);
}

} // namespace statvane
