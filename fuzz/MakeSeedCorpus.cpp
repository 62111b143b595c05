// Writes the fuzzers' seed corpus: valid images of different shapes for the reader, and
// the same images followed by a few operations for the operations target.
//   MakeSeedCorpus LOAD_DIR OPS_DIR
// The manifest target's seeds are what rqfs dump writes for those images:
//   rqfs dump LOAD_DIR/shapeN.rqfs DIR; then DIR/card.json is corpus/manifest/shapeN.json
//   rqfs dump LOAD_DIR/shapeN.rqfs - > corpus/manifest/shapeN-one-file.json (not for shape0,
//   which has no payloads and so the same manifest either way)
#include "SeedShapes.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using fuzz_rq::Bytes;

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
    const std::vector<Bytes> shapes = fuzz_rq::SeedShapes();
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
