#include "shell/terminal_progress.h"

#include <QCoreApplication>
#include <algorithm>
#include <csignal>
#include <unistd.h>

namespace statvane {
namespace {

volatile std::sig_atomic_t interrupted = 0;
struct sigaction previousHandler {};

void onInterrupt(int) {
    interrupted = 1;
}

constexpr int kBarWidth = 30;

} // namespace

TerminalProgress::TerminalProgress() : drawing_(::isatty(STDERR_FILENO) == 1) {
    interrupted = 0;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, &previousHandler);
}

TerminalProgress::~TerminalProgress() {
    clearLine();
    ::sigaction(SIGINT, &previousHandler, nullptr);
}

void TerminalProgress::showProgress() {
    visible_ = true;
    position_ = 0;
    count_.clear();
    draw();
}

void TerminalProgress::closeProgress() {
    clearLine();
    visible_ = false;
}

void TerminalProgress::setStepText(const std::string& text) {
    step_ = text;
    draw();
}

void TerminalProgress::advanceProgress(int amount) {
    position_ = std::clamp(position_ + amount, 0, 100);
    draw();
}

void TerminalProgress::setCount(const std::string& text) {
    count_ = text;
    draw();
}

bool TerminalProgress::cancelRequested() {
    return interrupted != 0;
}

void TerminalProgress::processEvents() {
    QCoreApplication::processEvents();
}

void TerminalProgress::printAbove(const std::function<void()>& print) {
    clearLine();
    print();
    draw();
}

void TerminalProgress::draw() {
    if (!drawing_ || !visible_)
        return;
    const int filled = position_ * kBarWidth / 100;
    std::fprintf(stderr, "\r\033[K%s [%s%s] %s", step_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), count_.c_str());
    std::fflush(stderr);
}

void TerminalProgress::clearLine() {
    if (drawing_ && visible_) {
        std::fputs("\r\033[K", stderr);
        std::fflush(stderr);
    }
}

} // namespace statvane
