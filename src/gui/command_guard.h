#pragma once

#include <functional>

namespace statvane {

class Prompt;

// The general error handler: runs a command; an error that escapes it ends
// the command and is told through the prompt (its text with a full stop, the
// error icon), and the program goes on.
void runGuarded(Prompt& prompt, const std::function<void()>& command);

} // namespace statvane
