#pragma once

#include "profiles/report_period.h"

#include <QWidget>

class QComboBox;
class QDateEdit;

namespace statvane {

// A report's period: a list of the choices (PeriodComboBox) and the first
// and last day of Between (PeriodFromEdit, PeriodToEdit, written yyyy-MM-dd,
// with a calendar), which are enabled for Between only.
class PeriodChooser : public QWidget {
    Q_OBJECT
  public:
    explicit PeriodChooser(QWidget* parent = nullptr);

    // A period without days of its own (both 0, as a profile without them
    // reads) shows the last 7 days before today, ready to be chosen.
    void setPeriod(const ReportPeriod& period);
    ReportPeriod period() const;

    // The days as the date fields write them: "2026-03-01".
    QString fromText() const;
    QString toText() const;

  private:
    void enableDays();

    QComboBox* choices_;
    QDateEdit* from_;
    QDateEdit* to_;
};

} // namespace statvane
