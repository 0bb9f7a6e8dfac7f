#include "gui/report_icon.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

namespace statvane {
namespace {

// Draws the icon at whatever size and density it is asked for, so that it
// stays sharp on high-density screens.
class ReportIconEngine : public QIconEngine {
  public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 32.0, rect.height() / 32.0);
        drawPage(*painter);
        drawBars(*painter, mode == QIcon::Disabled);
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        QPixmap image(size);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return image;
    }

    QIconEngine* clone() const override { return new ReportIconEngine; }

  private:
    static void drawPage(QPainter& painter) {
        QPainterPath page;
        page.moveTo(6, 2);
        page.lineTo(20, 2);
        page.lineTo(27, 9);
        page.lineTo(27, 30);
        page.lineTo(6, 30);
        page.closeSubpath();
        painter.setPen(QPen(QColor(0x55, 0x60, 0x70), 1.2));
        painter.setBrush(QColor(0xfb, 0xfc, 0xfe));
        painter.drawPath(page);
        painter.setBrush(QColor(0xdd, 0xe3, 0xec));
        painter.drawPolygon(QPolygonF({QPointF(20, 2), QPointF(20, 9), QPointF(27, 9)}));
    }

    static void drawBars(QPainter& painter, bool disabled) {
        const QColor colours[] = {QColor(0x2e, 0x7d, 0xd2), QColor(0x43, 0xa0, 0x47),
                                  QColor(0xf5, 0x8f, 0x1c)};
        const qreal heights[] = {9, 15, 12};
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            painter.setBrush(disabled ? QColor(0xa0, 0xa0, 0xa0) : colours[i]);
            painter.drawRect(QRectF(9.5 + i * 5.5, 27 - heights[i], 4, heights[i]));
        }
    }
};

} // namespace

QIcon reportIcon() {
    return QIcon(new ReportIconEngine);
}

} // namespace statvane
