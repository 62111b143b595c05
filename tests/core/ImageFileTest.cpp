#include "TreeBuilder.h"

#include "rq540/File_Ptr.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace RQ540;
using namespace testing_rq;

namespace {

// The 63 bytes of a fresh model-0 card.
Bytes FreshImage()
{
    Bytes bytes = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,   // header
                   0x00, 0x3F, 0xFF, 0xBE, 0xF1, 0x00, 0x00,          // root, free 61886
                   0x2F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};   // length 47, no children
    for (char c : std::string("73920184582936145829361458293614"))
        bytes.push_back(static_cast<uint8_t>(c));
    return bytes;
}

class ImageFile : public ::testing::Test {
protected:
    // Writes bytes to a file and loads it; answers the result code.
    int32_t Load(const Bytes& bytes)
    {
        WriteBytes(m_dir / "card.rqfs", bytes);
        return m_vfs.LoadImage(m_dir / "card.rqfs");
    }

    // Loads bytes, expecting rejection as malformed by rule.
    void ExpectMalformed(const Bytes& bytes, const std::string& rule)
    {
        EXPECT_EQ(Load(bytes), RESULT_UNKNOWN_ERROR) << rule;
        EXPECT_EQ(m_vfs.GetLastDetail(), DETAIL_INVALID_FORMAT) << rule;
        EXPECT_STREQ(m_vfs.GetErrorText(1), "无效的文件格式");
        EXPECT_EQ(m_vfs.GetLastImageDiagnostic().rule, rule);
        EXPECT_EQ(m_vfs.GetRoot(), nullptr);
    }

    TempDir m_dir;
    CRQ540Vfs m_vfs{0};
};

// Root holding folder 0001 (size 1000, holding file 0002 of 3 bytes) and, first in the
// list, file 0003 of 2 bytes. Layout: header 16, root 47 at 16, file 0003 at 63 (9 bytes),
// folder 0001 at 72 (47), file 0002 at 119 (10 bytes); 129 in all.
Bytes NestedImage()
{
    CRQ540Vfs vfs(0);
    EXPECT_EQ(vfs.CreateFolder(1, 1000), 0);
    EXPECT_EQ(vfs.ChangeDirectory("0001"), 0);
    AddFile(vfs, 2, {0xA, 0xB, 0xC});
    EXPECT_EQ(vfs.ChangeDirectory("\\"), 0);
    AddFile(vfs, 3, {0xD, 0xE});
    return VfsArchive::SerializeImage(vfs.GetRoot(), 0);
}

constexpr std::size_t kRootRecord = 16;
constexpr std::size_t kFile3Record = 63;
constexpr std::size_t kFolder1Record = 72;
constexpr std::size_t kFile2Record = 119;

}  // namespace

TEST_F(ImageFile, FreshRootIs63Bytes)
{
    ASSERT_EQ(m_vfs.SaveImage(m_dir / "fresh.rqfs"), 0);
    EXPECT_EQ(ReadBytes(m_dir / "fresh.rqfs"), FreshImage());
}

TEST_F(ImageFile, OneEmptyFileLayout)
{
    ASSERT_EQ(m_vfs.CreateFile(1, 0, 0), 0);
    ASSERT_EQ(m_vfs.SaveImage(m_dir / "one.rqfs"), 0);
    const Bytes bytes = ReadBytes(m_dir / "one.rqfs");
    ASSERT_EQ(bytes.size(), 70u);
    EXPECT_EQ(GetU32(bytes, 0), 0u);
    EXPECT_EQ(GetU32(bytes, 4), 1u);
    EXPECT_EQ(GetU32(bytes, 8), 1u);
    EXPECT_EQ(GetU32(bytes, 12), 0u);
    EXPECT_EQ(GetU32(bytes, 16 + 3), 61870u);
    EXPECT_EQ(GetU32(bytes, 16 + 7), 54u);
    EXPECT_EQ(GetU32(bytes, 16 + 11), 1u);
    EXPECT_EQ(Bytes(bytes.begin() + 63, bytes.end()), (Bytes{0x01, 0x00, 0x00, 0, 0, 0, 0}));
}

