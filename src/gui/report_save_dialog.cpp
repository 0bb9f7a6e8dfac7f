#include "gui/report_save_dialog.h"

#include "gui/dialogs.h"

namespace statvane {

std::optional<QString> ReportSaveDialog::choose(QWidget* parent) {
    const QString chosen =
        dialogs_.chooseFileToSave(parent, "Statvane", fileName_, "All Files (*)", "txt");
    if (chosen.isEmpty())
        return std::nullopt;
    fileName_ = chosen;
    return chosen;
}

} // namespace statvane
