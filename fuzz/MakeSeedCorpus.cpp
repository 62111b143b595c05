// Writes the fuzzers' seed corpus: valid images of different shapes for the reader, and
// the same images followed by a few operations for the operations target.
//   MakeSeedCorpus LOAD_DIR OPS_DIR
#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace RQ540;
using Bytes = std::vector<uint8_t>;

// Every step of the shapes is meant to succeed: a refused one would give seeds of
// another shape than described, so it ends the program.
void Must(int32_t result)
{
    if (result != RESULT_SUCCESS) {
        std::fprintf(stderr, "MakeSeedCorpus: a step was refused (result %d)\n", result);
        std::exit(1);
    }
}

void Fill(CRQ540Vfs& vfs, uint32_t id, uint32_t size, uint8_t type)
{
    FileHandle handle = nullptr;
    Must(vfs.CreateFile(id, type, size, &handle));
    Bytes bytes(size);
    for (uint32_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + id);
    Must(vfs.WriteFile(handle, 0, size, bytes.data()));
    Must(vfs.CloseFile(handle));
}

std::vector<Bytes> Shapes()
{
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

void Write(const std::filesystem::path& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s LOAD_DIR OPS_DIR\n", argv[0]);
        return 2;
    }
    const std::filesystem::path loadDir = argv[1];
    const std::filesystem::path opsDir = argv[2];
    std::filesystem::create_directories(loadDir);
    std::filesystem::create_directories(opsDir);

    // Create folder 0002 of 0x0200 bytes, enter it, create file 0001 of 16 bytes opened,
    // write to it, copy root entry 0, go up, delete folder 0002.
    const Bytes operations = {0, 1, 0x00, 0x02, 4, 1, 1, 1, 1, 0x10, 0x00, 1,
                              8, 0, 0, 4, 0xAA, 7, 5, 0x80, 4, 1, 5, 2, 3, 1, 10};
    const std::vector<Bytes> shapes = Shapes();
    for (size_t i = 0; i < shapes.size(); ++i) {
        const Bytes& image = shapes[i];
        Write(loadDir / ("shape" + std::to_string(i) + ".rqfs"), image);
        Bytes input = {static_cast<uint8_t>(image.size()), static_cast<uint8_t>(image.size() >> 8)};
        input.insert(input.end(), image.begin(), image.end());
        input.insert(input.end(), operations.begin(), operations.end());
        Write(opsDir / ("shape" + std::to_string(i) + ".ops"), input);
    }
    return 0;
}
