#pragma once

// What the fuzz targets share: the input bytes written as a file of a scratch game directory.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace velnor::fuzz {

// A game directory of this process, made once and removed when the process ends normally.
inline const std::string& scratchDirectory() {
    struct Scratch {
        std::string path;
        Scratch() {
            // In memory where there is a place for it: the targets that write files flush them
            // to the disk at every input.
            char inMemory[] = "/dev/shm/velnor-fuzz-XXXXXX";
            char onDisk[] = "/tmp/velnor-fuzz-XXXXXX";
            const char* made = mkdtemp(inMemory);
            if (!made)
                made = mkdtemp(onDisk);
            if (!made)
                std::abort();
            path = made;
        }
        ~Scratch() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Scratch scratch;
    return scratch.path;
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
