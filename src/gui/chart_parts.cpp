#include "gui/chart_parts.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsLayout>
#include <QToolTip>

namespace statvane {

QChartView* newChartView(const char* name, QWidget* parent) {
    auto* view = new QChartView(parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumSize(160, 120);
    return view;
}

void replaceChart(QChartView& view, QChart* chart) {
    QChart* shown = view.chart();
    view.setChart(chart);
    delete shown;
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    return chart;
}

// Bar i stands at the value i; a label is written at its bar.
QAbstractAxis* barLabelAxis(const QStringList& labels, int maxLabels) {
    auto* axis = new QCategoryAxis;
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    axis->setStartValue(-0.5);
    axis->setRange(-0.5, labels.size() - 0.5);
    const qsizetype step = std::max<qsizetype>(1, (labels.size() + maxLabels - 1) / maxLabels);
    for (qsizetype i = 0; i < labels.size(); i += step)
        axis->append(labels[i], static_cast<qreal>(i));
    axis->setGridLineVisible(false);
    return axis;
}

void showHoverTip(bool hovered, const QString& text) {
    if (hovered)
        QToolTip::showText(QCursor::pos(), text);
    else
        QToolTip::hideText();
}

} // namespace statvane
