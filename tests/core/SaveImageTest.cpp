#include "FaultyIo.h"
#include "TreeBuilder.h"

#include <gtest/gtest.h>

using namespace RQ540;
using namespace testing_rq;

TEST(SaveImage, FailedSaveLeavesThePreviousFileIntact)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    const Bytes previous = ReadBytes(dir / "card.rqfs");
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);

    for (Call fail : {Call::Write, Call::Flush, Call::Close, Call::Rename}) {
        FaultyIo io(fail, 1);
        EXPECT_EQ(vfs.SaveImage(dir / "card.rqfs"), RESULT_UNKNOWN_ERROR);
        EXPECT_EQ(vfs.GetLastDetail(), DETAIL_FILE_OPERATION_FAILED);
        EXPECT_EQ(ReadBytes(dir / "card.rqfs"), previous);
        EXPECT_EQ(dir.FileCount(), 1u) << "no temporary file is left";
    }

    // Once the disk works again the save replaces the file.
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    EXPECT_EQ(ReadBytes(dir / "card.rqfs"), VfsArchive::SerializeImage(vfs.GetRoot(), 0));
    EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(SaveImage, UncreatableFileIsAnOpenFailure)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    EXPECT_EQ(vfs.SaveImage(dir / "no-such-folder" / "card.rqfs"), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(vfs.GetLastDetail(), DETAIL_OPEN_FAILED);
    EXPECT_EQ(dir.FileCount(), 0u);

    // A folder in the way cannot be replaced by the image.
    std::filesystem::create_directory(dir / "taken.rqfs");
    EXPECT_EQ(vfs.SaveImage(dir / "taken.rqfs"), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(vfs.GetLastDetail(), DETAIL_FILE_OPERATION_FAILED);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "taken.rqfs"));
    EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(SaveImage, ReplacedFileKeepsItsPermissions)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    using std::filesystem::perms;
    std::filesystem::permissions(dir / "card.rqfs", perms::owner_read | perms::owner_write | perms::group_read);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    EXPECT_EQ(std::filesystem::status(dir / "card.rqfs").permissions(),
              perms::owner_read | perms::owner_write | perms::group_read);
}
