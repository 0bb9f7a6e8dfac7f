#include "gui/help_window.h"
#include "support/recording_run.h"
#include "support/temp_dir.h"

#include <QPushButton>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace statvane {
namespace {

class HelpWindowTest : public ::testing::Test {
  protected:
    QTextBrowser* browser() const { return window.findChild<QTextBrowser*>("HelpBrowser"); }
    QString page() const { return browser()->source().fileName(); }
    void click(const char* button) const { window.findChild<QPushButton*>(button)->click(); }
    void clickLink(const char* link) const { emit browser()->anchorClicked(QUrl(link)); }

    test::ScopedEnv helpFolder{"STATVANE_HELP_DIR", HELP_SOURCE_DIR};
    test::RecordingPrompt prompt;
    HelpWindow window{prompt};
};

TEST_F(HelpWindowTest, EachContextShowsItsPageAndAnyOtherTheContents) {
    const std::pair<int, const char*> topics[] = {
        {2, "properties.html"}, {3, "options.html"}, {4, "results.html"},
        {0, "index.html"},      {1, "index.html"},   {5, "index.html"},
    };
    for (const auto& [context, expected] : topics) {
        window.showTopic(context);
        EXPECT_EQ(page(), expected) << context;
        EXPECT_FALSE(browser()->document()->isEmpty()) << context;
    }
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Statvane Help");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(HelpWindowTest, LinksBetweenPagesOpenHereWithBackAndHome) {
    window.showContents();
    clickLink("options.html#filters");
    EXPECT_EQ(page(), "options.html");
    EXPECT_EQ(browser()->source().fragment(), "filters");
    clickLink("results.html");
    EXPECT_EQ(page(), "results.html");
    click("BackButton");
    EXPECT_EQ(page(), "options.html");
    click("HomeButton");
    EXPECT_EQ(page(), "index.html");
}

TEST_F(HelpWindowTest, LinksOutsideTheHelpOpenNothing) {
    window.showTopic(3);
    for (const char* link :
         {"http://example.test/", "https://example.test/x.html", "mailto:someone@example.test"}) {
        clickLink(link);
        EXPECT_EQ(browser()->source().scheme(), "file") << link;
        EXPECT_EQ(page(), "options.html") << link;
    }
}

TEST_F(HelpWindowTest, MissingHelpFolderIsOneMessageAndNoWindow) {
    test::TempDir dir;
    const std::string missing = (dir / "help").string();
    test::ScopedEnv elsewhere("STATVANE_HELP_DIR", missing);
    window.showTopic(4);
    window.showContents();
    EXPECT_FALSE(window.isVisible());
    const std::pair<std::string, MessageIcon> message{
        "The help pages could not be found in " + missing + ".", MessageIcon::Warning};
    EXPECT_EQ(prompt.messages, (std::vector{message, message}));
}

} // namespace
} // namespace statvane