TEST_F(ImageFile, NestedLayoutAndRoundTripKeepEverything)
{
    const Bytes image = NestedImage();
    ASSERT_EQ(image.size(), 129u);
    EXPECT_EQ(GetU32(image, kRootRecord + 7), 113u);                 // 47 + 9 + 47 + 10
    EXPECT_EQ(image[kFile3Record], 3);
    EXPECT_EQ(image[kFolder1Record + 2], 0xFF);
    EXPECT_EQ(GetU32(image, kFolder1Record + 3), 1000u - 102 - 16 - 3);
    EXPECT_EQ(GetU32(image, kFolder1Record + 7), 57u);
    EXPECT_EQ(image[kFile2Record + 7], 0xA);

    // Custom passwords, file types and many entries in a non-trivial order.
    CRQ540Vfs vfs(0);
    CFolderHeader* folder = nullptr;
    const uint8_t user[8] = {'a', 'b', 0, 0, 0, 0, 0, 0};
    uint8_t developer[24] = {};
    developer[23] = 0x99;
    ASSERT_EQ(vfs.CreateFolder(0x20, 4000, &folder, user, developer), 0);
    for (uint32_t id = 0x40; id > 0x30; --id)
        AddFile(vfs, id, Bytes(id, static_cast<uint8_t>(id)), static_cast<uint8_t>(id % 5));
    ASSERT_EQ(vfs.ChangeDirectory("0020"), 0);
    AddFile(vfs, 0x3F02, {9, 8, 7});
    ASSERT_EQ(vfs.SaveImage(m_dir / "a.rqfs"), 0);

    ASSERT_EQ(m_vfs.LoadImage(m_dir / "a.rqfs"), 0);
    EXPECT_EQ(m_vfs.GetPath().size(), 1u);
    EXPECT_EQ(ListIds(m_vfs.GetRoot()), ListIds(vfs.GetRoot()));
    EXPECT_EQ(VfsArchive::SerializeImage(m_vfs.GetRoot(), 0), VfsArchive::SerializeImage(vfs.GetRoot(), 0));
    ASSERT_EQ(m_vfs.SaveImage(m_dir / "b.rqfs"), 0);
    EXPECT_EQ(ReadBytes(m_dir / "a.rqfs"), ReadBytes(m_dir / "b.rqfs"));
    const CFolderHeader* loaded = m_vfs.FindFolder(0x20);
    ASSERT_NE(loaded, nullptr);
    uint8_t userOut[8];
    uint8_t developerOut[24];
    loaded->GetUserPassword(userOut);
    loaded->GetDeveloperPassword(developerOut);
    EXPECT_EQ(std::memcmp(userOut, user, 8), 0);
    EXPECT_EQ(std::memcmp(developerOut, developer, 24), 0);
    EXPECT_EQ(m_vfs.FindFile(0x33)->GetType(), 0x33 % 5);
    EXPECT_EQ(m_vfs.FindFile(0x33)->GetData()[0x32], 0x33);
}

TEST_F(ImageFile, HeaderChecks)
{
    Bytes image = FreshImage();
    PutU32(image, 0, 1);
    ExpectMalformed(image, "unknown-model");

    image = FreshImage();
    PutU32(image, 12, 61988);
    ExpectMalformed(image, "file-data-size");

    image = FreshImage();
    PutU32(image, 4, 61988 / 102 + 1);
    ExpectMalformed(image, "folder-count");

    image = FreshImage();
    PutU32(image, 8, (61988 - 102) / 16 + 1);
    ExpectMalformed(image, "file-count");

    // Counts that fit the card but claim more body than the file holds.
    image = FreshImage();
    PutU32(image, 4, 2);
    ExpectMalformed(image, "truncated");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().expected, 16u + 94);
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().actual, 63u);

    // No folder at all leaves no room for the root record.
    image = FreshImage();
    PutU32(image, 4, 0);
    ExpectMalformed(image, "record-overflow");
}

