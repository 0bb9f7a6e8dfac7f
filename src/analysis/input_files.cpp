#include "analysis/input_files.h"

#include "platform/wildcard_search.h"

#include <algorithm>

namespace statvane {
namespace {

std::string withSlashes(std::string entry) {
    std::replace(entry.begin(), entry.end(), '\\', '/');
    return entry;
}

} // namespace

InputFiles expandInputs(const std::vector<std::string>& entries,
                        const std::filesystem::path& startDirectory) {
    InputFiles inputs{{}, startDirectory};
    std::vector<std::size_t> plainEntries;
    for (const auto& raw : entries) {
        const std::string entry = withSlashes(raw);
        const auto star = entry.find('*');
        if (star == std::string::npos) {
            plainEntries.push_back(inputs.files.size());
            inputs.files.emplace_back(entry);
            continue;
        }
        const std::string folderText = entry.substr(0, star);
        std::error_code error;
        const auto folder = (inputs.currentDirectory / folderText).lexically_normal();
        if (folderText.empty() || !std::filesystem::is_directory(folder, error))
            continue;
        inputs.currentDirectory = folder;
        for (const auto& name : findMatchingFiles(folder, std::string_view(entry).substr(star)))
            inputs.files.push_back(folder / name);
    }
    for (const std::size_t i : plainEntries)
        inputs.files[i] = inputs.currentDirectory / inputs.files[i];
    return inputs;
}

} // namespace statvane
