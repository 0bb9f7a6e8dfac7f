#pragma once

#include "analysis/bytes_step.h"
#include "net/http/head_request_batch.h"

#include <functional>

namespace statvane {

// The bytes step's page requests through the HTTP client, several at a time
// (see HeadRequestBatch); Cancel of the run aborts the requests under way.
class HttpHeadRequester : public HeadRequester {
  public:
    explicit HttpHeadRequester(std::function<bool()> cancelRequested,
                               HeadRequestLimits limits = HeadRequestLimits::standard());

    // Told when a secure site's certificate is not trusted (see THttpCli).
    void setUntrustedServerHandler(THttpCli::UntrustedServerHandler handler);

    void setProxy(const ProxySettings& proxy) override;
    void requestHeads(const std::vector<std::string>& urls, const Answered& answered) override;

  private:
    std::function<bool()> cancelRequested_;
    HeadRequestLimits limits_;
    ProxySettings proxy_;
    THttpCli::UntrustedServerHandler untrustedServer_;
};

} // namespace statvane
