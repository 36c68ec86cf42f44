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
bool replaceFile(const std::string& path, std::string_view contents);

} // namespace velnor