TEST_F(ImageFile, ShortAndMissingFiles)
{
    EXPECT_EQ(m_vfs.LoadImage(m_dir / "missing.rqfs"), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(m_vfs.GetLastDetail(), DETAIL_OPEN_FAILED);
    EXPECT_STREQ(m_vfs.GetErrorText(1), "打开文件失败");

    Bytes image = FreshImage();
    image.resize(15);
    EXPECT_EQ(Load(image), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(m_vfs.GetLastDetail(), DETAIL_FILE_OPERATION_FAILED);
    EXPECT_EQ(Load({}), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(m_vfs.GetLastDetail(), DETAIL_FILE_OPERATION_FAILED);

    image = FreshImage();
    image.pop_back();
    ExpectMalformed(image, "truncated");

    // A folder where the image should be cannot be read.
    std::filesystem::create_directory(m_dir / "folder.rqfs");
    EXPECT_EQ(m_vfs.LoadImage(m_dir / "folder.rqfs"), RESULT_UNKNOWN_ERROR);
    EXPECT_NE(m_vfs.GetLastDetail(), DETAIL_NONE);
    EXPECT_EQ(m_vfs.GetRoot(), nullptr);
}

TEST_F(ImageFile, ExtraBytesAreIgnored)
{
    Bytes image = NestedImage();
    image.insert(image.end(), {1, 2, 3, 4, 5});
    EXPECT_EQ(Load(image), 0);
    EXPECT_EQ(ListIds(m_vfs.GetRoot()), (std::vector<uint16_t>{3, 1}));
}

TEST_F(ImageFile, RecordChecks)
{
    Bytes image = NestedImage();
    image[kFolder1Record] = 3;  // folder 0001 becomes a second 0003
    ExpectMalformed(image, "duplicate-id");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().offset, kFolder1Record);
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().path, "/0003");

    image = NestedImage();
    image[kFile2Record] = 3;  // the same ID in another folder is fine
    EXPECT_EQ(Load(image), 0);

    image = NestedImage();
    image[kFile2Record + 2] = 5;
    ExpectMalformed(image, "bad-file-type");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().path, "/0001/0002");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().offset, kFile2Record + 2);

    image = NestedImage();
    PutU32(image, kFolder1Record + 7, 46);
    ExpectMalformed(image, "record-too-short");

    image = NestedImage();
    PutU32(image, kFolder1Record + 7, 58);  // one byte more than the root leaves
    ExpectMalformed(image, "record-overflow");

    image = NestedImage();
    PutU32(image, kRootRecord + 7, 114);
    ExpectMalformed(image, "record-overflow");

    image = NestedImage();
    PutU32(image, kFile2Record + 3, 4);  // data past the end of folder 0001
    ExpectMalformed(image, "file-overflow");

    image = NestedImage();
    PutU32(image, kFile2Record + 3, 0xFFFFFFFFu);  // would wrap a 32-bit position
    ExpectMalformed(image, "file-overflow");

    image = NestedImage();
    PutU32(image, kFolder1Record + 11, 0);  // the file's bytes are left over
    ExpectMalformed(image, "length-mismatch");

    image = NestedImage();
    PutU32(image, kFolder1Record + 11, 2);
    ExpectMalformed(image, "child-overflow");

    image = NestedImage();
    PutU32(image, kFolder1Record + 11, 0xFFFFFFFFu);
    ExpectMalformed(image, "child-overflow");
}

TEST_F(ImageFile, FreeSpacesMustAddUpToTheCapacity)
{
    Bytes image = NestedImage();
    PutU32(image, kRootRecord + 3, GetU32(image, kRootRecord + 3) + 1);
    ExpectMalformed(image, "usage-mismatch");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().expected, 61988u);
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().actual, 61989u);

    // Free spaces that wrap around 2^32 in 32-bit sums must not pass: two halves of 2^32
    // added to two folders leave the 32-bit total at the capacity.
    image = NestedImage();
    PutU32(image, kRootRecord + 3, GetU32(image, kRootRecord + 3) + 0x80000000u);
    PutU32(image, kFolder1Record + 3, GetU32(image, kFolder1Record + 3) + 0x80000000u);
    ExpectMalformed(image, "usage-mismatch");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().actual, 61988u + 0x100000000ull);
}

