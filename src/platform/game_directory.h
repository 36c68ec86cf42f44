#pragma once

#include <string>

namespace velnor {

// The game's own version, as the version box and --version show it: the project's, which the
// package, the metainfo and the manual pages carry too.
inline constexpr const char* kGameVersion = VELNOR_VERSION;

// The per-user game directory: $XDG_DATA_HOME/velnor, where an XDG_DATA_HOME that is unset, empty
// or not absolute stands for $HOME/.local/share (the XDG base directory rules). Empty when
// neither gives an absolute path. Arguments are the variables' values, null when unset.
std::string userGameDirectory(const char* xdgDataHome, const char* home);
// The same from this process's environment; the password database stands in for a HOME that is
// unset or not absolute.
std::string userGameDirectory();

// The folder of the running program (/proc/self/exe), empty when it cannot be told.
std::string executableDirectory();

// The game data that comes with an install: <bindir>/../share/velnor beside the program's folder,
// so a moved install finds its own; else `fallback` (for a program that was built and never
// installed) when that is a folder; else empty.
std::string findInstalledData(const std::string& executableDir, const std::string& fallback);
// The game data of the running program: its install's, else its build tree's (the build links
// <build>/share/velnor to the source tree's data/, so that no path of the source or build tree is
// written into the programs, which may be installed and moved).
std::string bundledData();

// Adds to the folder `target` every regular file and folder of `bundled` that it lacks, and
// nothing else: whatever already has a name in `target` (a file, a folder, a link, even a
// dangling one) is left as it is, and so is everything below a name there that is not a real
// folder, so no write goes through a link out of `target`. Each file is written to a temporary
// name in its folder, flushed and then given its name only if that is still free, so a crash or
// a full disk never leaves a half file and never replaces one. Links in `bundled` are copied as
// the file they name when that file lies inside `bundled`, and passed over otherwise; hidden
// names and anything that is neither file nor folder are passed over.
struct SeedResult {
    bool ok = true;     // false: a file or folder could not be written; the rest are as they were
    int copied = 0;     // files added
    std::string failed; // the path that could not be written
    std::string reason; // why, as the system says it
};
SeedResult seedGameDirectory(const std::string& bundled, const std::string& target);

// Whether the game can keep files in `folder`: a probe file is made, written, flushed and removed
// (so a read-only file system, a folder without permission and a full disk all show). `reason`
// gets the system's words when it cannot.
bool folderWritable(const std::string& folder, std::string& reason);

// Where the game plays and whether it may write there.
struct GameDirectory {
    enum class Problem {
        kNone,
        kMissing,        // a given directory that does not exist: nothing to play
        kCannotMake,     // the per-user directory could not be made: the installed data is used
        kCannotWrite,    // the directory (or a file seeded into it) cannot be written
        kNoUserDir,      // no HOME to put the per-user directory in: the installed data is used
        kNoInstalledData // nothing to seed the per-user directory from
    };
    std::string path;      // where the game reads (and writes, unless readOnly)
    bool readOnly = false; // nothing may be written below `path`
    Problem problem = Problem::kNone;
    std::string problemPath; // the directory or file the problem is about
    std::string reason;      // the system's words for it, where there are any
};

// A directory named on the command line: played as it is, neither made nor seeded.
GameDirectory openGivenDirectory(const std::string& dir);
// The per-user directory `userDir` (empty: none could be found), made with its parents when
// missing and given the files of `installedData` it lacks. When it cannot be made, the game plays
// from `installedData` itself, read-only.
GameDirectory openUserDirectory(const std::string& userDir, const std::string& installedData);

// The problem in one line for the terminal, naming the path; empty when there is none.
std::string describeForTerminal(const GameDirectory& directory);

} // namespace velnor
