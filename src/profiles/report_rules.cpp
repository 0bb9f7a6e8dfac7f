#include "profiles/report_rules.h"

#include "platform/ascii.h"
#include "profiles/listed_reports.h"
#include "profiles/profile_store.h"

namespace statvane {

bool reportNameAcceptable(std::string_view name, const ListedReports& reports,
                          const std::optional<std::string>& renamed) {
    if (ascii::trimBlanks(name).empty())
        return false;
    if (renamed && sameReportName(name, *renamed))
        return false;
    return !reports.contains(name);
}

int countOptions(const ReportProfile& profile) {
    int ticked = 0;
    for (const bool box : {profile.visitorsList, profile.dnsLookup, profile.referrerList,
                           profile.topPagesList, profile.totalBytes, profile.popularBrowser,
                           profile.emailReport, profile.trafficOverTime, profile.statusCodes})
        ticked += box ? 1 : 0;
    return ticked;
}

void saveNewReport(ProfileStore& profiles, ListedReports& reports, const ReportProfile& profile) {
    profiles.saveProfile(profile);
    reports.add(profile.name);
}

void renameReport(ProfileStore& profiles, ListedReports& reports, const std::string& oldName,
                  const ReportProfile& profile) {
    profiles.renameProfile(oldName, profile);
    reports.remove(oldName);
    reports.add(profile.name);
}

} // namespace statvane
