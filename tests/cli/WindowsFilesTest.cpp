// Files as Windows has them: the read-only attribute, programs that open a file without
// sharing it, and paths with a drive letter and backslashes.
#ifdef _WIN32

#include "RqfsTest.h"

#include <windows.h>

namespace {

// Holds a file open the way another program may: sharing nothing, or only reading.
class CHeldFile {
public:
    CHeldFile(const std::filesystem::path& path, DWORD share)
        : m_handle(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~CHeldFile() { CloseHandle(m_handle); }
    CHeldFile(const CHeldFile&) = delete;
    CHeldFile& operator=(const CHeldFile&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

bool HasLeftovers(const std::filesystem::path& dir)
{
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(".rqfs-") || name.ends_with(".lock"))
            return true;
    }
    return false;
}

}  // namespace

TEST_F(RqfsTest, AReadOnlyImageIsRefusedAndLeftAlone)
{
    const std::vector<uint8_t> before = ReadBytes(m_image);
    std::filesystem::permissions(PathOf(m_image), std::filesystem::perms::all,
                                 std::filesystem::perm_options::remove);
    ASSERT_TRUE(GetFileAttributesW(PathOf(m_image).c_str()) & FILE_ATTRIBUTE_READONLY);
    const RqfsResult result = Run({"mkdir", m_image, "/1", "--size", "200"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err,
              "rqfs: save card.rqfs: the file is read-only: 打开文件失败 (result 1, detail 5)\n");
    EXPECT_EQ(ReadBytes(m_image), before);
    EXPECT_FALSE(HasLeftovers(PathOf("")));
    std::filesystem::permissions(PathOf(m_image), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

TEST_F(RqfsTest, AnImageAnotherProgramHoldsIsRefusedNotTorn)
{
    RunOk({"mkdir", m_image, "/1", "--size", "200"});
    const std::vector<uint8_t> before = ReadBytes(m_image);
    const std::vector<std::string> mkdir{"mkdir", m_image, "/2", "--size", "200"};
    {
        // Shared with no one: not even loaded.
        const CHeldFile held(PathOf(m_image), 0);
        ASSERT_TRUE(held.IsOpen());
        const RqfsResult result = Run(mkdir);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "rqfs: load card.rqfs: the file is in use by another program: "
                              "打开文件失败 (result 1, detail 5)\n");
    }
    {
        // Shared for reading only, as many editors hold a file: loaded, but never replaced.
        const CHeldFile held(PathOf(m_image), FILE_SHARE_READ);
        ASSERT_TRUE(held.IsOpen());
        const RqfsResult result = Run(mkdir);
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.err, "rqfs: save card.rqfs: the file is in use by another program: "
                              "打开文件失败 (result 1, detail 5)\n");
    }
    EXPECT_EQ(ReadBytes(m_image), before);
    EXPECT_FALSE(HasLeftovers(PathOf("")));
    RunOk(mkdir);
}

TEST_F(RqfsTest, PathsWithADriveLetterAndBackslashesWork)
{
    // The test's folder as Windows writes it: C:\users\...\rqfs-...
    const auto full = [this](const std::string& name) {
        return RQ540::DiskFile::Utf8FromPath(PathOf(name).make_preferred());
    };
    ASSERT_EQ(full("x").substr(1, 2), ":\\");
    WriteText("in.bin", "licence");
    RunOk({"add", full(m_image), "\\1", "--type", "data", "--from", full("in.bin")});
    RunOk({"export", full(m_image), "\\0001", full("out.bin")});
    EXPECT_EQ(ReadBytes("out.bin"), ReadBytes("in.bin"));
    RunOk({"dump", full(m_image), full("dump")});
    RunOk({"build", full("dump"), full("again.rqfs")});
    EXPECT_EQ(ReadBytes("again.rqfs"), ReadBytes(m_image));
    EXPECT_EQ(RunOk({"ls", m_image, "\\"}).substr(0, 4), "0001");
}

#endif
