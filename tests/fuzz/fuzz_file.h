#pragma once

// What the fuzz targets share: the input bytes written as a file of a scratch game directory.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace velnor::fuzz {

// A game directory of this process, made once.
inline const std::string& scratchDirectory() {
    static const std::string path = [] {
        char pattern[] = "/tmp/velnor-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made)
            std::abort();
        return std::string(made);
    }();
    return path;
}

// Writes the input as `name` in the scratch directory and returns its path.
inline std::string writeInput(const char* name, const std::uint8_t* data, std::size_t size) {
    const std::string path = scratchDirectory() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        std::abort();
    std::fclose(file);
    return path;
}

} // namespace velnor::fuzz
