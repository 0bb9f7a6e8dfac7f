#include "gui/dialog_script.h"

namespace statvane {
namespace {

DialogScript* activeScript = nullptr;

} // namespace

DialogScript::DialogScript() : previous_(activeScript) {
    activeScript = this;
}

DialogScript::~DialogScript() {
    activeScript = previous_;
}

DialogScript* DialogScript::active() {
    return activeScript;
}

void DialogScript::keep(ShownDialog dialog) {
    shown_.push_back(std::move(dialog));
    if (onShown)
        onShown(shown_.back());
}

bool DialogScript::record(ShownDialog dialog) {
    keep(std::move(dialog));
    if (shown_.back().kind != ShownDialog::Kind::Question || questionAnswers_.empty())
        return false;
    const bool answer = questionAnswers_.front();
    questionAnswers_.pop_front();
    return answer;
}

QStringList DialogScript::recordFileDialog(ShownDialog dialog) {
    keep(std::move(dialog));
    if (fileAnswers_.empty())
        return {};
    QStringList answer = fileAnswers_.front();
    fileAnswers_.pop_front();
    return answer;
}

} // namespace statvane
