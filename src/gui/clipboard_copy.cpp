#include "gui/clipboard_copy.h"

#include "gui/display_text.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QWidget>

namespace statvane {

void copyToClipboard(const std::string& bytes) {
    auto* data = new QMimeData;
    data->setData("text/plain;charset=utf-8", displayText(bytes).toUtf8());
    data->setData("text/plain", QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(data);
}

CopyKeyFilter::CopyKeyFilter(QAction* copy, QWidget* view) : QObject(view), copy_(copy) {
    view->installEventFilter(this);
}

bool CopyKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress ||
        !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return QObject::eventFilter(watched, event);
    copy_->trigger();
    return true;
}

} // namespace statvane
