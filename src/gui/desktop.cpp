#include "gui/desktop.h"

#include "gui/command_guard.h"
#include "net/tls_trust.h"
#include "net/web/web_launching.h"
#include "platform/old_reports_notice.h"
#include "platform/program_directory.h"
#include "platform/resolver_library.h"
#include "platform/stream_prompt.h"

#include <cstdio>

namespace statvane {
namespace {

// The first file's notice, and how many more files have one.
std::string layoutStatusText(const std::vector<std::string>& notices) {
    const std::size_t more = notices.size() - 1;
    if (more == 0)
        return notices.front();
    const QString others = more == 1 ? QObject::tr(" (and 1 more file)")
                                     : QObject::tr(" (and %1 more files)").arg(more);
    return notices.front() + others.toStdString();
}

} // namespace

void DesktopOutput::showResults(AnalysisResult result) {
    results_.showResult(std::move(result));
}

bool DesktopOutput::mailReport(AnalysisResult&, const Settings& settings,
                               const std::filesystem::path& file, const std::string& recipients) {
    return mail_.mailReport(settings, file, recipients);
}

void DesktopOutput::keepSavedResult(AnalysisResult result) {
    results_.keepClosed(std::move(result));
}

void DesktopOutput::tellLayoutNotices(const std::vector<std::string>& notices) {
    main_.showRunNotice(notices.empty() ? std::nullopt : std::optional(layoutStatusText(notices)));
}

Desktop::Desktop(Dialogs& dialogs, StartupRun startup, std::function<void()> endMessageLoop)
    : programDirectory_(programDirectory()), registry_(Registry::defaultFile()),
      settingsStore_(registry_), profiles_(programDirectory_), saveDialog_(dialogs),
      form1_(profiles_, settingsStore_, reports_, dialogs, *this, std::move(startup)),
      help_(form1_.prompt()),
      form2_(profiles_, settingsStore_, reports_, *this, help_, saveDialog_, dialogs),
      form3_(settings_, settingsStore_, dialogs, help_, programDirectory_, form1_.prompt()),
      form4_(settingsStore_, dialogs, &form1_),
      form5_(ResultsWindowContext{
          settingsStore_, dialogs, settings_, profiles_, help_, saveDialog_, programDirectory_,
          [this] { return form1_.selectedReport(); },
          [this](const std::filesystem::path& file, const std::string& addresses) {
              tellExtraCaFileProblem(form1_.prompt());
              return mail_.mailReport(settings_, file, addresses);
          },
          [this] { return run_.running(); }}),
      mail_(smtpCli1_, form1_.prompt(), [this] { return connected(); }),
      pageSizes_([this] { return form4_.cancelRequested(); }), output_(form1_, form5_, mail_),
      run_(RunContext{programDirectory_, workingDirectory(), profiles_, settingsStore_, settings_,
                      form4_, form1_.prompt(), output_, &pageSizes_}),
      endMessageLoop_(std::move(endMessageLoop)) {
    mail_.onFinished = [this](MailDelivery::Outcome outcome) { mailEnded(outcome); };
}

bool Desktop::connected() const {
    return ResolverLibrary(programDirectory_).connection();
}

void Desktop::tellOldReports() {
    statvane::tellOldReports(form1_.prompt(), programDirectory_);
}

void Desktop::runAnalysis(const std::optional<std::string>& report) {
    runGuarded(form1_.prompt(), [&] {
        if (!run_.running())
            tellExtraCaFileProblem(form1_.prompt());
        run_.runAnalysis(report);
    });
}

bool Desktop::isBeingAnalyzed(const std::string& report) const {
    return run_.runs(report);
}

// The report is the one selected when the dialog opens; an open dialog only
// comes to the front.
void Desktop::openProperties(PropertiesMode mode) {
    form2_.showInMode(mode, mode == PropertiesMode::New ? std::nullopt : form1_.selectedReport());
}

void Desktop::showOptions() {
    form3_.showOptions();
}

void Desktop::showHelpContents() {
    help_.showContents();
}

void Desktop::openWebAddress(const std::string& address) {
    statvane::openWebAddress(settings_, address);
}

// A run under way is cancelled; a report being mailed is mailed to the end
// (the delivery's time limit bounds the wait) before the loop ends.
void Desktop::exitProgram() {
    exiting_ = true;
    if (run_.running())
        form4_.Button1Click();
    if (!mail_.busy())
        endMessageLoop_();
}

// The end is told once the mail client has settled, outside its callbacks.
void Desktop::mailEnded(MailDelivery::Outcome outcome) {
    QMetaObject::invokeMethod(
        &form1_, [this, message = mailEndMessage(outcome)] { tellMailEnd(message); },
        Qt::QueuedConnection);
}

// A step that could not start or a sign-in that failed is told as such; a
// message the server refused, or a connection broken while mailing, is told
// with the server's last reply; a delivery that ran out of time before the
// server took the message is told so.
std::optional<std::string> Desktop::mailEndMessage(MailDelivery::Outcome outcome) const {
    if (outcome == MailDelivery::Outcome::Accepted)
        return std::nullopt;
    if (mail_.failure())
        return mail_.failure();
    if (mail_.refusal())
        return kMailRefusedMessage + *mail_.refusal();
    if (mail_.timedOut())
        return kMailTimedOutMessage;
    return std::nullopt;
}

// The results window's busy cursor ends. While the program ends nobody is
// left to close a message box: the message goes to standard error, as the
// batch run gives it, and the loop ends.
void Desktop::tellMailEnd(const std::optional<std::string>& message) {
    form5_.mailEnded();
    if (!exiting_) {
        if (message)
            form1_.prompt().showMessage(*message, MessageIcon::Warning);
        return;
    }
    if (message)
        StreamPrompt(stderr).showMessage(*message, MessageIcon::Warning);
    endMessageLoop_();
}

} // namespace statvane
