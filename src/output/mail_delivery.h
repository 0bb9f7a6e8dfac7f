#pragma once

#include "net/smtp/smtp_cli.h"
#include "platform/prompt.h"
#include "settings/settings.h"

#include <QTimer>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace statvane {

inline constexpr const char* kNotConnectedMessage =
    "Statvane could not process your request since you are not connected to the Internet.";
inline constexpr const char* kMailErrorMessage =
    "An error has occured.  Please make sure your mail settings are correct under the Settings "
    "option off the Tools menu.";
inline constexpr const char* kMailRefusedMessage =
    "The report was not mailed: the mail server refused it or the connection to it was broken.  "
    "The server's last reply was: ";
inline constexpr const char* kNoMailServerMessage =
    "No mail server is set.  Please enter one on the Server Settings tab of Tools, Options.";
inline constexpr const char* kMailBusyMessage =
    "A report is still being mailed.  Please try again when it has been sent.";
inline constexpr const char* kMailTimedOutMessage =
    "The mail server did not finish the delivery in time.";
inline constexpr const char* kUnknownMailSecurityMessage =
    "The mail security setting is none of None, STARTTLS and TLS: ";

// Mails a written report file as an attachment: connect, greet, mail, quit,
// each step started when the one before has ended, whatever its outcome.
// With a mail security or a user name set, the greeting is the client's
// SignIn (EHLO, STARTTLS, login); a sign-in that fails ends the delivery with
// QUIT, or at once when the connection is gone, before anything of the mail
// is sent. The prompt tells only why a delivery does not start; what happens
// once it runs is kept for the caller to tell when it has ended, so that no
// message is shown from inside the client's callbacks.
class MailDelivery {
  public:
    enum class Outcome { Accepted, Refused, NotStarted };

    // `connected` asks the resolver library whether the machine is on line.
    MailDelivery(TSmtpCli& client, Prompt& prompt, std::function<bool()> connected);

    // Starts a delivery with the current settings and returns; false when it
    // could not start (no mail server set, not connected, a delivery under
    // way). The client's own refusal to connect is raised as Error.
    bool mailReport(const Settings& settings, const std::filesystem::path& file,
                    const std::string& addresses);

    bool busy() const { return busy_; }
    // The last delivery was aborted because it ran out of time.
    bool timedOut() const { return timedOut_; }
    // The server's last reply when the last delivery's `Mail` step ended with
    // an error (a refusal or a broken connection), else none.
    const std::optional<std::string>& refusal() const { return refusal_; }
    // The message for the user when a step of the last delivery could not
    // start (as after a connection that failed) or its sign-in failed, else
    // none.
    const std::optional<std::string>& failure() const { return failure_; }
    // Called once a started delivery has ended: Accepted when the server
    // took the message (its answer after the message's "."), whatever
    // happens to QUIT afterwards.
    std::function<void(Outcome)> onFinished;

    // Ends the delivery under way at once: the connection is dropped and
    // onFinished reports what is known, Accepted when the server had already
    // taken the message. Nothing when no delivery is under way.
    void abort();

    // The client's completion handler.
    void SmtpCli1RequestDone(TSmtpRequest rqType, std::uint16_t error);

  private:
    void startStep(void (TSmtpCli::*step)());
    bool signInFailed();
    void quit();
    void quitEnded();
    void finish(Outcome outcome);

    TSmtpCli& client_;
    Prompt& prompt_;
    std::function<bool()> connected_;
    bool busy_ = false;
    bool timedOut_ = false;
    bool signIn_ = false;
    Outcome outcome_ = Outcome::NotStarted;
    std::optional<std::string> refusal_;
    std::optional<std::string> failure_;
    // After QUIT, how long the server may take to answer it (or close the
    // connection) before the client drops it. The outcome is known by then; a
    // server that never answers must neither hold the delivery open nor keep
    // the next one from connecting.
    QTimer quitWait_;
    // The whole delivery's time limit, so that a server that accepts the
    // connection and never speaks cannot hold it open.
    QTimer deadline_;
};

} // namespace statvane
