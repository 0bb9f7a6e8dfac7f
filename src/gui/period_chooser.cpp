#include "gui/period_chooser.h"

#include "platform/calendar_day.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace statvane {
namespace {

constexpr PeriodChoice kChoices[] = {PeriodChoice::All,       PeriodChoice::Yesterday,
                                     PeriodChoice::Last7Days, PeriodChoice::Last30Days,
                                     PeriodChoice::LastWeek,  PeriodChoice::LastMonth,
                                     PeriodChoice::Between};
constexpr const char* kDayFormat = "yyyy-MM-dd";

// Day numbers count from the first day of 1970.
const QDate kFirstDay(1970, 1, 1);

QDate dateOf(std::int32_t day) {
    return kFirstDay.addDays(day);
}

std::int32_t dayOf(const QDate& date) {
    return static_cast<std::int32_t>(kFirstDay.daysTo(date));
}

// The name read out is given to the field typed in as well.
QDateEdit* dayEdit(QWidget* parent, const char* name, const QString& spokenName) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(kDayFormat);
    edit->setCalendarPopup(true);
    edit->setAccessibleName(spokenName);
    edit->findChild<QLineEdit*>()->setAccessibleName(spokenName);
    return edit;
}

} // namespace

PeriodChooser::PeriodChooser(QWidget* parent) : QWidget(parent) {
    choices_ = new QComboBox(this);
    choices_->setObjectName("PeriodComboBox");
    for (const PeriodChoice choice : kChoices) {
        const std::string_view text = periodChoiceText(choice);
        choices_->addItem(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                          static_cast<int>(choice));
    }
    from_ = dayEdit(this, "PeriodFromEdit", tr("First day of the period"));
    to_ = dayEdit(this, "PeriodToEdit", tr("Last day of the period"));
    // The label's underlined letter focuses only a widget that takes focus;
    // the choice takes it for the whole row.
    setFocusPolicy(choices_->focusPolicy());
    setFocusProxy(choices_);
    connect(choices_, &QComboBox::currentIndexChanged, this, &PeriodChooser::enableDays);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(choices_);
    layout->addWidget(from_);
    layout->addWidget(new QLabel(tr("to"), this));
    layout->addWidget(to_);
    layout->addStretch(1);
    enableDays();
}

void PeriodChooser::setPeriod(const ReportPeriod& period) {
    choices_->setCurrentIndex(choices_->findData(static_cast<int>(period.choice)));
    const bool noDays = period.from == 0 && period.to == 0;
    const DayRange days = noDays ? *dayRangeOf({PeriodChoice::Last7Days}, todayOnLocalClock())
                                 : DayRange{period.from, period.to};
    from_->setDate(dateOf(days.first));
    to_->setDate(dateOf(days.last));
    enableDays();
}

ReportPeriod PeriodChooser::period() const {
    return {static_cast<PeriodChoice>(choices_->currentData().toInt()), dayOf(from_->date()),
            dayOf(to_->date())};
}

QString PeriodChooser::fromText() const {
    return from_->text();
}

QString PeriodChooser::toText() const {
    return to_->text();
}

void PeriodChooser::enableDays() {
    const bool between = choices_->currentData().toInt() == static_cast<int>(PeriodChoice::Between);
    from_->setEnabled(between);
    to_->setEnabled(between);
}

} // namespace statvane
