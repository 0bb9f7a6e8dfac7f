#pragma once

#include "analysis/decompressor.h"
#include "analysis/log_file_reader.h"
#include "platform/file_descriptor.h"

#include <memory>

namespace statvane {

// Reads an open compressed log, decompressing it as it goes: neither the
// file nor its decompressed bytes are ever held whole. Every stream of the
// file is read, one after the other, as the formats' own tools do, and zero
// bytes after a stream are passed over where the format allows them (gzip,
// xz). Damaged data, or a file that ends inside a stream, makes the file
// unreadable from there on.
std::unique_ptr<LogFileReader> makeCompressedLogReader(FileDescriptor fd,
                                                       std::unique_ptr<Decompressor> decompressor);

} // namespace statvane
