#include "platform/old_reports_notice.h"

#include "platform/program_directory.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace statvane {
namespace {

constexpr const char* kProfileFiles[] = {"reports.dat", "files.dat", "dns.log"};

bool isThere(const std::filesystem::path& file) {
    std::error_code unreadable; // counts as missing
    return std::filesystem::exists(file, unreadable);
}

// A path as a shell word: as it is when it holds no character the shell
// treats specially, else in single quotes.
std::string shellWord(const std::string& path) {
    const bool plain = std::all_of(path.begin(), path.end(), [](unsigned char c) {
        return std::isalnum(c) || std::string_view("/._-+,:@%").find(c) != std::string_view::npos;
    });
    if (plain)
        return path;
    std::string quoted = "'";
    for (const char c : path)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

std::optional<std::string> oldReportsNotice(const std::filesystem::path& programDirectory,
                                            const std::filesystem::path& executableFolder) {
    if (isBuildTree(executableFolder) || isThere(programDirectory / "reports.dat") ||
        !isThere(executableFolder / "reports.dat"))
        return std::nullopt;
    std::string names;
    std::string command = "mv";
    for (const char* name : kProfileFiles) {
        if (!isThere(executableFolder / name))
            continue;
        if (!names.empty())
            names += ", ";
        names += name;
        command += ' ';
        command += shellWord((executableFolder / name).string());
    }
    command += ' ';
    command += shellWord(programDirectory.string() + "/");
    return "The reports kept beside the program in " + executableFolder.string() + " (" + names +
           ") are no longer read: reports are now kept in " + programDirectory.string() +
           ". To use them, move them there (" + command + ") and start Statvane again.";
}

void tellOldReports(Prompt& prompt, const std::filesystem::path& programDirectory) {
    if (const auto notice = oldReportsNotice(programDirectory, executableDirectory()))
        prompt.showMessage(*notice, MessageIcon::Warning);
}

} // namespace statvane
