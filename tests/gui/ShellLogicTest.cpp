// Rules of the editor's shell that need no window: row texts, column widths and the copied
// entries' check before reading.
#include "CopiedEntries.h"
#include "EntryRows.h"
#include "Resource.h"

#include "rq540/RQ540Vfs.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

using namespace RQ540;

namespace {

EntryItemData Record(CUnknownHeader* header, const std::string& path)
{
    return EntryItemData{header, path};
}

}  // namespace

TEST(EntryRows, TextsOfFoldersAndFiles)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(0x0001, 1000), RESULT_SUCCESS);
    ASSERT_EQ(vfs.CreateFile(0x0002, FILE_TYPE_INTERNAL_EXECUTABLE, 10), RESULT_SUCCESS);
    ASSERT_EQ(vfs.CreateFile(0x0003, FILE_TYPE_PRIVATE_KEY, 7), RESULT_SUCCESS);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), RESULT_SUCCESS);
    ASSERT_EQ(vfs.CreateFile(0x0010, FILE_TYPE_DATA, 84), RESULT_SUCCESS);
    ASSERT_EQ(vfs.ChangeDirectory("\\"), RESULT_SUCCESS);

    const CUnknownHeader* folder = vfs.FindFolder(0x0001);
    // 1000 bytes in all; 102 header, 84 + 16 for the file: 798 left.
    EXPECT_EQ(FormatEntryRow(vfs, *folder),
              (std::array<std::string, 4>{"0001", "1000/798", "文件夹", ""}));
    EXPECT_EQ(EntryRowIcon(*folder), int(IDI_FOLDER));

    const CUnknownHeader* executable = vfs.FindFile(0x0002);
    EXPECT_EQ(FormatEntryRow(vfs, *executable),
              (std::array<std::string, 4>{"0002", "10", "内部可执行文件（不可写）", ""}));
    EXPECT_EQ(EntryRowIcon(*executable), int(IDI_EXECUTABLE_FILE));
    const CUnknownHeader* key = vfs.FindFile(0x0003);
    EXPECT_EQ(FormatEntryRow(vfs, *key)[2], std::string("私钥文件"));
    EXPECT_EQ(EntryRowIcon(*key), int(IDI_FILE));
    EXPECT_EQ(std::string(FileTypeName(5)), std::string("未知文件"));
}

TEST(EntryRows, ColumnWidthsFollowTheClientWidth)
{
    const struct {
        int width;
        std::array<int, 4> expected;
    } cases[] = {
        {600, {310, 130, 80, 40}},  // wide
        {291, {1, 130, 80, 40}},    // one pixel left
        {290, {18, 130, 80, 40}},   // exactly 290
        {249, {18, 130, 80, 18}},   // the state column narrows
        {209, {18, 130, 18, 18}},   // the attributes narrow
        {129, {18, 18, 18, 18}},    // the size narrows
        {0, {18, 18, 18, 18}},      // nothing
    };
    for (const auto& c : cases)
        EXPECT_EQ(ListColumnWidths(c.width), c.expected) << c.width;
}

TEST(CopiedEntries, ResolveWhileTheyStandAtTheirPaths)
{
    CRQ540Vfs vfs(0);
    CFolderHeader* folder = nullptr;
    ASSERT_EQ(vfs.CreateFolder(0x0001, 2000, &folder), RESULT_SUCCESS);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), RESULT_SUCCESS);
    ASSERT_EQ(vfs.CreateFile(0x0002, 0, 10), RESULT_SUCCESS);
    CUnknownHeader* file = vfs.FindFile(0x0002);

    const EntryItemData folderRecord = Record(folder, "\\0001");
    const EntryItemData fileRecord = Record(file, "\\0001\\0002");
    const EntryItemData wrongPath = Record(file, "\\0002");
    CCopiedEntries copied({&folderRecord, &fileRecord, &wrongPath});
    EXPECT_EQ(copied.GetCount(), std::size_t(3));
    EXPECT_EQ(copied.Resolve(vfs, 0), static_cast<const CUnknownHeader*>(folder));
    EXPECT_EQ(copied.Resolve(vfs, 1), static_cast<const CUnknownHeader*>(file));
    EXPECT_EQ(copied.Resolve(vfs, 2), nullptr);
    EXPECT_EQ(copied.Resolve(vfs, 3), nullptr);

    // Other changes of the tree leave them readable.
    ASSERT_EQ(vfs.CreateFile(0x0003, 0, 10), RESULT_SUCCESS);
    copied.ForgetMissing(vfs);
    EXPECT_EQ(copied.Resolve(vfs, 1), static_cast<const CUnknownHeader*>(file));
}

TEST(CopiedEntries, AreGoneAfterDeletionEvenWhenRecreated)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFile(0x0005, 0, 10), RESULT_SUCCESS);
    ASSERT_EQ(vfs.CreateFile(0x0006, 0, 10), RESULT_SUCCESS);
    const EntryItemData first = Record(vfs.FindFile(0x0005), "\\0005");
    const EntryItemData second = Record(vfs.FindFile(0x0006), "\\0006");
    CCopiedEntries copied({&first, &second});

    ASSERT_EQ(vfs.DeleteFile(0x0005), RESULT_SUCCESS);
    copied.ForgetMissing(vfs);
    // A new file with the same ID at the same place is another entry, whatever its address.
    ASSERT_EQ(vfs.CreateFile(0x0005, 0, 10), RESULT_SUCCESS);
    EXPECT_EQ(copied.Resolve(vfs, 0), nullptr);
    EXPECT_EQ(copied.Resolve(vfs, 1), static_cast<const CUnknownHeader*>(vfs.FindFile(0x0006)));
}

TEST(CopiedEntries, AreGoneAfterFormatOrReplacement)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(0x0001, 500), RESULT_SUCCESS);
    const EntryItemData record = Record(vfs.FindFolder(0x0001), "\\0001");

    CCopiedEntries afterFormat({&record});
    vfs.Format(true);
    afterFormat.ForgetMissing(vfs);
    ASSERT_EQ(vfs.CreateFolder(0x0001, 500), RESULT_SUCCESS);
    EXPECT_EQ(afterFormat.Resolve(vfs, 0), nullptr);

    const EntryItemData current = Record(vfs.FindFolder(0x0001), "\\0001");
    CCopiedEntries replaced({&current});
    EXPECT_NE(replaced.Resolve(vfs, 0), nullptr);
    replaced.ForgetAll();
    EXPECT_EQ(replaced.Resolve(vfs, 0), nullptr);
}
