#pragma once

#include "platform/prompt.h"
#include "shell/terminal_progress.h"

#include <set>
#include <string>

namespace statvane {

// The batch run's word that a secure web site's certificate was not trusted:
// one message line per server, however many of its pages were asked for,
// above the progress line.
class UntrustedSiteNotices {
  public:
    UntrustedSiteNotices(Prompt& prompt, TerminalProgress& progress)
        : prompt_(prompt), progress_(progress) {}

    void tell(const std::string& server, const std::string& reason);

  private:
    Prompt& prompt_;
    TerminalProgress& progress_;
    std::set<std::string> told_;
};

} // namespace statvane
