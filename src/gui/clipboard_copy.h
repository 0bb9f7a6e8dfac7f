#pragma once

#include <QObject>
#include <string>

class QAction;
class QWidget;

namespace statvane {

// Stored bytes on the clipboard as plain text: the exact bytes under
// "text/plain", and for readers that take Unicode the text as windows show it.
void copyToClipboard(const std::string& bytes);

// The list views copy their current cell's text on Ctrl+C themselves; this
// filter gives the key to a window's own copy command instead.
class CopyKeyFilter : public QObject {
  public:
    // Owned by the view it watches.
    CopyKeyFilter(QAction* copy, QWidget* view);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAction* copy_;
};

} // namespace statvane
