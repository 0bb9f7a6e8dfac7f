#include "analysis/bytes_step.h"

#include "analysis/figure_text.h"
#include "platform/integer_text.h"

#include <algorithm>

namespace statvane {

std::int32_t contentLengthOf(const std::vector<std::string>& headerLines) {
    constexpr std::size_t kValueStart = 16; // after "Content-Length: "
    for (const auto& line : headerLines) {
        if (line.find("Content-Length") == std::string::npos)
            continue;
        const std::string_view value =
            line.size() > kValueStart ? std::string_view(line).substr(kValueStart) : "";
        // A negative size is no size: the page counts as a failed request.
        return std::max(parseInteger(value).value_or(0), 0);
    }
    return 0;
}

namespace {

// Adds up the pages' bytes in table order, whatever order their sizes come
// in, so that the double total is the same as when the pages are asked one
// by one; each page's check point is passed as soon as it and every page
// before it have their size.
class OrderedTotal {
  public:
    OrderedTotal(const std::vector<TallyRow>& rows, CheckPoints& checkPoints)
        : rows_(rows), sizes_(rows.size()), checkPoints_(checkPoints) {}

    // False when cancelled.
    bool add(std::size_t page, std::int32_t size) {
        sizes_[page] = size;
        return sumCompletePages();
    }

    // Pages left without an answer count as failed requests.
    bool addUnansweredAsFailed() {
        for (auto& size : sizes_)
            size = size.value_or(0);
        return sumCompletePages();
    }

    double total() const { return total_; }

  private:
    bool sumCompletePages() {
        while (summed_ < rows_.size() && sizes_[summed_]) {
            if (const std::int32_t size = *sizes_[summed_]; size != 0)
                total_ += static_cast<double>(rows_[summed_].count) * size;
            ++summed_;
            if (!checkPoints_.pass([this] { return formatGeneral(total_); },
                                   summed_ == rows_.size()))
                return false;
        }
        return true;
    }

    const std::vector<TallyRow>& rows_;
    std::vector<std::optional<std::int32_t>> sizes_;
    CheckPoints& checkPoints_;
    std::size_t summed_ = 0;
    double total_ = 0;
};

} // namespace

bool measureBytes(AnalysisResult& result, HeadRequester& requester, const ProxySettings& proxy,
                  CheckPoints& checkPoints, int progressStep) {
    checkPoints.startStep("Calculating Total Bytes Transferred...", progressStep);
    requester.setProxy(proxy);
    const auto& rows = result.topPages.rows();
    std::vector<std::string> urls;
    urls.reserve(rows.size());
    for (const auto& row : rows)
        urls.emplace_back(row.key());
    OrderedTotal total(rows, checkPoints);
    bool cancelled = false;
    requester.requestHeads(urls, [&](std::size_t page, const HeadAnswer& answer) {
        cancelled = !total.add(page, answer ? contentLengthOf(*answer) : 0);
        return !cancelled;
    });
    if (cancelled || !total.addUnansweredAsFailed())
        return false;
    result.setBytes(total.total());
    return true;
}

} // namespace statvane
