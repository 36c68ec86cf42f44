#pragma once

#include <string>
#include <string_view>

namespace velnor {

// Reads the whole file into `contents`; false if it cannot be opened or read.
bool readWholeFile(const std::string& path, std::string& contents);

// Replaces the file at `path` by `contents` without ever leaving a half-written file: the bytes go
// to a new temporary file in the same folder, are flushed to the disk, and the temporary file is
// renamed over the old one (keeping its permissions). On any failure the old file is untouched,
// the temporary file is removed and the result is false.
// A file below a folder given to refuseWritesBelow is never written: the result is false.
bool replaceFile(const std::string& path, std::string_view contents);

// While this lives, replaceFile writes nothing below `folder` (compared by real paths, so a link or
// ".." into it is refused as well). The game plays a directory it must not change, the installed
// data say, under one of these.
class RefusedFolder {
public:
    explicit RefusedFolder(const std::string& folder);
    ~RefusedFolder();
    RefusedFolder(const RefusedFolder&) = delete;
    RefusedFolder& operator=(const RefusedFolder&) = delete;

private:
    std::string real_;
};

} // namespace velnor
