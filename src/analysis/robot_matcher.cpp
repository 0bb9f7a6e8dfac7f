#include "analysis/robot_matcher.h"

#include "platform/ascii.h"
#include "platform/wildcard_search.h"

#include <algorithm>
#include <numeric>

namespace statvane {

namespace {

// A transition's target state, with what ends there.
constexpr std::uint32_t kSubstringEnds = 1u << 31;
constexpr std::uint32_t kWildcardPieceEnds = 1u << 30;
constexpr std::uint32_t kState = kWildcardPieceEnds - 1;

// Full rows of transitions for at most this many cells (4 MiB): all the
// states of a list of hundreds of patterns, the shallowest, most visited ones
// of a list of many thousands.
constexpr std::size_t kDenseCells = std::size_t{1} << 20;

bool isWildcard(char c) {
    return c == '*' || c == '?';
}

// The longest run of a wildcard pattern without "*" or "?"; empty when it has none.
std::string_view longestPiece(std::string_view pattern) {
    std::string_view longest;
    while (!pattern.empty()) {
        const auto start = std::find_if_not(pattern.begin(), pattern.end(), isWildcard);
        const auto end = std::find_if(start, pattern.end(), isWildcard);
        if (end - start > static_cast<std::ptrdiff_t>(longest.size()))
            longest = std::string_view(start, end);
        pattern.remove_prefix(static_cast<std::size_t>(end - pattern.begin()));
    }
    return longest;
}

} // namespace

// Builds the automaton: a trie of the literal texts, numbered again
// shallowest first, with the fall-back of each state (its longest proper
// suffix that is a state) and what ends in it or in a suffix of it.
class RobotMatcher::Builder {
  public:
    explicit Builder(RobotMatcher& matcher) : m_(matcher) {}

    void add(const std::vector<std::string>& patterns);
    void finish();

  private:
    struct Node {
        std::uint32_t firstChild = 0;
        std::uint32_t sibling = 0;
        std::uint8_t byteClass = 0;
        bool substringEnds = false;
    };

    void numberBytes(std::string_view literal);
    std::uint32_t insert(std::string_view literal);
    void numberStates();
    void linkStates();
    void fillDenseRow(std::size_t state);
    void markEnds();

    RobotMatcher& m_;
    std::vector<std::pair<std::string, std::optional<std::uint32_t>>> literals_;
    std::vector<Node> nodes_{1};
    // (trie node, wildcard pattern) for each wildcard pattern's piece.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> pieceEnds_;
    std::vector<std::uint32_t> stateOf_;
    std::vector<std::uint32_t> nodeOf_;
    std::vector<std::uint32_t> ends_;
};

void RobotMatcher::Builder::add(const std::vector<std::string>& patterns) {
    for (const auto& pattern : patterns) {
        if (pattern.find('*') == std::string::npos) {
            literals_.emplace_back(ascii::toLower(pattern), std::nullopt);
            continue;
        }
        const auto piece = longestPiece(pattern);
        if (piece.empty()) {
            const auto length =
                static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), '?'));
            m_.shortestForAnyText_ = std::min(m_.shortestForAnyText_.value_or(length), length);
            continue;
        }
        literals_.emplace_back(ascii::toLower(piece),
                               static_cast<std::uint32_t>(m_.wildcards_.size()));
        m_.wildcards_.push_back(pattern);
    }
    for (const auto& literal : literals_)
        numberBytes(literal.first);
    for (unsigned letter = 0; letter < 26; ++letter)
        m_.classOf_['A' + letter] = m_.classOf_['a' + letter];
    for (const auto& [literal, wildcard] : literals_) {
        const auto node = insert(literal);
        if (wildcard)
            pieceEnds_.emplace_back(node, *wildcard);
        else
            nodes_[node].substringEnds = true;
    }
    literals_.clear();
}

void RobotMatcher::Builder::numberBytes(std::string_view literal) {
    for (const unsigned char byte : literal)
        if (m_.classOf_[byte] == 0)
            m_.classOf_[byte] = static_cast<std::uint8_t>(m_.classes_++);
}

std::uint32_t RobotMatcher::Builder::insert(std::string_view literal) {
    std::uint32_t node = 0;
    for (const unsigned char byte : literal) {
        const auto byteClass = m_.classOf_[byte];
        std::uint32_t child = nodes_[node].firstChild;
        while (child != 0 && nodes_[child].byteClass != byteClass)
            child = nodes_[child].sibling;
        if (child == 0) {
            child = static_cast<std::uint32_t>(nodes_.size());
            nodes_.push_back({0, nodes_[node].firstChild, byteClass, false});
            nodes_[node].firstChild = child;
        }
        node = child;
    }
    return node;
}

void RobotMatcher::Builder::finish() {
    numberStates();
    nodes_ = {};
    linkStates();
    markEnds();
}

