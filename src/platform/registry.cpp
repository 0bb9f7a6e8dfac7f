#include "platform/registry.h"

#include "platform/atomic_file.h"
#include "platform/error.h"
#include "platform/registry_document.h"

#include <cstdlib>
#include <system_error>

namespace statvane {
namespace {

constexpr std::string_view kHive = "HKEY_CURRENT_USER\\";

const RegistryValue* findValue(RegistryDocument& document, const std::string& path,
                               std::string_view name) {
    RegistryKey* key = document.findKey(path);
    return key ? key->findValue(name) : nullptr;
}

Error invalidType(std::string_view name) {
    return Error(formatMessage("Invalid data type for '%s'", std::string(name)));
}

} // namespace

Registry::Registry(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path Registry::defaultFile() {
    if (const char* override = std::getenv("STATVANE_SETTINGS"); override && *override)
        return override;
    std::filesystem::path config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        config = std::filesystem::path(home) / ".config";
    else
        config = ".config";
    return config / "statvane" / "registry.reg";
}

std::string Registry::fullPath(std::string_view key) const {
    return std::string(kHive) + std::string(key);
}

RegistryDocument Registry::load() const {
    std::string text;
    readFileContents(file_, text);
    return RegistryDocument::parse(text);
}

bool Registry::store(const RegistryDocument& document) const {
    std::error_code ignored;
    std::filesystem::create_directories(file_.parent_path(), ignored);
    return static_cast<bool>(replaceFileContents(file_, document.serialize(), 0600));
}

bool Registry::openKey(std::string_view key, bool canCreate) {
    auto document = load();
    if (document.findKey(fullPath(key)) || document.hasKeyOrSubkey(fullPath(key)))
        return true;
    if (!canCreate)
        return false;
    document.createKey(fullPath(key));
    return store(document);
}

bool Registry::keyExists(std::string_view key) const {
    return load().hasKeyOrSubkey(fullPath(key));
}

bool Registry::deleteKey(std::string_view key) {
    auto document = load();
    return document.deleteKey(fullPath(key)) && store(document);
}

std::vector<std::string> Registry::valueNames(std::string_view key) const {
    auto document = load();
    std::vector<std::string> names;
    if (const RegistryKey* found = document.findKey(fullPath(key))) {
        for (const auto& value : found->values)
            names.push_back(value.name);
    }
    return names;
}

std::optional<RegistryValue> Registry::readValue(std::string_view key, std::string_view name,
                                                 RegistryValue::Kind kind) const {
    auto document = load();
    const RegistryValue* value = findValue(document, fullPath(key), name);
    if (!value)
        return std::nullopt;
    if (value->kind != kind)
        throw invalidType(name);
    return *value;
}

std::optional<std::string> Registry::readString(std::string_view key, std::string_view name) const {
    const auto value = readValue(key, name, RegistryValue::Kind::String);
    return value ? std::optional(value->text) : std::nullopt;
}

std::optional<std::int32_t> Registry::readInteger(std::string_view key,
                                                  std::string_view name) const {
    const auto value = readValue(key, name, RegistryValue::Kind::Integer);
    return value ? std::optional(value->integer) : std::nullopt;
}

void Registry::writeValue(std::string_view key, const RegistryValue& value) {
    auto document = load();
    RegistryKey& target = document.createKey(fullPath(key));
    if (RegistryValue* existing = target.findValue(value.name)) {
        const std::string storedName = existing->name;
        *existing = value;
        existing->name = storedName;
    } else {
        target.values.push_back(value);
    }
    if (!store(document))
        throw Error(formatMessage("Failed to set data for '%s'", value.name));
}

void Registry::writeString(std::string_view key, std::string_view name, std::string_view value) {
    writeValue(
        key, RegistryValue{std::string(name), RegistryValue::Kind::String, std::string(value), 0});
}

void Registry::writeInteger(std::string_view key, std::string_view name, std::int32_t value) {
    writeValue(key, RegistryValue{std::string(name), RegistryValue::Kind::Integer, {}, value});
}

} // namespace statvane
