#pragma once

#include <QWidget>
#include <array>

class QLabel;

namespace statvane {

struct AnalysisResult;

// The "Overview" tab of the results window: the group "Summary && Totals:"
// with a total and an average for hits, unique visitors, referral sites and
// bytes (with the kilobytes and megabytes rows indented under them). The
// figures are Label4, Label11, Label5, Label12, Label6, Label13, Label16,
// Label17, Label21, Label23, Label22 and Label24.
class ResultsOverviewPage : public QWidget {
    Q_OBJECT
  public:
    explicit ResultsOverviewPage(QWidget* parent = nullptr);

    void showFigures(const AnalysisResult& result);
    // Every figure "Not Selected".
    void clearFigures();

  private:
    // Total and average of each row, top to bottom.
    std::array<QLabel*, 12> figures_{};
};

} // namespace statvane
