#include "TreeBuilder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace RQ540;
using namespace testing_rq;

namespace {

// A vfs whose current folder is \0001\0002, the deepest the card allows.
void EnterDepth3(CRQ540Vfs& vfs)
{
    ASSERT_EQ(vfs.CreateFolder(1, 4000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    ASSERT_EQ(vfs.CreateFolder(2, 2000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0002"), 0);
    ASSERT_EQ(vfs.GetPath().size(), 3u);
}

// Fills the current folder with 255 empty files, IDs 0x100 upwards.
void FillWithEntries(CRQ540Vfs& vfs)
{
    for (uint32_t i = 0; i < 255; ++i)
        ASSERT_EQ(vfs.CreateFile(0x100 + i, 0, 0), 0);
}

}  // namespace

TEST(CreateFolder, SizeRuleAndAccounting)
{
    CRQ540Vfs vfs(0);
    EXPECT_EQ(vfs.CreateFolder(1, 101), RESULT_INVALID_LENGTH);
    CFolderHeader* folder = nullptr;
    EXPECT_EQ(vfs.CreateFolder(1, 102, &folder), 0);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(folder->GetFreeSpace(), 0u);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), 61886u - 102);
    EXPECT_EQ(vfs.CreateFolder(2, 61886u - 102 + 1), RESULT_NO_SPACE);
    EXPECT_EQ(vfs.CreateFolder(2, 61886u - 102), 0);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), 0u);
    EXPECT_EQ(CheckAccounting(vfs.GetRoot()), 61988u);
}

TEST(CreateFolder, ChecksInOrder)
{
    CRQ540Vfs vfs(0);
    // Reserved IDs come before the size.
    for (uint32_t id : {0x0000u, 0x3F00u, 0x3F01u})
        EXPECT_EQ(vfs.CreateFolder(id, 1), RESULT_ALREADY_EXISTS) << id;
    // Size before space, space before duplicates.
    ASSERT_EQ(vfs.CreateFolder(1, 200), 0);
    EXPECT_EQ(vfs.CreateFolder(1, 50), RESULT_INVALID_LENGTH);
    EXPECT_EQ(vfs.CreateFolder(1, 70000), RESULT_NO_SPACE);
    EXPECT_EQ(vfs.CreateFolder(1, 200), RESULT_ALREADY_EXISTS);

    // The depth limit comes before everything, reserved IDs included.
    CRQ540Vfs deep(0);
    EnterDepth3(deep);
    const Snapshot before(deep);
    EXPECT_EQ(deep.CreateFolder(0x3F00, 1), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(deep.GetLastDetail(), DETAIL_DEPTH_LIMIT);
    EXPECT_STREQ(deep.GetErrorText(1), "目录深度已达限制");
    EXPECT_EQ(Snapshot(deep), before);
}

TEST(CreateFolder, DefaultAndGivenPasswords)
{
    CRQ540Vfs vfs(0);
    CFolderHeader* folder = nullptr;
    ASSERT_EQ(vfs.CreateFolder(1, 200, &folder), 0);
    std::array<uint8_t, 8> user{};
    std::array<uint8_t, 24> developer{};
    folder->GetUserPassword(user.data());
    folder->GetDeveloperPassword(developer.data());
    EXPECT_EQ(std::memcmp(user.data(), "73920184", 8), 0);
    EXPECT_EQ(std::memcmp(developer.data(), "582936145829361458293614", 24), 0);

    const std::array<uint8_t, 8> givenUser{1, 2, 3, 4, 5, 6, 7, 8};
    const std::array<uint8_t, 24> givenDeveloper{9};
    ASSERT_EQ(vfs.CreateFolder(2, 200, &folder, givenUser.data(), givenDeveloper.data()), 0);
    folder->GetUserPassword(user.data());
    folder->GetDeveloperPassword(developer.data());
    EXPECT_EQ(user, givenUser);
    EXPECT_EQ(developer, givenDeveloper);
}

TEST(CreateFile, ChecksInOrder)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 200), 0);
    // The type comes first, even before reserved or used IDs.
    EXPECT_EQ(vfs.CreateFile(0x3F00, 5, 0), RESULT_INVALID_PARAMETER);
    EXPECT_EQ(vfs.CreateFile(1, 5, 0), RESULT_INVALID_PARAMETER);
    EXPECT_EQ(vfs.CreateFile(1, 0x104, 0), RESULT_ALREADY_EXISTS) << "type compares on 8 bits";
    for (uint32_t id : {0x0000u, 0x3F00u, 0x3F01u})
        EXPECT_EQ(vfs.CreateFile(id, 0, 0), RESULT_ALREADY_EXISTS) << id;
    // A used ID comes before the space check.
    EXPECT_EQ(vfs.CreateFile(1, 0, 100000), RESULT_ALREADY_EXISTS);
    // No wrap-around: the header plus a huge size never fits.
    EXPECT_EQ(vfs.CreateFile(2, 0, 0xFFFFFFF8u), RESULT_NO_SPACE);
    EXPECT_EQ(ListIds(vfs.GetRoot()), (std::vector<uint16_t>{1}));
}

