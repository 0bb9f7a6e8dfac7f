#pragma once

#include "platform/prompt.h"

#include <cstdio>

namespace statvane {

// Message boxes for a run without a window: each message, and each detail
// line after it, goes to a stream as "Statvane: " and its text. Questions are
// answered No.
class StreamPrompt : public Prompt {
  public:
    explicit StreamPrompt(std::FILE* stream) : stream_(stream) {}

    void showMessage(const std::string& text, MessageIcon icon) override;
    bool ask(const std::string& text) override;
    void showDetail(const std::string& line) override;

  private:
    void printLine(const std::string& text);

    std::FILE* stream_;
};

} // namespace statvane
