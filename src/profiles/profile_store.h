#pragma once

#include "platform/ini_file.h"
#include "profiles/report_profile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// True when two report names address the same sections of the profile files,
// which match names ignoring letter case and the blanks at either end.
bool sameReportName(std::string_view a, std::string_view b);

// The report profiles in reports.dat (settings, one section per report) and
// files.dat (input entries) of one program directory. Every call reads or
// writes the files at once (a file is parsed again only when it has changed).
// Each save, rename or erase replaces each file it changes once; a file that
// cannot be written raises Error("Unable to write to <path>") and keeps what
// it held, while a file stored before it keeps its changes. A profile file
// that is not a regular file makes reads and writes alike raise
// Error("<path> is not a regular file").
class ProfileStore {
  public:
    explicit ProfileStore(const std::filesystem::path& programDirectory);

    std::vector<std::string> listReportNames() const;
    std::string readDescription(std::string_view name) const;
    ReportProfile loadProfile(std::string_view name) const;
    std::vector<std::string> readInputs(std::string_view name) const;

    // Single keys of a report's section, for readers that take one at a time.
    std::optional<std::string> readText(std::string_view name, std::string_view key) const;
    bool readFlag(std::string_view name, std::string_view key) const;
    std::int32_t readInteger(std::string_view name, std::string_view key) const;
    // The "Period", "Period From" and "Period To" keys, with whether they
    // were understood.
    PeriodReading readPeriod(std::string_view name) const;
    // The "Robots" key: Include when it is missing or unknown.
    RobotChoice readRobots(std::string_view name) const;

    void saveProfile(const ReportProfile& profile);
    void eraseProfile(std::string_view name);
    // Writes the profile under its new name, then erases the old report.
    void renameProfile(std::string_view oldName, const ReportProfile& profile);

  private:
    // The changes in memory, stored by the caller's batches.
    void writeSections(const ReportProfile& profile);
    void eraseSections(std::string_view name);
    void addLaterFlag(IniDocument::KeyValues& values, std::string_view name, std::string_view key,
                      bool flag) const;
    void addLaterValue(IniDocument::KeyValues& values, std::string_view name, std::string_view key,
                       bool selected, std::string_view value) const;
    void addPeriod(IniDocument::KeyValues& values, std::string_view name,
                   const ReportPeriod& period) const;

    IniFile reports_;
    IniFile files_;
};

} // namespace statvane
