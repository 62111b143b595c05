#include "TreeBuilder.h"

#include "rq540/FileIo.h"

#include <gtest/gtest.h>

using namespace RQ540;
using namespace testing_rq;

namespace {

// Passes everything to the standard streams except the operation told to fail.
class FailingIo : public IFileIo {
public:
    enum class Fail { None, Write, Flush, Close, Rename };
    explicit FailingIo(Fail fail) : m_fail(fail), m_previous(SetFileIo(this)) {}
    ~FailingIo() override { SetFileIo(m_previous); }
    FailingIo(const FailingIo&) = delete;
    FailingIo& operator=(const FailingIo&) = delete;

    std::FILE* Open(const std::filesystem::path& path, const char* mode) override
    {
        return Standard().Open(path, mode);
    }
    std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        return Standard().Read(buffer, size, count, file);
    }
    std::size_t Write(const void* buffer, std::size_t size, std::size_t count,
                      std::FILE* file) override
    {
        if (m_fail == Fail::Write) {
            // Half the image reaches the file before the disk fills up.
            Standard().Write(buffer, 1, size * count / 2, file);
            return 0;
        }
        return Standard().Write(buffer, size, count, file);
    }
    bool Flush(std::FILE* file) override { return m_fail != Fail::Flush && Standard().Flush(file); }
    bool Seek(std::FILE* file, long offset, int origin) override
    {
        return Standard().Seek(file, offset, origin);
    }
    long Tell(std::FILE* file) override { return Standard().Tell(file); }
    bool Close(std::FILE* file) override { return Standard().Close(file) && m_fail != Fail::Close; }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        return m_fail != Fail::Rename && Standard().Rename(from, to);
    }
    bool Remove(const std::filesystem::path& path) override { return Standard().Remove(path); }

private:
    static IFileIo& Standard() { return GetStandardFileIo(); }
    Fail m_fail;
    IFileIo* m_previous;
};

}  // namespace

TEST(SaveImage, FailedSaveLeavesThePreviousFileIntact)
{
    TempDir dir;
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.SaveImage(dir / "card.rqfs"), 0);
    const Bytes previous = ReadBytes(dir / "card.rqfs");
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);

    for (auto fail : {FailingIo::Fail::Write, FailingIo::Fail::Flush, FailingIo::Fail::Close,
                      FailingIo::Fail::Rename}) {
        FailingIo io(fail);
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
