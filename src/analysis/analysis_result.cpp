#include "analysis/analysis_result.h"

#include "analysis/figure_text.h"

namespace statvane {
namespace {

void computeTablePercentages(TallyTable& table) {
    std::int64_t sum = 0;
    for (const auto& row : table.rows())
        sum += row.count;
    if (sum == 0)
        return;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const long double share = static_cast<long double>(table.rows()[i].count) / sum * 100;
        table.setPercent(i, formatGeneral(share));
    }
}

} // namespace

void AnalysisResult::setBytes(double total) {
    const double files = logFileCount;
    bytesTotal = total;
    bytesAverage = total / files;
    kilobytesTotal = total / 1024;
    kilobytesAverage = total / files / 1024;
    megabytesTotal = total / 1048576;
    megabytesAverage = total / files / 1048576;
}

void AnalysisResult::computePercentages() {
    computeTablePercentages(referrers);
    computeTablePercentages(topPages);
    computeTablePercentages(browsers);
}

std::string AnalysisResult::title() const {
    return "Report Profile - " + firstDate + " to " + lastDate;
}

} // namespace statvane