TEST(CreateFile, FreeSpaceBoundary)
{
    CRQ540Vfs vfs(0);
    const uint32_t free = vfs.GetRoot()->GetFreeSpace();
    EXPECT_EQ(vfs.CreateFile(1, 0, free - 16 + 1), RESULT_NO_SPACE);
    FileHandle handle = nullptr;
    EXPECT_EQ(vfs.CreateFile(1, 4, free - 16, &handle), 0);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), 0u);
    ASSERT_NE(handle, nullptr);
    EXPECT_TRUE(vfs.IsOpen(handle));
    EXPECT_EQ(handle->GetType(), 4);
    // A new file is zero-filled.
    std::vector<uint8_t> data(handle->GetSize(), 0xEE);
    ASSERT_EQ(vfs.ReadFile(handle, 0, handle->GetSize(), data.data()), 0);
    EXPECT_EQ(data, std::vector<uint8_t>(free - 16, 0));
    EXPECT_EQ(CheckAccounting(vfs.GetRoot()), 61988u);
}

TEST(EntryLimit, FullFolderRefusesEveryKindOfEntryAfterTheIdCheck)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 200), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 7, {1, 2});
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    AddFile(vfs, 0x100, {});

    CRQ540Vfs full(0);
    FillWithEntries(full);
    const Snapshot before(full);
    EXPECT_EQ(full.CreateFolder(1, 200), RESULT_NO_SPACE);
    EXPECT_EQ(full.CreateFile(1, 0, 0), RESULT_NO_SPACE);
    EXPECT_EQ(full.CreateFolder(0x100, 200), RESULT_ALREADY_EXISTS);
    EXPECT_EQ(full.CreateFile(0x100, 0, 0), RESULT_ALREADY_EXISTS);
    EXPECT_EQ(full.PasteEntry(vfs.FindFolder(1)), RESULT_NO_SPACE);
    EXPECT_EQ(full.PasteEntry(vfs.FindFile(0x100)), RESULT_ALREADY_EXISTS);
    EXPECT_EQ(Snapshot(full), before);
}

