#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <sys/resource.h>

namespace velnor::test {

// A fresh temporary folder for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view relative) const;
    // Writes `contents` to the relative path, creating folders on the way.
    void write(std::string_view relative, std::string_view contents) const;
    std::string read(std::string_view relative) const;

private:
    std::string path_;
};

// Runs `check` as a user who is not root (root writes to read-only folders all the same), in a
// process of its own when this one is root; its result is `check`'s, or -1 if that fails.
int runUnprivileged(const std::function<int()>& check);

// Makes every write past `bytes` into a file fail, as on a full disk, while the object lives.
// (Permissions cannot make a write fail for root, which tests may run as; this limit can.)
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

} // namespace velnor::test
