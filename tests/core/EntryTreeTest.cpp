#include "TreeBuilder.h"

#include "rq540/EntryTree.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace RQ540;
using namespace testing_rq;

TEST(EntryTree, FreshRootUsage)
{
    CRQ540Vfs vfs(0);
    const FolderUsage usage = GetFolderUsage(vfs.GetRoot(), 0);
    EXPECT_EQ(usage.totalSize, 61988u);
    EXPECT_EQ(usage.freeSpace, 61886u);
    EXPECT_EQ(usage.folderCount, 1u);
    EXPECT_EQ(usage.fileCount, 0u);
    EXPECT_EQ(usage.fileDataSize, 0u);
}

TEST(EntryTree, UsageCountsNestedFoldersAndFiles)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 1000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 2, Bytes(10, 0xAB));
    EXPECT_EQ(vfs.GetCurrentFolder()->GetFreeSpace(), 1000u - 102 - 16 - 10);

    const FolderUsage root = GetFolderUsage(vfs.GetRoot(), 0);
    EXPECT_EQ(root.totalSize, 61988u);
    EXPECT_EQ(root.freeSpace, 61886u - 1000);
    EXPECT_EQ(root.folderCount, 2u);
    EXPECT_EQ(root.fileCount, 1u);
    EXPECT_EQ(root.fileDataSize, 10u);

    const FolderUsage folder = GetFolderUsage(vfs.GetCurrentFolder(), 0);
    EXPECT_EQ(folder.totalSize, 1000u);
    EXPECT_EQ(GetFolderTotalSize64(vfs.GetRoot(), 0), 61988u);
}

TEST(EntryTree, FolderOfHeaderSizeTakesNothing)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 102), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    EXPECT_EQ(vfs.GetCurrentFolder()->GetFreeSpace(), 0u);
    EXPECT_EQ(vfs.CreateFile(2, 0, 0), RESULT_NO_SPACE);
    EXPECT_EQ(vfs.CreateFolder(2, 102), RESULT_NO_SPACE);
}

TEST(EntryTree, DeepCopyReversesEveryList)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 5000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 0xA, {1, 2, 3});
    ASSERT_EQ(vfs.CreateFolder(0xB, 1000), 0);
    AddFile(vfs, 0xC, {4});
    ASSERT_EQ(vfs.ChangeDirectory("000B"), 0);
    AddFile(vfs, 0xD, {5});
    AddFile(vfs, 0xE, {6});

    const CFolderHeader* source = vfs.GetPath()[1];
    ASSERT_EQ(ListIds(source), (std::vector<uint16_t>{0xC, 0xB, 0xA}));
    const CFolderHeader copy(*source, nullptr);
    EXPECT_EQ(copy.GetId(), 1);
    EXPECT_EQ(copy.GetFreeSpace(), source->GetFreeSpace());
    EXPECT_EQ(ListIds(&copy), (std::vector<uint16_t>{0xA, 0xB, 0xC}));
    const auto* subCopy = FindChildFolder(&copy, 0xB);
    ASSERT_NE(subCopy, nullptr);
    EXPECT_EQ(ListIds(subCopy), (std::vector<uint16_t>{0xD, 0xE}));

    // The copy owns its own bytes.
    const CFileHeader* original = FindChildFile(source, 0xA);
    CFileHeader* copied = FindChildFile(&copy, 0xA);
    ASSERT_NE(copied, nullptr);
    EXPECT_NE(copied->GetData(), original->GetData());
    EXPECT_EQ(std::memcmp(copied->GetData(), original->GetData(), 3), 0);
    copied->GetData()[0] = 9;
    EXPECT_EQ(original->GetData()[0], 1);
}

TEST(EntryTree, DeepCopyKeepsPasswords)
{
    const std::array<uint8_t, 8> user{'u', 's', 'e', 'r', 0, 0, 0, 0};
    std::array<uint8_t, 24> developer{};
    developer.fill(0x5A);
    const CFolderHeader folder(7, 300, user.data(), developer.data(), 0, nullptr);
    const CFolderHeader copy(folder, nullptr);
    std::array<uint8_t, 8> userOut{};
    std::array<uint8_t, 24> developerOut{};
    copy.GetUserPassword(userOut.data());
    copy.GetDeveloperPassword(developerOut.data());
    EXPECT_EQ(userOut, user);
    EXPECT_EQ(developerOut, developer);
    EXPECT_EQ(copy.GetUserPasswordSize(), 8u);
    EXPECT_EQ(copy.GetDeveloperPasswordSize(), 24u);
}

TEST(EntryTree, SubtreeDepthCountsFoldersOnly)
{
    CVirtualFileSystem vfs(0);  // no depth limit, so three levels below the root are possible
    AddFile(vfs, 5, {1});
    EXPECT_EQ(GetSubtreeDepth(vfs.GetRoot()), 1u);
    ASSERT_EQ(vfs.CreateFolder(1, 3000), 0);
    ASSERT_EQ(vfs.CreateFolder(2, 200), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    ASSERT_EQ(vfs.CreateFolder(3, 1000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0003"), 0);
    AddFile(vfs, 4, {1});
    EXPECT_EQ(GetSubtreeDepth(vfs.GetRoot()), 3u);
    EXPECT_EQ(GetSubtreeDepth(vfs.GetPath()[1]), 2u);
    EXPECT_EQ(GetSubtreeDepth(vfs.GetCurrentFolder()), 1u);
}

TEST(EntryTree, LookupsShareOneIdSpace)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 200), 0);
    AddFile(vfs, 2, {});
    AddFile(vfs, 3, {});
    // List order: 3, 2, 1.
    uint32_t count = 0;
    EXPECT_TRUE(vfs.HasChild(1, count));
    EXPECT_EQ(count, 3u);
    EXPECT_TRUE(vfs.HasChild(3, count));
    EXPECT_EQ(count, 1u);
    EXPECT_FALSE(vfs.HasChild(9, count));
    EXPECT_EQ(count, 3u);
    EXPECT_TRUE(vfs.HasChild(0x10002, count)) << "IDs compare on 16 bits";

    EXPECT_EQ(vfs.FindFolder(2), nullptr);
    EXPECT_EQ(vfs.FindFile(1), nullptr);
    EXPECT_NE(vfs.FindFolder(1), nullptr);
    EXPECT_NE(vfs.FindFile(2), nullptr);
    EXPECT_EQ(vfs.CreateFile(1, 0, 0), RESULT_ALREADY_EXISTS);
    EXPECT_EQ(vfs.CreateFolder(2, 200), RESULT_ALREADY_EXISTS);

    CUnknownHeader** link = FindChildFolderLink(vfs.GetRoot(), 9);
    EXPECT_EQ(*link, nullptr);
    link = FindChildFolderLink(vfs.GetRoot(), 1);
    EXPECT_EQ(*link, vfs.FindFolder(1));
}
