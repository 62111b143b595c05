#include "../PosixOnly.h"
#include "FaultyIo.h"
#include "TreeBuilder.h"

#include "rq540/ImageLock.h"
#include "rq540/PendingRemoval.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>

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
    RQ_POSIX_ONLY("permission bits");
    TempDir dir;
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    using std::filesystem::perms;
    std::filesystem::permissions(dir / "card.rqfs", perms::owner_read | perms::owner_write | perms::group_read);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    EXPECT_EQ(std::filesystem::status(dir / "card.rqfs").permissions(),
              perms::owner_read | perms::owner_write | perms::group_read);
}

namespace {

namespace fs = std::filesystem;
using DiskFile::FileProblem;

#ifndef _WIN32
// Records the permissions each new file has the moment it exists.
class ModeRecordingIo : public FaultyIo {
public:
    ModeRecordingIo() : FaultyIo(Call::Count, 0) {}
    std::FILE* Create(const fs::path& path, unsigned permissions) override
    {
        std::FILE* file = FaultyIo::Create(path, permissions);
        struct stat status;
        if (file && fstat(fileno(file), &status) == 0)
            modes.push_back(status.st_mode & 0777);
        return file;
    }
    std::vector<unsigned> modes;
};
#endif

// Ends the process by SIGTERM once the image is written but not yet in place.
class TerminatingIo : public FaultyIo {
public:
    TerminatingIo() : FaultyIo(Call::Count, 0) {}
    bool Flush(std::FILE* file) override
    {
        std::raise(SIGTERM);
        return FaultyIo::Flush(file);
    }
};

}  // namespace

// A card saved once, then changed, so that the next save would replace the file.
class SavedImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(vfs.SaveImage(image), 0);
        previous = ReadBytes(image);
        ASSERT_EQ(vfs.CreateFolder(1, 500), 0);
    }

    void ExpectRefused(const fs::path& path, int32_t detail, FileProblem problem)
    {
        EXPECT_EQ(vfs.SaveImage(path), RESULT_UNKNOWN_ERROR);
        EXPECT_EQ(vfs.GetLastDetail(), detail);
        EXPECT_EQ(vfs.GetLastFileProblem(), problem);
        EXPECT_EQ(ReadBytes(image), previous);
    }

    TempDir dir;
    CRQ540Vfs vfs{0};
    const fs::path image = dir / "card.rqfs";
    Bytes previous;
};

TEST_F(SavedImage, WhatCannotBeReplacedWholeIsRefusedAndLeftAlone)
{
    fs::create_hard_link(image, dir / "other.rqfs");
    ExpectRefused(image, DETAIL_OPEN_FAILED, FileProblem::HARD_LINKED);
    EXPECT_EQ(ReadBytes(dir / "other.rqfs"), previous);
#ifndef _WIN32
    // The C++ library of Windows counts no links.
    EXPECT_EQ(fs::hard_link_count(image), 2u);
#endif

    fs::create_directory(dir / "folder");
    ExpectRefused(dir / "folder", DETAIL_FILE_OPERATION_FAILED, FileProblem::NOT_REGULAR);
    EXPECT_TRUE(fs::is_directory(dir / "folder"));
    EXPECT_EQ(dir.FileCount(), 3u) << "a temporary file was left behind";
}

TEST_F(SavedImage, LinkLoopsAndFifosAreRefusedAndLeftAlone)
{
    RQ_POSIX_ONLY("symbolic links any user may make, and FIFOs");
#ifndef _WIN32
    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    ExpectRefused(dir / "loop-a", DETAIL_OPEN_FAILED, FileProblem::LINK_LOOP);

    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    ExpectRefused(dir / "fifo", DETAIL_FILE_OPERATION_FAILED, FileProblem::NOT_REGULAR);
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    EXPECT_EQ(dir.FileCount(), 4u) << "a temporary file was left behind";
#endif
}

TEST_F(SavedImage, TheTemporaryFileIsNeverMoreReadableThanTheImage)
{
    RQ_POSIX_ONLY("permission bits");
#ifndef _WIN32
    for (unsigned mode : {0600u, 0640u}) {
        ASSERT_EQ(chmod(image.c_str(), mode), 0);
        ModeRecordingIo io;
        ASSERT_EQ(vfs.SaveImage(image), 0);
        ASSERT_FALSE(io.modes.empty());
        for (unsigned seen : io.modes)
            EXPECT_EQ(seen & ~mode, 0u) << std::oct << seen << " for an image of " << mode;
        EXPECT_EQ(fs::status(image).permissions(), static_cast<fs::perms>(mode));
    }
#endif
}

TEST_F(SavedImage, OwnerAndGroupAreKept)
{
    RQ_POSIX_ONLY("owners and groups");
#ifndef _WIN32
    constexpr unsigned kNobody = 65534;
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may save a file that stays another user's";
    ASSERT_EQ(chown(image.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(image.c_str(), 0640), 0);
    ASSERT_EQ(vfs.SaveImage(image), 0);
    struct stat status;
    ASSERT_EQ(stat(image.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, kNobody);
    EXPECT_EQ(status.st_gid, kNobody);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
#endif
}

TEST(PendingRemoval, RecordedFilesGoEvenWhileTheyAreOpen)
{
    TempDir dir;
    // Created as a save creates its temporary file, and still being written.
    std::FILE* open = GetFileIo().Create(dir / "temporary", 0600);
    ASSERT_NE(open, nullptr);
    WriteBytes(dir / "kept", {1});
    CPendingRemoval::Set(CPendingRemoval::TEMPORARY_FILE, dir / "temporary");
    CPendingRemoval::Set(CPendingRemoval::LOCK_FILE, dir / "kept");
    CPendingRemoval::Clear(CPendingRemoval::LOCK_FILE);
    CPendingRemoval::RemoveRecordedFiles();
    CPendingRemoval::Clear(CPendingRemoval::TEMPORARY_FILE);
    GetFileIo().Close(open);
    EXPECT_FALSE(fs::exists(dir / "temporary"));
    EXPECT_TRUE(fs::exists(dir / "kept")) << "a file no longer recorded was removed";
}

TEST_F(SavedImage, ASignalDuringASaveRemovesTheTemporaryAndLockFiles)
{
    RQ_POSIX_ONLY("signals");
#ifndef _WIN32
    // In a child process, which the signal ends.
    const pid_t child = fork();
    if (child == 0) {
        CPendingRemoval::RemoveOnTermination();
        CImageLock lock;
        if (lock.Acquire(image, std::chrono::milliseconds(0)) == CImageLock::ACQUIRED) {
            TerminatingIo io;
            // The signal ends the save half-way, so there is no result to look at.
            (void)vfs.SaveImage(image);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(ReadBytes(image), previous);
    EXPECT_EQ(dir.FileCount(), 1u) << "a temporary or lock file was left behind";
#endif
}
