#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace velnor {

// Visits every regular file below `root` whose extension (the text after the last "." of its
// name) equals `extension` without regard to case. Entries are visited in ascending byte order of
// their names, depth first: a folder's files and subfolders are taken in that one order, and a
// subfolder is walked completely when it is met. Symbolic links are followed, to files and to
// folders, wherever they point; every folder (told apart by device and inode) is walked once
// only, by the first path that meets it, so a link back up the tree adds nothing. Hidden folders
// (names beginning with ".") are passed over, and so are links that lead nowhere.
// `visit` receives the path relative to `root`, with "/" between the parts.
void walkFiles(const std::string& root, std::string_view extension,
               const std::function<void(const std::string& relativePath)>& visit);

// The file that `relativePath` names below `root`, with every symbolic link on the way resolved
// (for a file that does not exist yet, its folder's), in `resolved`; false when that file lies
// outside the resolved `root`, or its folder does not exist. The game writes only such files: a
// link may bring a file from elsewhere in for reading, never for writing.
bool resolveInside(const std::string& root, const std::string& relativePath, std::string& resolved);

// `root` joined with a path relative to it.
std::string joinPath(const std::string& root, const std::string& relativePath);

} // namespace velnor
