#pragma once

#include <string>

namespace velnor {

class GhostLog;

// The ghost of a course: one run kept as "<course name>.gst" in the game directory, holding the
// course name, the car's name, the control events row by row, the snapshots and the finish time:
//
//     [Straight]
//     carname = Stella
//     (empty line)
//     time state  ×7 channels, one row per slot ("%8d %2d ")
//     (empty line)
//     time value  ×3 channels, one row per slot ("%8d %12lf ")
//     (empty line)
//     finish time

// The file name of a course's ghost: the course name with ".gst". A character a file name
// cannot hold ("/", "\", ":", "*", "?", """, "<", ">", "|", control characters, and a leading
// ".") becomes "_", so the ghost always lies in the game directory itself.
std::string ghostFileName(const char* courseName);

// Writes `log` as its course's ghost, replacing the old one safely; -1 if that fails.
int saveGhost(const std::string& root, const GhostLog& log);
// Reads the ghost of `log`'s course into it (the caller resets it and sets the course name
// first). -1 if there is no such file; the log is then unchanged. Rows past a channel's
// capacity are not read.
int loadGhost(const std::string& root, GhostLog& log);
// 1 if the course of `log` has a ghost file that can be opened, else 0.
int ghostFileExists(const std::string& root, const GhostLog& log);

} // namespace velnor
