#include "analysis/analysis_result.h"

namespace statvane {

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
    referrers.computePercentages();
    topPages.computePercentages();
    browsers.computePercentages();
    if (status) {
        status->notFound.computePercentages();
        status->serverErrors.computePercentages();
    }
}

std::string AnalysisResult::title() const {
    return "Report Profile - " + firstDate + " to " + lastDate;
}

} // namespace statvane
