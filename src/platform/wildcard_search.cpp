#include "platform/wildcard_search.h"

#include "platform/ascii.h"
#include "platform/reading_order.h"

#include <utility>

namespace statvane {

bool wildcardMatch(std::string_view pattern, std::string_view name) {
    return wildcardMatchText(pattern == "*.*" ? "*" : pattern, name);
}

bool wildcardMatchText(std::string_view pattern, std::string_view text) {
    // Greedy matching with one remembered star: linear in practice.
    std::size_t p = 0, n = 0, starAt = std::string_view::npos, resumeAt = 0;
    while (n < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || ascii::toLower(pattern[p]) == ascii::toLower(text[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::vector<std::string> findMatchingFiles(const std::filesystem::path& folder,
                                           std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.empty() || name.front() == '.' || !it->is_regular_file(typeError))
            continue;
        if (wildcardMatch(pattern, name))
            names.push_back(name);
    }
    return inReadingOrder(std::move(names));
}

} // namespace statvane
