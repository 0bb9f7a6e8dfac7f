#include "gui/desktop_fixture.h"

#include "platform/registry.h"
#include "settings/settings_store.h"

#include <QTabWidget>
#include <QTest>
#include <fstream>

namespace statvane::test {

DesktopFixture::DesktopFixture()
    : homeVariable_("STATVANE_HOME", (dir_ / "home").string()),
      settingsVariable_("STATVANE_SETTINGS", (dir_ / "registry.reg").string()),
      offlineVariable_("STATVANE_OFFLINE", "1") {
    std::filesystem::create_directories(home());
}

Desktop& DesktopFixture::start(StartupRun startup) {
    desktop_ = std::make_unique<Desktop>(dialogs, std::move(startup), [this] { ++endRequests; });
    desktop_->mainWindow().show();
    return *desktop_;
}

Desktop& DesktopFixture::restart() {
    desktop_.reset();
    return start();
}

void DesktopFixture::addReport(const std::string& name, const std::string& settings,
                               const std::string& inputs) {
    std::ofstream(home() / "reports.dat", std::ios::app) << "[" << name << "]\r\n" << settings;
    std::ofstream(home() / "files.dat", std::ios::app) << "[" << name << "]\r\n" << inputs;
}

void DesktopFixture::addSavedReport(const std::string& name, const std::string& analyses,
                                    int totalOptions, const std::filesystem::path& log,
                                    const std::filesystem::path& output) {
    addReport(name,
              analyses + "Total Options=" + std::to_string(totalOptions) +
                  "\r\nFile=1\r\nOutput=" + output.string() + "\r\n",
              "File 0=" + log.string() + "\r\n");
}

void DesktopFixture::writeLog(const std::filesystem::path& file, int lines) {
    std::ofstream log(file, std::ios::binary);
    for (int i = 0; i < lines; ++i) {
        log << "10.0." << i % 50 << "." << i % 7 << " - - [09/Nov/2026:12:00:00 +0000] \"GET /page"
            << i % 40 << ".html HTTP/1.0\" 200 512 \"http://ref" << i % 30 << ".example/\" \"Agent "
            << i % 5 << "\"\n";
    }
}

void DesktopFixture::click(const char* button) {
    QTest::mouseClick(control<QAbstractButton>(desktop().mainWindow(), button), Qt::LeftButton);
}

QStringList DesktopFixture::listedReports() {
    QStringList names;
    for (int row = 0; row < reportList()->count(); ++row)
        names << reportList()->item(row)->text();
    return names;
}

void DesktopFixture::press(const std::string& name) {
    QWidget* widget = control<QWidget>(windowUnderTest(), name.c_str());
    for (auto* pages : windowUnderTest().findChildren<QTabWidget*>()) {
        for (int tab = 0; tab < pages->count(); ++tab) {
            if (pages->widget(tab)->isAncestorOf(widget))
                pages->setCurrentIndex(tab);
        }
    }
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(6, widget->height() / 2));
}

std::vector<const ShownDialog*> DesktopFixture::messages() {
    std::vector<const ShownDialog*> found;
    for (const ShownDialog& shown : dialogs.shown()) {
        if (shown.kind == ShownDialog::Kind::Message || shown.kind == ShownDialog::Kind::Question)
            found.push_back(&shown);
    }
    return found;
}

QStringList DesktopFixture::messageTexts() {
    QStringList texts;
    for (const ShownDialog* shown : messages())
        texts << shown->text;
    return texts;
}

void DesktopFixture::pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    widget->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(widget->window()));
    widget->setFocus();
    QTest::keyClick(widget, key, modifiers);
}

void DesktopFixture::trigger(const char* action) {
    control<QAction>(desktop().mainWindow(), action)->trigger();
}

void DesktopFixture::select(const QString& report) {
    const auto found = reportList()->findItems(report, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << report.toStdString();
    QListWidget* list = reportList();
    const QRect place = list->visualItemRect(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
}

QStringList DesktopFixture::clickedByEnter(QPushButton* focused) {
    QStringList clicked;
    QList<QMetaObject::Connection> spies;
    for (QPushButton* button : focused->window()->findChildren<QPushButton*>()) {
        spies << QObject::connect(button, &QPushButton::clicked,
                                  [&clicked, button] { clicked << button->objectName(); });
    }
    pressKey(focused, Qt::Key_Return);
    for (const QMetaObject::Connection& spy : spies)
        QObject::disconnect(spy);
    return clicked;
}

void DesktopFixture::chooseRecordingBrowser() {
    recordVariable_.emplace("STATVANE_RECORD_FILE", (dir_ / "starts").string());
    writeFile(settingsFile(),
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Velmor "
              "Software\\Statvane\\Settings]\r\n\"Default "
              "Browser\"=dword:00000000\r\n\"Browser Path\"=\"" RECORD_ARGUMENTS_PROGRAM "\"\r\n");
}

std::string DesktopFixture::takeBrowserStart() {
    // The recorder creates the file before its one write: wait for the record.
    const auto record = dir_ / "starts";
    std::error_code missing;
    const auto recorded = [&] {
        return std::filesystem::file_size(record, missing) > 0 && !missing;
    };
    if (!QTest::qWaitFor(recorded, kPatience))
        return {};
    const std::string starts = readFile(record);
    std::filesystem::remove(record);
    return starts;
}

std::optional<std::int32_t> DesktopFixture::storedInteger(const char* key,
                                                          const std::string& value) {
    Registry registry(settingsFile());
    return registry.readInteger(key, value);
}

} // namespace statvane::test
