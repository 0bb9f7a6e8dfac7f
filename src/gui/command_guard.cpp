#include "gui/command_guard.h"

#include "platform/error.h"
#include "platform/prompt.h"

#include <new>

namespace statvane {

void runGuarded(Prompt& prompt, const std::function<void()>& command) {
    try {
        command();
    } catch (const Error& error) {
        showError(prompt, error);
    } catch (const std::bad_alloc&) {
        prompt.showMessage(errorMessageText("Out of memory"), MessageIcon::Error);
    } catch (const std::exception& error) {
        prompt.showMessage(errorMessageText(error.what()), MessageIcon::Error);
    }
}

} // namespace statvane
