// Disk files handled with care: bounded reads, file identities and the image lock.
#include "../FifoUnblocker.h"
#include "../PosixOnly.h"
#include "TreeBuilder.h"

#include "rq540/DiskFile.h"
#include "rq540/ImageLock.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <chrono>

using namespace RQ540;
using namespace RQ540::DiskFile;
using namespace testing_rq;
namespace fs = std::filesystem;

namespace {

constexpr uint64_t kCapacity = 61988;
constexpr std::chrono::milliseconds kNoWait{0};

}  // namespace

TEST(DiskFile, ReadBoundedReadsOneBytePastTheLimitAtMost)
{
    TempDir dir;
    WriteBytes(dir / "exact.bin", Bytes(100, 7));
    fs::create_directory(dir / "folder");
    Bytes bytes;
    EXPECT_EQ(ReadBounded(dir / "exact.bin", 100, bytes), FileProblem::NONE);
    EXPECT_EQ(bytes, Bytes(100, 7));
    EXPECT_EQ(ReadBounded(dir / "exact.bin", 99, bytes), FileProblem::TOO_LONG);
    EXPECT_EQ(bytes, Bytes(99, 7));

    EXPECT_EQ(ReadBounded(dir / "folder", kCapacity, bytes), FileProblem::NOT_REGULAR);
    EXPECT_EQ(ReadBounded(dir / "missing", kCapacity, bytes), FileProblem::NOT_FOUND);
    EXPECT_TRUE(bytes.empty());
    EXPECT_TRUE(IsRegularFile(dir / "exact.bin"));
    EXPECT_FALSE(IsRegularFile(dir / "folder"));
}

TEST(DiskFile, ReadBoundedNeitherWaitsForAFifoNorReadsAllOfAnEndlessDevice)
{
    RQ_POSIX_ONLY("FIFOs and /dev/zero");
#ifndef _WIN32
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    CFifoUnblocker unblocker(dir / "fifo");
    Bytes bytes;
    EXPECT_EQ(ReadBounded("/dev/zero", kCapacity, bytes), FileProblem::TOO_LONG);
    EXPECT_EQ(bytes.size(), kCapacity);
    EXPECT_EQ(ReadBounded(dir / "fifo", kCapacity, bytes), FileProblem::NOT_REGULAR);
    EXPECT_TRUE(bytes.empty());
    EXPECT_FALSE(IsRegularFile(dir / "fifo"));
#endif
}

TEST(DiskFile, TheIdentityChangesWithEveryNewStateOfTheFile)
{
    TempDir dir;
    const fs::path file = dir / "card.rqfs";
    WriteBytes(file, {1, 2, 3});
    const auto loaded = GetIdentity(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(GetIdentity(file), loaded);

    // Rewritten in place with as many bytes, then replaced by a copy of the same time.
    WriteBytes(file, {4, 5, 6});
    fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(1));
    const auto rewritten = GetIdentity(file);
    EXPECT_NE(rewritten, loaded);
    fs::copy_file(file, dir / "copy");
    fs::last_write_time(dir / "copy", fs::last_write_time(file));
    fs::rename(dir / "copy", file);
    EXPECT_NE(GetIdentity(file), rewritten);
    EXPECT_FALSE(GetIdentity(dir / "missing"));
}

TEST(ImageLock, OneHolderAtATimeWhicheverNameLeadsToTheImage)
{
    TempDir dir;
    const fs::path image = dir / "card.rqfs";
    WriteBytes(image, {});
    // Only POSIX lets every user make a symbolic link.
#ifdef _WIN32
    const fs::path other = image;
#else
    const fs::path other = dir / "link.rqfs";
    fs::create_symlink("card.rqfs", other);
#endif
    const std::size_t files = dir.FileCount();
    CImageLock first;
    ASSERT_EQ(first.Acquire(image, kNoWait), CImageLock::ACQUIRED);
    CImageLock second;
    EXPECT_EQ(second.Acquire(other, std::chrono::milliseconds(50)), CImageLock::TIMED_OUT);
    first.Release();
    EXPECT_EQ(dir.FileCount(), files) << "releasing removes the lock file";

    // A file left by a killed holder holds no lock.
    WriteBytes(dir / "card.rqfs.lock", {});
    EXPECT_EQ(second.Acquire(other, kNoWait), CImageLock::ACQUIRED);
    EXPECT_EQ(second.GetPath(), dir / "card.rqfs.lock");
}

TEST(ImageLock, TakingItRemovesWhatKilledSavesOfTheImageLeftAndNothingElse)
{
    TempDir dir;
    const fs::path image = dir / "card.rqfs";
    WriteBytes(image, {});
    // No system gives a process this number: its saves were killed long ago.
    constexpr uint32_t kGone = 0x7FFFFFFF;
    const fs::path killed = TemporaryPathFor(image, kGone);
    const fs::path running = TemporaryPathFor(image, CurrentProcess());
    const fs::path otherImage = TemporaryPathFor(dir / "other.rqfs", kGone);
    for (const fs::path& file : {killed, running, otherImage})
        WriteBytes(file, {1});
    ASSERT_EQ(dir.FileCount(), 4u) << "the three names are not all different";

    CImageLock lock;
    ASSERT_EQ(lock.Acquire(image, kNoWait), CImageLock::ACQUIRED);
    EXPECT_FALSE(fs::exists(killed));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::exists(otherImage));
}
