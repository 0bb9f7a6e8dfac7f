#include "analysis/bytes_step.h"
#include "analysis/figure_text.h"
#include "steps_fixture.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <map>
#include <numeric>

namespace statvane {
namespace {

// Answers from its table of header lines (other pages fail) in `order`
// (table order when empty), and gives up after `answersBeforeGivingUp`.
// Its log shows each answer ("a" and the page) among the check points that
// the observer below notes ("p").
class FakeRequester : public HeadRequester {
  public:
    void setProxy(const ProxySettings& settings) override { proxy = settings; }
    void requestHeads(const std::vector<std::string>& urls, const Answered& answered) override {
        asked = urls;
        std::vector<std::size_t> pages = order;
        if (pages.empty()) {
            pages.resize(urls.size());
            std::iota(pages.begin(), pages.end(), 0);
        }
        pages.resize(std::min(pages.size(), answersBeforeGivingUp));
        for (const std::size_t page : pages) {
            log.append("a").append(std::to_string(page)).append(" ");
            if (!answered(page, answerFor(urls[page])))
                return;
        }
    }

    HeadAnswer answerFor(const std::string& url) const {
        const auto found = answers.find(url);
        if (found == answers.end())
            return std::nullopt;
        return found->second;
    }

    std::map<std::string, std::vector<std::string>> answers;
    std::vector<std::size_t> order;
    std::size_t answersBeforeGivingUp = SIZE_MAX;
    std::vector<std::string> asked;
    std::string log;
    ProxySettings proxy;
};

class PassNotingObserver : public test::RecordingObserver {
  public:
    explicit PassNotingObserver(std::string& log) : log_(log) {}
    bool cancelRequested() override {
        log_ += "p ";
        return RecordingObserver::cancelRequested();
    }

  private:
    std::string& log_;
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
        {{"Content-Length: -5000"}, 0},
        {{"Content-Length: -$10"}, 0},
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
    EXPECT_EQ(requester.asked,
              (std::vector<std::string>{"http://s/a", "http://s/b", "http://s/none",
                                        "http://s/fails", "http://s/bad"}));
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

// Four pages whose total depends on the order of the double additions: a
// page of count times size above 2^53 followed by two of one byte each (the
// one-byte additions are lost after the big one), and a page that fails.
class OrderedAnswers : public ::testing::Test {
  protected:
    static constexpr std::int32_t bigCount = 4194305;
    static constexpr double bigBytes = double{bigCount} * INT32_MAX;

    OrderedAnswers() {
        result.logFileCount = 1;
        for (const char* key : {"http://s/big", "http://s/one", "http://s/two", "http://s/fails"})
            result.topPages.tally(key);
        for (int i = 1; i < bigCount; ++i)
            result.topPages.increment(0);
        requester.answers["http://s/big"] = {"Content-Length: " + std::to_string(INT32_MAX)};
        requester.answers["http://s/one"] = {"Content-Length: 1"};
        requester.answers["http://s/two"] = {"HTTP/1.0 200 OK", "Content-Length: 1"};
    }

    bool measure() { return measureBytes(result, requester, {}, checkPoints, 0); }

    AnalysisResult result;
    FakeRequester requester;
    PassNotingObserver observer{requester.log};
    CheckPoints checkPoints{observer, 1};
};

struct OrderCase {
    std::vector<std::size_t> order;
    std::string log;
};

TEST_F(OrderedAnswers, AnyAnswerOrderGivesTheOneByOneTotalAndCheckPoints) {
    const double oneByOne = bigBytes + 1 + 1;
    ASSERT_NE(oneByOne, 1 + 1 + bigBytes) << "the case must depend on the order of additions";
    const OrderCase cases[] = {
        {{}, "a0 p a1 p a2 p a3 p "},
        {{3, 2, 1, 0}, "a3 a2 a1 a0 p p p p "},
        {{1, 0, 3, 2}, "a1 a0 p p a3 a2 p p "},
        {{2, 0, 3, 1}, "a2 a0 p a3 a1 p p p "},
    };
    for (const OrderCase& c : cases) {
        requester.order = c.order;
        requester.log.clear();
        observer.counts.clear();
        ASSERT_TRUE(measure()) << c.log;
        EXPECT_EQ(requester.log, c.log);
        EXPECT_EQ(result.bytesTotal, oneByOne) << c.log;
        EXPECT_EQ(observer.counts.back(), formatGeneral(oneByOne)) << c.log;
    }
}

struct StopCase {
    const char* name;
    std::vector<std::size_t> order;
    // Cancel at the check point after this many (when not negative).
    int checksBeforeCancel;
    std::size_t answersBeforeGivingUp;
    std::string log;
    // The step's outcome and, when it ends normally, its total.
    bool completed;
    double total;
};

TEST_F(OrderedAnswers, CancelEndsTheStepAndGivingUpCountsTheRestAsFailed) {
    const StopCase cases[] = {
        {"cancel in order", {}, 1, SIZE_MAX, "a0 p a1 p ", false, 0},
        {"cancel out of order", {2, 1, 0, 3}, 1, SIZE_MAX, "a2 a1 a0 p p ", false, 0},
        {"cancel while the requester waits", {1}, 0, 1, "a1 p ", false, 0},
        {"given up after two", {3, 1, 0, 2}, -1, 2, "a3 a1 p p p p ", true, 1},
        {"given up before any answer", {}, -1, 0, "p p p p ", true, 0},
    };
    for (const StopCase& c : cases) {
        AnalysisResult fresh = result;
        requester.order = c.order;
        requester.answersBeforeGivingUp = c.answersBeforeGivingUp;
        requester.log.clear();
        observer.cancel = false;
        observer.checks = 0;
        observer.checksBeforeCancel = c.checksBeforeCancel;
        EXPECT_EQ(measureBytes(fresh, requester, {}, checkPoints, 0), c.completed) << c.name;
        EXPECT_EQ(requester.log, c.log) << c.name;
        if (c.completed)
            EXPECT_EQ(fresh.bytesTotal, c.total) << c.name;
        else
            EXPECT_FALSE(fresh.bytesTotal) << c.name;
    }
}

} // namespace
} // namespace statvane
