#include "gui/status_chart.h"

#include "analysis/figure_rows.h"
#include "analysis/figure_text.h"
#include "analysis/status_figures.h"
#include "gui/chart_parts.h"

#include <QChart>
#include <QLegend>
#include <QPieSeries>
#include <QPieSlice>
#include <array>

namespace statvane {
namespace {

constexpr qreal kHole = 0.45;

struct ClassCount {
    QString name;
    std::int64_t hits = 0;
};

// 1xx to 5xx, then the lines without a code.
std::array<ClassCount, 6> classCounts(const StatusFigures& status) {
    std::array<ClassCount, 6> classes;
    for (std::size_t i = 0; i < 5; ++i)
        classes[i].name = QString("%1xx").arg(i + 1);
    classes[5] = {QString(kNoCodeRow), status.uncoded};
    for (const auto& [code, count] : status.codes)
        classes[static_cast<std::size_t>(code / 100 - 1)].hits += count;
    return classes;
}

} // namespace

QChart* classChart(const StatusFigures& status) {
    QChart* chart = newChart(QObject::tr("Status Classes"));
    chart->legend()->setAlignment(Qt::AlignRight);
    auto* series = new QPieSeries;
    series->setHoleSize(kHole);
    const std::int64_t total = status.hits();
    for (const ClassCount& kind : classCounts(status)) {
        if (kind.hits == 0)
            continue;
        const QString share = QString::fromStdString(percentText(kind.hits, total));
        QPieSlice* slice = series->append(QObject::tr("%1 (%2%)").arg(kind.name, share),
                                          static_cast<qreal>(kind.hits));
        const QString tip =
            QObject::tr("%1\nHits: %2 (%3%)").arg(kind.name).arg(kind.hits).arg(share);
        QObject::connect(slice, &QPieSlice::hovered, slice, [slice, tip](bool hovered) {
            slice->setExploded(hovered);
            showHoverTip(hovered, tip);
        });
    }
    chart->addSeries(series);
    return chart;
}

} // namespace statvane
