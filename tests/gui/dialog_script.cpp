#include "gui/dialog_script.h"

#include <QWidget>

namespace statvane {
namespace {

const QWidget* ownerWindow(const QWidget* parent) {
    return parent ? parent->window() : nullptr;
}

} // namespace

void DialogScript::keep(ShownDialog dialog) {
    shown_.push_back(std::move(dialog));
    if (onShown)
        onShown(shown_.back());
}

void DialogScript::showMessage(QWidget* parent, const QString& caption, const QString& text,
                               MessageIcon icon) {
    keep({ShownDialog::Kind::Message, caption, text, icon, ownerWindow(parent)});
}

bool DialogScript::ask(QWidget* parent, const QString& caption, const QString& text) {
    keep({ShownDialog::Kind::Question, caption, text, MessageIcon::Question, ownerWindow(parent)});
    if (questionAnswers_.empty())
        return false;
    const bool answer = questionAnswers_.front();
    questionAnswers_.pop_front();
    return answer;
}

QStringList DialogScript::answerFileDialog(ShownDialog::Kind kind, const QString& caption,
                                           const QString& start) {
    keep({kind, caption, start, MessageIcon::Information});
    if (fileAnswers_.empty())
        return {};
    QStringList answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

QString DialogScript::answerPicker(ShownDialog::Kind kind, const QString& caption,
                                   const QString& start) {
    const QStringList paths = answerFileDialog(kind, caption, start);
    return paths.isEmpty() ? QString() : paths.front();
}

QStringList DialogScript::chooseFilesToOpen(QWidget*, const QString& caption, const QString& folder,
                                            const QString&) {
    return answerFileDialog(ShownDialog::Kind::OpenFiles, caption, folder);
}

QString DialogScript::chooseFileToSave(QWidget*, const QString& caption, const QString& startName,
                                       const QString&, const QString&) {
    return answerPicker(ShownDialog::Kind::SaveFile, caption, startName);
}

QString DialogScript::chooseFolder(QWidget*, const QString& caption, const QString& folder) {
    return answerPicker(ShownDialog::Kind::Folder, caption, folder);
}

QString DialogScript::chooseProgram(QWidget*, const QString& caption) {
    return answerPicker(ShownDialog::Kind::Program, caption, QString());
}

} // namespace statvane
