// The least a run can do with a log: one thread reads it in 4 MiB blocks,
// splits the lines and finds the visitor, date, referrer, requested page and
// browser of each by the rules of the program's field finders. Prints the
// line count and the fields' summed lengths, which keep the work from being
// optimised away. Usage: reference_pass LOG
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kBlock = 4 << 20;
constexpr auto npos = std::string_view::npos;

std::size_t findFrom(std::string_view line, char c, std::size_t from) {
    return from >= line.size() ? npos : line.find(c, from);
}

// Where the browser starts: after the fourth double quote, each found after the last.
std::size_t browserStart(std::string_view line) {
    std::size_t from = 0;
    for (int quote = 0; quote < 4; ++quote) {
        const auto at = findFrom(line, '"', from);
        if (at == npos)
            return npos;
        from = at + 1;
    }
    return from;
}

// The requested page: from after "GET " to the blank before "HTTP", less one
// leading and one trailing slash.
std::size_t pathLength(std::string_view line) {
    const auto get = line.find("GET");
    if (get == npos || get + 4 > line.size())
        return 0;
    const auto http = line.find("HTTP", get + 4);
    if (http == npos || http == get + 4)
        return 0;
    auto path = line.substr(get + 4, http - get - 5);
    if (path.size() > 1 && path.front() == '/')
        path.remove_prefix(1);
    if (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    return path.size();
}

std::size_t fieldLengths(std::string_view line) {
    std::size_t sum = 0;
    if (const auto blank = line.find(' '); blank != npos)
        sum += blank;
    if (const auto open = line.find('['); open != npos)
        if (const auto colon = line.find(':', open + 1); colon != npos)
            sum += colon - open - 1;
    const auto q1 = line.find('"');
    const auto q2 = q1 == npos ? npos : findFrom(line, '"', q1 + 2);
    const auto q3 = q2 == npos ? npos : findFrom(line, '"', q2 + 2);
    const auto q4 = q3 == npos ? npos : findFrom(line, '"', q3 + 1);
    if (q4 != npos)
        sum += q4 - q3 - 1;
    if (const auto browser = browserStart(line); browser != npos)
        sum += line.size() - browser;
    return sum + pathLength(line);
}

struct Totals {
    std::size_t lines = 0;
    std::size_t checksum = 0;

    void add(std::string_view line) {
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        checksum += fieldLengths(line);
        ++lines;
    }
};

// Adds the whole lines of text to the totals; returns where the cut last line starts.
std::size_t addLines(std::string_view text, Totals& totals) {
    std::size_t start = 0;
    for (auto feed = text.find('\n'); feed != npos; feed = text.find('\n', start)) {
        totals.add(text.substr(start, feed - start));
        start = feed + 1;
    }
    return start;
}

} // namespace

int main(int argc, char** argv) {
    const int file = argc == 2 ? open(argv[1], O_RDONLY) : -1;
    if (file < 0) {
        std::fprintf(stderr, "usage: %s LOG (a readable file)\n", argv[0]);
        return 1;
    }
    std::vector<char> block(kBlock);
    std::size_t kept = 0;
    Totals totals;
    for (;;) {
        if (kept == block.size())
            block.resize(block.size() * 2); // a line longer than the block
        const ssize_t got = read(file, block.data() + kept, block.size() - kept);
        if (got < 0) {
            std::perror(argv[1]);
            return 1;
        }
        const std::string_view text(block.data(), kept + static_cast<std::size_t>(got));
        const std::size_t cut = addLines(text, totals);
        if (got == 0) {
            if (cut < text.size())
                totals.add(text.substr(cut)); // the last line, without a line feed
            break;
        }
        kept = text.size() - cut;
        std::memmove(block.data(), block.data() + cut, kept);
    }
    close(file);
    std::printf("%zu lines, field checksum %zu\n", totals.lines, totals.checksum);
}
