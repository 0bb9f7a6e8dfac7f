#pragma once

#include "platform/error.h"

#include <string>

namespace statvane {

// A failed HTTP request: the reason text (the server's or the client's own)
// is the message; the status is the server's code, or 404 when the client
// failed to reach the server or gave up.
class EHttpException : public Error {
  public:
    EHttpException(const std::string& reason, int status) : Error(reason), status_(status) {}

    std::string ResponseReason() const { return what(); }
    int ResponseStatus() const { return status_; }

  private:
    int status_;
};

} // namespace statvane
