// Makes the Nth call of one kind of file access fail, for every N a save or a load makes,
// and checks the result codes and that nothing is lost.
#include "FaultyIo.h"
#include "TreeBuilder.h"

#include <gtest/gtest.h>

#include <string>

using namespace RQ540;
using namespace testing_rq;

namespace {

// A card with some of everything in it.
void BuildCard(CRQ540Vfs& vfs)
{
    ASSERT_EQ(vfs.CreateFolder(1, 2000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 2, Bytes(300, 0x5A), 1);
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    AddFile(vfs, 3, {1, 2, 3}, 2);
}

}  // namespace

TEST(FaultInjection, EveryFailingCallOfASaveLeavesThePreviousFile)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    const Bytes previous = ReadBytes(dir / "card.rqfs");
    BuildCard(vfs);
    const Bytes wanted = VfsArchive::SerializeImage(vfs.GetRoot(), 0);

    FaultyIo counting(Call::Count, 0);
    ASSERT_EQ(vfs.SaveImage(dir / "probe.rqfs"), 0);
    std::filesystem::remove(dir / "probe.rqfs");

    int cases = 0;
    for (int kind = 0; kind < static_cast<int>(Call::Count); ++kind) {
        const Call call = static_cast<Call>(kind);
        for (int n = 1; n <= counting.Calls(call); ++n) {
            SCOPED_TRACE(std::string(CallName(call)) + " #" + std::to_string(n));
            FaultyIo faulty(call, n);
            EXPECT_EQ(vfs.SaveImage(dir / "card.rqfs"), RESULT_UNKNOWN_ERROR);
            ASSERT_TRUE(faulty.Failed());
            EXPECT_EQ(vfs.GetLastDetail(),
                      call == Call::Open ? DETAIL_OPEN_FAILED : DETAIL_FILE_OPERATION_FAILED);
            EXPECT_EQ(ReadBytes(dir / "card.rqfs"), previous);
            EXPECT_EQ(dir.FileCount(), 1u) << "a temporary file was left behind";
            ++cases;
        }
    }
    EXPECT_GE(cases, 5) << "open, write, flush, close and rename are all exercised";
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    EXPECT_EQ(ReadBytes(dir / "card.rqfs"), wanted);
}

TEST(FaultInjection, EveryFailingCallOfALoadIsReported)
{
    TempDir dir;
    CRQ540Vfs source(0);
    BuildCard(source);
    ASSERT_EQ(source.SaveImage(dir / "card.rqfs"), 0);

    CRQ540Vfs probe;
    FaultyIo counting(Call::Count, 0);
    ASSERT_EQ(probe.LoadImage(dir / "card.rqfs"), 0);

    int cases = 0;
    for (int kind = 0; kind < static_cast<int>(Call::Count); ++kind) {
        const Call call = static_cast<Call>(kind);
        for (int n = 1; n <= counting.Calls(call); ++n) {
            SCOPED_TRACE(std::string(CallName(call)) + " #" + std::to_string(n));
            CRQ540Vfs vfs(0);
            ASSERT_EQ(vfs.CreateFolder(9, 500), 0);
            FaultyIo faulty(call, n);
            const int32_t result = vfs.LoadImage(dir / "card.rqfs");
            ASSERT_TRUE(faulty.Failed());
            if (call == Call::Close) {
                // Closing a file that was only read loses nothing.
                EXPECT_EQ(result, 0);
                continue;
            }
            EXPECT_EQ(result, RESULT_UNKNOWN_ERROR);
            EXPECT_EQ(vfs.GetLastDetail(),
                      call == Call::Open ? DETAIL_OPEN_FAILED : DETAIL_FILE_OPERATION_FAILED);
            EXPECT_EQ(vfs.GetRoot(), nullptr);
            EXPECT_EQ(vfs.GetModel(), 0);
            ++cases;
        }
    }
    EXPECT_GE(cases, 6) << "open, two reads, two seeks and the tell are all exercised";
}
