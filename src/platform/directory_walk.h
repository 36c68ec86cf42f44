#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velnor {

// Visits every regular file below `root` whose extension (the text after the last "." of its
// name) equals `extension` without regard to case. Entries are visited in ascending byte order of
// their names, depth first: a folder's files and subfolders are taken in that one order, and a
// subfolder is walked completely when it is met. Only real folders are entered (never a symbolic
// link, so there are no loops), hidden folders (names beginning with ".") are passed over, and
// only regular files are listed (no links to files either).
// `visit` receives the path relative to `root`, with "/" between the parts.
void walkFiles(const std::string& root, std::string_view extension,
               const std::function<void(const std::string& relativePath)>& visit);

// `root` joined with a path relative to it.
std::string joinPath(const std::string& root, const std::string& relativePath);

} // namespace velnor
