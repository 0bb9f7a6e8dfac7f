#include "settings/settings_loading.h"

#include "platform/error.h"
#include "platform/registry.h"

namespace statvane {

bool loadSettingsTellingProblems(SettingsStore& store, Settings& settings, Prompt& prompt) {
    try {
        store.loadSettings(settings);
        if (const auto notice = store.unreadableLinesNotice())
            prompt.showMessage(errorMessageText(*notice), MessageIcon::Warning);
    } catch (const UnreadableRegistryFile& error) {
        prompt.showMessage(errorMessageText(error.what()), MessageIcon::Error);
        return false;
    } catch (const Error& error) {
        showError(prompt, error);
    }
    return true;
}

} // namespace statvane
