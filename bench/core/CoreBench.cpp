// The core's image reader and writer against what any program must do to read or
// durably replace the same bytes.
#include "RatioBench.h"
#include "ScratchDirectory.h"
#include "FullCard.h"

#include "rq540/VfsArchive.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace RQ540;
using namespace RQ540::Bench;

// Reads the whole file the way the reader does (length first, then one read) and copies
// the bytes once, as building any tree from them must.
void ReadAndCopy(benchmark::State& state, const std::filesystem::path& image)
{
    for (auto _ : state) {
        std::FILE* file = std::fopen(image.c_str(), "rb");
        if (!file || std::fseek(file, 0, SEEK_END) != 0) {
            state.SkipWithError("cannot open the image");
            break;
        }
        const auto length = static_cast<std::size_t>(std::ftell(file));
        std::fseek(file, 0, SEEK_SET);
        std::unique_ptr<uint8_t[]> bytes(new uint8_t[length]);
        std::unique_ptr<uint8_t[]> copy(new uint8_t[length]);
        const std::size_t read = std::fread(bytes.get(), 1, length, file);
        std::fclose(file);
        std::memcpy(copy.get(), bytes.get(), read);
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
}

// Loads as a user does: every Open and every rqfs run makes a new card object, loads the
// image into it and later destroys it, so all three are timed.
void Load(benchmark::State& state, const std::filesystem::path& image)
{
    for (auto _ : state) {
        CRQ540Vfs vfs;
        if (vfs.LoadImage(image) != RESULT_SUCCESS) {
            state.SkipWithError("the full card does not load");
            break;
        }
        benchmark::DoNotOptimize(vfs.GetRoot());
    }
}

// Writes the bytes beside the target, makes them durable, renames them over it and makes
// the rename durable by syncing the folder, as a save must for the new file to survive a
// power cut.
void WriteSyncRename(benchmark::State& state, const std::vector<uint8_t>& bytes,
                     const std::filesystem::path& target)
{
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    for (auto _ : state) {
        std::FILE* file = std::fopen(temporary.c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), bytes.size(), 1, file) != 1 ||
            std::fflush(file) != 0 || fsync(fileno(file)) != 0 || std::fclose(file) != 0 ||
            std::rename(temporary.c_str(), target.c_str()) != 0) {
            state.SkipWithError("cannot replace the file");
            break;
        }
        const int folder = open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY);
        if (folder < 0 || fsync(folder) != 0 || close(folder) != 0) {
            state.SkipWithError("cannot sync the folder");
            break;
        }
    }
}

void Save(benchmark::State& state, CRQ540Vfs& vfs, const std::filesystem::path& target)
{
    for (auto _ : state) {
        if (vfs.SaveImage(target) != RESULT_SUCCESS) {
            state.SkipWithError("the full card does not save");
            break;
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const CScratchDirectory scratch;
    CRQ540Vfs card(0);
    BuildFullCard(card);
    const auto image = scratch / "full.rqfs";
    if (card.SaveImage(image) != RESULT_SUCCESS) {
        std::fprintf(stderr, "core bench: cannot write %s\n", image.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes = VfsArchive::SerializeImage(card.GetRoot(), 0);

    AddRatioRow("load", "load + validate a full card (356 files, 25 folders)", "read + memcpy",
                2.0, [&](benchmark::State& state) { Load(state, image); },
                [&](benchmark::State& state) { ReadAndCopy(state, image); });
    AddRatioRow("save", "save a full card", "write + fsync + rename + folder fsync", 1.1,
                [&](benchmark::State& state) { Save(state, card, scratch / "saved.rqfs"); },
                [&](benchmark::State& state) {
                    WriteSyncRename(state, bytes, scratch / "written.rqfs");
                });
    return RunRatioBenchmarks(argc, argv);
}
