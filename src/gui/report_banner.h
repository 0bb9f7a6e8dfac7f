#pragma once

#include <QWidget>

namespace statvane {

// The picture across the top of the properties dialog: the program's name
// over a gradient with a weather vane above a small bar chart, painted at
// whatever size and density the screen asks for.
class ReportBanner : public QWidget {
    Q_OBJECT
  public:
    explicit ReportBanner(QWidget* parent = nullptr);
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace statvane
