#include "profiles/listed_reports.h"

#include "profiles/profile_store.h"

#include <algorithm>

namespace statvane {

void ListedReports::add(const std::string& name) {
    names_.push_back(name);
    if (onAdded)
        onAdded(name);
}

void ListedReports::remove(std::string_view name) {
    const auto found = std::ranges::find(names_, name);
    if (found == names_.end())
        return;
    const auto position = static_cast<std::size_t>(found - names_.begin());
    names_.erase(found);
    if (onRemoved)
        onRemoved(position);
}

bool ListedReports::contains(std::string_view name) const {
    return std::ranges::any_of(
        names_, [name](const std::string& listed) { return sameReportName(name, listed); });
}

} // namespace statvane
