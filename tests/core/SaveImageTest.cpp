#include "../FifoUnblocker.h"
#include "FaultyIo.h"
#include "TreeBuilder.h"

#include "rq540/ImageLock.h"
#include "rq540/PendingRemoval.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

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

namespace {

namespace fs = std::filesystem;
using DiskFile::FileProblem;

constexpr unsigned kNobody = 65534;

// Runs body in a child process, as the ordinary user nobody when the tests run as root
// and ordinaryUser is set, so that permissions apply to it. Answers body's result, or
// minus the signal that ended the child.
int RunInChild(const std::function<int()>& body, bool ordinaryUser)
{
    const pid_t pid = fork();
    if (pid == 0) {
        if (ordinaryUser && geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(100);
        _exit(body());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

// A save's outcome as one number that a child process can exit with.
constexpr int Refused(int32_t detail, FileProblem problem)
{
    return detail * 16 + static_cast<int>(problem);
}

int SaveOutcome(CRQ540Vfs& vfs, const fs::path& path)
{
    return vfs.SaveImage(path) == 0 ? 0 : Refused(vfs.GetLastDetail(), vfs.GetLastFileProblem());
}

// Records the permissions of the file being written when it is created and whenever
// bytes go into it.
class ModeRecordingIo : public FaultyIo {
public:
    ModeRecordingIo() : FaultyIo(Call::Count, 0) {}
    std::FILE* Create(const fs::path& path, unsigned permissions) override
    {
        std::FILE* file = FaultyIo::Create(path, permissions);
        Record(file);
        return file;
    }
    std::size_t Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        Record(file);
        return FaultyIo::Write(buffer, size, count, file);
    }
    std::vector<unsigned> modes;

private:
    void Record(std::FILE* file)
    {
        struct stat status;
        if (file && fstat(fileno(file), &status) == 0)
            modes.push_back(status.st_mode & 0777);
    }
};

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

TEST(SaveImage, PermissionsOfTheImageAndItsFolderAreRespected)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    const fs::path image = dir / "card.rqfs";
    ASSERT_EQ(vfs.SaveImage(image), 0);
    const Bytes previous = ReadBytes(image);
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);

    // The folder would allow the replacement; the image's own permissions forbid it.
    ASSERT_EQ(chmod(image.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    EXPECT_EQ(RunInChild([&] { return SaveOutcome(vfs, image); }, true),
              Refused(DETAIL_OPEN_FAILED, FileProblem::NOT_WRITABLE));
    EXPECT_EQ(fs::status(image).permissions(), static_cast<fs::perms>(0444));

    // A writable image in a folder that is not writable.
    ASSERT_EQ(chmod(image.c_str(), 0666), 0);
    ASSERT_EQ(chmod(dir.Path().c_str(), 0555), 0);
    EXPECT_EQ(RunInChild([&] { return SaveOutcome(vfs, image); }, true),
              Refused(DETAIL_OPEN_FAILED, FileProblem::FOLDER_NOT_WRITABLE));
    ASSERT_EQ(chmod(dir.Path().c_str(), 0700), 0);

    EXPECT_EQ(ReadBytes(image), previous);
    EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(SaveImage, SymbolicLinksStayAndTheFileTheyNameIsReplaced)
{
    TempDir dir;
    fs::create_directory(dir / "real");
    fs::create_symlink("real/card.rqfs", dir / "link.rqfs");
    CRQ540Vfs vfs(0);
    // Dangling at first: the save creates the file the link names.
    ASSERT_EQ(vfs.SaveImage(dir / "link.rqfs"), 0);
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);
    ASSERT_EQ(vfs.SaveImage(dir / "link.rqfs"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "link.rqfs"));
    EXPECT_EQ(ReadBytes(dir / "real" / "card.rqfs"), VfsArchive::SerializeImage(vfs.GetRoot(), 0));
    EXPECT_EQ(dir.FileCount(), 2u);

    fs::create_symlink("loop-b", dir / "loop-a");
    fs::create_symlink("loop-a", dir / "loop-b");
    EXPECT_EQ(SaveOutcome(vfs, dir / "loop-a"), Refused(DETAIL_OPEN_FAILED, FileProblem::LINK_LOOP));
}

TEST(SaveImage, AHardLinkedImageIsRefusedRatherThanSplit)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    const Bytes previous = ReadBytes(dir / "card.rqfs");
    fs::create_hard_link(dir / "card.rqfs", dir / "other.rqfs");
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);
    EXPECT_EQ(SaveOutcome(vfs, dir / "card.rqfs"),
              Refused(DETAIL_OPEN_FAILED, FileProblem::HARD_LINKED));
    EXPECT_EQ(ReadBytes(dir / "card.rqfs"), previous);
    EXPECT_EQ(fs::hard_link_count(dir / "other.rqfs"), 2u);
    EXPECT_EQ(dir.FileCount(), 2u);
}

TEST(SaveImage, TheTemporaryFileIsNeverMoreReadableThanTheImage)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    const fs::path image = dir / "card.rqfs";
    ASSERT_EQ(vfs.SaveImage(image), 0);
    for (unsigned mode : {0600u, 0640u}) {
        ASSERT_EQ(chmod(image.c_str(), mode), 0);
        ModeRecordingIo io;
        ASSERT_EQ(vfs.SaveImage(image), 0);
        ASSERT_FALSE(io.modes.empty());
        for (unsigned seen : io.modes)
            EXPECT_EQ(seen & ~mode, 0u) << std::oct << seen << " for an image of " << mode;
        EXPECT_EQ(fs::status(image).permissions(), static_cast<fs::perms>(mode));
    }
}

