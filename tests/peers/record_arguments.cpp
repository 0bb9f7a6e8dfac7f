// A stand-in for a browser or for xdg-open: appends one record of how it was
// started to the file that $STATVANE_RECORD_FILE names, in one write. A
// record is the number of arguments, the program's own path (from
// /proc/self/exe) and each argument, every field ended by a NUL byte.
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* recordFile = std::getenv("STATVANE_RECORD_FILE");
    if (!recordFile)
        return 2;
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
    if (length < 0)
        return 2;
    std::string record = std::to_string(argc - 1);
    record += '\0';
    record.append(self, static_cast<size_t>(length));
    record += '\0';
    for (int i = 1; i < argc; ++i) {
        record += argv[i];
        record += '\0';
    }
    const int file = ::open(recordFile, O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (file < 0)
        return 2;
    const bool written = ::write(file, record.data(), record.size()) == ssize_t(record.size());
    ::close(file);
    return written ? 0 : 2;
}
