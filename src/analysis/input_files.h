#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace statvane {

struct InputFiles {
    std::vector<std::filesystem::path> files;
    // Where relative names are resolved: the folder of the last wildcard
    // entry whose folder exists, or else the start directory.
    std::filesystem::path currentDirectory;
    // The report's own output file, resolved against currentDirectory; none
    // when the report does not save to a file.
    std::optional<std::filesystem::path> outputFile;
    // An entry would read the output file: a log that the report would
    // overwrite.
    bool outputListedAsInput = false;
};

// Expands a report's input entries into files. "\" and "/" both separate
// folders. An entry with a "*" is a folder (the text before the first "*")
// and a pattern (the rest): it adds the folder's ordinary files that match, in
// reading order (name order, a rotated set oldest first), and makes that
// folder the current directory; a folder that does not exist adds nothing.
// Other entries are taken as they are, resolved against the final current
// directory. The process's own current directory is never changed.
//
// outputName is the report's "Output" value when it saves to a file. Files are
// compared as the same file on disk, so links to it count too. A report never
// reads its own output and never overwrites a log: wildcard entries pass over
// the output file when it holds a report this program saved, and any other
// entry that would read it sets outputListedAsInput.
InputFiles expandInputs(const std::vector<std::string>& entries,
                        const std::filesystem::path& startDirectory,
                        const std::optional<std::string>& outputName);

} // namespace statvane
