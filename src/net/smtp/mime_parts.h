#pragma once

#include <string>
#include <vector>

namespace statvane {

// "= Multipart Boundary " followed by the month, day, year, hour and minute.
std::string multipartBoundary(const std::string& stamp);

// The header's content-type line when files are attached, folded over two
// lines.
std::string multipartContentType(const std::string& boundary);

// What comes before the text part of a multipart message.
std::vector<std::string> mimePrologue(const std::string& boundary,
                                      const std::string& textContentTypeLine);

// The lines that open an attachment's part, up to its empty line.
std::vector<std::string> attachmentPartHeader(const std::string& boundary,
                                              const std::string& contentType,
                                              const std::string& fileName);

std::string closingBoundary(const std::string& boundary);

// The file's name without its folder; either "/" or "\" separates.
std::string fileNameWithoutFolder(const std::string& path);

} // namespace statvane
