#include "gui/dialog_script.h"
#include "gui/message_boxes.h"

#include <gtest/gtest.h>

namespace statvane::test {
namespace {

using Kind = ShownDialog::Kind;

TEST(DialogScript, QuestionsTakeTheQueuedAnswersInOrderThenNo) {
    DialogScript script;
    script.answerNextQuestion(true);
    script.answerNextQuestion(false);
    MessageBoxPrompt prompt(script);
    EXPECT_TRUE(prompt.ask("First?"));
    EXPECT_FALSE(prompt.ask("Second?"));
    prompt.showMessage("Between.", MessageIcon::Warning);
    EXPECT_FALSE(prompt.ask("Unanswered?"));

    ASSERT_EQ(script.shown().size(), 4u);
    EXPECT_EQ(script.shown()[0].caption, "Statvane");
    EXPECT_EQ(script.shown()[0].icon, MessageIcon::Question);
    EXPECT_EQ(script.shown()[2].kind, Kind::Message);
    EXPECT_EQ(script.shown()[2].icon, MessageIcon::Warning);
    EXPECT_EQ(script.shown()[3].text, "Unanswered?");
}

// Message texts are bytes: valid UTF-8 shows as such, anything else as Latin-1.
TEST(DialogScript, MessageTextsAreShownDecoded) {
    DialogScript script;
    MessageBoxPrompt prompt(script);
    prompt.showMessage("caf\xc3\xa9", MessageIcon::Information);
    prompt.showMessage("caf\xe9", MessageIcon::Information);
    ASSERT_EQ(script.shown().size(), 2u);
    EXPECT_EQ(script.shown()[0].text, QString::fromUtf8("caf\xc3\xa9"));
    EXPECT_EQ(script.shown()[1].text, QString::fromUtf8("caf\xc3\xa9"));
}

TEST(DialogScript, FileDialogsAndTheFolderPickerTakeTheQueuedPathsOrCancel) {
    DialogScript script;
    script.answerNextFileDialog({"/logs/a.log", "/logs/b.log"});
    script.answerNextFileDialog({"/reports/out.txt"});
    script.answerNextFileDialog({"/var/log/nginx"});
    EXPECT_EQ(script.chooseFilesToOpen(nullptr, "Statvane", "/logs", "All Files (*)"),
              QStringList({"/logs/a.log", "/logs/b.log"}));
    EXPECT_EQ(script.chooseFileToSave(nullptr, "Statvane", "old.txt", "All Files (*)", "txt"),
              "/reports/out.txt");
    EXPECT_EQ(script.chooseFolder(nullptr, "Statvane", "/var/log"), "/var/log/nginx");
    EXPECT_EQ(script.chooseFolder(nullptr, "Statvane", "/var/log"), QString());

    ASSERT_EQ(script.shown().size(), 4u);
    EXPECT_EQ(script.shown()[0].kind, Kind::OpenFiles);
    EXPECT_EQ(script.shown()[0].text, "/logs");
    EXPECT_EQ(script.shown()[1].kind, Kind::SaveFile);
    EXPECT_EQ(script.shown()[1].text, "old.txt");
    EXPECT_EQ(script.shown()[2].kind, Kind::Folder);
}

} // namespace
} // namespace statvane::test
