// Makes the Nth call of one kind of file access fail, for every N a save or a load makes,
// and checks the result codes and that nothing is lost.
#include "TreeBuilder.h"

#include "rq540/FileIo.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace RQ540;
using namespace testing_rq;

namespace {

enum class Call { Open, Read, Write, Flush, Seek, Tell, Close, Rename, Count };

const char* Name(Call call)
{
    static const char* const names[] = {"open", "read", "write", "flush", "seek", "tell", "close", "rename"};
    return names[static_cast<int>(call)];
}

// Counts the calls of each kind and fails the one it is told to; everything else goes
// to the standard streams.
class FaultyIo : public IFileIo {
public:
    FaultyIo(Call failing, int failAt) : m_failing(failing), m_failAt(failAt), m_previous(SetFileIo(this)) {}
    ~FaultyIo() override { SetFileIo(m_previous); }
    FaultyIo(const FaultyIo&) = delete;
    FaultyIo& operator=(const FaultyIo&) = delete;

    int Calls(Call call) const { return m_calls[static_cast<size_t>(call)]; }
    bool Failed() const { return m_failed; }

    std::FILE* Open(const std::filesystem::path& path, const char* mode) override
    {
        return Fails(Call::Open) ? nullptr : Standard().Open(path, mode);
    }
    std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        return Fails(Call::Read) ? 0 : Standard().Read(buffer, size, count, file);
    }
    std::size_t Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        if (Fails(Call::Write)) {
            Standard().Write(buffer, 1, size * count / 2, file);  // part of it got out
            return 0;
        }
        return Standard().Write(buffer, size, count, file);
    }
    bool Flush(std::FILE* file) override { return !Fails(Call::Flush) && Standard().Flush(file); }
    bool Seek(std::FILE* file, long offset, int origin) override
    {
        return !Fails(Call::Seek) && Standard().Seek(file, offset, origin);
    }
    long Tell(std::FILE* file) override { return Fails(Call::Tell) ? -1 : Standard().Tell(file); }
    bool Close(std::FILE* file) override
    {
        // The stream is released either way, as fclose does.
        const bool fails = Fails(Call::Close);
        return Standard().Close(file) && !fails;
    }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        return !Fails(Call::Rename) && Standard().Rename(from, to);
    }
    bool Remove(const std::filesystem::path& path) override { return Standard().Remove(path); }

private:
    static IFileIo& Standard() { return GetStandardFileIo(); }
    bool Fails(Call call)
    {
        const int n = ++m_calls[static_cast<size_t>(call)];
        if (call == m_failing && n == m_failAt) {
            m_failed = true;
            return true;
        }
        return false;
    }

    Call m_failing;
    int m_failAt;
    IFileIo* m_previous;
    std::array<int, static_cast<size_t>(Call::Count)> m_calls{};
    bool m_failed = false;
};

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
            SCOPED_TRACE(std::string(Name(call)) + " #" + std::to_string(n));
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
            SCOPED_TRACE(std::string(Name(call)) + " #" + std::to_string(n));
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
