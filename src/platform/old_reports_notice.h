#pragma once

#include "platform/prompt.h"

#include <filesystem>
#include <optional>
#include <string>

namespace statvane {

// Reports that an installed program kept beside its executable are no longer
// read there. While the program directory has no reports.dat and the folder
// of an executable that does not run from its build tree has one, the text
// says where those files are, that they are not read, and the command that
// moves them. Nothing is moved for the user.
std::optional<std::string> oldReportsNotice(const std::filesystem::path& programDirectory,
                                            const std::filesystem::path& executableFolder);

// Tells the notice for the running executable, when there is one.
void tellOldReports(Prompt& prompt, const std::filesystem::path& programDirectory);

} // namespace statvane
