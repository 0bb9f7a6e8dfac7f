#include "analysis/robot_patterns.h"

#include "platform/ascii.h"
#include "platform/atomic_file.h"
#include "platform/error.h"

#include <cerrno>

namespace statvane {

void addRobotPatterns(std::string_view text, std::vector<std::string>& patterns) {
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        line = line.substr(0, line.find('#'));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (const auto pattern = ascii::trimBlanks(line); !pattern.empty())
            patterns.emplace_back(pattern);
    }
}

std::optional<std::string> readRobotList(const std::filesystem::path& file, bool required,
                                         std::vector<std::string>& patterns) {
    std::string text;
    if (!readFileContents(file, text)) {
        const int error = errno;
        if (!required && (error == ENOENT || error == ENOTDIR))
            return std::nullopt;
        return fileDetail(file, error ? systemErrorText(error) : kNotARegularFile);
    }
    addRobotPatterns(text, patterns);
    return std::nullopt;
}

RobotPatterns readRobotLists(const std::filesystem::path& shipped,
                             const std::filesystem::path& user) {
    RobotPatterns read;
    for (const auto& [file, required] : {std::pair{&shipped, true}, std::pair{&user, false}})
        if (auto notice = readRobotList(*file, required, read.patterns))
            read.notices.push_back(std::move(*notice));
    return read;
}

} // namespace statvane
