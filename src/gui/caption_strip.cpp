#include "gui/caption_strip.h"

#include <QMouseEvent>
#include <QWindow>

namespace statvane {

CaptionStrip::CaptionStrip(QWidget* window) : QLabel(window->windowTitle(), window) {
    setObjectName("CaptionStrip");
    setAlignment(Qt::AlignCenter);
    setMargin(3);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Highlight);
    setForegroundRole(QPalette::HighlightedText);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
}

void CaptionStrip::mousePressEvent(QMouseEvent* event) {
    QWindow* handle = window()->windowHandle();
    if (event->button() == Qt::LeftButton && handle)
        handle->startSystemMove();
}

} // namespace statvane
