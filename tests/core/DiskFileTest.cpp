// Disk files handled with care: bounded reads, file identities and the image lock.
#include "../FifoUnblocker.h"
#include "TreeBuilder.h"

#include "rq540/DiskFile.h"
#include "rq540/ImageLock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>

using namespace RQ540;
using namespace RQ540::DiskFile;
using namespace testing_rq;
namespace fs = std::filesystem;

namespace {

constexpr uint64_t kCapacity = 61988;
constexpr std::chrono::milliseconds kNoWait{0};

}  // namespace

TEST(DiskFile, ReadBoundedStopsOneBytePastTheLimit)
{
    TempDir dir;
    WriteBytes(dir / "exact.bin", Bytes(100, 7));
    Bytes bytes;
    EXPECT_EQ(ReadBounded(dir / "exact.bin", 100, bytes), FileProblem::NONE);
    EXPECT_EQ(bytes, Bytes(100, 7));
    EXPECT_EQ(ReadBounded(dir / "exact.bin", 99, bytes), FileProblem::TOO_LONG);
    EXPECT_EQ(bytes, Bytes(99, 7));

    // Endless and huge inputs cost no more than the limit.
    EXPECT_EQ(ReadBounded("/dev/zero", kCapacity, bytes), FileProblem::TOO_LONG);
    EXPECT_EQ(bytes.size(), kCapacity);
    WriteBytes(dir / "sparse.bin", {});
    fs::resize_file(dir / "sparse.bin", 3ULL << 30);
    EXPECT_EQ(ReadBounded(dir / "sparse.bin", kCapacity, bytes), FileProblem::TOO_LONG);
    EXPECT_EQ(bytes.size(), kCapacity);

    EXPECT_EQ(ReadBounded("/dev/null", kCapacity, bytes), FileProblem::NONE);
    EXPECT_TRUE(bytes.empty());
}

TEST(DiskFile, ReadBoundedRefusesWhatIsNoFile)
{
    TempDir dir;
    fs::create_directory(dir / "folder");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    CFifoUnblocker unblocker(dir / "fifo");
    Bytes bytes{1};
    EXPECT_EQ(ReadBounded(dir / "folder", kCapacity, bytes), FileProblem::NOT_REGULAR);
    EXPECT_EQ(ReadBounded(dir / "fifo", kCapacity, bytes), FileProblem::NOT_REGULAR);
    EXPECT_EQ(ReadBounded(dir / "missing", kCapacity, bytes), FileProblem::OPEN_FAILED);
    EXPECT_TRUE(bytes.empty());

    WriteBytes(dir / "file", {1});
    fs::create_symlink("file", dir / "link");
    EXPECT_TRUE(IsRegularFile(dir / "file"));
    EXPECT_TRUE(IsRegularFile(dir / "link"));
    EXPECT_FALSE(IsRegularFile(dir / "folder"));
    EXPECT_FALSE(IsRegularFile(dir / "fifo"));
    EXPECT_FALSE(IsRegularFile(dir / "missing"));
}

TEST(DiskFile, TheIdentityChangesWithEveryNewStateOfTheFile)
{
    TempDir dir;
    const fs::path file = dir / "card.rqfs";
    WriteBytes(file, {1, 2, 3});
    const auto loaded = GetIdentity(file);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(GetIdentity(file), loaded);

    // Rewritten in place, same size, later time.
    WriteBytes(file, {4, 5, 6});
    const auto written = fs::last_write_time(file);
    fs::last_write_time(file, written + std::chrono::seconds(1));
    const auto rewritten = GetIdentity(file);
    EXPECT_NE(rewritten, loaded);

    // Replaced by another file of the same size and time.
    WriteBytes(dir / "other", {4, 5, 6});
    fs::last_write_time(dir / "other", fs::last_write_time(file));
    fs::rename(dir / "other", file);
    EXPECT_NE(GetIdentity(file), rewritten);

    EXPECT_FALSE(GetIdentity(dir / "missing"));
}

TEST(ImageLock, OneHolderAtATimeWhicheverNameLeadsToTheImage)
{
    TempDir dir;
    const fs::path image = dir / "card.rqfs";
    WriteBytes(image, {});
    fs::create_symlink("card.rqfs", dir / "link.rqfs");

    CImageLock first;
    ASSERT_EQ(first.Acquire(image, kNoWait), CImageLock::ACQUIRED);
    EXPECT_EQ(first.GetPath(), dir / "card.rqfs.lock");
    CImageLock second;
    EXPECT_EQ(second.Acquire(dir / "link.rqfs", std::chrono::milliseconds(50)), CImageLock::TIMED_OUT);
    first.Release();
    EXPECT_FALSE(fs::exists(dir / "card.rqfs.lock"));
    EXPECT_EQ(second.Acquire(dir / "link.rqfs", kNoWait), CImageLock::ACQUIRED);
    second.Release();

    // A file left by a killed holder holds no lock.
    WriteBytes(dir / "card.rqfs.lock", {});
    EXPECT_EQ(first.Acquire(image, kNoWait), CImageLock::ACQUIRED);

    CImageLock longName;
    EXPECT_EQ(longName.Acquire(dir / (std::string(250, 'n') + ".rqfs"), kNoWait), CImageLock::ACQUIRED);
    EXPECT_EQ(longName.GetPath().filename().string().size(), 255u);
}
