#include "gui/help_window.h"

#include "platform/help_directory.h"
#include "platform/prompt.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

namespace statvane {
namespace {

constexpr const char* contentsPage = "index.html";

// The page of a help context number.
const char* topicPage(int context) {
    switch (context) {
    case 2:
        return "properties.html";
    case 3:
        return "options.html";
    case 4:
        return "results.html";
    default:
        return contentsPage;
    }
}

QPushButton* addButton(QHBoxLayout* row, const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    row->addWidget(button);
    return button;
}

} // namespace

HelpWindow::HelpWindow(Prompt& prompt, QWidget* parent)
    : QWidget(parent, Qt::Window), prompt_(prompt), browser_(new QTextBrowser) {
    setWindowTitle(tr("Statvane Help"));
    resize(760, 580);
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    connect(browser_, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);

    auto* buttons = new QHBoxLayout;
    QPushButton* back = addButton(buttons, tr("&Back"), "BackButton");
    QPushButton* home = addButton(buttons, tr("&Home"), "HomeButton");
    buttons->addStretch();
    back->setEnabled(false);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(home, &QPushButton::clicked, this, &HelpWindow::showContents);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
}

void HelpWindow::showContents() {
    showPage(contentsPage);
}

void HelpWindow::showTopic(int context) {
    showPage(topicPage(context));
}

void HelpWindow::showPage(const char* page) {
    const std::filesystem::path folder = helpDirectory();
    const std::filesystem::path file = folder / page;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        prompt_.showMessage(tr("The help pages could not be found in %1.")
                                .arg(QFile::decodeName(folder.c_str()))
                                .toStdString(),
                            MessageIcon::Warning);
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(QFile::decodeName(file.c_str())));
    show();
    raise();
    activateWindow();
}

// Links between our pages (and to places in them) open here; a link to
// anywhere else opens nothing.
void HelpWindow::followLink(const QUrl& link) {
    const QUrl target = browser_->source().resolved(link);
    if (target.isLocalFile())
        browser_->setSource(target);
}

} // namespace statvane
