#pragma once

#include "platform/registry.h"
#include "settings/settings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace statvane {

namespace registry_keys {
inline constexpr const char* kProduct = "Software\\Velmor Software\\Statvane";
inline constexpr const char* kSettings = "Software\\Velmor Software\\Statvane\\Settings";
inline constexpr const char* kPositions = "Software\\Velmor Software\\Statvane\\Positions";
inline constexpr const char* kVisitor = "Software\\Velmor Software\\Statvane\\Visitor";
inline constexpr const char* kReferrer = "Software\\Velmor Software\\Statvane\\Referrer";
inline constexpr const char* kTopPages = "Software\\Velmor Software\\Statvane\\TopPages";
} // namespace registry_keys

inline constexpr const char* kMaxCacheMessage =
    "The DNS cache maximum number cannot be a negative value or exceed 250,000.  Please "
    "replace this number.";

enum class SaveResult { Saved, Rejected };

struct WindowSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The settings, window sizes and sort column in the registry. Each call opens
// what it needs and lets go of it at once. Registry errors ("Invalid data type
// for '%s'", "Failed to set data for '%s'") propagate as Error.
class SettingsStore {
  public:
    explicit SettingsStore(Registry& registry) : registry_(registry) {}

    // Fills settings value by value; on an error the fields not yet loaded
    // keep what they held.
    void loadSettings(Settings& settings);

    // One replacement of the file. Rejected, with "Max Cache" and the lists
    // left as stored, when MaxCache is not an integer from 0 to 250000; what
    // was written before it is stored all the same.
    SaveResult saveSettings(const Settings& settings);

    // A line for the user when the settings file holds lines it cannot read,
    // naming the file and the first of those lines; nothing otherwise.
    std::optional<std::string> unreadableLinesNotice() const;

    // "Web Site" straight from the store, without creating the key. A value
    // of another kind gives empty text, as loading left the field: loading
    // has told its error already.
    std::string readWebSite();

    // "Open Directory": where the properties dialog's file picker starts, the
    // full path of the file chosen last; empty when none is stored.
    std::string readOpenDirectory();
    // Creates the Settings key when needed.
    void writeOpenDirectory(std::string_view path);

    // The window's stored size, as far as it could be read: a missing or
    // unreadable width also skips the height. Zero means "keep the design
    // size" for that side.
    WindowSize readWindowSize(std::string_view form);
    // Writes "<form> Height" and then "<form> Width", in one replacement.
    void writeWindowSize(std::string_view form, WindowSize size);

    // The sort column of the result tables: "Index" in the product key.
    std::optional<std::int32_t> readSortIndex();
    void writeSortIndex(std::int32_t index);

  private:
    // The values of a save, in order, up to the cache maximum check.
    SaveResult writeSettings(const Settings& settings);
    void loadList(const char* key, std::vector<std::string>& list);
    void saveList(const char* key, const std::vector<std::string>& list);

    Registry& registry_;
};

} // namespace statvane
