// Runs the input as an rqfs batch script against a card image, through the command line
// itself. Whatever the script, the run ends with status 0, 1 or 2; a failed run leaves
// the image byte for byte as it was; a successful one leaves an image that loads and is
// exactly what its tree serialises to; and no temporary or lock file is ever left behind.
//
// The script runs in a scratch folder of its own holding the image, the script and one
// input file. Scripts that could reach beyond it are skipped: export, the one command
// that writes a disk file, and names under /dev or /proc, whose devices may wait for input.
#include "FuzzSupport.h"

#include "CommandLine.h"

#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

using namespace RQ540;
using Bytes = std::vector<uint8_t>;

constexpr const char* kImage = "card.rqfs";
constexpr const char* kScript = "script.rqb";
constexpr const char* kInput = "input.bin";

// A card with a folder holding a file, and a file in the root, so that scripts can copy,
// read and delete without building anything first.
Bytes StartImage()
{
    CRQ540Vfs vfs(0);
    FileHandle handle = nullptr;
    // Every step fits a fresh card; a refusal here is a broken fuzz target, so it stops.
    fuzz_rq::Require(vfs.CreateFolder(1, 2000) == 0);
    fuzz_rq::Require(vfs.ChangeDirectory("0001") == 0);
    fuzz_rq::Require(vfs.CreateFile(2, FILE_TYPE_DATA, 8, &handle) == 0);
    const uint8_t bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    fuzz_rq::Require(vfs.WriteFile(handle, 0, sizeof bytes, bytes) == 0);
    fuzz_rq::Require(vfs.CloseFile(handle) == 0);
    fuzz_rq::Require(vfs.ChangeDirectory("\\") == 0);
    fuzz_rq::Require(vfs.CreateFile(3, FILE_TYPE_PRIVATE_KEY, 16) == 0);
    return VfsArchive::SerializeImage(vfs.GetRoot(), 0);
}

Bytes ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Reaches(std::string_view script)
{
    for (const std::string_view word : {"export", "/dev", "/proc"}) {
        if (script.find(word) != std::string_view::npos)
            return true;
    }
    return false;
}

// Changes into the scratch folder for one run and back afterwards, since libFuzzer
// resolves its own relative paths against the folder it started in.
class CScratchFolder {
public:
    CScratchFolder() : m_home(std::filesystem::current_path())
    {
        std::filesystem::create_directories(Folder());
        std::filesystem::current_path(Folder());
    }
    ~CScratchFolder() { std::filesystem::current_path(m_home); }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    static const std::filesystem::path& Folder()
    {
        static const std::filesystem::path folder =
            fuzz_rq::ScratchPath("batch").replace_extension();
        return folder;
    }

private:
    std::filesystem::path m_home;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view script(reinterpret_cast<const char*>(data), size);
    if (Reaches(script))
        return 0;
    static const Bytes start = StartImage();

    CScratchFolder scratch;
    fuzz_rq::WriteFile(kImage, start.data(), start.size());
    fuzz_rq::WriteFile(kScript, data, size);
    const uint8_t input[] = {'K', 'E', 'Y', 0, 0xFF};
    fuzz_rq::WriteFile(kInput, input, sizeof input);

    std::istringstream in("piped bytes");
    std::ostringstream out;
    std::ostringstream err;
    Cli::CCommandLine commandLine(in, out, err);
    const char* const argv[] = {"rqfs", "batch", kImage, kScript};
    const int status = commandLine.Run(4, argv);
    fuzz_rq::Require(status == 0 || status == 1 || status == 2);

    const Bytes image = ReadAll(kImage);
    if (status != 0) {
        fuzz_rq::Require(image == start);
        fuzz_rq::Require(!err.str().empty());
    } else {
        CRQ540Vfs vfs;
        fuzz_rq::Require(vfs.LoadImage(kImage) == 0);
        fuzz_rq::Require(VfsArchive::SerializeImage(vfs.GetRoot(), vfs.GetModel()) == image);
    }
    std::size_t entries = 0;
    for (auto it = std::filesystem::directory_iterator("."); it != std::filesystem::directory_iterator(); ++it)
        ++entries;
    fuzz_rq::Require(entries == 3);
    return 0;
}
