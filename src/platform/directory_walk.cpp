#include "platform/directory_walk.h"

#include "platform/data_line.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace velnor {
namespace {

bool hasExtension(std::string_view name, std::string_view extension) {
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && equalsIgnoringCase(name.substr(dot + 1), extension);
}

std::vector<std::string> sortedNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// A folder by its device and inode: the same folder however it is reached.
using FolderId = std::pair<dev_t, ino_t>;

void walk(const std::string& root, const std::string& relative, std::string_view extension,
          const std::function<void(const std::string&)>& visit, std::set<FolderId>& walked) {
    for (const std::string& name :
         sortedNames(relative.empty() ? root : joinPath(root, relative))) {
        const std::string path = relative.empty() ? name : relative + "/" + name;
        struct stat info {};
        if (stat(joinPath(root, path).c_str(), &info) != 0) // follows links; a dangling one fails
            continue;
        if (S_ISDIR(info.st_mode)) {
            // Each folder once: a link back up the tree, or a second way to a folder, adds nothing.
            if (name[0] != '.' && walked.insert({info.st_dev, info.st_ino}).second)
                walk(root, path, extension, visit, walked);
            continue;
        }
        if (S_ISREG(info.st_mode) && hasExtension(name, extension))
            visit(path);
    }
}

} // namespace

std::string joinPath(const std::string& root, const std::string& relativePath) {
    if (root.empty())
        return relativePath;
    if (root.back() == '/')
        return root + relativePath;
    return root + "/" + relativePath;
}

bool resolveInside(const std::string& root, const std::string& relativePath,
                   std::string& resolved) {
    char buffer[PATH_MAX];
    if (!realpath(root.c_str(), buffer))
        return false;
    std::string top = buffer;
    if (top.back() != '/')
        top += '/';
    const std::string path = joinPath(root, relativePath);
    if (realpath(path.c_str(), buffer)) {
        resolved = buffer;
    } else {
        // Not there (yet): the file of that name in its folder, the folder's links resolved.
        const std::size_t slash = path.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        if (name.empty() || name == "." || name == ".." || !realpath(folder.c_str(), buffer))
            return false;
        resolved = joinPath(buffer, name);
    }
    return resolved.size() > top.size() && resolved.compare(0, top.size(), top) == 0;
}

void walkFiles(const std::string& root, std::string_view extension,
               const std::function<void(const std::string& relativePath)>& visit) {
    std::set<FolderId> walked;
    struct stat info {};
    if (stat(root.c_str(), &info) == 0)
        walked.insert({info.st_dev, info.st_ino});
    walk(root, std::string(), extension, visit, walked);
}

} // namespace velnor
