#pragma once

#include "analysis/block_tally.h"
#include "analysis/check_points.h"
#include "analysis/pass_totals.h"
#include "support/recording_run.h"

#include <initializer_list>
#include <string_view>

namespace statvane::test {

// What a log pass counts in lines made from text, one file of one block.
inline PassTotals countLines(std::initializer_list<std::string_view> texts,
                             const PassSelection& selection) {
    std::string bytes;
    for (const auto text : texts) {
        bytes += text;
        bytes += '\n';
    }
    BlockTally block;
    block.count(bytes, selection);
    PassTotals totals;
    totals.add(block, 0, selection);
    return totals;
}

// A combined-layout line with the given pieces.
inline std::string combined(std::string_view host, std::string_view request,
                            std::string_view referrer, std::string_view agent) {
    return std::string(host) + " - - [06/Dec/1999:10:15:32 -0500] \"" + std::string(request) +
           "\" 200 5120 \"" + std::string(referrer) + "\" \"" + std::string(agent) + "\"";
}

struct StepsFixture {
    RecordingObserver observer;
    CheckPoints checkPoints{observer};
};

} // namespace statvane::test
