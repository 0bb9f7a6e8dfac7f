#pragma once

#include "profiles/report_profile.h"

#include <optional>
#include <string>
#include <string_view>

namespace statvane {

class ListedReports;
class ProfileStore;

// Whether a typed name may name a new report or, given `renamed`, that
// report under its new name. Names are taken as the profile files take them:
// one that differs from a listed report only in letter case or in blanks at
// either end would share that report's sections, so it counts as a
// duplicate, and so does the renamed report's own name; a name of blanks
// only addresses no section that could be listed. Characters the files
// cannot carry are not refused.
bool reportNameAcceptable(std::string_view name, const ListedReports& reports,
                          const std::optional<std::string>& renamed);

// How many of the seven boxes are ticked, the six analyses and the e-mail:
// the profile's "Total Options".
int countOptions(const ReportProfile& profile);

// A new report: the profile written, then its entry last in the list.
void saveNewReport(ProfileStore& profiles, ListedReports& reports, const ReportProfile& profile);

// A report under a new name: it is written under that name before the old
// one is erased, and the list changes only once every write has succeeded
// (the old entry removed, the new one last), so a failed write leaves the old
// report whole and listed and the rename can start over.
void renameReport(ProfileStore& profiles, ListedReports& reports, const std::string& oldName,
                  const ReportProfile& profile);

} // namespace statvane
