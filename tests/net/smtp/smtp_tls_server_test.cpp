#include "net/tls_trust.h"
#include "peers/peer_process.h"
#include "peers/test_certificates.h"
#include "smtp_test_support.h"
#include "support/temp_dir.h"

#include <QHostInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSslSocket>
#include <QTcpServer>
#include <gtest/gtest.h>
#include <memory>

namespace statvane::test {
namespace {

using Failure = TSmtpSignInFailure;

const std::string ehlo = "EHLO " + QHostInfo::localHostName().toStdString() + "\r\n";

struct TlsCase {
    const char* name;
    const char* serverTls;   // "--starttls", "--tls" or "" for none
    const char* certificate; // its file names without .pem and .key
    QStringList serverOptions;
    TSmtpSecurity security;
    const char* password;
    std::vector<Completion> completions;
    Failure failure;
    const char* reason;    // a part of the failure's reason
    std::string clearText; // all the client sent in clear
    const char* secureCommand;
};

// aiosmtpd with a certificate of the test's own authority, trusted through
// STATVANE_CA_FILE, and the login "user" / "pass". It records every byte it
// gets, in clear and over TLS apart.
class SmtpTlsServer : public ::testing::TestWithParam<TlsCase> {
  protected:
    static void SetUpTestSuite() { certificates_ = std::make_unique<TestCertificates>(); }
    static void TearDownTestSuite() { certificates_.reset(); }

    void SetUp() override {
        REQUIRE_PEER(kSystemPython);
        if (!pythonModuleAvailable("aiosmtpd")) {
            if (runningUnderCi())
                FAIL() << "test peer missing: python3-aiosmtpd";
            GTEST_SKIP() << "test peer missing: python3-aiosmtpd";
        }
        ASSERT_TRUE(certificates_->made()) << certificates_->errorText().toStdString();
        std::filesystem::create_directory(store);
    }

    void startServer(const TlsCase& c) {
        QStringList arguments = {SMTP_STORE_SERVER,
                                 QString::number(port),
                                 QString::fromStdString(store.string()),
                                 "--login",
                                 "user",
                                 "pass"};
        if (*c.serverTls)
            arguments << c.serverTls << certificates_->file(QString(c.certificate) + ".pem")
                      << certificates_->file(QString(c.certificate) + ".key");
        ASSERT_TRUE(peer.start(kSystemPython, arguments + c.serverOptions, port))
            << peer.errorText().toStdString();
    }

    std::string recorded(const char* name) {
        return std::filesystem::exists(store / name) ? readFile(store / name) : std::string();
    }

