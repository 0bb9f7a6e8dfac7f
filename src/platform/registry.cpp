#include "platform/registry.h"

#include "platform/error.h"

#include <cstdlib>
#include <cstring>
#include <system_error>

namespace statvane {
namespace {

constexpr std::string_view kHive = "HKEY_CURRENT_USER\\";
constexpr mode_t kNewFileMode = 0600;

Error invalidType(std::string_view name) {
    return Error(formatMessage("Invalid data type for '%s'", std::string(name)));
}

Error failedToSet(std::string_view name, const std::filesystem::path& file,
                  const ReplaceResult& stored) {
    return Error(formatMessage("Failed to set data for '%s'", std::string(name)),
                 fileDetail(file, stored.reason()));
}

UnreadableRegistryFile cannotRead(const std::filesystem::path& file, const std::string& why) {
    return UnreadableRegistryFile("Cannot read the settings file " +
                                  std::filesystem::absolute(file).string() + why +
                                  "; it is left as it is");
}

// A failure shows when the file is written.
void makeFolderOf(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
}

RegistryValue stringValue(std::string_view name, std::string_view text) {
    return RegistryValue{std::string(name), RegistryValue::Kind::String, std::string(text), 0};
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

RegistryDocument& Registry::load() const {
    try {
        return file_.load();
    } catch (const FileReadError& failure) {
        if (failure.notRegular())
            throw UnreadableRegistryFile(notARegularFileText(file()));
        throw cannotRead(file(), ": " + std::string(std::strerror(failure.error)));
    } catch (const RegistryDocument::Unreadable& failure) {
        throw cannotRead(file(), ", line " + std::to_string(failure.line) + ": " + failure.reason);
    }
}

ReplaceResult Registry::store(FileReaders readers) {
    makeFolderOf(file());
    return file_.store(kNewFileMode, readers);
}

bool Registry::openKey(std::string_view key, bool canCreate) {
    auto& document = load();
    if (document.hasKeyOrSubkey(fullPath(key)))
        return true;
    if (!canCreate)
        return false;
    document.createKey(fullPath(key));
    return static_cast<bool>(store());
}

bool Registry::keyExists(std::string_view key) const {
    return load().hasKeyOrSubkey(fullPath(key));
}

bool Registry::deleteKey(std::string_view key) {
    return load().deleteKey(fullPath(key)) && store();
}

std::vector<std::string> Registry::valueNames(std::string_view key) const {
    return load().valueNames(fullPath(key));
}

std::optional<RegistryValue> Registry::readValue(std::string_view key, std::string_view name,
                                                 RegistryValue::Kind kind) const {
    const RegistryValue* value = load().findValue(fullPath(key), name);
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

void Registry::writeValues(std::string_view key, const std::vector<RegistryValue>& values,
                           FileReaders readers) {
    if (values.empty())
        return;
    auto& document = load();
    for (const auto& value : values)
        document.setValue(fullPath(key), value);
    if (firstValueInBatch_ && firstValueInBatch_->empty())
        firstValueInBatch_ = values.front().name;
    if (const ReplaceResult stored = store(readers); !stored)
        throw failedToSet(values.front().name, file(), stored);
}

void Registry::writeString(std::string_view key, std::string_view name, std::string_view value) {
    writeValues(key, {stringValue(name, value)});
}

void Registry::writeSecretString(std::string_view key, std::string_view name,
                                 std::string_view value) {
    writeValues(key, {stringValue(name, value)},
                value.empty() ? FileReaders::AsBefore : FileReaders::OwnerOnly);
}

void Registry::writeInteger(std::string_view key, std::string_view name, std::int32_t value) {
    writeValues(key, {RegistryValue{std::string(name), RegistryValue::Kind::Integer, {}, value}});
}

void Registry::writeStrings(std::string_view key,
                            const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<RegistryValue> typed;
    typed.reserve(values.size());
    for (const auto& [name, text] : values)
        typed.push_back(stringValue(name, text));
    writeValues(key, typed);
}

std::vector<std::size_t> Registry::unreadableLines() const {
    return load().unreadableLines();
}

Registry::Batch::Batch(Registry& registry) : registry_(registry), held_(registry.file_) {
    registry_.firstValueInBatch_.emplace();
}

Registry::Batch::~Batch() {
    registry_.firstValueInBatch_.reset();
}

void Registry::Batch::commit() {
    makeFolderOf(registry_.file());
    const ReplaceResult stored = held_.commit(kNewFileMode);
    if (!stored && !registry_.firstValueInBatch_->empty())
        throw failedToSet(*registry_.firstValueInBatch_, registry_.file(), stored);
}

} // namespace statvane
