#pragma once

#include "platform/prompt.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

namespace statvane {

// Loads the settings and tells the user of what could not be read: lines of
// the settings file it skipped (a warning), a file it cannot read at all, or
// a value of the wrong kind (the error's message). False when the file cannot
// be read at all; the settings then keep their defaults.
bool loadSettingsTellingProblems(SettingsStore& store, Settings& settings, Prompt& prompt);

} // namespace statvane
