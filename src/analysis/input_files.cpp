#include "analysis/input_files.h"

#include "platform/wildcard_search.h"

#include <algorithm>
#include <fstream>
#include <string_view>

namespace statvane {
namespace {

std::string withSlashes(std::string entry) {
    std::replace(entry.begin(), entry.end(), '\\', '/');
    return entry;
}

struct FoundFile {
    std::filesystem::path path;
    bool fromWildcard;
};

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

// How a text report saved by this program begins: the program's name, then
// the result's title, each on a line of its own.
constexpr std::string_view kSavedReportStart = "Statvane\r\nReport Profile - ";

bool isSavedReport(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string start(kSavedReportStart.size(), '\0');
    return in.read(start.data(), static_cast<std::streamsize>(start.size())) &&
           start == kSavedReportStart;
}

// Every file the entries name, with plain entries still as written.
std::vector<FoundFile> findFiles(const std::vector<std::string>& entries,
                                 std::filesystem::path& currentDirectory) {
    std::vector<FoundFile> found;
    for (const auto& raw : entries) {
        const std::string entry = withSlashes(raw);
        const auto star = entry.find('*');
        if (star == std::string::npos) {
            found.push_back({entry, false});
            continue;
        }
        const std::string folderText = entry.substr(0, star);
        std::error_code error;
        const auto folder = (currentDirectory / folderText).lexically_normal();
        if (folderText.empty() || !std::filesystem::is_directory(folder, error))
            continue;
        currentDirectory = folder;
        for (const auto& name : findMatchingFiles(folder, std::string_view(entry).substr(star)))
            found.push_back({folder / name, true});
    }
    return found;
}

} // namespace

InputFiles expandInputs(const std::vector<std::string>& entries,
                        const std::filesystem::path& startDirectory,
                        const std::optional<std::string>& outputName) {
    InputFiles inputs{{}, startDirectory, std::nullopt, false};
    const std::vector<FoundFile> found = findFiles(entries, inputs.currentDirectory);
    std::error_code error;
    if (outputName)
        inputs.outputFile = inputs.currentDirectory / *outputName;
    const bool outputExists =
        inputs.outputFile && std::filesystem::exists(*inputs.outputFile, error);
    for (const auto& [path, fromWildcard] : found) {
        const auto file = fromWildcard ? path : inputs.currentDirectory / path;
        if (outputExists && sameFile(file, *inputs.outputFile)) {
            // The report's earlier output beside the logs a wildcard takes.
            if (fromWildcard && isSavedReport(file))
                continue;
            inputs.outputListedAsInput = true;
        }
        inputs.files.push_back(file);
    }
    return inputs;
}

} // namespace statvane
