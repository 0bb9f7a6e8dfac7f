#pragma once

#include <QApplication>

namespace statvane {

// The busy cursor from construction until the object ends, unless kept for
// someone else to restore.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() {
        if (!kept_)
            QApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    void keep() { kept_ = true; }

  private:
    bool kept_ = false;
};

} // namespace statvane
