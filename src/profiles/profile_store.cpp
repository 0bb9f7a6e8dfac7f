#include "profiles/profile_store.h"

#include "platform/ascii.h"
#include "platform/calendar_day.h"
#include "platform/integer_text.h"

namespace statvane {
namespace {

std::string inputKey(std::size_t position) {
    return "File " + std::to_string(position);
}

std::string flagText(bool value) {
    return value ? "1" : "0";
}

} // namespace

bool sameReportName(std::string_view a, std::string_view b) {
    return ascii::equalsIgnoringCase(ascii::trimBlanks(a), ascii::trimBlanks(b));
}

ProfileStore::ProfileStore(const std::filesystem::path& programDirectory)
    : reports_(programDirectory / "reports.dat"), files_(programDirectory / "files.dat") {}

std::vector<std::string> ProfileStore::listReportNames() const {
    return reports_.sectionNames();
}

std::string ProfileStore::readDescription(std::string_view name) const {
    return reports_.readString(name, "Description");
}

std::optional<std::string> ProfileStore::readText(std::string_view name,
                                                  std::string_view key) const {
    return reports_.read(name, key);
}

std::int32_t ProfileStore::readInteger(std::string_view name, std::string_view key) const {
    const auto text = reports_.read(name, key);
    const auto value = text ? parseProfileInteger(*text) : std::nullopt;
    return value.value_or(0);
}

RobotChoice ProfileStore::readRobots(std::string_view name) const {
    return robotChoiceOf(reports_.readString(name, "Robots"));
}

PeriodReading ProfileStore::readPeriod(std::string_view name) const {
    const auto choice = reports_.read(name, "Period");
    const auto from = reports_.read(name, "Period From");
    const auto to = reports_.read(name, "Period To");
    return periodOfKeys(choice, from, to);
}

bool ProfileStore::readFlag(std::string_view name, std::string_view key) const {
    return readInteger(name, key) != 0;
}

std::vector<std::string> ProfileStore::readInputs(std::string_view name) const {
    std::vector<std::string> inputs;
    for (std::size_t position = 0;; ++position) {
        std::string entry = files_.readString(name, inputKey(position));
        if (entry.empty())
            break;
        inputs.push_back(std::move(entry));
    }
    return inputs;
}

ReportProfile ProfileStore::loadProfile(std::string_view name) const {
    ReportProfile profile;
    profile.name = std::string(name);
    profile.description = readDescription(name);
    profile.visitorsList = readFlag(name, "Visitors");
    profile.referrerList = readFlag(name, "Referrers");
    profile.dnsLookup = readFlag(name, "DNS");
    profile.topPagesList = readFlag(name, "Pages");
    profile.totalBytes = readFlag(name, "Bytes");
    profile.popularBrowser = readFlag(name, "Browser");
    profile.saveToFile = readFlag(name, "File");
    profile.outputFile = reports_.readString(name, "Output");
    profile.totalOptions = readInteger(name, "Total Options");
    profile.emailAddresses = reports_.readString(name, "E-Mail Address");
    profile.emailReport = readFlag(name, "E-Mail");
    profile.trafficOverTime = readFlag(name, "Traffic");
    profile.statusCodes = readFlag(name, "Status");
    profile.period = readPeriod(name).period;
    profile.robots = readRobots(name);
    profile.inputs = readInputs(name);
    return profile;
}

// Each call replaces each file once. A report is written with files.dat
// stored before reports.dat and erased the other way round, so that a kill
// between the two leaves at worst inputs without their report, never a
// listed report without its inputs.
void ProfileStore::saveProfile(const ReportProfile& profile) {
    IniFile::Batch reports(reports_);
    IniFile::Batch files(files_);
    writeSections(profile);
    files.commit();
    reports.commit();
}

void ProfileStore::eraseProfile(std::string_view name) {
    IniFile::Batch reports(reports_);
    IniFile::Batch files(files_);
    eraseSections(name);
    reports.commit();
    files.commit();
}

// The new sections are written before the old ones go. A refused files.dat
// changes nothing; a refused reports.dat, or a kill between the two stores,
// leaves the report listed under its old name with its inputs already under
// the new one, as each file changes once, and the rename done again
// completes it.
// The old name's inputs go only once the report stands under its new name:
// files.dat with both sections, then reports.dat, then files.dat without the
// old section. A kill or a refused write at any point leaves the report whole
// under one of its names, at worst beside a files.dat section of the other.
void ProfileStore::renameProfile(std::string_view oldName, const ReportProfile& profile) {
    const bool newName = !sameReportName(oldName, profile.name);
    {
        IniFile::Batch reports(reports_);
        IniFile::Batch files(files_);
        writeSections(profile);
        if (newName)
            reports_.eraseSection(oldName);
        files.commit();
        reports.commit();
    }
    if (newName)
        files_.eraseSection(oldName);
}

void ProfileStore::writeSections(const ReportProfile& profile) {
    const std::string_view name = profile.name;
    reports_.writeValues(name, {{"Description", profile.description},
                                {"Visitors", flagText(profile.visitorsList)},
                                {"Referrers", flagText(profile.referrerList)},
                                {"DNS", flagText(profile.dnsLookup)},
                                {"Pages", flagText(profile.topPagesList)},
                                {"Bytes", flagText(profile.totalBytes)},
                                {"Browser", flagText(profile.popularBrowser)}});

    IniDocument::KeyValues inputs;
    inputs.reserve(profile.inputs.size());
    for (std::size_t position = 0; position < profile.inputs.size(); ++position)
        inputs.emplace_back(inputKey(position), profile.inputs[position]);
    files_.replaceSection(name, inputs);

    IniDocument::KeyValues output = {{"File", flagText(profile.saveToFile)},
                                     {"Output", profile.outputFile},
                                     {"Total Options", std::to_string(profile.totalOptions)},
                                     {"E-Mail Address", profile.emailAddresses},
                                     {"E-Mail", flagText(profile.emailReport)}};
    addLaterFlag(output, name, "Traffic", profile.trafficOverTime);
    addLaterFlag(output, name, "Status", profile.statusCodes);
    addPeriod(output, name, profile.period);
    addLaterValue(output, name, "Robots", profile.robots != RobotChoice::Include,
                  robotChoiceText(profile.robots));
    reports_.writeValues(name, output);
}

// The keys of settings added later are written once a report selects them, so
// that a report that never did is saved as it always was.
void ProfileStore::addLaterValue(IniDocument::KeyValues& values, std::string_view name,
                                 std::string_view key, bool selected,
                                 std::string_view value) const {
    if (selected || reports_.read(name, key))
        values.emplace_back(key, value);
}

void ProfileStore::addLaterFlag(IniDocument::KeyValues& values, std::string_view name,
                                std::string_view key, bool flag) const {
    addLaterValue(values, name, key, flag, flagText(flag));
}

// The dates are written with Between only: other choices leave the last ones
// chosen as they are.
void ProfileStore::addPeriod(IniDocument::KeyValues& values, std::string_view name,
                             const ReportPeriod& period) const {
    addLaterValue(values, name, "Period", period.choice != PeriodChoice::All,
                  periodChoiceText(period.choice));
    if (period.choice != PeriodChoice::Between)
        return;
    values.emplace_back("Period From", isoDayTextOf(period.from));
    values.emplace_back("Period To", isoDayTextOf(period.to));
}

void ProfileStore::eraseSections(std::string_view name) {
    reports_.eraseSection(name);
    files_.eraseSection(name);
}

} // namespace statvane
