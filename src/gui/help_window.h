#pragma once

#include <QWidget>

class QTextBrowser;
class QUrl;

namespace statvane {

class Prompt; // platform/prompt.h

// The program's help: our HTML pages in a window of their own.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(Prompt& prompt, QWidget* parent = nullptr);
    void showContents();         // the contents page
    void showTopic(int context); // 2 properties, 3 Options, 4 results; unknown → contents

  private:
    void showPage(const char* page);
    void followLink(const QUrl& link);

    Prompt& prompt_;
    QTextBrowser* browser_;
};

} // namespace statvane
