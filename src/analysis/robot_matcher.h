#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace statvane {

// Tells robots' agents by a list of patterns, all searched at once in one
// pass over the agent's bytes. A pattern holding "*" matches the whole agent
// as a wildcard ("*" any run, "?" one byte); any other matches anywhere in it
// ("?" being itself). Both ignore the case of ASCII letters; other bytes are
// compared as they are. Built once, then read by any number of threads.
class RobotMatcher {
  public:
    explicit RobotMatcher(const std::vector<std::string>& patterns);

    bool matches(std::string_view agent) const;

  private:
    class Builder;

    std::uint32_t next(std::uint32_t state, std::uint32_t byteClass) const;
    bool anyWildcardMatches(std::uint32_t state, std::string_view agent,
                            std::vector<bool>& checked) const;

    // Bytes, their letters folded, numbered by the patterns that hold them;
    // 0 for a byte in none.
    std::array<std::uint8_t, 256> classOf_{};
    std::uint32_t classes_ = 1;
    // An automaton over the patterns' literal texts (the substring patterns,
    // and each wildcard pattern's longest piece without "*" or "?"). States
    // are numbered shallowest first; the first denseStates_ have a full row
    // of transitions, the deeper ones their own edges and a fall-back.
    std::uint32_t denseStates_ = 0;
    std::vector<std::uint32_t> dense_;
    std::vector<std::uint32_t> edgeStart_;
    std::vector<std::uint8_t> edgeClass_;
    std::vector<std::uint32_t> edgeTarget_;
    std::vector<std::uint32_t> fallBack_;
    // The wildcard patterns whose piece ends in a state, and the next shorter
    // state on its fall-back chain with such patterns (0 for none).
    std::vector<std::uint32_t> wildcardStart_;
    std::vector<std::uint32_t> wildcardIndex_;
    std::vector<std::uint32_t> wildcardLink_;
    std::vector<std::string> wildcards_;
    // The shortest agent that a pattern of "*" and "?" alone matches.
    std::optional<std::size_t> shortestForAnyText_;
};

} // namespace statvane
