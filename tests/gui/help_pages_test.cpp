// The help pages themselves: every link leads somewhere, the contents page
// leads everywhere, and the build copies them beside the program.
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace statvane {
namespace {

namespace fs = std::filesystem;

const fs::path helpSource = HELP_SOURCE_DIR;

std::set<std::string> pagesIn(const fs::path& folder, const char* extension) {
    std::set<std::string> pages;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == extension)
            pages.insert(entry.path().filename().string());
    return pages;
}

// The values of every attribute `name` (href, src) of a page.
std::vector<std::string> attributes(const std::string& html, const char* name) {
    const std::regex pattern(std::string("\\b") + name + "=\"([^\"]*)\"");
    std::vector<std::string> values;
    for (auto match = std::sregex_iterator(html.begin(), html.end(), pattern);
         match != std::sregex_iterator(); ++match)
        values.push_back((*match)[1]);
    return values;
}

bool isOutside(const std::string& link) {
    return std::regex_search(link, std::regex("^[a-z]+:"));
}

bool hasAnchor(const std::string& html, const std::string& name) {
    return html.find("id=\"" + name + "\"") != std::string::npos;
}

TEST(HelpPages, EveryLinkLeadsToAPageAndPlaceThatExist) {
    for (const std::string& page : pagesIn(helpSource, ".html")) {
        const std::string html = test::readFile(helpSource / page);
        for (const std::string& link : attributes(html, "href")) {
            SCOPED_TRACE(page + " links " + link);
            if (isOutside(link))
                continue;
            const auto hash = link.find('#');
            const std::string target = link.substr(0, hash);
            const fs::path file = helpSource / (target.empty() ? page : target);
            ASSERT_TRUE(fs::is_regular_file(file));
            if (hash != std::string::npos) {
                EXPECT_TRUE(hasAnchor(test::readFile(file), link.substr(hash + 1)));
            }
        }
    }
}

TEST(HelpPages, ContentsPageLinksEveryOtherPage) {
    std::set<std::string> linked;
    for (const std::string& link : attributes(test::readFile(helpSource / "index.html"), "href"))
        linked.insert(link.substr(0, link.find('#')));
    for (const std::string& page : pagesIn(helpSource, ".html"))
        if (page != "index.html") {
            EXPECT_TRUE(linked.contains(page)) << page;
        }
}

TEST(HelpPages, PagesUseNothingFromOutsideAndNoScripts) {
    for (const std::string& page : pagesIn(helpSource, ".html")) {
        const std::string html = test::readFile(helpSource / page);
        EXPECT_EQ(html.find("<script"), std::string::npos) << page;
        EXPECT_TRUE(attributes(html, "src").empty()) << page;
        EXPECT_NE(html.find("href=\"help.css\""), std::string::npos) << page;
        EXPECT_TRUE(std::regex_search(html, std::regex("<title>[^<]+</title>"))) << page;
    }
}

TEST(HelpPages, BuildCopiesEveryPageBesideTheProgram) {
    for (const char* extension : {".html", ".css"}) {
        const std::set<std::string> pages = pagesIn(helpSource, extension);
        EXPECT_FALSE(pages.empty()) << extension;
        for (const std::string& page : pages)
            EXPECT_EQ(test::readFile(fs::path(HELP_BUILD_DIR) / page),
                      test::readFile(helpSource / page))
                << page;
    }
}

} // namespace
} // namespace statvane