TEST(SaveImage, OwnerAndGroupAreKept)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root may save a file that stays another user's";
    TempDir dir;
    CRQ540Vfs vfs(0);
    const fs::path image = dir / "card.rqfs";
    ASSERT_EQ(vfs.SaveImage(image), 0);
    ASSERT_EQ(chown(image.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chmod(image.c_str(), 0640), 0);
    ASSERT_EQ(vfs.SaveImage(image), 0);
    struct stat status;
    ASSERT_EQ(stat(image.c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, kNobody);
    EXPECT_EQ(status.st_gid, kNobody);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST(SaveImage, ANameOfTheFullNameLengthSaves)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    const fs::path image = dir / (std::string(250, 'n') + ".rqfs");
    ASSERT_EQ(image.filename().string().size(), 255u);
    EXPECT_EQ(vfs.SaveImage(image), 0);
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);
    EXPECT_EQ(vfs.SaveImage(image), 0);
    EXPECT_EQ(ReadBytes(image), VfsArchive::SerializeImage(vfs.GetRoot(), 0));
    EXPECT_EQ(dir.FileCount(), 1u);
}

TEST(SaveImage, ASignalDuringASaveRemovesTheTemporaryAndLockFiles)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    const fs::path image = dir / "card.rqfs";
    ASSERT_EQ(vfs.SaveImage(image), 0);
    const Bytes previous = ReadBytes(image);
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);
    const int ended = RunInChild(
        [&] {
            CPendingRemoval::RemoveOnTermination();
            CImageLock lock;
            if (lock.Acquire(image, std::chrono::milliseconds(0)) != CImageLock::ACQUIRED)
                return 1;
            TerminatingIo io;
            vfs.SaveImage(image);
            return 2;
        },
        false);
    EXPECT_EQ(ended, -SIGTERM);
    EXPECT_EQ(ReadBytes(image), previous);
    EXPECT_EQ(dir.FileCount(), 1u) << "a temporary or lock file was left behind";
}

TEST(SaveImage, AFifoIsNeitherReadNorReplaced)
{
    TempDir dir;
    const fs::path fifo = dir / "card.rqfs";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CFifoUnblocker unblocker(fifo);
    CRQ540Vfs vfs;
    EXPECT_EQ(vfs.LoadImage(fifo), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(vfs.GetLastDetail(), DETAIL_OPEN_FAILED);
    EXPECT_EQ(vfs.GetLastFileProblem(), FileProblem::NOT_REGULAR);

    CRQ540Vfs fresh(0);
    EXPECT_EQ(SaveOutcome(fresh, fifo), Refused(DETAIL_FILE_OPERATION_FAILED, FileProblem::NOT_REGULAR));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(dir.FileCount(), 1u);
}
