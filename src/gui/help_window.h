#pragma once
#include <QWidget>
namespace statvane {
class Prompt;
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(Prompt& prompt, QWidget* parent = nullptr);
    void showContents();
    void showTopic(int context);
};
} // namespace statvane
