// The card shapes the seed corpora start from, as images: a fresh card, files of every
// type in the root, nested folders, and a card with no free space left. MakeSeedCorpus
// writes them; the manifest target lays out the payload files of their dumps.
#pragma once

#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace fuzz_rq {

using Bytes = std::vector<uint8_t>;

// Every step of the shapes is meant to succeed: a refused one would give seeds of
// another shape than described, so it ends the program.
inline void Must(int32_t result)
{
    if (result != RQ540::RESULT_SUCCESS) {
        std::fprintf(stderr, "seed shapes: a step was refused (result %d)\n", result);
        std::exit(1);
    }
}

inline void Fill(RQ540::CRQ540Vfs& vfs, uint32_t id, uint32_t size, uint8_t type)
{
    RQ540::FileHandle handle = nullptr;
    Must(vfs.CreateFile(id, type, size, &handle));
    Bytes bytes(size);
    for (uint32_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + id);
    Must(vfs.WriteFile(handle, 0, size, bytes.data()));
    Must(vfs.CloseFile(handle));
}

inline std::vector<Bytes> SeedShapes()
{
    using namespace RQ540;
    std::vector<Bytes> images;
    CRQ540Vfs fresh(0);
    images.push_back(VfsArchive::SerializeImage(fresh.GetRoot(), 0));

    CRQ540Vfs files(0);
    for (uint32_t id = 1; id <= 5; ++id)
        Fill(files, id, id * 3, static_cast<uint8_t>(id % 5));
    images.push_back(VfsArchive::SerializeImage(files.GetRoot(), 0));

    CRQ540Vfs nested(0);
    Must(nested.CreateFolder(1, 2000));
    Must(nested.CreateFolder(2, 300));
    Must(nested.ChangeDirectory("0001"));
    Fill(nested, 0x10, 12, 1);
    Must(nested.CreateFolder(3, 600));
    Must(nested.ChangeDirectory("0003"));
    Fill(nested, 0x11, 4, 2);
    images.push_back(VfsArchive::SerializeImage(nested.GetRoot(), 0));

    CRQ540Vfs full(0);
    Must(full.CreateFolder(1, 102));
    Fill(full, 2, 1500, 0);
    Must(full.CreateFolder(3, full.GetRoot()->GetFreeSpace()));
    images.push_back(VfsArchive::SerializeImage(full.GetRoot(), 0));
    return images;
}

}  // namespace fuzz_rq
