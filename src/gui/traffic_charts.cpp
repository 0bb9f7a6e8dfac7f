#include "gui/traffic_charts.h"

#include "analysis/figure_rows.h"
#include "analysis/figure_text.h"
#include "analysis/traffic_figures.h"
#include "gui/chart_parts.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace statvane {
namespace {

// Few enough labels for each to fit under its bars.
constexpr int kDayLabels = 4;
constexpr int kHourLabels = 8;

// A day under the bars, shorter than "09/Dec/2026" so that it fits: within a
// year "09/Dec", each day once; over longer spans, whose labels stand months
// apart, "Dec/2026".
QString dayLabel(const std::string& day, std::size_t dayCount) {
    constexpr std::size_t kDaysOfAYear = 365;
    return QString::fromStdString(dayCount <= kDaysOfAYear ? day.substr(0, 6) : day.substr(3));
}

QString number(std::int64_t value) {
    return QString::number(value);
}

// The counts' axis, from 0 to the highest count, in whole numbers.
QValueAxis* countAxis(std::int64_t highest) {
    auto* axis = new QValueAxis;
    axis->setRange(0, static_cast<qreal>(std::max<std::int64_t>(highest, 1)));
    axis->setLabelFormat("%d");
    axis->applyNiceNumbers();
    return axis;
}

void attach(QChart& chart, QAbstractSeries* series, QAbstractAxis* labels, QAbstractAxis* counts) {
    chart.addSeries(series);
    series->attachAxis(labels);
    series->attachAxis(counts);
}

QChart* barChart(const QString& title, QBarSet* bars, const QStringList& labels, int maxLabels,
                 std::int64_t highest) {
    QChart* chart = newChart(title);
    auto* series = new QBarSeries;
    series->setBarWidth(1.0);
    series->append(bars);
    QAbstractAxis* labelAxis = barLabelAxis(labels, maxLabels);
    QValueAxis* counts = countAxis(highest);
    chart->addAxis(labelAxis, Qt::AlignBottom);
    chart->addAxis(counts, Qt::AlignLeft);
    attach(*chart, series, labelAxis, counts);
    return chart;
}

} // namespace

// The visitors, far fewer than the hits, have their own scale on the right.
QChart* dayChart(const TrafficFigures& traffic) {
    auto* hits = new QBarSet(QObject::tr("Hits"));
    auto* visitors = new QLineSeries;
    visitors->setName(QObject::tr("Visitors"));
    QStringList days;
    std::int64_t mostHits = 0;
    std::int64_t mostVisitors = 0;
    for (const DayFigures& day : traffic.days) {
        visitors->append(static_cast<qreal>(days.size()), static_cast<qreal>(day.visitors));
        days << dayLabel(day.day, traffic.days.size());
        *hits << static_cast<qreal>(day.hits);
        mostHits = std::max(mostHits, day.hits);
        mostVisitors = std::max(mostVisitors, day.visitors);
    }
    QChart* chart =
        barChart(QObject::tr("Hits and Visitors per Day"), hits, days, kDayLabels, mostHits);
    QValueAxis* visitorAxis = countAxis(mostVisitors);
    chart->addAxis(visitorAxis, Qt::AlignRight);
    attach(*chart, visitors, chart->axes(Qt::Horizontal).front(), visitorAxis);
    visitorAxis->setLabelsColor(visitors->color());
    QObject::connect(hits, &QBarSet::hovered, chart,
                     [shown = traffic.days](bool hovered, int index) {
                         const DayFigures& day = shown[static_cast<std::size_t>(index)];
                         showHoverTip(hovered, QObject::tr("%1\nHits: %2\nVisitors: %3")
                                                   .arg(QString::fromStdString(day.day),
                                                        number(day.hits), number(day.visitors)));
                     });
    return chart;
}

QChart* hourChart(const TrafficFigures& traffic) {
    auto* hits = new QBarSet(QObject::tr("Hits"));
    QStringList hours;
    std::int64_t highest = 0;
    for (std::size_t hour = 0; hour < traffic.hours.size(); ++hour) {
        hours << QString::fromStdString(hourText(hour));
        *hits << static_cast<qreal>(traffic.hours[hour]);
        highest = std::max(highest, traffic.hours[hour]);
    }
    QChart* chart = barChart(QObject::tr("Hits by Hour"), hits, hours, kHourLabels, highest);
    chart->legend()->hide();
    const auto counts = traffic.hours;
    const std::int64_t total = traffic.hits();
    QObject::connect(hits, &QBarSet::hovered, chart, [counts, total](bool hovered, int hour) {
        const std::int64_t count = counts[static_cast<std::size_t>(hour)];
        showHoverTip(hovered,
                     QObject::tr("%1:00 to %1:59\nHits: %2 (%3%)")
                         .arg(QString::fromStdString(hourText(static_cast<std::size_t>(hour))),
                              number(count), QString::fromStdString(percentText(count, total))));
    });
    return chart;
}

} // namespace statvane
