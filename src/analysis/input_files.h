#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace statvane {

struct InputFiles {
    std::vector<std::filesystem::path> files;
    // Where relative names are resolved: the folder of the last wildcard
    // entry whose folder exists, or else the start directory.
    std::filesystem::path currentDirectory;
};

// Expands a report's input entries into files. "\" and "/" both separate
// folders. An entry with a "*" is a folder (the text before the first "*")
// and a pattern (the rest): it adds the folder's ordinary files that match, in
// name order ignoring case, and makes that folder the current directory; a
// folder that does not exist adds nothing. Other entries are taken as they
// are, resolved against the final current directory. The process's own
// current directory is never changed.
InputFiles expandInputs(const std::vector<std::string>& entries,
                        const std::filesystem::path& startDirectory);

} // namespace statvane
