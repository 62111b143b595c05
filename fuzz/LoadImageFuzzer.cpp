// Feeds arbitrary bytes to the image reader through LoadImage, both in a fresh card and in
// one that loaded every earlier input. Whatever it accepts must add up to the card's
// capacity and save back to a file that loads to the same bytes.
#include "FuzzSupport.h"

#include "rq540/RQ540Vfs.h"
#include "rq540/VfsArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace RQ540;
    const auto path = fuzz_rq::ScratchPath("load");
    fuzz_rq::WriteFile(path, data, size);

    CRQ540Vfs vfs;
    const int32_t result = vfs.LoadImage(path);
    // A reader that has loaded every input before, accepted or rejected, keeps nothing
    // from them that changes its answer.
    static CRQ540Vfs reused;
    fuzz_rq::Require(reused.LoadImage(path) == result);
    if (result != 0) {
        fuzz_rq::Require(result == RESULT_UNKNOWN_ERROR);
        fuzz_rq::Require(vfs.GetRoot() == nullptr);
        return 0;
    }
    fuzz_rq::Require(GetFolderTotalSize64(vfs.GetRoot(), vfs.GetModel()) == GetCapacity(0));
    const auto image = VfsArchive::SerializeImage(vfs.GetRoot(), vfs.GetModel());
    fuzz_rq::Require(vfs.SaveImage(path) == 0);
    CRQ540Vfs again;
    fuzz_rq::Require(again.LoadImage(path) == 0);
    fuzz_rq::Require(VfsArchive::SerializeImage(again.GetRoot(), again.GetModel()) == image);
    return 0;
}
