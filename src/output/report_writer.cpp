#include "output/report_writer.h"

#include "analysis/figure_rows.h"
#include "analysis/figure_text.h"
#include "output/compare_rows.h"
#include "platform/atomic_file.h"
#include "platform/error.h"

#include <functional>

namespace statvane {
namespace {

constexpr std::int32_t kByCount = 1;

// Where the report's text goes, piece by piece.

class ReportText {
  public:
    explicit ReportText(TextSink sink) : sink_(std::move(sink)) {}

    void line(std::string_view text = {}) {
        sink_(text);
        sink_("\r\n");
    }
    void figure(std::string_view label, const std::string& value) {
        sink_(label);
        line(value);
    }
    // A section's title, an empty line and its heading; an empty line first
    // when the section before it ended without one.
    void heading(std::string_view title, std::string_view heading) {
        if (openEnded_)
            line();
        openEnded_ = false;
        line(title);
        line();
        line(heading);
    }
    // One "key,figure,figure" row.
    void row(const FigureRow& row) {
        sink_(row.key);
        for (const std::string& figure : row.figures) {
            sink_(",");
            sink_(figure);
        }
        line();
    }
    void rows(std::string_view title, std::string_view heading, const std::vector<FigureRow>& rows,
              bool blankAfter) {
        this->heading(title, heading);
        for (const FigureRow& figures : rows)
            row(figures);
        endSection(blankAfter);
    }
    // Ends a section: with an empty line, or without one until another
    // section follows.
    void endSection(bool blankAfter) {
        if (blankAfter)
            line();
        openEnded_ = !blankAfter;
    }

    void table(std::string_view title, std::string_view heading, const TallyTable& table,
               bool blankAfter) {
        if (table.empty())
            return;
        this->heading(title, heading);
        // The rows are sorted by count, so rows of one count follow each
        // other and share their count's text and percentage.
        std::int32_t count = 0;
        std::string figures;
        for (std::size_t i = 0; i < table.size(); ++i) {
            const TallyRow& row = table.rows()[i];
            if (i == 0 || row.count != count) {
                count = row.count;
                figures.assign(1, ',');
                figures += std::to_string(count);
                figures += ',';
                figures += table.percent(i);
            }
            sink_(row.key());
            line(figures);
        }
        endSection(blankAfter);
    }

  private:
    TextSink sink_;
    bool openEnded_ = false;
};

void summary(ReportText& text, const AnalysisResult& result) {
    text.line("Statvane");
    text.line(result.title());
    text.line();
    text.line("------> Summary & Totals <------");
    text.line();
    text.figure("Total Number of Hits:  ", figureText(result.hits));
    text.figure("Average Number of Hits:  ", figureText(result.hitsAverage));
    text.line();
    text.figure("Total Number of Unique Visitors:  ", figureText(result.uniqueVisitors));
    text.figure("Average Number of Unique Visitors:  ", figureText(result.visitorsAverage));
    text.line();
    text.figure("Total Number of Referral Sites:  ", figureText(result.referralSites));
    text.figure("Average Number of Referral Sites:  ", figureText(result.referralSitesAverage));
    text.line();
    text.figure("Total Bytes Transferred:  ", figureText(result.bytesTotal));
    text.figure("   - in Kilobytes (K):  ", figureText(result.kilobytesTotal));
    text.figure("   - in Megabytes (MB):  ", figureText(result.megabytesTotal));
    text.figure("Average Bytes Transferred: ", figureText(result.bytesAverage));
    text.figure("   - in Kilobytes (K):  ", figureText(result.kilobytesAverage));
    text.figure("   - in Megabytes (MB):  ", figureText(result.megabytesAverage));
    text.line();
}

void traffic(ReportText& text, const TrafficFigures& traffic) {
    text.rows("------> Traffic by Day <------", "Day, Hits, Visitors", dayRows(traffic), true);
    text.rows("------> Hits by Hour <------", "Hour, Number, Percentage", hourRows(traffic), false);
}

void status(ReportText& text, const StatusFigures& status) {
    text.rows("------> Status Codes <------", "Status, Number, Percentage", codeRows(status),
              false);
    text.table("------> Pages Not Found <------", "Web Address, Number, Percentage",
               status.notFound, false);
    text.table("------> Server Errors <------", "Web Address, Number, Percentage",
               status.serverErrors, false);
}

} // namespace

void produceReport(AnalysisResult& result, SettingsStore& settings, TextSink sink) {
    settings.writeSortIndex(kByCount);
    sortRows(result.referrers, kByCount);
    sortRows(result.topPages, kByCount);
    sortRows(result.browsers, kByCount);

    ReportText text(std::move(sink));
    summary(text, result);
    if (!result.visitors.empty()) {
        text.line("------> Visitors List <------");
        text.line();
        for (const auto& visitor : result.visitors)
            text.line(visitor);
        text.line();
    }
    text.table("------> Referrer List <------", "Web Address, Number, Percentage", result.referrers,
               true);
    text.table("------> Top Pages <------", "Web Address, Number, Percentage", result.topPages,
               true);
    text.table("------> Browser List <------", "Browser, Number, Percentage", result.browsers,
               false);
    if (result.robots) {
        sortRows(*result.robots, kByCount);
        text.table("------> Robots <------", "Robot, Number, Percentage", *result.robots, false);
    }
    if (result.traffic)
        traffic(text, *result.traffic);
    if (result.status)
        status(text, *result.status);
}

std::string buildReport(AnalysisResult& result, SettingsStore& settings) {
    std::string text;
    produceReport(result, settings, [&text](std::string_view piece) { text += piece; });
    return text;
}

void writeReport(AnalysisResult& result, SettingsStore& settings,
                 const std::filesystem::path& file) {
    FileReplacement replacement(file);
    produceReport(result, settings,
                  [&replacement](std::string_view piece) { replacement.append(piece); });
    const ReplaceResult replaced = replacement.commit();
    if (replaced)
        return;
    const std::string detail = fileDetail(file, replaced.reason());
    if (replaced.failedStage() == ReplaceResult::Stage::Create)
        throw Error(formatMessage("Cannot create file %s", file.string()), detail);
    throw Error("Stream write error", detail);
}

} // namespace statvane
