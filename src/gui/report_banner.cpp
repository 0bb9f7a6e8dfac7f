#include "gui/report_banner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace statvane {
namespace {

constexpr int kDesignHeight = 56;

void drawBackground(QPainter& painter, const QRectF& area) {
    QLinearGradient sky(area.topLeft(), area.topRight());
    sky.setColorAt(0, QColor(0x12, 0x3a, 0x6b));
    sky.setColorAt(0.65, QColor(0x1d, 0x6f, 0xa8));
    sky.setColorAt(1, QColor(0x3f, 0xa7, 0xc9));
    painter.fillRect(area, sky);
    painter.setPen(QPen(QColor(0xf5, 0x8f, 0x1c), 2));
    painter.drawLine(area.bottomLeft() - QPointF(0, 1), area.bottomRight() - QPointF(0, 1));
}

void drawTitle(QPainter& painter, qreal scale) {
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(qRound(24 * scale));
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QPointF(16 * scale, 30 * scale), "Statvane");
    font.setBold(false);
    font.setPixelSize(qRound(11 * scale));
    painter.setFont(font);
    painter.setPen(QColor(0xd8, 0xe8, 0xf5));
    painter.drawText(QPointF(17 * scale, 46 * scale), ReportBanner::tr("Report Properties"));
}

// Bars rising to the right in a box kDesignHeight high whose right edge is at
// x = 0, and a vane on a pole above the tallest bar, turned into the wind.
void drawMotif(QPainter& painter) {
    const QColor colours[] = {QColor(0x9c, 0xd3, 0xf0), QColor(0x66, 0xbb, 0x6a),
                              QColor(0xff, 0xc1, 0x4d), QColor(0xf5, 0x8f, 0x1c)};
    const qreal heights[] = {10, 16, 13, 22};
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 4; ++i) {
        painter.setBrush(colours[i]);
        painter.drawRect(QRectF(-72 + i * 14, 50 - heights[i], 10, heights[i]));
    }
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawLine(QPointF(-25, 28), QPointF(-25, 8));
    QPainterPath vane;
    vane.moveTo(-40, 12);
    vane.lineTo(-10, 12);
    vane.moveTo(-40, 12);
    vane.lineTo(-35, 7);
    vane.moveTo(-40, 12);
    vane.lineTo(-35, 17);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(vane);
    painter.setBrush(Qt::white);
    painter.drawPolygon(
        QPolygonF({QPointF(-10, 12), QPointF(-16, 6), QPointF(-14, 12), QPointF(-16, 18)}));
    painter.drawEllipse(QPointF(-25, 12), 2, 2);
}

} // namespace

ReportBanner::ReportBanner(QWidget* parent) : QWidget(parent) {
    setObjectName("Image1");
    setFixedHeight(kDesignHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize ReportBanner::sizeHint() const {
    return {408, kDesignHeight};
}

void ReportBanner::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawBackground(painter, rect());
    const qreal scale = height() / qreal(kDesignHeight);
    drawTitle(painter, scale);
    painter.translate(width() - 12 * scale, 0);
    painter.scale(scale, scale);
    drawMotif(painter);
}

} // namespace statvane