TEST_F(ImageFile, FailedLoadDropsTheOldTreeAndKeepsTheModel)
{
    ASSERT_EQ(m_vfs.CreateFolder(1, 200), 0);
    CVirtualFileSystem empty;
    EXPECT_EQ(empty.GetModel(), -1);
    EXPECT_EQ(empty.LoadImage(m_dir / "missing.rqfs"), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(empty.GetModel(), -1);
    EXPECT_EQ(m_vfs.LoadImage(m_dir / "missing.rqfs"), RESULT_UNKNOWN_ERROR);
    EXPECT_EQ(m_vfs.GetRoot(), nullptr);
    EXPECT_EQ(m_vfs.GetModel(), 0);

    WriteBytes(m_dir / "fresh.rqfs", FreshImage());
    EXPECT_EQ(empty.LoadImage(m_dir / "fresh.rqfs"), 0);
    EXPECT_EQ(empty.GetModel(), 0);
    EXPECT_EQ(empty.GetRoot()->GetFreeSpace(), 61886u);
}

TEST_F(ImageFile, DuplicateIdsAreFoundAmongSiblingsOnly)
{
    // Folders 0001 and 0002 each hold files 0005 and 0006 and a folder 0007 with a file
    // 0005; the root holds a file 0005 before and a file 0006 after them. Every ID is
    // unique among its siblings, and the second folder's file 0006 is written as 0BAD
    // so that it can be found in the bytes.
    CRQ540Vfs vfs(0);
    AddFile(vfs, 5, {1});
    for (const uint16_t folder : {1, 2}) {
        ASSERT_EQ(vfs.CreateFolder(folder, 4000), 0);
        ASSERT_EQ(vfs.ChangeDirectory(folder == 1 ? "0001" : "0002"), 0);
        ASSERT_EQ(vfs.CreateFolder(7, 1000), 0);
        ASSERT_EQ(vfs.ChangeDirectory("0007"), 0);
        AddFile(vfs, 5, {2});
        ASSERT_EQ(vfs.ChangeDirectory(".."), 0);
        AddFile(vfs, folder == 1 ? 6 : 0x0BAD, {3});
        AddFile(vfs, 5, {4});
        ASSERT_EQ(vfs.ChangeDirectory("\\"), 0);
    }
    AddFile(vfs, 6, {5});
    Bytes image = VfsArchive::SerializeImage(vfs.GetRoot(), 0);
    ASSERT_EQ(Load(image), 0);
    EXPECT_EQ(VfsArchive::SerializeImage(m_vfs.GetRoot(), 0), image);

    const Bytes marker = {0xAD, 0x0B, FILE_TYPE_EXECUTABLE};
    const auto found = std::search(image.begin(), image.end(), marker.begin(), marker.end());
    ASSERT_NE(found, image.end());
    const auto offset = static_cast<std::size_t>(found - image.begin());
    image[offset] = 0x05;
    image[offset + 1] = 0x00;
    ExpectMalformed(image, "duplicate-id");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().path, "/0002/0005");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().offset, offset);

    // The IDs met before that rejection are forgotten by the next load.
    image[offset] = 0xAD;
    image[offset + 1] = 0x0B;
    EXPECT_EQ(Load(image), 0);

    // The root's IDs are still known once both folders are read: its first file, 0006,
    // written as 0005, is met again in its last, read after them.
    const Bytes firstFile = {0x06, 0x00, FILE_TYPE_EXECUTABLE, 1, 0, 0, 0, 5};
    const Bytes lastFile = {0x05, 0x00, FILE_TYPE_EXECUTABLE, 1, 0, 0, 0, 1};
    const auto first = std::search(image.begin(), image.end(), firstFile.begin(), firstFile.end());
    const auto last = std::search(first, image.end(), lastFile.begin(), lastFile.end());
    ASSERT_NE(last, image.end());
    *first = 0x05;
    ExpectMalformed(image, "duplicate-id");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().path, "/0005");
    EXPECT_EQ(m_vfs.GetLastImageDiagnostic().offset, static_cast<std::size_t>(last - image.begin()));
}

TEST_F(ImageFile, LoadedEntriesLiveOnTheirOwn)
{
    // Header counts that add up to the same record bytes but name no files (2 folders, 0
    // files, 19 bytes of data) leave the loader less room than the entries need.
    const Bytes image = NestedImage();
    Bytes miscounted = image;
    miscounted[8] = 0;
    miscounted[12] = 19;
    ASSERT_EQ(Load(miscounted), 0);
    EXPECT_EQ(VfsArchive::SerializeImage(m_vfs.GetRoot(), 0), image);

    // A file taken out of a loaded tree outlives the tree, and goes when it is deleted.
    ASSERT_EQ(Load(image), 0);
    CUnknownHeader* kept = m_vfs.GetRoot()->GetFirstChild();
    *m_vfs.GetRoot()->GetFirstChildLink() = kept->GetNext();
    kept->SetNext(nullptr);
    m_vfs.Format(true);
    ASSERT_FALSE(kept->IsFolder());
    const auto* file = static_cast<const CFileHeader*>(kept);
    EXPECT_EQ(Bytes(file->GetData(), file->GetData() + file->GetSize()), (Bytes{0xD, 0xE}));
    delete kept;
}
