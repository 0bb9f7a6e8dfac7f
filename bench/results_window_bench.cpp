// Times the results window at scale, offscreen: a result of VISITORS unique
// visitors (200,000) and ROWS rows (100,000) in each of the referrer and top
// pages tables taken and shown with every tab drawn once, then the referrer
// table sorted by a header click (by count, then by address) and drawn.
// Each figure is the best of a few runs; the goals are under 1 s to fill and
// show and under 0.3 s for a sort.
#include "analysis/analysis_result.h"
#include "gui/help_window.h"
#include "gui/message_boxes.h"
#include "gui/qt_dialogs.h"
#include "gui/report_save_dialog.h"
#include "gui/results_window.h"
#include "platform/registry.h"
#include "profiles/profile_store.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

#include <QApplication>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <unistd.h>

namespace {

double bestSeconds(int runs, const std::function<void()>& prepare,
                   const std::function<void()>& work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// Rows in first-seen order with counts in no order, as a run leaves them.
void fillTable(statvane::TallyTable& table, std::size_t rows, const char* prefix) {
    for (std::size_t row = 0; row < rows; ++row) {
        const std::string key = prefix + std::to_string((row * 7919) % rows);
        table.append(key);
        for (std::size_t more = (row * 31) % 5; more > 0; --more)
            table.increment(row);
    }
}

statvane::AnalysisResult largeResult(std::size_t visitors, std::size_t rows) {
    statvane::AnalysisResult result;
    result.logFileCount = 1;
    result.hits = static_cast<std::int32_t>(rows * 3);
    result.hitsAverage = result.hits;
    result.visitors.reserve(visitors);
    for (std::size_t i = 0; i < visitors; ++i)
        result.visitors.push_back("10." + std::to_string(i >> 16) + "." +
                                  std::to_string((i >> 8) & 255) + "." + std::to_string(i & 255));
    std::sort(result.visitors.begin(), result.visitors.end());
    result.uniqueVisitors = static_cast<std::int32_t>(visitors);
    fillTable(result.referrers, rows, "http://referrer.example/page");
    fillTable(result.topPages, rows, "/page");
    fillTable(result.browsers, 1000, "Agent ");
    result.computePercentages();
    result.firstDate = "01/Dec/2026";
    result.lastDate = "31/Dec/2026";
    return result;
}

// Draws every tab once, as a user looking through them would.
void drawEveryTab(statvane::TForm5& window) {
    auto* tabs = window.findChild<QTabWidget*>("PageControl1");
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        window.grab();
    }
    tabs->setCurrentIndex(0);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::size_t visitors = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 200000;
    const std::size_t rows = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 100000;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    int qtArgc = 1;
    QApplication application(qtArgc, argv);

    const auto folder = std::filesystem::temp_directory_path() /
                        ("statvane-results-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    statvane::Registry registry(folder / "registry.reg");
    statvane::SettingsStore settingsStore(registry);
    statvane::ProfileStore profiles(folder);
    statvane::QtDialogs dialogs;
    statvane::MessageBoxPrompt prompt(dialogs);
    statvane::HelpWindow help(prompt);
    statvane::ReportSaveDialog saveDialog(dialogs);
    const statvane::Settings settings;
    statvane::TForm5 window(statvane::ResultsWindowContext{
        settingsStore, dialogs, settings, profiles, help, saveDialog, folder,
        [] { return std::nullopt; }, [](const auto&, const auto&) { return false; },
        [] { return false; }});

    const statvane::AnalysisResult result = largeResult(visitors, rows);
    statvane::AnalysisResult copy;
    const double show = bestSeconds(
        runs,
        [&] {
            window.Button1Click();
            copy = result;
        },
        [&] {
            window.showResult(std::move(copy));
            QApplication::processEvents();
            drawEveryTab(window);
        });
    const auto sortBy = [&](int column) {
        return bestSeconds(
            runs, [&] { window.ListView1ColumnClick(column == 0 ? 1 : 0); },
            [&] {
                window.ListView1ColumnClick(column);
                window.grab();
            });
    };
    const double byCount = sortBy(1);
    const double byAddress = sortBy(0);
    std::printf("visitors %zu, table rows %zu\n", visitors, rows);
    std::printf("fill and show, every tab drawn: %.3f s (goal < 1 s)\n", show);
    std::printf("sort %zu rows by count:   %.3f s (goal < 0.3 s)\n", rows, byCount);
    std::printf("sort %zu rows by address: %.3f s (goal < 0.3 s)\n", rows, byAddress);
    window.close();
    std::filesystem::remove_all(folder);
    return 0;
}
