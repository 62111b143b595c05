#include "TreeBuilder.h"

#include <gtest/gtest.h>

using namespace RQ540;
using namespace testing_rq;

namespace {

// Root with folders 0001 (holding 0002 and file 0004) and 0003.
class ChangeDirectory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(m_vfs.CreateFolder(1, 3000), 0);
        ASSERT_EQ(m_vfs.CreateFolder(3, 1000), 0);
        ASSERT_EQ(m_vfs.ChangeDirectory("0001"), 0);
        ASSERT_EQ(m_vfs.CreateFolder(2, 1000), 0);
        AddFile(m_vfs, 4, {1});
        ASSERT_EQ(m_vfs.ChangeDirectory("\\"), 0);
    }

    std::vector<uint16_t> PathIds() const
    {
        std::vector<uint16_t> ids;
        for (const CFolderHeader* folder : m_vfs.GetPath())
            ids.push_back(folder->GetId());
        return ids;
    }

    // Goes to path from wherever the vfs is, then runs text.
    int32_t From(const char* start, std::string_view text)
    {
        EXPECT_EQ(m_vfs.ChangeDirectory(start), 0) << start;
        return m_vfs.ChangeDirectory(text);
    }

    CRQ540Vfs m_vfs{0};
};

using Ids = std::vector<uint16_t>;

}  // namespace

TEST_F(ChangeDirectory, RelativeAndAbsolutePaths)
{
    EXPECT_EQ(From("\\", "0001"), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1}));
    EXPECT_EQ(From("\\", " \\ 0001 \\ 0002 \\ "), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1, 2}));
    EXPECT_EQ(From("\\", "00010002"), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1, 2}));
    EXPECT_EQ(From("\\", "0001 0002"), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1, 2}));
    EXPECT_EQ(From("\\", "\t0001\\\t"), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1}));
    EXPECT_EQ(From("\\0001", "0002"), 0) << "relative to the current folder";
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1, 2}));
    EXPECT_EQ(From("\\", "000a"), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(From("\\", "0001\\0002"), 0);
    EXPECT_EQ(m_vfs.ChangeDirectory("\\"), 0) << "a lone backslash returns to the root";
    EXPECT_EQ(PathIds(), (Ids{0x3F00}));
    EXPECT_EQ(From("\\0001", " \\  "), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00}));
}

TEST_F(ChangeDirectory, ParentForms)
{
    EXPECT_EQ(From("\\", ".."), 0) << "at the root nothing changes";
    EXPECT_EQ(PathIds(), (Ids{0x3F00}));
    EXPECT_EQ(From("0001", ".."), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00}));
    EXPECT_EQ(From("\\0001\\0002", " .. "), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1}));
    EXPECT_EQ(From("\\0001", "..\\0003"), 0) << "sibling";
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 3}));
    EXPECT_EQ(From("\\", "..\\0001"), 0) << "from the root the base is after the root";
    EXPECT_EQ(PathIds(), (Ids{0x3F00, 1}));
    EXPECT_EQ(From("\\0001\\0002", "..\\"), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00}));
    EXPECT_EQ(From("\\0001\\0002", ".. \\ "), 0);
    EXPECT_EQ(PathIds(), (Ids{0x3F00}));
}

TEST_F(ChangeDirectory, TextsThatDoNotParse)
{
    for (const char* text : {"", "   ", "001", "0001\\001", "...", ". .", ".", "..x", "0001x",
                             "00g1", "/0001", "0001\\\\0002", "..\\\\"}) {
        ASSERT_EQ(m_vfs.ChangeDirectory("\\0001"), 0);
        EXPECT_EQ(m_vfs.ChangeDirectory(text), RESULT_UNKNOWN_ERROR) << '"' << text << '"';
        EXPECT_EQ(m_vfs.GetLastDetail(), DETAIL_INVALID_PATH) << '"' << text << '"';
        EXPECT_EQ(PathIds(), (Ids{0x3F00, 1})) << '"' << text << '"';
    }
}

TEST_F(ChangeDirectory, MissingFolderRestoresThePathExactly)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"\\0001\\0002", "\\0001\\0009"},
        {"\\0001\\0002", "..\\0009"},
        {"\\0001\\0002", "\\0009"},
        {"\\0001", "0002\\0009"},
        {"\\0001", "0004"},  // a file's ID is not entered
        {"\\", "0001\\0004"},
        {"\\0001\\0002", "..\\0002\\0002"},
    };
    for (const auto& [start, text] : cases) {
        ASSERT_EQ(m_vfs.ChangeDirectory(start), 0);
        const std::vector<CFolderHeader*> before = m_vfs.GetPath();
        EXPECT_EQ(m_vfs.ChangeDirectory(text), RESULT_UNKNOWN_ERROR) << text;
        EXPECT_EQ(m_vfs.GetLastDetail(), DETAIL_FOLDER_NOT_FOUND) << text;
        EXPECT_EQ(m_vfs.GetPath(), before) << start << " then " << text;
    }
}