TEST(FileAccess, ReadWriteBounds)
{
    CRQ540Vfs vfs(0);
    FileHandle handle = nullptr;
    ASSERT_EQ(vfs.CreateFile(1, 1, 10, &handle), 0);
    const uint8_t source[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_EQ(vfs.WriteFile(handle, 0, 10, source), 0);
    uint8_t buffer[10] = {};
    EXPECT_EQ(vfs.ReadFile(handle, 4, 6, buffer), 0);
    EXPECT_EQ(buffer[0], 4);
    EXPECT_EQ(buffer[5], 9);
    EXPECT_EQ(vfs.ReadFile(handle, 4, 7, buffer), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(vfs.ReadFile(handle, 0xFFFFFFFFu, 2, buffer), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(vfs.WriteFile(handle, 0xFFFFFFFFu, 2, source), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(vfs.WriteFile(handle, 9, 2, source), RESULT_OUT_OF_RANGE);
    EXPECT_EQ(vfs.WriteFile(handle, 10, 0, source), 0);
    EXPECT_EQ(handle->GetSize(), 10u);
}

TEST(FileAccess, HandlesMustBeOpen)
{
    CRQ540Vfs vfs(0);
    AddFile(vfs, 1, {1, 2, 3});
    FileHandle never = vfs.FindFile(1);
    uint8_t buffer[3];
    EXPECT_EQ(vfs.ReadFile(never, 0, 1, buffer), RESULT_INVALID_HANDLE);
    EXPECT_EQ(vfs.WriteFile(never, 0, 1, buffer), RESULT_INVALID_HANDLE);
    EXPECT_EQ(vfs.CloseFile(never), RESULT_INVALID_HANDLE);

    FileHandle first = nullptr;
    FileHandle second = nullptr;
    ASSERT_EQ(vfs.OpenFile(1, &first), 0);
    ASSERT_EQ(vfs.OpenFile(1, &second), 0);
    EXPECT_EQ(first, second);
    EXPECT_EQ(vfs.CloseFile(first), 0);
    EXPECT_EQ(vfs.ReadFile(first, 0, 3, buffer), 0) << "opened twice, still open once";
    EXPECT_EQ(vfs.CloseFile(first), 0);
    EXPECT_EQ(vfs.ReadFile(first, 0, 3, buffer), RESULT_INVALID_HANDLE);

    FileHandle missing = reinterpret_cast<FileHandle>(&buffer);
    EXPECT_EQ(vfs.OpenFile(9, &missing), RESULT_FILE_NOT_FOUND);
    EXPECT_EQ(missing, nullptr);
}

TEST(DeleteFile, RefusalsAndCredit)
{
    CRQ540Vfs vfs(0);
    EXPECT_EQ(vfs.DeleteFile(1), RESULT_FILE_NOT_FOUND) << "empty folder";
    ASSERT_EQ(vfs.CreateFolder(1, 300), 0);
    EXPECT_EQ(vfs.DeleteFile(1), RESULT_FILE_NOT_FOUND) << "a folder is not a file";
    AddFile(vfs, 2, Bytes(40, 1));
    FileHandle handle = nullptr;
    ASSERT_EQ(vfs.OpenFile(2, &handle), 0);
    const Snapshot before(vfs);
    EXPECT_EQ(vfs.DeleteFile(2), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(vfs.GetLastDetail(), DETAIL_FILE_IN_USE);
    EXPECT_EQ(Snapshot(vfs), before);
    ASSERT_EQ(vfs.CloseFile(handle), 0);
    const uint32_t free = vfs.GetRoot()->GetFreeSpace();
    EXPECT_EQ(vfs.DeleteFile(2), 0);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), free + 56);
    EXPECT_EQ(ListIds(vfs.GetRoot()), (std::vector<uint16_t>{1}));
}

TEST(DeleteFolder, RestoresTheWholeSize)
{
    CRQ540Vfs vfs(0);
    const uint32_t free = vfs.GetRoot()->GetFreeSpace();
    AddFile(vfs, 2, {7});
    ASSERT_EQ(vfs.CreateFolder(1, 1000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 3, Bytes(100, 1));
    ASSERT_EQ(vfs.CreateFolder(4, 300), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0004"), 0);
    AddFile(vfs, 5, Bytes(20, 1));
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);

    EXPECT_EQ(vfs.DeleteFolder(2), RESULT_UNKNOWN_ERROR) << "a file is not a folder";
    EXPECT_EQ(vfs.GetLastDetail(), DETAIL_FOLDER_NOT_FOUND);
    EXPECT_EQ(vfs.DeleteFolder(1), 0);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), free - 17);
    EXPECT_EQ(ListIds(vfs.GetRoot()), (std::vector<uint16_t>{2}));
}

TEST(DeleteFolder, OpenFileStopsPartWayAndKeepsAccounting)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 2000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 0xA, Bytes(10, 1));       // last in the list: never reached
    AddFile(vfs, 0xB, Bytes(20, 1));       // the open file
    AddFile(vfs, 0xC, Bytes(30, 1));       // first in the list: deleted
    FileHandle open = nullptr;
    ASSERT_EQ(vfs.OpenFile(0xB, &open), 0);
    const uint32_t folderFree = vfs.GetCurrentFolder()->GetFreeSpace();
    ASSERT_EQ(vfs.ChangeDirectory(".."), 0);
    const uint32_t rootFree = vfs.GetRoot()->GetFreeSpace();

    bool thrown = false;
    try {
        (void)vfs.DeleteFolder(1);  // throws before it could answer
    } catch (uint16_t id) {
        thrown = true;
        EXPECT_EQ(id, 0xB);
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), rootFree);
    CFolderHeader* folder = vfs.FindFolder(1);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(ListIds(folder), (std::vector<uint16_t>{0xB, 0xA}));
    EXPECT_EQ(folder->GetFreeSpace(), folderFree + 16 + 30);
    EXPECT_EQ(CheckAccounting(vfs.GetRoot()), 61988u);
    EXPECT_TRUE(vfs.IsOpen(open));
}

