#pragma once

#include "analysis/analysis_result.h"
#include "gui/message_boxes.h"

#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QPushButton;
class QTabWidget;
class QTableView;

namespace statvane {

class FigureTableModel;
class HelpWindow;
class ProfileStore;
class ReportSaveDialog;
class ResultsOverviewPage;
class SettingsStore;
class StatusPage;
class TallyTableModel;
class TrafficPage;
class VisitorListModel;
class VisitorLookup;
struct Settings;

// What the results window works with, handed in by the desktop.
struct ResultsWindowContext {
    SettingsStore& settingsStore;
    Dialogs& dialogs;
    const Settings& settings;
    const ProfileStore& profiles;
    HelpWindow& help;
    ReportSaveDialog& saveDialog;
    std::filesystem::path programDirectory;
    // The report selected in the main window, none without a selection.
    std::function<std::optional<std::string>()> selectedReport;
    // Starts mailing a written report file to an address text; false when
    // the delivery did not start. Its end comes through mailEnded.
    std::function<bool(const std::filesystem::path&, const std::string&)> mailReport;
    // Whether an analysis run is under way.
    std::function<bool()> runUnderWay;
};

// The results window: one analysis result in five to seven tabs, kept by the window
// until the next run or "&Ok". Not modal, of fixed size; Enter presses the
// default button "&Ok", and Escape does not close it. Its message boxes
// belong to it.
//
// Controls: PageControl1 with the tabs "Overview" (see ResultsOverviewPage),
// "Visitors List" (ListBox1, context menu PopupMenu1 with Resolve1 and
// Copy1), "Referrer List" (ListView1), "Top Pages" (ListView2), both with
// the context menu PopupMenu2 (Launch1, Copy2), "Browser List" (ListView3,
// and below it, only for a result that holds them, RobotsLabel and the
// RobotsTable of the robots' agents: Robot, Number, Percentage, highest
// count first), and, only for a result that holds their figures, "Traffic"
// (see TrafficPage) and "Status" (see StatusPage); the buttons Button3
// "&Mail", Button4 "&Save", Button2 "&Help" and Button1 "&Ok".
class TForm5 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm5(ResultsWindowContext context, QWidget* parent = nullptr);
    ~TForm5() override;

    // Takes a run's result, shows it and brings the window up.
    void showResult(AnalysisResult result);
    // Takes the result of a run whose report went to a file: the window
    // holds it closed, as if it had been shown and closed.
    void keepClosed(AnalysisResult result);
    // A delivery that "&Mail" started has ended.
    void mailEnded();

    const AnalysisResult& result() const { return result_; }

    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Resolve1Click();
    void Copy1Click();
    void Launch1Click();
    void Copy2Click();
    void ListBox1DblClick();
    void ListView1DblClick();
    void ListView2DblClick();
    void ListView1ColumnClick(int column);
    void ListView2ColumnClick(int column);
    void ListView3ColumnClick(int column);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override {}

  private:
    void buildControls();
    void buildMenus();
    QWidget* buildButtons();
    void buildTallyPages();
    void buildRobotsTable();
    void takeResult(AnalysisResult result);
    void showLists();
    void showFigurePages();
    void FormShow();
    void FormClose();
    void takeLookupAnswer();
    void sortTable(TallyTableModel& model, int column);
    void saveReportAs(bool thenMail);
    void sortTablesByCount();
    void openAddress(QTableView* view);
    const TallyRow* selectedRow(QTableView* view) const;
    // The selected referrer row, else the selected top pages row.
    const TallyRow* selectedAddressRow() const;
    void guarded(const std::function<void()>& command);

    ResultsWindowContext context_;
    MessageBoxPrompt prompt_;
    AnalysisResult result_;
    // Counts the results the lists have shown.
    std::uint64_t resultNumber_ = 0;
    bool mailCursor_ = false;
    // The visitor line being looked up, in the result it was asked in.
    struct AskedLine {
        int row = 0;
        std::string text;
        std::uint64_t resultNumber = 0;
    };
    AskedLine asked_;
    VisitorLookup* lookup_;

    QTabWidget* PageControl1;
    ResultsOverviewPage* overview_;
    VisitorListModel* visitors_;
    TallyTableModel* referrers_;
    TallyTableModel* topPages_;
    TallyTableModel* browsers_;
    FigureTableModel* robots_;
    TrafficPage* traffic_;
    StatusPage* status_;
    QListView* ListBox1;
    QTableView* ListView1;
    QTableView* ListView2;
    QTableView* ListView3;
    QLabel* RobotsLabel;
    QTableView* RobotsTable;
    QMenu* PopupMenu1;
    QMenu* PopupMenu2;
    QAction* Resolve1;
    QAction* Copy1;
    QAction* Launch1;
    QAction* Copy2;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;
    QPushButton* Button4;
};

} // namespace statvane
