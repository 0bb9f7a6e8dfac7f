#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace statvane::test {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& file, std::string_view bytes);
std::string readFile(const std::filesystem::path& file);

// Sets an environment variable for one scope, restoring the old value after.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    bool hadValue_ = false;
    std::string oldValue_;
};

// For one scope, the process works in a folder that has been deleted; the
// working folder before is restored after.
class ScopedDeletedWorkingFolder {
  public:
    ScopedDeletedWorkingFolder();
    ~ScopedDeletedWorkingFolder();
    ScopedDeletedWorkingFolder(const ScopedDeletedWorkingFolder&) = delete;
    ScopedDeletedWorkingFolder& operator=(const ScopedDeletedWorkingFolder&) = delete;

  private:
    std::filesystem::path previous_;
};

} // namespace statvane::test
