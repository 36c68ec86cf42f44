#include "platform/atomic_file.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velnor {
namespace {

// The real paths of the folders nothing may be written below.
std::vector<std::string>& refusedFolders() {
    static std::vector<std::string> folders;
    return folders;
}

// Whether `path` (a file that may not exist yet) lies below a refused folder: its folder's real
// path is compared, so neither a link nor ".." gets round it. A folder that cannot be resolved
// is refused too while any folder is.
bool writeRefused(const std::string& path) {
    if (refusedFolders().empty())
        return false;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    char resolved[PATH_MAX];
    if (!realpath(folder.c_str(), resolved))
        return true;
    const std::string real = resolved;
    for (const std::string& refused : refusedFolders())
        if (real == refused ||
            (real.size() > refused.size() && real.compare(0, refused.size(), refused) == 0 &&
             (refused == "/" || real[refused.size()] == '/')))
            return true;
    return false;
}

} // namespace

RefusedFolder::RefusedFolder(const std::string& folder) {
    char resolved[PATH_MAX];
    real_ = realpath(folder.c_str(), resolved) ? std::string(resolved) : folder;
    refusedFolders().push_back(real_);
}

RefusedFolder::~RefusedFolder() {
    std::vector<std::string>& folders = refusedFolders();
    const auto found = std::find(folders.begin(), folders.end(), real_);
    if (found != folders.end())
        folders.erase(found);
}

bool readWholeFile(const std::string& path, std::string& contents) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    contents.clear();
    char chunk[16384];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        contents.append(chunk, count);
    const bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

bool replaceFile(const std::string& path, std::string_view contents) {
    if (writeRefused(path))
        return false;
    const std::size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // A hidden name with a suffix that no catalogue lists, so a leftover is never read as data.
    std::string tempName = folder + "." + name + ".XXXXXX";

    const int fd = mkstemp(tempName.data());
    if (fd < 0)
        return false;

    struct stat old {};
    mode_t mode = 0644;
    if (stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    bool ok = fchmod(fd, mode) == 0;
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (ok && left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written <= 0) {
            ok = false;
            break;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    ok = ok && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    ok = ok && std::rename(tempName.data(), path.c_str()) == 0;
    if (!ok)
        std::remove(tempName.data());
    return ok;
}

} // namespace velnor