TEST(PasteEntry, FolderChecksInOrder)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 3000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    ASSERT_EQ(vfs.CreateFolder(2, 1000), 0);
    ASSERT_EQ(vfs.CreateFolder(3, 500), 0);
    ASSERT_EQ(vfs.ChangeDirectory("..\\0001\\0002"), 0);
    AddFile(vfs, 9, {1, 2, 3});
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    const CFolderHeader* source = vfs.FindFolder(1);  // subtree depth 2

    // Depth: a depth-2 subtree does not fit at path length 2.
    ASSERT_EQ(vfs.ChangeDirectory("0001\\0003"), 0);
    Snapshot before(vfs);
    EXPECT_EQ(vfs.PasteEntry(source), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(vfs.GetLastDetail(), DETAIL_DEPTH_LIMIT);
    EXPECT_EQ(Snapshot(vfs), before);

    // Space before the ID: folder 0003 (500 bytes) does not fit in 0005's 98 free bytes.
    const CFolderHeader* small = FindChildFolder(vfs.GetPath()[1], 3);
    ASSERT_NE(small, nullptr);
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    ASSERT_EQ(vfs.CreateFolder(5, 200), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0005"), 0);
    before = Snapshot(vfs);
    EXPECT_EQ(vfs.PasteEntry(small), RESULT_NO_SPACE);
    EXPECT_EQ(Snapshot(vfs), before);

    // Into the root: the ID exists.
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    EXPECT_EQ(vfs.PasteEntry(source), RESULT_ALREADY_EXISTS);
}

TEST(PasteEntry, CopiesFoldersAndFiles)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 3000), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 0xA, {1});
    AddFile(vfs, 0xB, {2, 2});
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);

    // Folder 0001 into a fresh card.
    CRQ540Vfs other(0);
    const uint32_t free = other.GetRoot()->GetFreeSpace();
    ASSERT_EQ(other.PasteEntry(vfs.FindFolder(1)), 0);
    EXPECT_EQ(other.GetRoot()->GetFreeSpace(), free - 3000);
    EXPECT_EQ(ListIds(other.FindFolder(1)), (std::vector<uint16_t>{0xA, 0xB}));

    // A file copy keeps ID, type and bytes and pays header plus size.
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    const CFileHeader* file = vfs.FindFile(0xB);
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    const uint32_t rootFree = vfs.GetRoot()->GetFreeSpace();
    ASSERT_EQ(vfs.PasteEntry(file), 0);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), rootFree - 18);
    EXPECT_EQ(vfs.FindFile(0xB)->GetData()[1], 2);
    EXPECT_EQ(CheckAccounting(vfs.GetRoot()), 61988u);
    EXPECT_EQ(CheckAccounting(other.GetRoot()), 61988u);
}

TEST(PasteEntry, FileChecksInOrder)
{
    CRQ540Vfs vfs(0);
    ASSERT_EQ(vfs.CreateFolder(1, 121), 0);  // 19 bytes free
    AddFile(vfs, 2, Bytes(3, 0));
    const CFileHeader* file = vfs.FindFile(2);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    ASSERT_EQ(vfs.PasteEntry(file), 0);
    EXPECT_EQ(vfs.PasteEntry(file), RESULT_NO_SPACE) << "space comes before the ID";
    ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    EXPECT_EQ(vfs.PasteEntry(file), RESULT_ALREADY_EXISTS);
}

TEST(Format, ReturnsToAFreshCard)
{
    CRQ540Vfs vfs(0);
    const uint8_t serial[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    vfs.SetSerialNumber(serial);
    vfs.SetCustomerNumber(77);
    ASSERT_EQ(vfs.CreateFolder(1, 500), 0);
    ASSERT_EQ(vfs.ChangeDirectory("0001"), 0);
    FileHandle handle = nullptr;
    ASSERT_EQ(vfs.CreateFile(1, 0, 5, &handle), 0);
    vfs.Format(true);
    EXPECT_EQ(vfs.GetPath().size(), 1u);
    EXPECT_EQ(vfs.GetRoot()->GetFreeSpace(), 61886u);
    EXPECT_EQ(vfs.GetRoot()->GetFirstChild(), nullptr);
    EXPECT_EQ(vfs.GetRoot()->GetId(), ROOT_FOLDER_ID);
    EXPECT_EQ(Snapshot(vfs).image, Snapshot(CRQ540Vfs(0)).image);
    EXPECT_FALSE(vfs.IsOpen(handle));
    uint8_t serialOut[8] = {};
    vfs.GetSerialNumber(serialOut);
    EXPECT_EQ(std::memcmp(serialOut, serial, 8), 0);
    EXPECT_EQ(vfs.GetCustomerNumber(), 77u);

    vfs.Format(false);
    EXPECT_EQ(vfs.GetRoot(), nullptr);
    vfs.Format(false);  // nothing to drop
    EXPECT_TRUE(vfs.GetPath().empty());
}
