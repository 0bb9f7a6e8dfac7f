// Times the profile and settings files at scale: a report with ENTRIES input
// entries ("File n" keys) saved and loaded, and a settings file with ENTRIES
// filter-list values saved and loaded. Each figure is the best of a few runs;
// the time should grow in step with ENTRIES.
#include "platform/registry.h"
#include "profiles/profile_store.h"
#include "settings/settings_store.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

double bestSeconds(int runs, const std::function<void()>& work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

std::vector<std::string> entries(std::size_t count, const char* prefix) {
    std::vector<std::string> list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        list.push_back(prefix + std::to_string(i) + ".log");
    return list;
}

} // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("statvane-profile-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);

    statvane::ReportProfile profile;
    profile.name = "Many Files";
    profile.totalOptions = 1;
    profile.visitorsList = true;
    profile.inputs = entries(count, "/var/log/site/access-");

    statvane::Settings settings;
    settings.MaxCache = "10000";
    settings.VisitorFilterList = entries(count, "10.0.");

    const double saveProfile =
        bestSeconds(runs, [&] { statvane::ProfileStore(folder).saveProfile(profile); });
    const double loadProfile = bestSeconds(runs, [&] {
        if (statvane::ProfileStore(folder).loadProfile(profile.name).inputs.size() != count)
            std::abort();
    });
    const double saveSettings = bestSeconds(runs, [&] {
        statvane::Registry fresh(folder / "registry.reg");
        statvane::SettingsStore(fresh).saveSettings(settings);
    });
    const double loadSettings = bestSeconds(runs, [&] {
        statvane::Registry fresh(folder / "registry.reg");
        statvane::Settings loaded;
        statvane::SettingsStore(fresh).loadSettings(loaded);
        if (loaded.VisitorFilterList.size() != count)
            std::abort();
    });
    std::filesystem::remove_all(folder);

    std::printf(
        "%zu entries: profile save %.3f s, load %.3f s; settings save %.3f s, load %.3f s\n", count,
        saveProfile, loadProfile, saveSettings, loadSettings);
    return 0;
}
