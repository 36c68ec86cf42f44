#include "platform/directory_walk.h"

#include "platform/data_line.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
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

void walk(const std::string& root, const std::string& relative, std::string_view extension,
          const std::function<void(const std::string&)>& visit) {
    for (const std::string& name :
         sortedNames(relative.empty() ? root : joinPath(root, relative))) {
        const std::string path = relative.empty() ? name : relative + "/" + name;
        struct stat info {};
        if (lstat(joinPath(root, path).c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            if (name[0] != '.')
                walk(root, path, extension, visit);
            continue;
        }
        // Links are not followed: a file the game may rewrite must be one it holds itself (a
        // rewrite would replace a link by a file, leaving the linked file as it was).
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

void walkFiles(const std::string& root, std::string_view extension,
               const std::function<void(const std::string& relativePath)>& visit) {
    walk(root, std::string(), extension, visit);
}

} // namespace velnor
