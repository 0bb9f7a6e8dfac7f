#include "gui/report_save_dialog.h"

#include "gui/dialogs.h"
#include "gui/message_boxes.h"

#include <QObject>

namespace statvane {

std::optional<QString> ReportSaveDialog::choose(QWidget* parent) {
    const QString chosen = dialogs_.chooseFileToSave(parent, kApplicationTitle, fileName_,
                                                     QObject::tr("All Files (*)"), "txt");
    if (chosen.isEmpty())
        return std::nullopt;
    fileName_ = chosen;
    return chosen;
}

} // namespace statvane
