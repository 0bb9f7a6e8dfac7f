#include "gui/progress_window.h"

#include "gui/caption_strip.h"
#include "gui/command_guard.h"
#include "gui/display_text.h"
#include "gui/window_size.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace statvane {
namespace {

constexpr QSize kDesignSize(400, 150);

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TForm4::TForm4(SettingsStore& store, Dialogs& dialogs, QWidget* owner)
    : QFrame(owner, Qt::SplashScreen), store_(store), prompt_(dialogs, this) {
    setObjectName("Form4");
    setWindowTitle("Statvane");
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    Label2 =
        label(this, "Label2", tr("Statvane is working with the selected report.  Please wait."));
    Label1 = label(this, "Label1", tr("Obtaining Number of Hits... "));
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    Label3 = label(this, "Label3", QString());
    Button1 = new QPushButton(tr("&Cancel"), this);
    Button1->setObjectName("Button1");
    connect(Button1, &QPushButton::clicked, this, &TForm4::Button1Click);

    auto* body = new QVBoxLayout;
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    body->setContentsMargins(margin, margin, margin, margin);
    body->addWidget(Label2);
    body->addWidget(Label1);
    body->addWidget(ProgressBar1);
    body->addWidget(Label3);
    body->addWidget(Button1, 0, Qt::AlignHCenter);
    // The strip and the frame stand where the title bar and the window
    // manager's border would, around a body of the design size.
    auto* caption = new CaptionStrip(this);
    auto* layout = new QVBoxLayout(this);
    const int frame = frameWidth();
    layout->setContentsMargins(frame, frame, frame, frame);
    layout->setSpacing(0);
    layout->addWidget(caption);
    layout->addLayout(body, 1);
    setFixedSize(firstShowSize(
        *this, kDesignSize + QSize(2 * frame, caption->sizeHint().height() + 2 * frame)));
}

void TForm4::showProgress() {
    FormShow();
    show();
    raise();
}

// The window's size, then a fresh bar, count and Cancel on every show.
void TForm4::FormShow() {
    runGuarded(prompt_, [this] { restoreWindowSize(*this, store_, "Form4"); });
    if (!isVisible())
        centreOnScreen(*this);
    Label3->clear();
    ProgressBar1->setValue(0);
    Button1->setEnabled(true);
}

void TForm4::closeProgress() {
    if (isVisible())
        FormClose();
}

void TForm4::FormClose() {
    runGuarded(prompt_, [this] { storeWindowSize(*this, store_, "Form4"); });
    hide();
}

void TForm4::setBusy(bool busy) {
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TForm4::setStepText(const std::string& text) {
    Label1->setText(displayText(text));
}

void TForm4::advanceProgress(int amount) {
    ProgressBar1->setValue(std::min(ProgressBar1->value() + amount, ProgressBar1->maximum()));
}

void TForm4::setCount(const std::string& text) {
    Label3->setText(displayText(text));
}

bool TForm4::cancelRequested() {
    return !Button1->isEnabled();
}

void TForm4::processEvents() {
    QCoreApplication::processEvents();
}

void TForm4::Button1Click() {
    Button1->setEnabled(false);
    closeProgress();
}

// The window has no close box; a close asked for in another way (a key or
// the window manager) is Cancel.
void TForm4::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (Button1->isEnabled())
        Button1Click();
}

} // namespace statvane
