#include "analysis/bytes_step.h"
#include "steps_fixture.h"

#include <gtest/gtest.h>
#include <map>

namespace statvane {
namespace {

class FakeRequester : public HeadRequester {
  public:
    void setProxy(const ProxySettings& settings) override { proxy = settings; }
    std::optional<std::vector<std::string>> requestHead(const std::string& url) override {
        asked.push_back(url);
        const auto found = answers.find(url);
        if (found == answers.end())
            return std::nullopt;
        return found->second;
    }

    std::map<std::string, std::vector<std::string>> answers;
    std::vector<std::string> asked;
    ProxySettings proxy;
};

TEST(ContentLength, FirstLineContainingItFromItsSeventeenthCharacter) {
    using Lines = std::vector<std::string>;
    const std::pair<Lines, std::int32_t> cases[] = {
        {{"HTTP/1.0 200 OK", "Content-Length: 1000"}, 1000},
        {{"HTTP/1.0 200 OK", "XContent-Length: 77", "Content-Length: 5"}, 77},
        {{"X-Content-Length: 77", "Content-Length: 5"}, 0},
        {{"Content-Length:  42"}, 42},
        {{"HTTP/1.0 200 OK", "Content-Type: text/html"}, 0},
        {{"Content-Length: 12abc"}, 0},
        {{"Content-Length: "}, 0},
        {{"Content-Length"}, 0},
        {{"content-length: 5", "Content-Length: 6"}, 6},
        {{"Content-Length: $10"}, 16},
    };
    for (const auto& [lines, size] : cases)
        EXPECT_EQ(contentLengthOf(lines), size) << lines.back();
}

TEST(MeasureBytes, CountTimesSizeForEveryPage) {
    test::RecordingObserver observer;
    CheckPoints checkPoints(observer, 1);
    AnalysisResult result;
    result.logFileCount = 2;
    for (const char* key : {"http://s/a", "http://s/a", "http://s/b", "http://s/a", "http://s/none",
                            "http://s/fails", "http://s/bad"})
        result.topPages.tally(key);
    FakeRequester requester;
    requester.answers["http://s/a"] = {"HTTP/1.0 200 OK", "Content-Length: 1000"};
    requester.answers["http://s/b"] = {"HTTP/1.0 200 OK", "Content-Length: 2000"};
    requester.answers["http://s/none"] = {"HTTP/1.0 200 OK"};
    requester.answers["http://s/bad"] = {"HTTP/1.0 200 OK", "Content-Length: lots"};

    ASSERT_TRUE(measureBytes(result, requester, {"proxy", "3128", "user", "pw"}, checkPoints, 18));
    EXPECT_EQ(requester.proxy.server, "proxy");
    EXPECT_EQ(requester.proxy.password, "pw");
    EXPECT_EQ(requester.asked.size(), 5u);
    EXPECT_EQ(result.bytesTotal, 5000);
    EXPECT_EQ(result.bytesAverage, 2500);
    EXPECT_EQ(result.kilobytesTotal, 4.8828125);
    EXPECT_EQ(result.megabytesTotal, 0.00476837158203125);
    EXPECT_EQ(observer.steps, std::vector<std::string>{"Calculating Total Bytes Transferred..."});
    EXPECT_EQ(observer.counts.back(), "5000");
}

TEST(MeasureBytes, FiguresAreSetAtZeroAndCancelLeavesThemAbsent) {
    test::RecordingObserver observer;
    CheckPoints checkPoints(observer, 1);
    AnalysisResult result;
    result.logFileCount = 1;
    result.topPages.tally("http://s/none");
    FakeRequester requester;
    ASSERT_TRUE(measureBytes(result, requester, {}, checkPoints, 0));
    EXPECT_EQ(result.bytesTotal, 0);
    EXPECT_EQ(result.megabytesAverage, 0);

    AnalysisResult cancelled;
    cancelled.topPages.tally("http://s/none");
    observer.cancel = true;
    EXPECT_FALSE(measureBytes(cancelled, requester, {}, checkPoints, 0));
    EXPECT_FALSE(cancelled.bytesTotal);
}

} // namespace
} // namespace statvane
