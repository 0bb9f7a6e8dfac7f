#pragma once

#include "platform/atomic_file.h"
#include "platform/file_identity.h"

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

namespace statvane {

// A file that exists but cannot be read; `error` is the errno value.
struct FileReadError {
    int error;
};

// Reads a whole file into `contents`: false when there is no such file,
// FileReadError when it exists but cannot be read (a folder, no permission).
bool readExistingFile(const std::filesystem::path& file, std::string& contents);

// A file held parsed in memory between calls and read again only when it has
// changed on disk, so that many reads of one file cost one parse. Document
// has a static parse(bytes) and serialize(); a missing file is Document{}.
template <typename Document> class ParsedFile {
  public:
    explicit ParsedFile(std::filesystem::path file) : file_(std::move(file)) {}

    const std::filesystem::path& path() const { return file_; }

    // Raises FileReadError, or what Document::parse raises.
    Document& load() {
        const auto identity = identityOf(file_);
        if (document_ && identity == identity_)
            return *document_;
        document_.reset();
        std::string bytes;
        Document document = readExistingFile(file_, bytes) ? Document::parse(bytes) : Document{};
        document_ = std::move(document);
        identity_ = identity;
        return *document_;
    }

    // Replaces the file with the loaded document, as changed since. When it
    // could not be written, the file keeps what it held and the changes are
    // forgotten.
    ReplaceResult store(mode_t newFileMode, FileReaders readers = FileReaders::AsBefore) {
        // What load() gave, as changed since: not read again, so that a
        // change on disk in between cannot take the place of ours.
        const ReplaceResult result =
            replaceFileContents(file_, document_.value().serialize(), newFileMode, readers);
        if (result)
            identity_ = identityOf(file_);
        else
            document_.reset();
        return result;
    }

  private:
    std::filesystem::path file_;
    std::optional<Document> document_;
    std::optional<FileIdentity> identity_;
};

} // namespace statvane
