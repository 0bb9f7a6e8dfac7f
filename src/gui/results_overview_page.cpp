#include "gui/results_overview_page.h"

#include "analysis/analysis_result.h"
#include "analysis/figure_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace statvane {
namespace {

constexpr int kIndent = 20;

struct FigureRow {
    const char* captionName;
    const char* caption;
    const char* totalName;
    const char* averageName;
    bool indented;
};

constexpr FigureRow kRows[] = {
    {"Label1", "Number of Hits:", "Label4", "Label11", false},
    {"Label2", "Number of Unique Visitors:", "Label5", "Label12", false},
    {"Label3", "Number of Referral Sites:", "Label6", "Label13", false},
    {"Label15", "Total Bytes Transferred:", "Label16", "Label17", false},
    {"Label18", "in Kilobytes (K):", "Label21", "Label23", true},
    {"Label19", "in Megabytes (MB):", "Label22", "Label24", true},
};

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* boldLabel(QWidget* parent, const char* name, const QString& text) {
    QLabel* label = namedLabel(parent, name, text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QString text(const std::string& figure) {
    return QString::fromStdString(figure);
}

} // namespace

ResultsOverviewPage::ResultsOverviewPage(QWidget* parent) : QWidget(parent) {
    auto* group = new QGroupBox(tr("Summary && Totals:"), this);
    group->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(group);
    grid->addWidget(boldLabel(group, "Label7", tr("Total:")), 0, 1);
    grid->addWidget(boldLabel(group, "Label8", tr("Average:")), 0, 2);
    int row = 1;
    auto figure = figures_.begin();
    for (const FigureRow& line : kRows) {
        QLabel* caption = namedLabel(group, line.captionName, tr(line.caption));
        caption->setIndent(line.indented ? kIndent : 0);
        grid->addWidget(caption, row, 0);
        *figure = namedLabel(group, line.totalName, QString());
        grid->addWidget(*figure++, row, 1);
        *figure = namedLabel(group, line.averageName, QString());
        grid->addWidget(*figure++, row, 2);
        ++row;
    }
    grid->setColumnStretch(0, 2);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
    clearFigures();
}

void ResultsOverviewPage::clearFigures() {
    for (QLabel* figure : figures_)
        figure->setText(kNotSelected);
}

void ResultsOverviewPage::showFigures(const AnalysisResult& result) {
    const std::string figures[] = {
        figureText(result.hits),           figureText(result.hitsAverage),
        figureText(result.uniqueVisitors), figureText(result.visitorsAverage),
        figureText(result.referralSites),  figureText(result.referralSitesAverage),
        figureText(result.bytesTotal),     figureText(result.bytesAverage),
        figureText(result.kilobytesTotal), figureText(result.kilobytesAverage),
        figureText(result.megabytesTotal), figureText(result.megabytesAverage),
    };
    for (std::size_t i = 0; i < figures_.size(); ++i)
        figures_[i]->setText(text(figures[i]));
}

} // namespace statvane
