#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// The reports the main window lists, in its order: read from reports.dat at
// start, then kept in step by the commands that create, rename and delete
// reports. A window that shows the list mirrors each change through the two
// callbacks.
class ListedReports {
  public:
    const std::vector<std::string>& names() const { return names_; }

    // Appends the name at the end.
    void add(const std::string& name);
    // Removes the entry of exactly that name; nothing when none is listed.
    void remove(std::string_view name);
    // Whether a listed report shares the name's sections of the profile
    // files (letter case and blanks at either end aside).
    bool contains(std::string_view name) const;

    std::function<void(const std::string& name)> onAdded;
    std::function<void(std::size_t position)> onRemoved;

  private:
    std::vector<std::string> names_;
};

} // namespace statvane
