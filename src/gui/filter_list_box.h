#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace statvane {

class Prompt;

inline constexpr const char* kNewAddressText = "*Enter an Address*";
inline constexpr const char* kDeleteAddressQuestion =
    "Are you sure you wish to delete this address?";

// One filter list of the Options dialog: its label, the entries in list mode
// (editable in place, in stored order) and its "&Add" and "&Delete" buttons.
// The entries are the live list: every change is written to it at once.
// Each entry keeps its bytes as loaded until its text is edited.
//
// Object names, from the given prefix: <prefix>List, <prefix>AddButton,
// <prefix>DeleteButton.
class FilterListBox : public QWidget {
    Q_OBJECT
  public:
    FilterListBox(const QString& caption, const QString& prefix, std::vector<std::string>& entries,
                  Prompt& prompt, QWidget* parent = nullptr);

    // Shows the entries as they stand in the live list.
    void loadEntries();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ListClick();
    void ListItemChanged();
    void AddButtonClick();
    void DeleteButtonClick();

    void storeEntries();

    std::vector<std::string>& entries_;
    Prompt& prompt_;
    QListWidget* List;
    QPushButton* AddButton;
    QPushButton* DeleteButton;
};

} // namespace statvane
