#include "analysis/combined_layout.h"

namespace statvane {
namespace {

constexpr auto npos = std::string_view::npos;

// Whether an odd number of backslashes stands before text[at].
bool escaped(std::string_view text, std::size_t at) {
    std::size_t backslashes = 0;
    while (backslashes < at && text[at - backslashes - 1] == '\\')
        ++backslashes;
    return backslashes % 2 == 1;
}

// Takes a line's fields from its front, one at a time; each step says whether
// its field was there and, when it was, moves past it.
class FieldReader {
  public:
    explicit FieldReader(std::string_view line) : rest_(line) {}

    bool take(char c) {
        if (rest_.empty() || rest_.front() != c)
            return false;
        rest_.remove_prefix(1);
        return true;
    }

    // Text that is not empty and does not begin with a double quote (a field
    // of its own), and the blank that ends it.
    bool field() {
        const auto blank = rest_.find(' ');
        if (blank == 0 || blank == npos || rest_.front() == '"')
            return false;
        rest_.remove_prefix(blank + 1);
        return true;
    }

    // The first "[" from here, a date that is not empty, ":", the time and
    // "]".
    bool timeStamp() {
        const auto open = rest_.find('[');
        if (open == npos)
            return false;
        rest_.remove_prefix(open + 1);
        const auto close = rest_.find(']');
        const auto colon = rest_.substr(0, close).find(':');
        if (close == npos || colon == npos || colon == 0)
            return false;
        rest_.remove_prefix(close + 1);
        return true;
    }

    // A double quote, text, and a double quote that is not escaped and that
    // ends the line or is followed by a blank.
    bool quoted() {
        if (!take('"'))
            return false;
        const auto quote = closingQuote(rest_);
        if (quote == npos)
            return false;
        rest_.remove_prefix(quote + 1);
        return true;
    }

    // The same for the last field that is looked at: a line that ends with a
    // double quote that is not escaped has one, found without a search.
    bool lastQuoted() {
        if (rest_.size() >= 2 && rest_.front() == '"' && rest_.back() == '"' &&
            !escaped(rest_, rest_.size() - 1))
            return true;
        return quoted();
    }

  private:
    std::string_view rest_;
};

} // namespace

std::size_t closingQuote(std::string_view text) {
    for (auto quote = text.find('"'); quote != npos; quote = text.find('"', quote + 1))
        if (!escaped(text, quote) && (quote + 1 == text.size() || text[quote + 1] == ' '))
            return quote;
    return npos;
}

bool inCombinedLayout(std::string_view line) {
    FieldReader reader(line);
    return reader.field() && reader.timeStamp() && reader.take(' ') && reader.quoted() &&
           reader.take(' ') && reader.field() && reader.field() && reader.quoted() &&
           reader.take(' ') && reader.lastQuoted();
}

} // namespace statvane
