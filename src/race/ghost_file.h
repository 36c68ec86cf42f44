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

// The file name of a course's ghost, in the game directory itself. A course name that is a file
// name as it stands keeps it: the name with ".gst". A name that is not (it holds "/", "\", ":",
// "*", "?", """, "<", ">", "|" or a control character outside a two-byte character, or begins
// with ".") has each such byte, a leading "." and every "%" written as "%" and two hexadecimal
// digits ("A/B" gives "A%2FB.gst"), so two such names never meet. Where one of them meets a name
// that stands as it is (a course really named "A%2FB"), the file's header tells the two apart:
// a ghost file belongs to the course its section names, and no other course reads or replaces it.
std::string ghostFileName(const char* courseName);

// Writes `log` as its course's ghost, replacing the old one safely; -1 if that fails, or if the
// file holds another course's ghost (or cannot be read to tell).
int saveGhost(const std::string& root, const GhostLog& log);
// Reads the ghost of `log`'s course into it (the caller resets it and sets the course name
// first). -1 if there is no such file or it holds no section of the course; the log is then
// unchanged. A course whose name had to be changed also finds its ghost under the file name older
// versions gave it ("_" for each such byte), as long as that file's section names the course.
// Rows past a channel's capacity are not read.
int loadGhost(const std::string& root, GhostLog& log);
// 1 if the course of `log` has a ghost file that can be opened and holds its section, else 0.
int ghostFileExists(const std::string& root, const GhostLog& log);

} // namespace velnor
