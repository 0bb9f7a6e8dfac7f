#include "settings/settings_store.h"

#include "platform/ascii.h"
#include "platform/error.h"
#include "platform/integer_text.h"

#include <algorithm>

namespace statvane {
namespace {

using namespace registry_keys;

constexpr std::int32_t kMaxCacheLimit = 250000;

// The string values of the Settings key, in the order they are loaded.
struct TextValue {
    const char* name;
    std::string Settings::*field;
    bool password = false; // makes the file its owner's alone when set
};

constexpr TextValue kLoadOrder[] = {
    {"Browser Path", &Settings::BrowserPath},
    {"Web Site", &Settings::WebSite},
    {"Max Cache", &Settings::MaxCache},
    {"Server Address", &Settings::ProxyServerAddress},
    {"Port", &Settings::ProxyPort},
    {"User Name", &Settings::ProxyUserName},
    {"Max Size", &Settings::ProxyPassword, true},
    {"Server", &Settings::MailServer},
    {"Subject", &Settings::MailSubject},
    {"From", &Settings::MailSender},
    {"Reply-To", &Settings::MailReplyTo},
};

// The mail security values, loaded after those above. Each is written only
// when it holds text or is stored already, so that the file of a user who
// never sets them keeps exactly the values it had.
constexpr TextValue kMailSecurityValues[] = {
    {"Mail Security", &Settings::MailSecurity},
    {"Mail User Name", &Settings::MailUserName},
    {"Mail Password", &Settings::MailPassword, true},
};

struct ListValue {
    const char* key;
    std::vector<std::string> Settings::*field;
};

constexpr ListValue kLists[] = {
    {kVisitor, &Settings::VisitorFilterList},
    {kReferrer, &Settings::ReferrerFilterList},
    {kTopPages, &Settings::TopPagesFilterList},
};

bool readDefaultBrowser(Registry& registry) {
    try {
        const auto value = registry.readInteger(kSettings, "Default Browser");
        return !value || *value != 0;
    } catch (const Error&) {
        return true; // stored as something other than an integer
    }
}

bool valueStored(const Registry& registry, std::string_view name) {
    const auto names = registry.valueNames(kSettings);
    return std::any_of(names.begin(), names.end(), [name](const std::string& stored) {
        return ascii::equalsIgnoringCase(stored, name);
    });
}

void writeText(Registry& registry, const TextValue& value, const std::string& text) {
    if (value.password)
        registry.writeSecretString(kSettings, value.name, text);
    else
        registry.writeString(kSettings, value.name, text);
}

bool maxCacheAcceptable(const std::string& text) {
    const std::int32_t value = parseInteger(text).value_or(-1);
    return value >= 0 && value <= kMaxCacheLimit;
}

} // namespace

void SettingsStore::loadSettings(Settings& settings) {
    registry_.openKey(kSettings, true);
    settings.DefaultBrowser = readDefaultBrowser(registry_);
    for (const auto& value : kLoadOrder) {
        settings.*value.field = registry_.readString(kSettings, value.name).value_or("");
        if (value.field == &Settings::MaxCache && settings.MaxCache.empty())
            settings.MaxCache = "10000";
    }
    for (const auto& value : kMailSecurityValues)
        settings.*value.field = registry_.readString(kSettings, value.name).value_or("");
    for (const auto& list : kLists)
        loadList(list.key, settings.*list.field);
}

void SettingsStore::loadList(const char* key, std::vector<std::string>& list) {
    registry_.openKey(key, true);
    list.clear();
    for (const auto& name : registry_.valueNames(key))
        list.push_back(registry_.readString(key, name).value_or(""));
}

SaveResult SettingsStore::saveSettings(const Settings& settings) {
    Registry::Batch batch(registry_);
    const SaveResult result = writeSettings(settings);
    batch.commit();
    return result;
}

SaveResult SettingsStore::writeSettings(const Settings& settings) {
    registry_.openKey(kSettings, true);
    registry_.writeInteger(kSettings, "Default Browser", settings.DefaultBrowser ? 1 : 0);
    for (const auto& value : kLoadOrder) {
        if (value.field != &Settings::MaxCache)
            writeText(registry_, value, settings.*value.field);
    }
    for (const auto& value : kMailSecurityValues) {
        const std::string& text = settings.*value.field;
        if (!text.empty() || valueStored(registry_, value.name))
            writeText(registry_, value, text);
    }
    if (!maxCacheAcceptable(settings.MaxCache))
        return SaveResult::Rejected;
    registry_.writeString(kSettings, "Max Cache", settings.MaxCache);
    for (const auto& list : kLists)
        saveList(list.key, settings.*list.field);
    return SaveResult::Saved;
}

void SettingsStore::saveList(const char* key, const std::vector<std::string>& list) {
    registry_.deleteKey(key);
    registry_.openKey(key, true);
    std::vector<std::pair<std::string, std::string>> entries;
    entries.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        entries.emplace_back(std::to_string(i), list[i]);
    registry_.writeStrings(key, entries);
}

std::optional<std::string> SettingsStore::unreadableLinesNotice() const {
    const auto lines = registry_.unreadableLines();
    if (lines.empty())
        return std::nullopt;
    return "The settings file " + std::filesystem::absolute(registry_.file()).string() + " has " +
           std::to_string(lines.size()) + (lines.size() == 1 ? " line" : " lines") +
           " that Statvane cannot read, from line " + std::to_string(lines.front()) +
           " on; they are kept as they stand";
}

std::string SettingsStore::readWebSite() {
    if (!registry_.keyExists(kSettings))
        return {};
    try {
        return registry_.readString(kSettings, "Web Site").value_or("");
    } catch (const UnreadableRegistryFile&) {
        throw;
    } catch (const Error&) {
        return {}; // stored as something other than a string
    }
}

std::string SettingsStore::readOpenDirectory() {
    return registry_.readString(kSettings, "Open Directory").value_or("");
}

void SettingsStore::writeOpenDirectory(std::string_view path) {
    registry_.openKey(kSettings, true);
    registry_.writeString(kSettings, "Open Directory", path);
}

WindowSize SettingsStore::readWindowSize(std::string_view form) {
    registry_.openKey(kPositions, true);
    WindowSize size;
    const std::string prefix(form);
    try {
        const auto width = registry_.readInteger(kPositions, prefix + " Width");
        if (!width)
            return size;
        size.width = *width;
        size.height = registry_.readInteger(kPositions, prefix + " Height").value_or(0);
    } catch (const Error&) {
        // An unreadable value ends the restoring without a message.
    }
    return size;
}

void SettingsStore::writeWindowSize(std::string_view form, WindowSize size) {
    const std::string prefix(form);
    Registry::Batch batch(registry_);
    registry_.writeInteger(kPositions, prefix + " Height", size.height);
    registry_.writeInteger(kPositions, prefix + " Width", size.width);
    batch.commit();
}

std::optional<std::int32_t> SettingsStore::readSortIndex() {
    try {
        return registry_.readInteger(kProduct, "Index");
    } catch (const Error&) {
        return std::nullopt;
    }
}

void SettingsStore::writeSortIndex(std::int32_t index) {
    registry_.openKey(kProduct, true);
    registry_.writeInteger(kProduct, "Index", index);
}

} // namespace statvane
