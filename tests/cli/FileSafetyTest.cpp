// Files handled like a trusted tool: no lost updates, no torn exports, read-only images,
// links and long names respected, inputs read no further than the card can hold, no wait
// on a FIFO, and one-line reports whatever a name holds.
#include "../FifoUnblocker.h"
#include "../PosixOnly.h"
#include "RqfsTest.h"

#include "rq540/CardPath.h"
#include "CardSession.h"
#include "CliError.h"

#include "rq540/ImageLock.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <fstream>
#include <thread>

namespace {

namespace fs = std::filesystem;

struct EndlessInput {
    const char* name;
    std::vector<std::string> args;  // "IMG" stands for the image
    const char* inputFile;          // standard input, or "" for none
    int status;
    const char* err;
    bool posixOnly = false;  // a FIFO or a device
};

const EndlessInput kEndlessInputs[] = {
    {"AddFromZeroDevice", {"add", "IMG", "/1", "--type", "data", "--from", "/dev/zero"}, "", 2,
     "rqfs: '/dev/zero' is longer than 61988 bytes\n", true},
    {"WriteFromZeroDevice", {"write", "IMG", "/F", "--from", "/dev/zero"}, "", 2,
     "rqfs: '/dev/zero' is longer than 61988 bytes\n", true},
    {"AddFromSparseFile", {"add", "IMG", "/1", "--type", "data", "--from", "sparse.bin"}, "", 2,
     "rqfs: 'sparse.bin' is longer than 61988 bytes\n"},
    {"AddFromEndlessInput", {"add", "IMG", "/1", "--type", "data", "--from", "-"}, "/dev/zero", 2,
     "rqfs: standard input is longer than 61988 bytes\n", true},
    {"ScriptFromZeroDevice", {"batch", "IMG", "/dev/zero"}, "", 2,
     "rqfs: line 1: longer than 8192 bytes\n", true},
    {"EndlessScript", {"batch", "IMG"}, "long.rqb", 2,
     "rqfs: line 349526: the script is longer than 1048576 bytes\n"},
    {"FifoAsImage", {"ls", "fifo"}, "", 1,
     "rqfs: load fifo: not a regular file: 打开文件失败 (result 1, detail 5)\n", true},
    {"FifoAsInput", {"add", "IMG", "/1", "--type", "data", "--from", "fifo"}, "", 1,
     "rqfs: cannot open 'fifo' for reading: not a regular file\n", true},
    {"FifoAsScript", {"batch", "IMG", "fifo"}, "", 1,
     "rqfs: cannot open 'fifo' for reading: not a regular file\n", true},
    {"ControlCharactersInAName", {"info", "new\nline\x01.rqfs"}, "", 1,
     "rqfs: load new\\nline\\x01.rqfs: no such file or folder: 打开文件失败 (result 1, detail 5)\n"},
};

void PrintTo(const EndlessInput& value, std::ostream* os) { *os << value.name; }

bool HasLeftovers(const fs::path& dir)
{
    return std::any_of(fs::directory_iterator(dir), fs::directory_iterator(), [](const auto& entry) {
        const std::string name = entry.path().filename().string();
        return name.starts_with(".rqfs-") || name.ends_with(".lock");
    });
}

}  // namespace

class EndlessInputs : public RqfsTest, public ::testing::WithParamInterface<EndlessInput> {};

TEST_P(EndlessInputs, AreRefusedOnOneLineWithoutReadingThemAll)
{
    if (GetParam().posixOnly)
        RQ_POSIX_ONLY("FIFOs and devices");
    RunOk({"add", m_image, "/F", "--type", "data", "--size", "4"});
    WriteText("sparse.bin", "");
    fs::resize_file(PathOf("sparse.bin"), 3ULL << 30);
    std::ofstream script(PathOf("long.rqb"), std::ios::binary);
    for (int line = 0; line < 350000; ++line)
        script << "ls\n";
    script.close();
#ifndef _WIN32
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    CFifoUnblocker unblocker(PathOf("fifo"));
#endif
    const std::vector<uint8_t> before = ReadBytes(m_image);

    std::vector<std::string> args = GetParam().args;
    std::replace(args.begin(), args.end(), std::string("IMG"), m_image);
    RunOptions options;
    if (*GetParam().inputFile)
        options.inputFile = PathOf(GetParam().inputFile);
    const RqfsResult result = RunWith(args, options);
    EXPECT_EQ(result.status, GetParam().status);
    EXPECT_EQ(result.err, GetParam().err);
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_EQ(ReadBytes(m_image), before);
}

