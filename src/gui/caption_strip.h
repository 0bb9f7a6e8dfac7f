#pragma once

#include <QLabel>

namespace statvane {

// A window's caption drawn in a strip across its top, for a window that the
// window manager shows without a title bar; dragging the strip moves the
// window, as dragging a title bar would.
class CaptionStrip : public QLabel {
    Q_OBJECT
  public:
    explicit CaptionStrip(QWidget* window);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace statvane
