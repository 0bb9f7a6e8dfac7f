#pragma once

#include "analysis/bytes_step.h"
#include "net/http/http_cli.h"

#include <functional>

namespace statvane {

// The bytes step's page requests through the HTTP client; Cancel of the run
// aborts a request under way.
class HttpHeadRequester : public HeadRequester {
  public:
    explicit HttpHeadRequester(std::function<bool()> cancelRequested);

    // Told when a secure site's certificate is not trusted (see THttpCli).
    void setUntrustedServerHandler(THttpCli::UntrustedServerHandler handler);

    void setProxy(const ProxySettings& proxy) override;
    std::optional<std::vector<std::string>> requestHead(const std::string& url) override;

  private:
    THttpCli client_;
};

} // namespace statvane