INSTANTIATE_TEST_SUITE_P(Rqfs, EndlessInputs, ::testing::ValuesIn(kEndlessInputs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RqfsTest, ChangingRunsQueueOnTheImageLock)
{
    constexpr int kWriters = 8;
    constexpr int kChangesEach = 6;
    std::vector<std::thread> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        writers.emplace_back([this, writer] {
            for (int change = 1; change <= kChangesEach; ++change)
                RunOk({"add", m_image, "/" + std::to_string(writer * 10 + change), "--type",
                       "data", "--size", "1"});
        });
    }
    for (std::thread& writer : writers)
        writer.join();
    const std::string listing = RunOk({"ls", m_image});
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), kWriters * kChangesEach);
    EXPECT_FALSE(HasLeftovers(PathOf("")));

    // A writer that cannot get the lock in time gives up; readers need none.
    RQ540::CImageLock held;
    ASSERT_EQ(held.Acquire(PathOf(m_image), std::chrono::milliseconds(0)), RQ540::CImageLock::ACQUIRED);
    const RqfsResult result = Run({"mkdir", m_image, "/1", "--size", "200", "--lock-timeout", "0"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "rqfs: card.rqfs is being changed by another program; gave up after 0 s "
                          "(lock file 'card.rqfs.lock')\n");
    EXPECT_EQ(RunOk({"ls", m_image}), listing);
}

TEST_F(RqfsTest, AnImageChangedOnDiskSinceItWasLoadedIsNotOverwritten)
{
    using namespace RQ540::Cli;
    CCardSession session(PathOf(m_image));
    RunOk({"mkdir", m_image, "/1", "--size", "200"});
    const std::vector<uint8_t> theirs = ReadBytes(m_image);
    session.MakeFolder(RQ540::CCardPath().GetChild(0x0002), 200, {}, "mkdir /0002");
    EXPECT_THROW(session.Save(), CCliError);
    EXPECT_EQ(ReadBytes(m_image), theirs);
}

TEST_F(RqfsTest, AFailedExportLeavesTheDestinationWhole)
{
    RQ_POSIX_ONLY("a file size limit set on the child");
    RunOk({"add", m_image, "/1", "--type", "data", "--size", "5000"});
    WriteText("out.bin", "previous contents");
    RunOptions fullDisk;
    fullDisk.fileSizeLimit = 4096;
    const RqfsResult result = RunWith({"export", m_image, "/1", "out.bin"}, fullDisk);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "rqfs: cannot write 'out.bin': the disk is full\n");
    const std::vector<uint8_t> kept = ReadBytes("out.bin");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "previous contents");
    EXPECT_FALSE(HasLeftovers(PathOf("")));
}

