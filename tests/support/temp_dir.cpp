#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace statvane::test {

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "statvane-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::string readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        hadValue_ = true;
        oldValue_ = old;
    }
    ::setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (hadValue_)
        ::setenv(name_.c_str(), oldValue_.c_str(), 1);
    else
        ::unsetenv(name_.c_str());
}

ScopedDeletedWorkingFolder::ScopedDeletedWorkingFolder()
    : previous_(std::filesystem::current_path()) {
    const TempDir gone;
    std::filesystem::current_path(gone.path());
}

ScopedDeletedWorkingFolder::~ScopedDeletedWorkingFolder() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

} // namespace statvane::test