// States in breadth-first order, each with its edges sorted by byte class.
void RobotMatcher::Builder::numberStates() {
    stateOf_.assign(nodes_.size(), 0);
    nodeOf_ = {0};
    m_.edgeStart_ = {0};
    std::vector<std::pair<std::uint8_t, std::uint32_t>> children;
    for (std::size_t state = 0; state < nodeOf_.size(); ++state) {
        children.clear();
        for (auto child = nodes_[nodeOf_[state]].firstChild; child; child = nodes_[child].sibling)
            children.emplace_back(nodes_[child].byteClass, child);
        std::sort(children.begin(), children.end());
        for (const auto& [byteClass, child] : children) {
            stateOf_[child] = static_cast<std::uint32_t>(nodeOf_.size());
            nodeOf_.push_back(child);
            m_.edgeClass_.push_back(byteClass);
            m_.edgeTarget_.push_back(stateOf_[child]);
        }
        m_.edgeStart_.push_back(static_cast<std::uint32_t>(m_.edgeClass_.size()));
    }
    ends_.assign(nodeOf_.size(), 0);
    for (std::size_t state = 0; state < nodeOf_.size(); ++state)
        if (nodes_[nodeOf_[state]].substringEnds)
            ends_[state] = kSubstringEnds;
    std::sort(pieceEnds_.begin(), pieceEnds_.end(), [this](const auto& a, const auto& b) {
        return stateOf_[a.first] < stateOf_[b.first];
    });
    m_.wildcardStart_.assign(nodeOf_.size() + 1, 0);
    for (const auto& [node, wildcard] : pieceEnds_) {
        ++m_.wildcardStart_[stateOf_[node] + 1];
        m_.wildcardIndex_.push_back(wildcard);
    }
    std::partial_sum(m_.wildcardStart_.begin(), m_.wildcardStart_.end(), m_.wildcardStart_.begin());
    stateOf_ = {};
    nodeOf_ = {};
    pieceEnds_ = {};
}

// In breadth-first order, so that what a state falls back to is complete.
void RobotMatcher::Builder::linkStates() {
    const auto states = ends_.size();
    const std::size_t classes = m_.classes_;
    m_.denseStates_ = static_cast<std::uint32_t>(
        std::min(states, std::max<std::size_t>(1, kDenseCells / classes)));
    m_.dense_.assign(m_.denseStates_ * classes, 0);
    m_.fallBack_.assign(states, 0);
    m_.wildcardLink_.assign(states, 0);
    const auto hasPieces = [this](std::uint32_t state) {
        return m_.wildcardStart_[state] != m_.wildcardStart_[state + 1];
    };
    for (std::uint32_t state = 0; state < states; ++state) {
        if (state < m_.denseStates_)
            fillDenseRow(state);
        if (hasPieces(state) || m_.wildcardLink_[state])
            ends_[state] |= kWildcardPieceEnds;
        for (auto edge = m_.edgeStart_[state]; edge < m_.edgeStart_[state + 1]; ++edge) {
            const auto target = m_.edgeTarget_[edge];
            const auto fallBack =
                state == 0 ? 0 : m_.next(m_.fallBack_[state], m_.edgeClass_[edge]);
            m_.fallBack_[target] = fallBack;
            ends_[target] |= ends_[fallBack] & kSubstringEnds;
            m_.wildcardLink_[target] = hasPieces(fallBack) ? fallBack : m_.wildcardLink_[fallBack];
        }
    }
}

// The transitions of the state's fall-back, but for its own edges.
void RobotMatcher::Builder::fillDenseRow(std::size_t state) {
    const std::size_t classes = m_.classes_;
    const auto row = m_.dense_.begin() + static_cast<std::ptrdiff_t>(state * classes);
    if (state != 0)
        std::copy_n(m_.dense_.begin() + static_cast<std::ptrdiff_t>(m_.fallBack_[state] * classes),
                    classes, row);
    for (auto edge = m_.edgeStart_[state]; edge < m_.edgeStart_[state + 1]; ++edge)
        row[m_.edgeClass_[edge]] = m_.edgeTarget_[edge];
}

// Each transition carries what ends in its target, so that a pass needs to
// look at nothing else while nothing ends.
void RobotMatcher::Builder::markEnds() {
    for (auto* targets : {&m_.dense_, &m_.edgeTarget_})
        for (auto& target : *targets)
            target |= ends_[target];
    ends_ = {};
}

RobotMatcher::RobotMatcher(const std::vector<std::string>& patterns) {
    Builder builder(*this);
    builder.add(patterns);
    builder.finish();
}

std::uint32_t RobotMatcher::next(std::uint32_t state, std::uint32_t byteClass) const {
    while (state >= denseStates_) {
        const auto first = edgeClass_.begin() + edgeStart_[state];
        const auto last = edgeClass_.begin() + edgeStart_[state + 1];
        const auto at = std::find(first, last, static_cast<std::uint8_t>(byteClass));
        if (at != last)
            return edgeTarget_[static_cast<std::size_t>(at - edgeClass_.begin())];
        state = fallBack_[state];
    }
    return dense_[state * classes_ + byteClass];
}

bool RobotMatcher::matches(std::string_view agent) const {
    if (shortestForAnyText_ && agent.size() >= *shortestForAnyText_)
        return true;
    std::vector<bool> checked; // the wildcard patterns tried, made on the first
    std::uint32_t state = 0;
    for (const unsigned char byte : agent) {
        const std::uint32_t byteClass = classOf_[byte];
        const std::uint32_t target = byteClass == 0 ? 0 : next(state, byteClass);
        if (target & kSubstringEnds)
            return true;
        state = target & kState;
        if ((target & kWildcardPieceEnds) && anyWildcardMatches(state, agent, checked))
            return true;
    }
    return false;
}

// Tries, once each, the wildcard patterns whose piece ends in the state.
bool RobotMatcher::anyWildcardMatches(std::uint32_t state, std::string_view agent,
                                      std::vector<bool>& checked) const {
    checked.resize(wildcards_.size());
    for (; state != 0; state = wildcardLink_[state]) {
        for (auto at = wildcardStart_[state]; at < wildcardStart_[state + 1]; ++at) {
            const auto wildcard = wildcardIndex_[at];
            if (checked[wildcard])
                continue;
            checked[wildcard] = true;
            if (wildcardMatchText(wildcards_[wildcard], agent))
                return true;
        }
    }
    return false;
}

} // namespace statvane