    static inline std::unique_ptr<TestCertificates> certificates_;
    TempDir folder;
    std::filesystem::path store = folder / "store";
    quint16 port = freeLoopbackPort();
    PeerProcess peer;
    ScopedEnv trusted{kExtraCaFileVariable, certificates_->file("ca.pem").toStdString()};
};

TEST_P(SmtpTlsServer, SignsInOnlyOverAVerifiedConnection) {
    const TlsCase& c = GetParam();
    startServer(c);
    std::string report(100'000, '\0');
    for (std::size_t i = 0; i < report.size(); ++i)
        report[i] = static_cast<char>((i * 7) ^ (i >> 9));
    writeFile(folder / "report.txt", report);
    TSmtpCli client;
    pointAt(client, port);
    client.Security = c.security;
    client.UserName = "user";
    client.Password = c.password;
    client.FromName = "statvane@example.test";
    client.RcptName = {"one@example.test"};
    client.AssignEmailFiles({(folder / "report.txt").string()});
    MailDialogue dialogue(client);

    ASSERT_TRUE(dialogue.run());

    EXPECT_EQ(dialogue.completions, c.completions) << dialogue.mailErrorMessage;
    EXPECT_EQ(dialogue.signInFailure, c.failure);
    EXPECT_NE(dialogue.signInFailureReason.find(c.reason), std::string::npos)
        << dialogue.signInFailureReason;
    EXPECT_EQ(recorded("clear.bin"), c.clearText);
    const std::string secure = recorded("secure.bin");
    EXPECT_NE(secure.find(c.secureCommand), std::string::npos) << secure.substr(0, 200);
    const bool delivered = c.failure == Failure::none;
    ASSERT_EQ(std::filesystem::exists(store / "1.json"), delivered);
    if (!delivered)
        return;
    const QJsonObject stored =
        QJsonDocument::fromJson(QByteArray::fromStdString(readFile(store / "1.json"))).object();
    const QJsonArray attachments = stored["message"].toObject()["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 1);
    EXPECT_TRUE(QByteArray::fromHex(attachments[0].toObject()["data_hex"].toString().toLatin1()) ==
                QByteArray::fromStdString(report));
}

const std::vector<Completion> delivered = {
    {smtpConnect, 0}, {smtpSignIn, 0}, {smtpMail, 0}, {smtpQuit, 0}};
const std::vector<Completion> refusedAfterConnect = {
    {smtpConnect, 0}, {smtpSignIn, 535}, {smtpQuit, 0}};
const std::vector<Completion> droppedInStartTls = {
    {smtpConnect, 0}, {smtpSignIn, 10004}, {smtpQuit, 0}};
const std::vector<Completion> failedAtConnect = {{smtpConnect, 10107}, {smtpQuit, 0}};
const std::string startTlsClear = ehlo + "STARTTLS\r\n";

INSTANTIATE_TEST_SUITE_P(Smtp, SmtpTlsServer,
                         ::testing::Values(TlsCase{"StartTlsPlainLogin",
                                                   "--starttls",
                                                   "server",
                                                   {},
                                                   smtpStartTls,
                                                   "pass",
                                                   delivered,
                                                   Failure::none,
                                                   "",
                                                   startTlsClear,
                                                   "AUTH PLAIN "},
                                           TlsCase{"StartTlsLoginMechanism",
                                                   "--starttls",
                                                   "server",
                                                   {"--no-auth", "PLAIN"},
                                                   smtpStartTls,
                                                   "pass",
                                                   delivered,
                                                   Failure::none,
                                                   "",
                                                   startTlsClear,
                                                   "AUTH LOGIN\r\n"},
                                           TlsCase{"TlsFromTheFirstByte",
                                                   "--tls",
                                                   "server",
                                                   {},
                                                   smtpTls,
                                                   "pass",
                                                   delivered,
                                                   Failure::none,
                                                   "",
                                                   "",
                                                   "AUTH PLAIN "},
                                           TlsCase{"WrongPassword",
                                                   "--starttls",
                                                   "server",
                                                   {},
                                                   smtpStartTls,
                                                   "wrong",
                                                   refusedAfterConnect,
                                                   Failure::loginRefused,
                                                   "535",
                                                   startTlsClear,
                                                   "AUTH PLAIN "},
                                           // Nothing after EHLO goes in clear, not even QUIT.
                                           TlsCase{
                                               "ServerWithoutStartTls",
                                               "",
                                               "",
                                               {},
                                               smtpStartTls,
                                               "pass",
                                               {{smtpConnect, 0}, {smtpSignIn, 500}, {smtpQuit, 0}},
                                               Failure::startTlsNotOffered,
                                               "",
                                               ehlo,
                                               ""},
                                           TlsCase{"WrongNameByStartTls",
                                                   "--starttls",
                                                   "wrongname",
                                                   {},
                                                   smtpStartTls,
                                                   "pass",
                                                   droppedInStartTls,
                                                   Failure::certificateNotTrusted,
                                                   "host name",
                                                   startTlsClear,
                                                   ""},
                                           TlsCase{"SelfSigned",
                                                   "--tls",
                                                   "selfsigned",
                                                   {},
                                                   smtpTls,
                                                   "pass",
                                                   failedAtConnect,
                                                   Failure::certificateNotTrusted,
                                                   "self-signed",
                                                   "",
                                                   ""},
                                           TlsCase{"Expired",
                                                   "--tls",
                                                   "expired",
                                                   {},
                                                   smtpTls,
                                                   "pass",
                                                   failedAtConnect,
                                                   Failure::certificateNotTrusted,
                                                   "expired",
                                                   "",
                                                   ""}),
                         [](const auto& info) { return std::string(info.param.name); });

// A STARTTLS server that puts a reply of its own after its 220, in the same
// write, as anyone on the way could; then it speaks TLS with the test
// certificate and offers AUTH PLAIN.
class InjectingStartTls : public QTcpServer {
  public:
    explicit InjectingStartTls(const TestCertificates& certificates) : certificates_(certificates) {
        listen(QHostAddress::LocalHost, 0);
    }
    std::vector<QByteArray> secureCommands;

  protected:
    void incomingConnection(qintptr descriptor) override {
        auto* socket = new QSslSocket(this);
        socket->setSocketDescriptor(descriptor);
        socket->setLocalCertificate(certificates_.file("server.pem"));
        socket->setPrivateKey(certificates_.file("server.key"));
        ScriptedServer::onLines(*socket,
                                [this, socket](const QByteArray& line) { answer(*socket, line); });
        socket->write("220 fake.test\r\n");
    }

  private:
    void answer(QSslSocket& socket, const QByteArray& line) {
        if (socket.isEncrypted())
            secureCommands.push_back(line);
        if (line == "STARTTLS") {
            socket.write("220 go ahead\r\n250-injected\r\n250 AUTH CRAM-MD5\r\n");
            socket.flush();
            socket.startServerEncryption();
        } else if (line.startsWith("EHLO")) {
            socket.write(socket.isEncrypted() ? "250-fake.test\r\n250 AUTH PLAIN\r\n"
                                              : "250-fake.test\r\n250 STARTTLS\r\n");
        } else {
            socket.write("235 welcome\r\n");
        }
    }

    const TestCertificates& certificates_;
};

TEST(SmtpStartTls, ClearTextAfterTheServersGoAheadIsDropped) {
    const TestCertificates certificates;
    ASSERT_TRUE(certificates.made()) << certificates.errorText().toStdString();
    const ScopedEnv trusted(kExtraCaFileVariable, certificates.file("ca.pem").toStdString());
    InjectingStartTls server(certificates);
    TSmtpCli client;
    pointAt(client, server.serverPort());
    client.Security = smtpStartTls;
    client.UserName = "user";
    client.Password = "pass";
    CompletionLog log(client);

    client.Connect();
    ASSERT_TRUE(log.waitForCount(1));
    client.SignIn();
    ASSERT_TRUE(log.waitForCount(2));

    EXPECT_EQ(log.items(), (std::vector<Completion>{{smtpConnect, 0}, {smtpSignIn, 0}}));
    EXPECT_EQ(client.SignInFailure(), Failure::none);
    EXPECT_EQ(server.secureCommands,
              (std::vector<QByteArray>{QByteArray::fromStdString(ehlo).chopped(2),
                                       "AUTH PLAIN AHVzZXIAcGFzcw=="}));
}

} // namespace
} // namespace statvane::test