TEST_F(RqfsTest, FailedReadsAndWritesSayWhyAndLeaveEverythingAsItWas)
{
    RQ_POSIX_ONLY("file size limits, permission bits, FIFOs and symbolic links");
#ifndef _WIN32
    WriteText("data.bin", std::string(5000, 'x'));
    RunOk({"add", m_image, "/1", "--type", "data", "--from", "data.bin"});
    const std::vector<uint8_t> before = ReadBytes(m_image);
    RunOptions fullDisk;
    fullDisk.fileSizeLimit = 4096;
    RunOptions ordinaryUser;
    ordinaryUser.ordinaryUser = true;
    const auto expect = [&](const std::vector<std::string>& args, const RunOptions& options,
                            const std::string& err) {
        const RqfsResult result = RunWith(args, options);
        EXPECT_EQ(result.status, 1) << args[0];
        EXPECT_EQ(result.err, err);
    };
    expect({"add", m_image, "/2", "--type", "data", "--size", "1"}, fullDisk,
           "rqfs: save card.rqfs: the disk is full: 文件操作失败 (result 1, detail 6)\n");
    // A dump cut short leaves no folder that the next try would refuse as not empty.
    expect({"dump", m_image, "dump"}, fullDisk,
           "rqfs: cannot write 'dump/files/0001.bin': the disk is full\n");
    EXPECT_FALSE(fs::exists(PathOf("dump")));
    RunOk({"dump", m_image, "dump"});

    ASSERT_EQ(chmod(PathOf("").c_str(), 0777), 0);
    fs::create_directory(PathOf("read-only"));
    ASSERT_EQ(chmod(PathOf("read-only").c_str(), 0555), 0);
    expect({"export", m_image, "/1", "read-only/out.bin"}, ordinaryUser,
           "rqfs: cannot write 'read-only/out.bin': the folder is not writable\n");
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    expect({"export", m_image, "/1", "fifo"}, {}, "rqfs: cannot write 'fifo': not a regular file\n");
    expect({"export", m_image, "/1", "/dev/null"}, {},
           "rqfs: cannot write '/dev/null': not a regular file\n");

    ASSERT_EQ(chmod(PathOf(m_image).c_str(), 0), 0);
    expect({"ls", m_image}, ordinaryUser,
           "rqfs: load card.rqfs: permission denied: 打开文件失败 (result 1, detail 5)\n");
    ASSERT_EQ(chmod(PathOf(m_image).c_str(), 0644), 0);
    fs::create_symlink("loop-b.rqfs", PathOf("loop-a.rqfs"));
    fs::create_symlink("loop-a.rqfs", PathOf("loop-b.rqfs"));
    expect({"rm", "loop-a.rqfs", "/1"}, {},
           "rqfs: lock loop-a.rqfs: too many levels of symbolic links\n");
    fs::create_symlink("elsewhere", PathOf("card.rqfs.lock"));
    expect({"rm", m_image, "/1"}, {},
           "rqfs: lock card.rqfs: cannot create 'card.rqfs.lock': not a regular file\n");
    EXPECT_EQ(ReadBytes(m_image), before);
    fs::remove(PathOf("card.rqfs.lock"));
    EXPECT_FALSE(HasLeftovers(PathOf("")));
#endif
}

TEST_F(RqfsTest, ReadOnlyImagesAndFoldersAreRefusedWithTheReason)
{
    RQ_POSIX_ONLY("permission bits, and a child run as another user");
#ifndef _WIN32
    const std::vector<uint8_t> before = ReadBytes(m_image);
    const std::vector<std::string> mkdir{"mkdir", m_image, "/1", "--size", "200"};
    RunOptions ordinaryUser;
    ordinaryUser.ordinaryUser = true;
    ASSERT_EQ(chmod(PathOf(m_image).c_str(), 0444), 0);
    ASSERT_EQ(chmod(PathOf("").c_str(), 0777), 0);
    RqfsResult result = RunWith(mkdir, ordinaryUser);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "rqfs: save card.rqfs: the file is read-only: 打开文件失败 (result 1, detail 5)\n");

    ASSERT_EQ(chmod(PathOf(m_image).c_str(), 0666), 0);
    ASSERT_EQ(chmod(PathOf("").c_str(), 0555), 0);
    result = RunWith(mkdir, ordinaryUser);
    ASSERT_EQ(chmod(PathOf("").c_str(), 0755), 0);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "rqfs: lock card.rqfs: cannot create 'card.rqfs.lock': the folder is not writable\n");
    EXPECT_EQ(ReadBytes(m_image), before);
    EXPECT_FALSE(HasLeftovers(PathOf("")));
#endif
}

TEST_F(RqfsTest, ImagesOfTheLongestNamesAreSaved)
{
    const std::string longest = std::string(250, 'n') + ".rqfs";
    RunOk({"new", longest});
    RunOk({"mkdir", longest, "/1", "--size", "200"});
    EXPECT_EQ(RunOk({"ls", longest}).substr(0, 4), "0001");
    EXPECT_FALSE(HasLeftovers(PathOf("")));
}

TEST_F(RqfsTest, ImagesBehindLinksAreSavedWhereTheLinksLead)
{
    RQ_POSIX_ONLY("symbolic links any user may make");
    fs::create_directory(PathOf("real"));
    fs::create_symlink("real/card.rqfs", PathOf("link.rqfs"));
    RunOk({"new", "link.rqfs"});
    RunOk({"mkdir", "link.rqfs", "/1", "--size", "200"});
    EXPECT_EQ(RunOk({"ls", "link.rqfs"}).substr(0, 4), "0001");
    EXPECT_TRUE(fs::is_symlink(PathOf("link.rqfs")));
    EXPECT_TRUE(fs::is_regular_file(PathOf("real/card.rqfs")));
    EXPECT_FALSE(HasLeftovers(PathOf("")));
}
