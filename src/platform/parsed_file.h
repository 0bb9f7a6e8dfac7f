#pragma once

#include "platform/atomic_file.h"
#include "platform/file_identity.h"

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>

namespace statvane {

// A file that exists but cannot be read; `error` is the errno value, or 0
// for a file that is not a regular file (a device, a FIFO), which is not read.
struct FileReadError {
    int error;

    bool notRegular() const { return error == 0; }
};

// Reads a whole file into `contents`: false when there is no such file,
// FileReadError when it exists but cannot be read (a folder, a device, no
// permission).
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
        if (document_ && changesHeld_)
            return *document_;
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
        if (holding_) {
            changesHeld_ = true;
            // One change that needs the file kept from others keeps it so.
            if (readers == FileReaders::OwnerOnly)
                heldReaders_ = readers;
            return {};
        }
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

    // Until storeHeld() or forgetHeld(), store() keeps the changes in memory
    // only, and load() gives them without looking at the disk again, so that
    // many changes make one replacement of the file.
    void holdStores() { holding_ = true; }
    // Stores the changes held back, when there are any, in one replacement.
    ReplaceResult storeHeld(mode_t newFileMode) {
        holding_ = false;
        const FileReaders readers = std::exchange(heldReaders_, FileReaders::AsBefore);
        return std::exchange(changesHeld_, false) ? store(newFileMode, readers) : ReplaceResult{};
    }
    // Ends holding back and forgets the changes held; the file keeps what it holds.
    void forgetHeld() {
        holding_ = false;
        heldReaders_ = FileReaders::AsBefore;
        if (std::exchange(changesHeld_, false))
            document_.reset();
    }

  private:
    std::filesystem::path file_;
    std::optional<Document> document_;
    std::optional<FileIdentity> identity_;
    bool holding_ = false;
    bool changesHeld_ = false;
    FileReaders heldReaders_ = FileReaders::AsBefore;
};

// Holds back the stores of a ParsedFile while it lives (see holdStores); one
// that ends without commit() forgets the changes.
template <typename Document> class HeldStores {
  public:
    explicit HeldStores(ParsedFile<Document>& file) : file_(file) { file_.holdStores(); }
    ~HeldStores() { file_.forgetHeld(); }
    HeldStores(const HeldStores&) = delete;
    HeldStores& operator=(const HeldStores&) = delete;

    ReplaceResult commit(mode_t newFileMode) { return file_.storeHeld(newFileMode); }

  private:
    ParsedFile<Document>& file_;
};

} // namespace statvane
