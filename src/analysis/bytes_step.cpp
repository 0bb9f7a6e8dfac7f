#include "analysis/bytes_step.h"

#include "analysis/figure_text.h"
#include "platform/integer_text.h"

namespace statvane {

std::int32_t contentLengthOf(const std::vector<std::string>& headerLines) {
    constexpr std::size_t kValueStart = 16; // after "Content-Length: "
    for (const auto& line : headerLines) {
        if (line.find("Content-Length") == std::string::npos)
            continue;
        const std::string_view value =
            line.size() > kValueStart ? std::string_view(line).substr(kValueStart) : "";
        return parseInteger(value).value_or(0);
    }
    return 0;
}

bool measureBytes(AnalysisResult& result, HeadRequester& requester, const ProxySettings& proxy,
                  CheckPoints& checkPoints, int progressStep) {
    checkPoints.startStep("Calculating Total Bytes Transferred...", progressStep);
    requester.setProxy(proxy);
    double total = 0;
    const auto& rows = result.topPages.rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::int32_t size = 0;
        if (const auto header = requester.requestHead(rows[i].key))
            size = contentLengthOf(*header);
        if (size != 0)
            total += static_cast<double>(rows[i].count) * size;
        const bool last = i + 1 == rows.size();
        if (!checkPoints.pass([&] { return formatGeneral(total); }, last))
            return false;
    }
    result.setBytes(total);
    return true;
}

} // namespace statvane
