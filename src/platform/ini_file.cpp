#include "platform/ini_file.h"

#include "platform/error.h"

namespace statvane {
namespace {

constexpr mode_t kNewFileMode = 0666;

Error unableToWrite(const std::filesystem::path& file, const std::string& reason) {
    return Error(formatMessage("Unable to write to %s", std::filesystem::absolute(file).string()),
                 fileDetail(file, reason));
}

void throwWhenRefused(const std::filesystem::path& file, const ReplaceResult& stored) {
    if (!stored)
        throw unableToWrite(file, stored.reason());
}

} // namespace

IniFile::IniFile(std::filesystem::path file) : file_(std::move(file)) {}

const IniDocument& IniFile::loadForReading() const {
    static const IniDocument unreadable;
    try {
        return file_.load();
    } catch (const FileReadError& failure) {
        if (failure.notRegular())
            throw Error(notARegularFileText(path()));
        return unreadable;
    }
}

IniDocument& IniFile::loadForWriting() {
    try {
        return file_.load();
    } catch (const FileReadError& failure) {
        if (failure.notRegular())
            throw Error(notARegularFileText(path()));
        throw unableToWrite(path(), systemErrorText(failure.error));
    }
}

void IniFile::store() {
    throwWhenRefused(path(), file_.store(kNewFileMode));
}

void IniFile::Batch::commit() {
    throwWhenRefused(file_.path(), held_.commit(kNewFileMode));
}

std::optional<std::string> IniFile::read(std::string_view section, std::string_view key) const {
    return loadForReading().find(section, key);
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    auto value = read(section, key);
    return value ? std::move(*value) : std::string(fallback);
}

std::vector<std::string> IniFile::sectionNames() const {
    return loadForReading().sectionNames();
}

void IniFile::write(std::string_view section, std::string_view key, std::string_view value) {
    writeValues(section, {{std::string(key), std::string(value)}});
}

void IniFile::writeValues(std::string_view section, const IniDocument::KeyValues& values) {
    loadForWriting().setValues(section, values);
    store();
}

void IniFile::eraseSection(std::string_view section) {
    if (loadForWriting().eraseSection(section))
        store();
}

void IniFile::replaceSection(std::string_view section, const IniDocument::KeyValues& values) {
    IniDocument& document = loadForWriting();
    const bool erased = document.eraseSection(section);
    if (!values.empty())
        document.setValues(section, values);
    if (erased || !values.empty())
        store();
}

} // namespace statvane
