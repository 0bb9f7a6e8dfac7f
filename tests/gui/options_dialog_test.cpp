#include "gui/desktop_fixture.h"
#include "gui/filter_list_box.h"
#include "gui/options_dialog.h"
#include "platform/registry.h"
#include "settings/settings_store.h"
#include "support/file_size_limit.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace statvane::test {
namespace {

using Kind = ShownDialog::Kind;
namespace keys = registry_keys;

constexpr const char* kListPrefixes[] = {"Visitor", "Referrer", "TopPages"};

std::string hex8(int value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

// The program's keys as a registry editor exports them, CR LF line ends.
std::string settingsExport(const std::string& settingsValues, const std::string& visitors = {},
                           const std::string& referrers = {}, const std::string& topPages = {}) {
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane";
    return "REGEDIT4\r\n\r\n" + key + "]\r\n\"Index\"=dword:00000000\r\n\r\n" + key +
           "\\Settings]\r\n" + settingsValues + "\r\n" + key + "\\Visitor]\r\n" + visitors +
           "\r\n" + key + "\\Referrer]\r\n" + referrers + "\r\n" + key + "\\TopPages]\r\n" +
           topPages + "\r\n";
}

// Text typed into a field as one key press that carries it, as an input
// method delivers letters beyond ASCII.
void typeText(QWidget* field, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(field, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(field, &release);
}

class OptionsDialogTest : public DesktopFixture {
  protected:
    TForm3& options() { return desktop().optionsWindow(); }
    QWidget& windowUnderTest() override { return options(); }
    const Settings& live() { return desktop().settings(); }

    template <typename T = QWidget> T* find(const char* name) {
        return control<T>(options(), name);
    }
    QLineEdit* edit(const char* name) { return find<QLineEdit>(name); }
    QListWidget* list(const std::string& prefix) {
        return find<QListWidget>((prefix + "List").c_str());
    }
    QPushButton* button(const std::string& name) { return find<QPushButton>(name.c_str()); }

    void open() {
        trigger("Options1");
        ASSERT_TRUE(options().isVisible());
    }
    // Replaces a field's text as the user would, keystroke by keystroke.
    void retype(const char* name, const QString& text) {
        QLineEdit* field = edit(name);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        typeText(field, text);
    }
    void showPage(int page) { find<QTabWidget>("PageControl1")->setCurrentIndex(page); }

    QStringList entries(const std::string& prefix) {
        QStringList texts;
        for (int row = 0; row < list(prefix)->count(); ++row)
            texts << list(prefix)->item(row)->text();
        return texts;
    }
    // The in-place editor of an entry, when one is open (a closed one is
    // hidden until it is deleted).
    QLineEdit* entryEditor(const std::string& prefix) {
        for (QLineEdit* editor : list(prefix)->viewport()->findChildren<QLineEdit*>()) {
            if (editor->isVisible())
                return editor;
        }
        return nullptr;
    }
    void clickEntry(const std::string& prefix, int row) {
        QListWidget* box = list(prefix);
        QTest::mouseClick(box->viewport(), Qt::LeftButton, {},
                          box->visualItemRect(box->item(row)).center());
    }
    void clickBelowEntries(const std::string& prefix) {
        QWidget* viewport = list(prefix)->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          viewport->rect().bottomRight() - QPoint(4, 4));
    }
    // Adds an entry and types its text; Enter ends the edit.
    void addEntry(const std::string& prefix, const QString& text) {
        press(prefix + "AddButton");
        QLineEdit* editor = entryEditor(prefix);
        ASSERT_NE(editor, nullptr);
        editor->clear();
        typeText(editor, text);
        pressKey(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }

    std::vector<std::string> storedNames(const char* key) {
        return Registry(settingsFile()).valueNames(key);
    }
    std::optional<std::string> storedString(const char* key, const char* name) {
        return Registry(settingsFile()).readString(key, name);
    }
};

struct StoredCase {
    const char* name;
    std::string file;
    bool defaultBrowser;
    std::map<std::string, QString> texts;
    QStringList visitors;
};

TEST_F(OptionsDialogTest, CreatedHiddenOnGeneralWithTheStoredSettingsInItsControls) {
    const StoredCase cases[] = {
        {"nothing stored",
         "",
         true,
         {{"BrowserPathEdit", ""},
          {"MaxCacheEdit", "10000"},
          {"MailSubjectEdit", ""},
          {"ProxyPasswordEdit", ""}},
         {}},
        {"everything stored",
         settingsExport("\"Default Browser\"=dword:00000000\r\n\"Browser Path\"=\"/opt/web\"\r\n"
                        "\"Web Site\"=\"http://site.example\"\r\n\"Max Cache\"=\"42\"\r\n"
                        "\"Server Address\"=\"proxy.example\"\r\n\"Port\"=\"3128\"\r\n"
                        "\"User Name\"=\"user\"\r\n\"Max Size\"=\"secret\"\r\n"
                        "\"Server\"=\"mail.example\"\r\n\"Subject\"=\"Weekly\"\r\n"
                        "\"From\"=\"me@example\"\r\n\"Reply-To\"=\"you@example\"\r\n",
                        "\"0\"=\"10.0.0.1\"\r\n\"by hand\"=\"*.example\"\r\n"),
         false,
         {{"BrowserPathEdit", "/opt/web"},
          {"WebSiteEdit", "http://site.example"},
          {"MaxCacheEdit", "42"},
          {"ProxyServerEdit", "proxy.example"},
          {"ProxyPortEdit", "3128"},
          {"ProxyUserEdit", "user"},
          {"ProxyPasswordEdit", "secret"},
          {"MailServerEdit", "mail.example"},
          {"MailSubjectEdit", "Weekly"},
          {"MailFromEdit", "me@example"},
          {"MailReplyToEdit", "you@example"}},
         {"10.0.0.1", "*.example"}},
    };
    for (const StoredCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(settingsFile());
        if (!c.file.empty())
            writeFile(settingsFile(), c.file);
        start();
        EXPECT_FALSE(options().isVisible());
        EXPECT_EQ(options().windowTitle(), "Options");
        auto* pages = find<QTabWidget>("PageControl1");
        EXPECT_EQ(pages->currentIndex(), 0);
        EXPECT_EQ(pages->tabText(0), "General");
        EXPECT_EQ(pages->tabText(1), "Filters");
        EXPECT_EQ(pages->tabText(2), "Server Settings");
        EXPECT_EQ(find<QRadioButton>("RadioButton1")->isChecked(), c.defaultBrowser);
        EXPECT_EQ(find<QRadioButton>("RadioButton2")->isChecked(), !c.defaultBrowser);
        EXPECT_EQ(edit("BrowserPathEdit")->isEnabled(), !c.defaultBrowser);
        EXPECT_EQ(button("BrowseButton")->isEnabled(), !c.defaultBrowser);
        for (const auto& [name, text] : c.texts)
            EXPECT_EQ(edit(name.c_str())->text(), text) << name;
        EXPECT_EQ(edit("ProxyPasswordEdit")->echoMode(), QLineEdit::Password);
        EXPECT_EQ(entries("Visitor"), c.visitors);
        for (const char* prefix : kListPrefixes)
            EXPECT_FALSE(button(std::string(prefix) + "DeleteButton")->isEnabled()) << prefix;
        EXPECT_TRUE(button("OkButton")->isDefault());
        EXPECT_EQ(live().DefaultBrowser, c.defaultBrowser);
        EXPECT_TRUE(dialogs.shown().empty());
    }
}

TEST_F(OptionsDialogTest, OptionsShowsTheDialogNotModalOfFixedSizeOrBringsItToTheFront) {
    start();
    open();
    EXPECT_FALSE(options().isModal());
    EXPECT_EQ(options().minimumSize(), options().maximumSize());
    const Qt::WindowFlags flags = options().windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(desktop().mainWindow().isEnabled());

    showPage(2);
    retype("ProxyPortEdit", "8080");
    open();
    EXPECT_EQ(edit("ProxyPortEdit")->text(), "8080");
    press("CancelButton");
    EXPECT_FALSE(options().isVisible());
    open();
    EXPECT_EQ(find<QTabWidget>("PageControl1")->currentIndex(), 2);
    EXPECT_EQ(edit("ProxyPortEdit")->text(), "8080");
}

// At a scale of 1.5, a 1366 by 768 screen is 910 by 512 in the dialog's own
// pixels; the dialog and a title bar fit in that, so nothing needs scrolling.
TEST_F(OptionsDialogTest, FitsASmallScreenAtALargeScale) {
    constexpr QSize kScaledScreen(910, 512);
    constexpr int kTitleBar = 32;
    start();
    open();
    EXPECT_LE(options().width(), kScaledScreen.width());
    EXPECT_LE(options().height() + kTitleBar, kScaledScreen.height());
    EXPECT_EQ(find<QTabWidget>("PageControl1")->count(), 3);
}

TEST_F(OptionsDialogTest, OptionButtonsEnableThePathAndBrowseAndChooseTheBrowserAtOnce) {
    start();
    open();
    retype("WebSiteEdit", "http://typed.example");
    EXPECT_EQ(live().WebSite, "http://typed.example");
    press("RadioButton2");
    EXPECT_FALSE(live().DefaultBrowser);
    EXPECT_TRUE(edit("BrowserPathEdit")->isEnabled());
    EXPECT_TRUE(button("BrowseButton")->isEnabled());
    retype("BrowserPathEdit", "/usr/bin/web");
    press("RadioButton1");
    EXPECT_TRUE(live().DefaultBrowser);
    EXPECT_FALSE(edit("BrowserPathEdit")->isEnabled());
    EXPECT_FALSE(button("BrowseButton")->isEnabled());
    EXPECT_EQ(edit("BrowserPathEdit")->text(), "/usr/bin/web");
    EXPECT_EQ(live().BrowserPath, "/usr/bin/web");
}

TEST_F(OptionsDialogTest, BrowseSetsThePathOnlyWhenAProgramIsChosen) {
    start();
    open();
    press("RadioButton2");
    retype("BrowserPathEdit", "/before");
    press("BrowseButton");
    EXPECT_EQ(edit("BrowserPathEdit")->text(), "/before");
    dialogs.answerNextFileDialog({"/opt/browser/run browser"});
    press("BrowseButton");
    EXPECT_EQ(edit("BrowserPathEdit")->text(), "/opt/browser/run browser");
    EXPECT_EQ(live().BrowserPath, "/opt/browser/run browser");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    for (const ShownDialog& shown : dialogs.shown()) {
        EXPECT_EQ(shown.kind, Kind::Program);
        EXPECT_EQ(shown.text, "");
    }
}

// A run right after Cancel leaves out the visitor filtered in the dialog; the
// settings file is not touched, and the next start loads what it holds.
TEST_F(OptionsDialogTest, CancelKeepsTheEditsInForceWithoutStoringThem) {
    const auto log = dir_ / "access.log";
    const auto output = dir_ / "report.txt";
    writeLog(log, 100);
    addSavedReport("Visitors", "Visitors=1\r\n", 1, log, output);
    start();
    open();
    retype("MaxCacheEdit", "500");
    showPage(1);
    addEntry("Visitor", "10.0.3.3");
    press("CancelButton");
    EXPECT_FALSE(options().isVisible());
    EXPECT_EQ(storedNames(keys::kSettings), std::vector<std::string>{});
    EXPECT_EQ(storedNames(keys::kVisitor), std::vector<std::string>{});

    select("Visitors");
    click("AnalyzeNowButton");
    const std::string report = readFile(output);
    EXPECT_EQ(report.find("10.0.3.3"), std::string::npos);
    EXPECT_NE(report.find("10.0.3.4"), std::string::npos);

    open();
    EXPECT_EQ(entries("Visitor"), QStringList{"10.0.3.3"});
    EXPECT_EQ(edit("MaxCacheEdit")->text(), "500");
    press("CancelButton");
    restart();
    EXPECT_EQ(entries("Visitor"), QStringList{});
    EXPECT_EQ(edit("MaxCacheEdit")->text(), "10000");
}

TEST_F(OptionsDialogTest, OkWithACacheMaximumOutOfRangeWarnsAndStaysOpen) {
    for (const char* maximum : {"abc", "250001", "-1", "500 "}) {
        SCOPED_TRACE(maximum);
        std::filesystem::remove(settingsFile());
        start();
        open();
        retype("MaxCacheEdit", maximum);
        retype("WebSiteEdit", "http://kept.example");
        dialogs.clearShown();
        press("OkButton");
        ASSERT_EQ(dialogs.shown().size(), 1u);
        EXPECT_EQ(dialogs.shown()[0].kind, Kind::Message);
        EXPECT_EQ(dialogs.shown()[0].text, kMaxCacheMessage);
        EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Warning);
        EXPECT_TRUE(options().isVisible());
        EXPECT_EQ(edit("MaxCacheEdit")->text(), maximum);
        EXPECT_EQ(storedString(keys::kSettings, "Max Cache"), std::nullopt);
        EXPECT_EQ(storedString(keys::kSettings, "Web Site"), "http://kept.example");
        EXPECT_EQ(storedInteger(keys::kPositions, "Form3 Width"), std::nullopt);
    }
}

// Every control edited, then Ok: the file holds what a registry editor would
// show, the bytes of a value not edited kept as they were.
TEST_F(OptionsDialogTest, OkStoresEveryValueAndCloses) {
    writeFile(settingsFile(),
              settingsExport("\"Web Site\"=\"caf\xe9\"\r\n\"Subject\"=\"Monthly\"\r\n",
                             "\"0\"=\"old\"\r\n", "\"0\"=\"r\xe9\"\r\n"));
    start();
    open();
    press("RadioButton2");
    retype("BrowserPathEdit", "/opt/web");
    retype("MaxCacheEdit", "$100");
    showPage(1);
    addEntry("Visitor", "10.1.1.1");
    addEntry("TopPages", "/private/*");
    showPage(2);
    retype("ProxyServerEdit", "127.0.0.1");
    retype("ProxyPortEdit", "3128");
    retype("ProxyUserEdit", QString::fromUtf8("m\u00fcller"));
    retype("ProxyPasswordEdit", "pw \"x\"");
    retype("MailServerEdit", "mail.example");
    retype("MailFromEdit", "me@example");
    retype("MailReplyToEdit", "you@example");
    const QSize size = options().size();
    press("OkButton");

    EXPECT_FALSE(options().isVisible());
    EXPECT_TRUE(dialogs.shown().empty());
    const std::string key = "[HKEY_CURRENT_USER\\Software\\Velmor Software\\Statvane";
    const std::string expected =
        "REGEDIT4\r\n\r\n" + key + "]\r\n\"Index\"=dword:00000000\r\n\r\n" + key +
        "\\Settings]\r\n\"Web Site\"=\"caf\xe9\"\r\n\"Subject\"=\"Monthly\"\r\n"
        "\"Default Browser\"=dword:00000000\r\n\"Browser Path\"=\"/opt/web\"\r\n"
        "\"Server Address\"=\"127.0.0.1\"\r\n\"Port\"=\"3128\"\r\n"
        "\"User Name\"=\"m\xc3\xbcller\"\r\n\"Max Size\"=\"pw \\\"x\\\"\"\r\n"
        "\"Server\"=\"mail.example\"\r\n\"From\"=\"me@example\"\r\n"
        "\"Reply-To\"=\"you@example\"\r\n\"Max Cache\"=\"$100\"\r\n\r\n" +
        key + "\\Positions]\r\n\"Form3 Height\"=dword:" + hex8(size.height()) +
        "\r\n\"Form3 Width\"=dword:" + hex8(size.width()) + "\r\n\r\n" + key +
        "\\Visitor]\r\n\"0\"=\"old\"\r\n\"1\"=\"10.1.1.1\"\r\n\r\n" + key +
        "\\Referrer]\r\n\"0\"=\"r\xe9\"\r\n\r\n" + key +
        "\\TopPages]\r\n\"0\"=\"/private/*\"\r\n\r\n";
    EXPECT_EQ(readFile(settingsFile()), expected);
}

// The security, user name and password of the mail server: loaded, edited
// into the live record, left unstored by Cancel and stored by Ok.
TEST_F(OptionsDialogTest, MailSecurityAndLoginAreEditedLikeTheOtherFields) {
    writeFile(settingsFile(),
              settingsExport("\"Mail Security\"=\"tls\"\r\n\"Mail User Name\"=\"me\"\r\n"
                             "\"Mail Password\"=\"old secret\"\r\n"));
    start();
    open();
    showPage(2);
    auto* security = find<QComboBox>("MailSecurityCombo");
    EXPECT_EQ(security->currentText(), "TLS");
    EXPECT_EQ(security->count(), 3);
    EXPECT_EQ(edit("MailUserEdit")->text(), "me");
    EXPECT_EQ(edit("MailPasswordEdit")->text(), "old secret");
    EXPECT_EQ(edit("MailPasswordEdit")->echoMode(), QLineEdit::Password);

    security->setFocus();
    QTest::keyClick(security, Qt::Key_Up);
    retype("MailUserEdit", "reports@example.com");
    retype("MailPasswordEdit", "app password");
    EXPECT_EQ(live().MailSecurity, "STARTTLS");
    EXPECT_EQ(live().MailUserName, "reports@example.com");
    EXPECT_EQ(live().MailPassword, "app password");
    press("CancelButton");
    EXPECT_EQ(storedString(keys::kSettings, "Mail Security"), "tls");
    EXPECT_EQ(storedString(keys::kSettings, "Mail Password"), "old secret");

    open();
    EXPECT_EQ(security->currentText(), "STARTTLS");
    press("OkButton");
    EXPECT_EQ(storedString(keys::kSettings, "Mail Security"), "STARTTLS");
    EXPECT_EQ(storedString(keys::kSettings, "Mail User Name"), "reports@example.com");
    EXPECT_EQ(storedString(keys::kSettings, "Mail Password"), "app password");
}

// A line break pasted into a mail field or a filter entry is a blank in the
// live settings and in the stored file, so that nothing pasted starts a line
// of its own in a mail header.
TEST_F(OptionsDialogTest, PastedLineBreaksBecomeBlanks) {
    const std::string kept = "a  Bcc: x@evil";
    const struct {
        const char* field;
        std::string Settings::*value;
        const char* stored;
    } cases[] = {
        {"MailSubjectEdit", &Settings::MailSubject, "Subject"},
        {"MailFromEdit", &Settings::MailSender, "From"},
        {"MailReplyToEdit", &Settings::MailReplyTo, "Reply-To"},
    };
    start();
    open();
    QApplication::clipboard()->setText("a\r\nBcc: x@evil");
    showPage(2);
    for (const auto& c : cases) {
        edit(c.field)->clear();
        edit(c.field)->paste();
        EXPECT_EQ(live().*c.value, kept) << c.field;
    }
    showPage(1);
    press("VisitorAddButton");
    QLineEdit* entry = entryEditor("Visitor");
    ASSERT_NE(entry, nullptr);
    entry->clear();
    entry->paste();
    pressKey(entry, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(live().VisitorFilterList, std::vector<std::string>{kept});

    press("OkButton");
    for (const auto& c : cases)
        EXPECT_EQ(storedString(keys::kSettings, c.stored), kept) << c.stored;
    EXPECT_EQ(storedString(keys::kVisitor, "0"), kept);
}

// A stored security that names no mode is shown as no choice and kept as it
// is until the user chooses.
TEST_F(OptionsDialogTest, StoredSecurityOfNoModeShowsNoChoice) {
    writeFile(settingsFile(), settingsExport("\"Mail Security\"=\"SSL\"\r\n"));
    start();
    EXPECT_EQ(find<QComboBox>("MailSecurityCombo")->currentIndex(), -1);
    EXPECT_EQ(live().MailSecurity, "SSL");
    open();
    press("OkButton");
    EXPECT_EQ(storedString(keys::kSettings, "Mail Security"), "SSL");
}

TEST_F(OptionsDialogTest, FlushCacheAsksThenDeletesDnsLogAndSaysSoOnlyWhenItWasThere) {
    struct Case {
        bool logExists;
        bool yes;
        bool deletedMessage;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    start();
    open();
    const auto dnsLog = home() / "dns.log";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "exists " << c.logExists << ", yes " << c.yes);
        std::filesystem::remove(dnsLog);
        if (c.logExists)
            writeFile(dnsLog, "10.0.0.1\r\n");
        dialogs.clearShown();
        dialogs.answerNextQuestion(c.yes);
        press("FlushCacheButton");
        ASSERT_EQ(dialogs.shown().size(), c.deletedMessage ? 2u : 1u);
        EXPECT_EQ(dialogs.shown()[0].kind, Kind::Question);
        EXPECT_EQ(dialogs.shown()[0].text,
                  "Flushing the DNS cache will clear all of the data used to speed up the DNS "
                  "resolving portion of Statvane.\n\nAre you sure you wish to delete this file?");
        EXPECT_EQ(dialogs.shown()[0].caption, "Statvane");
        if (c.deletedMessage) {
            EXPECT_EQ(dialogs.shown()[1].text, "File deleted.");
            EXPECT_EQ(dialogs.shown()[1].icon, MessageIcon::Information);
        }
        EXPECT_EQ(std::filesystem::exists(dnsLog), c.logExists && !c.yes);
        EXPECT_TRUE(options().isVisible());
    }
}

// In each list: Escape keeps "*Enter an Address*", Enter ends only the edit,
// and Enter afterwards presses "&Ok", which stores the entries.
TEST_F(OptionsDialogTest, AddedEntriesAreEditedInPlaceAndEnterThenPressesOk) {
    for (const std::string prefix : kListPrefixes) {
        SCOPED_TRACE(prefix);
        std::filesystem::remove(settingsFile());
        start();
        open();
        showPage(1);
        press(prefix + "AddButton");
        QLineEdit* editor = entryEditor(prefix);
        ASSERT_NE(editor, nullptr);
        typeText(editor, "dropped");
        pressKey(editor, Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_EQ(entryEditor(prefix), nullptr);
        EXPECT_TRUE(options().isVisible());
        EXPECT_TRUE(button("OkButton")->isDefault());
        EXPECT_EQ(entries(prefix), QStringList{kNewAddressText});

        addEntry(prefix, QString::fromUtf8("r\u00e9f"));
        EXPECT_EQ(entryEditor(prefix), nullptr);
        EXPECT_TRUE(options().isVisible());
        EXPECT_EQ(entries(prefix), QStringList({kNewAddressText, QString::fromUtf8("r\u00e9f")}));
        EXPECT_EQ(live().VisitorFilterList.size() + live().ReferrerFilterList.size() +
                      live().TopPagesFilterList.size(),
                  2u);

        pressKey(list(prefix), Qt::Key_Return);
        EXPECT_FALSE(options().isVisible());
        const std::string key = std::string("Software\\Velmor Software\\Statvane\\") + prefix;
        EXPECT_EQ(storedString(key.c_str(), "0"), kNewAddressText);
        EXPECT_EQ(storedString(key.c_str(), "1"), "r\xc3\xa9"
                                                  "f");
    }
}

// Each list, by its button and by the Delete key, answered Yes and No; with
// no entry selected nothing is asked and the button stays enabled.
TEST_F(OptionsDialogTest, DeleteAsksAndRemovesTheSelectedEntryThenDisablesTheButton) {
    const std::string stored = "\"0\"=\"first\"\r\n\"1\"=\"second\"\r\n";
    writeFile(settingsFile(), settingsExport("", stored, stored, stored));
    for (const std::string prefix : kListPrefixes) {
        for (const bool byKey : {false, true}) {
            for (const bool yes : {false, true}) {
                SCOPED_TRACE(testing::Message() << prefix << ", key " << byKey << ", yes " << yes);
                start();
                open();
                showPage(1);
                QPushButton* deleteButton = button(prefix + "DeleteButton");
                clickBelowEntries(prefix);
                EXPECT_TRUE(deleteButton->isEnabled());
                press(prefix + "DeleteButton");
                EXPECT_TRUE(dialogs.shown().empty());
                EXPECT_TRUE(deleteButton->isEnabled());

                clickEntry(prefix, 0);
                dialogs.answerNextQuestion(yes);
                if (byKey)
                    pressKey(list(prefix), Qt::Key_Delete);
                else
                    press(prefix + "DeleteButton");
                ASSERT_EQ(dialogs.shown().size(), 1u);
                EXPECT_EQ(dialogs.shown()[0].kind, Kind::Question);
                EXPECT_EQ(dialogs.shown()[0].text, kDeleteAddressQuestion);
                EXPECT_EQ(entries(prefix),
                          yes ? QStringList{"second"} : QStringList({"first", "second"}));
                EXPECT_FALSE(deleteButton->isEnabled());
                EXPECT_EQ(live().VisitorFilterList.size() + live().ReferrerFilterList.size() +
                              live().TopPagesFilterList.size(),
                          yes ? 5u : 6u);
                dialogs.clearShown();
            }
        }
    }
}

TEST_F(OptionsDialogTest, AWriteThatFailsIsToldAndTheDialogStaysOpenWithWhatWasTyped) {
    start();
    open();
    retype("WebSiteEdit", "http://typed.example");
    const std::string before = readFile(settingsFile());
    {
        ScopedFileSizeLimit full(16);
        press("OkButton");
    }
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].text, "Failed to set data for 'Default Browser'.");
    EXPECT_EQ(dialogs.shown()[0].icon, MessageIcon::Error);
    EXPECT_TRUE(options().isVisible());
    EXPECT_EQ(edit("WebSiteEdit")->text(), "http://typed.example");
    EXPECT_EQ(readFile(settingsFile()), before);
}

// Each command's boxes belong to the dialog, so that closing one leaves the
// dialog in front of the main window.
TEST_F(OptionsDialogTest, EveryMessageBoxBelongsToTheDialog) {
    writeFile(settingsFile(), settingsExport("", "\"0\"=\"first\"\r\n"));
    const std::pair<const char*, std::function<void()>> commands[] = {
        {"delete an address",
         [this] {
             showPage(1);
             clickEntry("Visitor", 0);
             press("VisitorDeleteButton");
         }},
        {"flush the cache",
         [this] {
             writeFile(home() / "dns.log", "10.0.0.1\r\n");
             dialogs.answerNextQuestion(true);
             press("FlushCacheButton");
         }},
        {"cache maximum out of range",
         [this] {
             retype("MaxCacheEdit", "abc");
             press("OkButton");
         }},
        {"failed write",
         [this] {
             ScopedFileSizeLimit full(16);
             press("OkButton");
         }},
    };
    for (const auto& [command, run] : commands) {
        SCOPED_TRACE(command);
        start();
        open();
        dialogs.clearShown();
        run();
        ASSERT_FALSE(dialogs.shown().empty());
        for (const ShownDialog& shown : dialogs.shown())
            EXPECT_EQ(shown.owner, &options()) << shown.text.toStdString();
    }
}

TEST_F(OptionsDialogTest, ClosingStoresHeightThenWidthAndShowingRestoresTheSize) {
    start();
    open();
    const QSize design = options().size();
    options().close();
    EXPECT_FALSE(options().isVisible());
    EXPECT_EQ(storedInteger(keys::kPositions, "Form3 Width"), design.width());
    EXPECT_EQ(storedInteger(keys::kPositions, "Form3 Height"), design.height());
    EXPECT_EQ(storedNames(keys::kPositions),
              (std::vector<std::string>{"Form3 Height", "Form3 Width"}));

    Registry registry(settingsFile());
    SettingsStore(registry).writeWindowSize("Form3", {design.width() + 30, 0});
    open();
    EXPECT_EQ(options().size(), QSize(design.width() + 30, design.height()));
    EXPECT_EQ(options().minimumSize(), options().maximumSize());
}

// Enter presses the button that has the focus, not "&Ok".
TEST_F(OptionsDialogTest, EnterPressesTheFocusedButton) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    start();
    open();
    dialogs.answerNextQuestion(false);
    for (const char* name : {"FlushCacheButton", "HelpButton", "CancelButton"})
        EXPECT_EQ(clickedByEnter(button(name)), QStringList{name});
    EXPECT_FALSE(options().isVisible());
    open();
    EXPECT_EQ(clickedByEnter(button("OkButton")), QStringList{"OkButton"});
    EXPECT_FALSE(options().isVisible());
}

TEST_F(OptionsDialogTest, HelpOpensTheOptionsTopic) {
    ScopedEnv helpFolder("STATVANE_HELP_DIR", HELP_BUILD_DIR);
    start();
    open();
    press("HelpButton");
    const auto helpShown = [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->windowTitle() == "Statvane Help" && window->isVisible())
                return true;
        }
        return false;
    };
    EXPECT_TRUE(helpShown());
    EXPECT_TRUE(options().isVisible());
    EXPECT_TRUE(dialogs.shown().empty());
}

} // namespace
} // namespace statvane::test
