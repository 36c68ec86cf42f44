#include "platform/game_directory.h"

#include "platform/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velnor {
namespace {

bool isAbsolute(const char* path) {
    return path && path[0] == '/';
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The real path (every link resolved), empty when there is none.
std::string realPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

bool inside(const std::string& path, const std::string& root) {
    return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                            path[root.size()] == '/');
}

// The names in a folder but "." and "..", sorted so the copies are made in the same order always.
bool listFolder(const std::string& folder, std::vector<std::string>& names) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    while (const dirent* entry = readdir(dir))
        names.emplace_back(entry->d_name);
    closedir(dir);
    std::sort(names.begin(), names.end());
    return true;
}

// Gives the written temporary file its name unless that is taken. Some file systems know no
// rename that refuses to replace, or no hard links; the last way checks before it renames.
bool nameWithoutReplacing(const std::string& temp, const std::string& path) {
    if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    if (link(temp.c_str(), path.c_str()) == 0) {
        unlink(temp.c_str());
        return true;
    }
    if (errno != EPERM)
        return false;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

// Writes the bytes of `from` to a new file `to` (which must not exist), the mode of `from` with
// the owner's write added (a player edits the copies). On failure errno tells the first cause.
bool copyNewFile(const std::string& from, const std::string& to, mode_t mode) {
    std::string contents;
    if (!readWholeFile(from, contents))
        return false;
    const std::size_t slash = to.rfind('/');
    std::string temp = to.substr(0, slash + 1) + "." + to.substr(slash + 1) + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    int failure = fchmod(fd, (mode & 0777) | S_IWUSR) == 0 ? 0 : errno;
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (failure == 0 && left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written <= 0) {
            failure = written < 0 ? errno : ENOSPC;
            break;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (failure == 0 && fsync(fd) != 0)
        failure = errno;
    if (close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && !nameWithoutReplacing(temp, to))
        failure = errno;
    if (failure == 0)
        return true;
    unlink(temp.c_str());
    errno = failure;
    return false;
}

struct Seeder {
    std::string bundledRoot; // real path of the bundled data
    SeedResult result;

    void fail(const std::string& path) {
        result.ok = false;
        result.failed = path;
        result.reason = std::strerror(errno);
    }

    // One name of the bundled folder `from` into the target folder `to` (a real folder).
    void seedEntry(const std::string& from, const std::string& to) {
        struct stat own {};
        if (lstat(from.c_str(), &own) != 0)
            return;
        struct stat info = own;
        if (S_ISLNK(own.st_mode)) {
            // Only a link to a file inside the bundled data is taken, as that file.
            const std::string target = realPath(from);
            if (target.empty() || !inside(target, bundledRoot) ||
                stat(target.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
                return;
        }
        struct stat existing {};
        const bool taken = lstat(to.c_str(), &existing) == 0;
        if (S_ISREG(info.st_mode)) {
            if (taken)
                return;
            if (copyNewFile(from, to, info.st_mode))
                ++result.copied;
            else if (errno != EEXIST) // a file the player made meanwhile is theirs
                fail(to);
            return;
        }
        if (!S_ISDIR(info.st_mode))
            return;
        if (!taken && mkdir(to.c_str(), 0777) != 0 && errno != EEXIST) {
            fail(to);
            return;
        }
        // Below anything but a real folder (the player's file, or a link to elsewhere): nothing.
        if (lstat(to.c_str(), &existing) != 0 || !S_ISDIR(existing.st_mode))
            return;
        seedFolder(from, to);
    }

    void seedFolder(const std::string& from, const std::string& to) {
        std::vector<std::string> names;
        if (!listFolder(from, names))
            return;
        for (const std::string& name : names) {
            if (name.empty() || name[0] == '.')
                continue;
            seedEntry(from + "/" + name, to + "/" + name);
            if (!result.ok)
                return;
        }
    }
};

// Makes `path` and the folders above it that are missing; false (errno set) when one cannot be.
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty() && mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
            return false;
        if (slash == std::string::npos)
            break;
    }
    if (isFolder(path))
        return true;
    errno = ENOTDIR;
    return false;
}

void setProblem(GameDirectory& directory, GameDirectory::Problem problem, const std::string& path,
                const std::string& reason) {
    directory.problem = problem;
    directory.problemPath = path;
    directory.reason = reason;
}

} // namespace

std::string userGameDirectory(const char* xdgDataHome, const char* home) {
    if (isAbsolute(xdgDataHome))
        return std::string(xdgDataHome) + "/velnor";
    if (isAbsolute(home))
        return std::string(home) + "/.local/share/velnor";
    return {};
}

std::string userGameDirectory() {
    const char* home = std::getenv("HOME");
    if (!isAbsolute(home))
        if (const passwd* user = getpwuid(getuid()))
            home = user->pw_dir;
    return userGameDirectory(std::getenv("XDG_DATA_HOME"), home);
}

std::string executableDirectory() {
    const std::string program = realPath("/proc/self/exe");
    const std::size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

std::string findInstalledData(const std::string& executableDir, const std::string& fallback) {
    if (!executableDir.empty()) {
        const std::string installed = executableDir + "/../share/velnor";
        if (isFolder(installed))
            return installed;
    }
    return !fallback.empty() && isFolder(fallback) ? fallback : std::string();
}

std::string bundledData() {
    const std::string program = executableDirectory();
    return findInstalledData(program, program.empty() ? std::string() : program + "/share/velnor");
}

SeedResult seedGameDirectory(const std::string& bundled, const std::string& target) {
    Seeder seeder;
    seeder.bundledRoot = realPath(bundled);
    // The target itself may be a link the player made (to another disk, say); below it, none is
    // followed.
    if (seeder.bundledRoot.empty() || !isFolder(target))
        return seeder.result;
    seeder.seedFolder(seeder.bundledRoot, target);
    return seeder.result;
}

bool folderWritable(const std::string& folder, std::string& reason) {
    std::string probe = folder + "/.velnor-probe.XXXXXX";
    const int fd = mkstemp(probe.data());
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    const bool ok = write(fd, "v", 1) == 1 && fsync(fd) == 0;
    if (!ok)
        reason = std::strerror(errno);
    close(fd);
    unlink(probe.c_str());
    return ok;
}

GameDirectory openGivenDirectory(const std::string& dir) {
    GameDirectory directory;
    directory.path = dir;
    std::string reason;
    if (!isFolder(dir)) {
        directory.readOnly = true;
        setProblem(directory, GameDirectory::Problem::kMissing, dir, "");
    } else if (!folderWritable(dir, reason)) {
        directory.readOnly = true;
        setProblem(directory, GameDirectory::Problem::kCannotWrite, dir, reason);
    }
    return directory;
}

GameDirectory openUserDirectory(const std::string& userDir, const std::string& installedData) {
    GameDirectory directory;
    if (userDir.empty() || !makeFolders(userDir)) {
        // Nowhere of the player's own: the installed data as it is, and nothing written to it.
        directory.path = installedData;
        directory.readOnly = true;
        if (userDir.empty())
            setProblem(directory, GameDirectory::Problem::kNoUserDir, "", "");
        else
            setProblem(directory, GameDirectory::Problem::kCannotMake, userDir,
                       std::strerror(errno));
        return directory;
    }
    directory.path = userDir;
    if (installedData.empty())
        setProblem(directory, GameDirectory::Problem::kNoInstalledData, userDir, "");
    const SeedResult seeded =
        installedData.empty() ? SeedResult{} : seedGameDirectory(installedData, userDir);
    std::string reason;
    if (!seeded.ok) {
        directory.readOnly = true;
        setProblem(directory, GameDirectory::Problem::kCannotWrite, seeded.failed, seeded.reason);
    } else if (!folderWritable(userDir, reason)) {
        directory.readOnly = true;
        setProblem(directory, GameDirectory::Problem::kCannotWrite, userDir, reason);
    }
    return directory;
}

std::string describeForTerminal(const GameDirectory& directory) {
    using Problem = GameDirectory::Problem;
    const std::string why = directory.reason.empty() ? "" : " (" + directory.reason + ")";
    const std::string playing =
        directory.path.empty() ? "; no installed game data was found either"
                               : "; playing from " + directory.path + " without writing anything";
    switch (directory.problem) {
    case Problem::kNone:
        return {};
    case Problem::kMissing:
        return directory.problemPath + ": not a directory";
    case Problem::kCannotMake:
        return "the game directory " + directory.problemPath + " cannot be made" + why + playing;
    case Problem::kCannotWrite:
        return "the game directory " + directory.path +
               " cannot be written: " + directory.problemPath + why +
               "; records and ghosts are not kept";
    case Problem::kNoUserDir:
        return "no home directory to keep the game directory in" + playing;
    case Problem::kNoInstalledData:
        return "no installed game data was found beside the program; " + directory.path +
               " has only the files already there";
    }
    return {};
}

} // namespace velnor
