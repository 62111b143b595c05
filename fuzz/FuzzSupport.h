// Shared by the fuzz targets: a scratch image file per process and the card's
// accounting check.
#pragma once

#include "rq540/EntryTree.h"
#include "rq540/VirtualFileSystem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace fuzz_rq {

// A file of this process's own, in memory where the system offers it, since every run
// saves with a flush to disk.
inline std::filesystem::path ScratchPath(const char* name)
{
    static const std::filesystem::path folder = std::filesystem::is_directory("/dev/shm")
                                                    ? std::filesystem::path("/dev/shm")
                                                    : std::filesystem::temp_directory_path();
    return folder / ("rq540-fuzz-" + std::to_string(getpid()) + "-" + name + ".rqfs");
}

inline void WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    if (size && std::fwrite(data, size, 1, file) != 1)
        std::abort();
    std::fclose(file);
}

// Stops the run with a crash the fuzzer records.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

}  // namespace fuzz_rq
