// Reads and builds the input as the card.json of a dump folder, as rqfs build does. Whatever
// the manifest, the build either succeeds or ends with a CCliError that names the manifest
// and leaves no image; a built image loads, is exactly what its tree serialises to, and
// dumping it and building that dump gives the same bytes again; no temporary file is ever
// left behind. Any other exception ends the run, and the fuzzer records it.
//
// Each input is built in four dump folders, one per seed shape, each holding the payload
// files rqfs dump wrote for that shape: the seeds name payload files of several lengths
// under the same name, and every seed meets its own.
#include "FuzzSupport.h"
#include "SeedShapes.h"

#include "CardSession.h"
#include "CliError.h"
#include "LayoutBuild.h"
#include "LayoutDump.h"

#include "rq540/DiskFile.h"
#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace RQ540;
using fuzz_rq::Bytes;

Bytes ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const fs::path& Scratch()
{
    static const fs::path folder = fuzz_rq::ScratchPath("manifest").replace_extension();
    return folder;
}

// The dump folder of every seed shape, made once per process by rqfs dump's own code.
const std::vector<fs::path>& ShapeFolders()
{
    static const std::vector<fs::path> folders = [] {
        fs::remove_all(Scratch());
        fs::create_directories(Scratch());
        const fs::path image = Scratch() / "shape.rqfs";
        std::vector<fs::path> made;
        for (const Bytes& shape : fuzz_rq::SeedShapes()) {
            made.push_back(Scratch() / ("shape" + std::to_string(made.size())));
            fuzz_rq::WriteFile(image, shape.data(), shape.size());
            CRQ540Vfs vfs;
            fuzz_rq::Require(vfs.LoadImage(image) == RESULT_SUCCESS);
            Cli::DumpLayout(vfs, made.back(), {}, "dump");
        }
        fs::remove(image);
        return made;
    }();
    return folders;
}

// What rqfs build does between taking the lock and saving: folder's manifest built on a
// fresh card of its model, written to image.
void BuildImage(const fs::path& folder, const fs::path& image)
{
    const std::string where = "build " + DiskFile::GenericUtf8FromPath(Cli::ManifestPathOf(folder));
    const Cli::CardLayout layout = Cli::ReadLayout(folder, where);
    Cli::CCardSession card(image, layout.model);
    Cli::CLayoutBuilder(card, where, false).Build(layout.root);
    card.Save();
}

// Only the dump folders stand in the scratch folder between runs.
bool OnlyFolders()
{
    return std::all_of(fs::directory_iterator(Scratch()), fs::directory_iterator(),
                       [](const fs::directory_entry& entry) { return entry.is_directory(); });
}

void Build(const fs::path& folder, const uint8_t* data, size_t size)
{
    const fs::path image = Scratch() / "built.rqfs";
    const fs::path manifest = folder / "card.json";
    fuzz_rq::WriteFile(manifest, data, size);
    try {
        BuildImage(folder, image);
    } catch (const Cli::CCliError& error) {
        fuzz_rq::Require(error.GetMessage().starts_with("build " + manifest.string()));
        fuzz_rq::Require(OnlyFolders());
        return;
    }
    const Bytes bytes = ReadAll(image);
    CRQ540Vfs vfs;
    fuzz_rq::Require(vfs.LoadImage(image) == RESULT_SUCCESS);
    fuzz_rq::Require(VfsArchive::SerializeImage(vfs.GetRoot(), vfs.GetModel()) == bytes);

    const fs::path redump = Scratch() / "redump";
    const fs::path rebuilt = Scratch() / "rebuilt.rqfs";
    Cli::DumpLayout(vfs, redump, {.force = true}, "dump");
    BuildImage(redump, rebuilt);
    fuzz_rq::Require(ReadAll(rebuilt) == bytes);
    fs::remove(image);
    fs::remove(rebuilt);
    fuzz_rq::Require(OnlyFolders());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const fs::path& folder : ShapeFolders())
        Build(folder, data, size);
    return 0;
}
