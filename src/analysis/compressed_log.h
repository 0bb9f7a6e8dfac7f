#pragma once

#include "analysis/check_points.h"
#include "analysis/decompressor.h"
#include "analysis/log_lines.h"

namespace statvane {

// Appends the lines of an open compressed log, read and decompressed a chunk
// at a time: neither the file nor its decompressed bytes are ever held whole,
// only the lines kept. A check point follows each chunk. Every stream of the
// file is read, one after the other, as the formats' own tools do, and zero
// bytes after a stream are passed over where the format allows them (gzip,
// xz). Damaged data, or a file that ends inside a stream, makes the file
// unreadable; then, as on Cancel, nothing of it is kept.
LogFileRead readCompressedLog(int fd, Decompressor& decompressor, LogLines& lines,
                              CheckPoints& checks);

} // namespace statvane
