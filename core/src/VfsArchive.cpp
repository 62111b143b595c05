#include "rq540/VfsArchive.h"

#include "EntryBlock.h"
#include "rq540/CardModel.h"
#include "rq540/CardPath.h"
#include "rq540/DiskFile.h"
#include "rq540/EntryTree.h"
#include "rq540/FileHeader.h"
#include "rq540/File_Ptr.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <memory>
#include <span>

namespace RQ540::VfsArchive {

namespace {

// Offsets inside a folder record's fixed part.
constexpr uint32_t kFolderFreeSpaceOffset = 3;
constexpr uint32_t kFolderRecordLengthOffset = 7;
constexpr uint32_t kFolderChildCountOffset = 11;
constexpr uint32_t kFolderPasswordsOffset = 15;
// Offsets inside a file record.
constexpr uint32_t kFileTypeOffset = 2;
constexpr uint32_t kFileSizeOffset = 3;

void PutU16(uint8_t* at, uint16_t value)
{
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t GetU16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | (at[1] << 8)); }

uint32_t GetU32(const uint8_t* at)
{
    return uint32_t{at[0]} | (uint32_t{at[1]} << 8) | (uint32_t{at[2]} << 16) |
           (uint32_t{at[3]} << 24);
}

// Appends the record of folder at position and answers its length.
uint32_t WriteFolder(const CFolderHeader* folder, uint8_t* image, uint32_t position,
                     int32_t model)
{
    uint8_t* record = image + position;
    const uint32_t userLength = GetUserPasswordLength(model);
    PutU16(record, folder->GetId());
    record[kFileTypeOffset] = FOLDER_TYPE_MARK;
    PutU32(record + kFolderFreeSpaceOffset, folder->GetFreeSpace());
    folder->GetUserPassword(record + kFolderPasswordsOffset);
    folder->GetDeveloperPassword(record + kFolderPasswordsOffset + userLength);

    uint32_t recordLength = FolderRecordFixedSize(model);
    uint32_t childCount = 0;
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        if (child->IsFolder()) {
            recordLength += WriteFolder(static_cast<const CFolderHeader*>(child), image,
                                        position + recordLength, model);
        } else {
            const auto* file = static_cast<const CFileHeader*>(child);
            uint8_t* fileRecord = record + recordLength;
            PutU16(fileRecord, file->GetId());
            fileRecord[kFileTypeOffset] = file->GetType();
            PutU32(fileRecord + kFileSizeOffset, file->GetSize());
            std::copy_n(file->GetData(), file->GetSize(), fileRecord + FILE_RECORD_FIXED_SIZE);
            recordLength += FILE_RECORD_FIXED_SIZE + file->GetSize();
        }
        ++childCount;
    }
    PutU32(record + kFolderRecordLengthOffset, recordLength);
    PutU32(record + kFolderChildCountOffset, childCount);
    return recordLength;
}

// The card path of a record as the chain of IDs from the root, kept on the reader's
// stack: the text is made only when a record is rejected.
struct RecordPath {
    const RecordPath* parent;  // null for the root
    uint16_t id;

    std::string Format() const
    {
        std::vector<uint16_t> ids;
        for (const RecordPath* step = this; step->parent; step = step->parent)
            ids.push_back(step->id);
        std::reverse(ids.begin(), ids.end());
        return CCardPath(std::move(ids)).ToString();
    }
};

constexpr RecordPath kRootPath{nullptr, 0};

[[noreturn]] void Reject(ImageDiagnostic* diagnostic, const char* rule, const char* message,
                         uint64_t offset, const RecordPath& path, uint64_t expected = 0,
                         uint64_t actual = 0)
{
    if (diagnostic)
        *diagnostic = ImageDiagnostic{rule, message, offset, path.Format(), expected, actual};
    throw archive_format_exception();
}

// The IDs already met among the children of the folder being read: one set of 65,536 bits
// (8 KiB) for the whole read, beside the list of the IDs met so far in every folder open
// on the way down, innermost last. Going down into a sub-folder takes its parent's IDs out
// of the set and coming back puts them in again, so one set serves every level.
class CSeenIds {
public:
    explicit CSeenIds(std::size_t entryCount) { m_open.reserve(entryCount); }

    // Where the IDs of a folder about to be read begin in the list.
    std::size_t Mark() const { return m_open.size(); }

    // False when id was already met in the folder being read.
    bool Insert(uint16_t id)
    {
        uint64_t& word = m_bits[id / 64];
        const uint64_t bit = uint64_t{1} << (id % 64);
        if (word & bit)
            return false;
        word |= bit;
        m_open.push_back(id);
        return true;
    }

    // Takes the IDs met since mark out of the set, before a sub-folder is read.
    void Leave(std::size_t mark)
    {
        for (std::size_t i = mark; i < m_open.size(); ++i)
            m_bits[m_open[i] / 64] = 0;
    }

    // Puts them in again once the sub-folder is read.
    void Return(std::size_t mark)
    {
        for (std::size_t i = mark; i < m_open.size(); ++i)
            m_bits[m_open[i] / 64] |= uint64_t{1} << (m_open[i] % 64);
    }

    // The folder whose IDs began at mark is read.
    void Close(std::size_t mark)
    {
        Leave(mark);
        m_open.resize(mark);
    }

private:
    std::array<uint64_t, 65536 / 64> m_bits{};
    std::vector<uint16_t> m_open;
};

class CImageParser {
public:
    // The entries are made in block.
    CImageParser(std::span<const uint8_t> body, int32_t model, CEntryBlock& block,
                 std::size_t entryCount, ImageDiagnostic* diagnostic)
        : m_body(body), m_model(model), m_fixed(FolderRecordFixedSize(model)),
          m_fileCost(GetFileHeaderCost(model)), m_diagnostic(diagnostic), m_seen(entryCount),
          m_block(block)
    {
    }

    CFolderHeader* NewFolder(uint64_t start, CUnknownHeader* next)
    {
        const uint8_t* record = m_body.data() + start;
        const uint8_t* passwords = record + kFolderPasswordsOffset;
        auto* folder = m_block.NewFolder(GetU16(record), GetU32(record + kFolderFreeSpaceOffset),
                                          passwords, passwords + GetUserPasswordLength(m_model),
                                          m_model, next);
        m_totalSize += uint64_t{GetFolderHeaderCost(m_model)} + folder->GetFreeSpace();
        return folder;
    }

    // What GetFolderTotalSize64 answers for the tree read so far, summed while reading.
    uint64_t GetTotalSize() const { return m_totalSize; }

    // Fixed part of the folder record at start must fit before enclosingEnd.
    void CheckFixedPart(uint64_t start, uint64_t enclosingEnd, const RecordPath& path) const
    {
        if (enclosingEnd - start < m_fixed)
            Reject(m_diagnostic, "record-overflow",
                   "the folder record's fixed part does not fit in the space its parent leaves",
                   FileOffset(start), path, m_fixed, enclosingEnd - start);
    }

    // Reads the children of folder, whose record starts at start and must end by
    // enclosingEnd; answers the record's length. The set of seen IDs is empty on entry and
    // on return.
    uint32_t ReadChildren(CFolderHeader* folder, uint64_t start, uint64_t enclosingEnd,
                          const RecordPath& path)
    {
        const uint8_t* record = m_body.data() + start;
        const uint32_t recordLength = GetU32(record + kFolderRecordLengthOffset);
        const uint32_t childCount = GetU32(record + kFolderChildCountOffset);
        if (recordLength < m_fixed)
            Reject(m_diagnostic, "record-too-short",
                   "the folder record is shorter than its fixed part",
                   FileOffset(start + kFolderRecordLengthOffset), path, m_fixed, recordLength);
        if (recordLength > enclosingEnd - start)
            Reject(m_diagnostic, "record-overflow",
                   "the folder record is longer than the space its parent leaves",
                   FileOffset(start + kFolderRecordLengthOffset), path, enclosingEnd - start,
                   recordLength);

        const uint64_t end = start + recordLength;
        CUnknownHeader** tail = folder->GetFirstChildLink();
        uint64_t position = start + m_fixed;
        const std::size_t mark = m_seen.Mark();
        for (uint32_t i = 0; i < childCount; ++i) {
            // Every record begins with its ID and its type byte.
            if (end - position < kFileTypeOffset + 1)
                Reject(m_diagnostic, "child-overflow",
                       "the folder record ends before all of its children",
                       FileOffset(position), path, childCount, i);
            const uint8_t* child = m_body.data() + position;
            const uint16_t id = GetU16(child);
            const RecordPath childPath{&path, id};
            if (!m_seen.Insert(id))
                Reject(m_diagnostic, "duplicate-id", "two children of one folder share an ID",
                       FileOffset(position), childPath);

            const uint8_t type = child[kFileTypeOffset];
            if (type == FOLDER_TYPE_MARK) {
                CheckFixedPart(position, end, childPath);
                auto* subFolder = NewFolder(position, nullptr);
                *tail = subFolder;
                tail = subFolder->GetNextLink();
                m_seen.Leave(mark);
                position += ReadChildren(subFolder, position, end, childPath);
                m_seen.Return(mark);
            } else {
                if (!IsValidFileType(m_model, type))
                    Reject(m_diagnostic, "bad-file-type",
                           "the record's type byte is neither a file type nor the folder mark",
                           FileOffset(position + kFileTypeOffset), childPath,
                           GetFileTypeCount(m_model), type);
                if (end - position < FILE_RECORD_FIXED_SIZE)
                    Reject(m_diagnostic, "file-overflow",
                           "the file record's header does not fit in its folder record",
                           FileOffset(position), childPath, FILE_RECORD_FIXED_SIZE, end - position);
                const uint32_t size = GetU32(child + kFileSizeOffset);
                if (uint64_t{FILE_RECORD_FIXED_SIZE} + size > end - position)
                    Reject(m_diagnostic, "file-overflow",
                           "the file's data runs past the end of its folder record",
                           FileOffset(position + kFileSizeOffset), childPath,
                           end - position - FILE_RECORD_FIXED_SIZE, size);
                auto* file =
                    m_block.NewFile(id, type, size, child + FILE_RECORD_FIXED_SIZE, nullptr);
                *tail = file;
                tail = file->GetNextLink();
                m_totalSize += uint64_t{m_fileCost} + size;
                position += FILE_RECORD_FIXED_SIZE + size;
            }
        }
        if (position != end)
            Reject(m_diagnostic, "length-mismatch",
                   "the children do not fill the folder record exactly",
                   FileOffset(start + kFolderRecordLengthOffset), path, recordLength,
                   position - start);
        m_seen.Close(mark);
        return recordLength;
    }

private:
    static uint64_t FileOffset(uint64_t bodyOffset) { return IMAGE_HEADER_SIZE + bodyOffset; }

    std::span<const uint8_t> m_body;
    int32_t m_model;
    uint32_t m_fixed;
    uint32_t m_fileCost;
    ImageDiagnostic* m_diagnostic;
    CSeenIds m_seen;
    uint64_t m_totalSize = 0;
    CEntryBlock& m_block;
};

struct ReleaseBlock {
    void operator()(CEntryBlock* block) const { block->Release(); }
};

}  // namespace

uint32_t FolderRecordFixedSize(int32_t model)
{
    return kFolderPasswordsOffset + GetUserPasswordLength(model) + GetDeveloperPasswordLength(model);
}

std::vector<uint8_t> SerializeImage(const CFolderHeader* root, int32_t model)
{
    const FolderUsage usage = GetFolderUsage(root, model);
    const uint32_t passwordBytes = root->GetUserPasswordSize() + root->GetDeveloperPasswordSize();
    std::vector<uint8_t> image(IMAGE_HEADER_SIZE + uint64_t{usage.fileDataSize} +
                               uint64_t{FILE_RECORD_FIXED_SIZE} * usage.fileCount +
                               uint64_t{kFolderPasswordsOffset + passwordBytes} * usage.folderCount);
    PutU32(image.data(), static_cast<uint32_t>(model));
    PutU32(image.data() + 4, usage.folderCount);
    PutU32(image.data() + 8, usage.fileCount);
    PutU32(image.data() + 12, usage.fileDataSize);
    WriteFolder(root, image.data(), IMAGE_HEADER_SIZE, model);
    return image;
}

void WriteImage(const std::filesystem::path& path, const CFolderHeader* root, int32_t model,
                DiskFile::FileProblem* problem)
{
    // The whole image is built before any file is touched.
    const std::vector<uint8_t> image = SerializeImage(root, model);
    DiskFile::ReplaceFile(path, image, problem);
}

void ReadImage(const std::filesystem::path& path, CFolderHeader*& root, int32_t& model,
               ImageDiagnostic* diagnostic)
{
    File_Ptr file(path, "rb");
    uint8_t header[IMAGE_HEADER_SIZE];
    file.Read(header, sizeof header, 1);

    const auto storedModel = static_cast<int32_t>(GetU32(header));
    const uint32_t folderCount = GetU32(header + 4);
    const uint32_t fileCount = GetU32(header + 8);
    const uint32_t fileDataSize = GetU32(header + 12);
    if (!IsKnownModel(storedModel))
        Reject(diagnostic, "unknown-model", "the image names an unknown card model", 0, kRootPath, 0,
               static_cast<uint32_t>(storedModel));

    // The counts must be possible on the card at all; 32-bit arithmetic cannot wrap here
    // because each bound is checked before it is used in the next.
    const uint32_t capacity = GetCapacity(storedModel);
    const uint32_t folderCost = GetFolderHeaderCost(storedModel);
    const uint32_t fileCost = GetFileHeaderCost(storedModel);
    if (fileDataSize >= capacity)
        Reject(diagnostic, "file-data-size", "the file data size is not below the card capacity",
               12, kRootPath, capacity, fileDataSize);
    if (folderCount > (capacity - fileDataSize) / folderCost)
        Reject(diagnostic, "folder-count", "more folders than the card can hold", 4, kRootPath,
               (capacity - fileDataSize) / folderCost, folderCount);
    if (fileCount > (capacity - fileDataSize - folderCost * folderCount) / fileCost)
        Reject(diagnostic, "file-count", "more files than the card can hold", 8, kRootPath,
               (capacity - fileDataSize - folderCost * folderCount) / fileCost, fileCount);

    file.Seek(0, SEEK_END);
    const auto length = static_cast<uint64_t>(file.Tell());
    const uint64_t bodySize = uint64_t{FolderRecordFixedSize(storedModel)} * folderCount +
                              uint64_t{FILE_RECORD_FIXED_SIZE} * fileCount + fileDataSize;
    if (length < IMAGE_HEADER_SIZE + bodySize)
        Reject(diagnostic, "truncated", "the file is shorter than the header's counts require",
               length, kRootPath, IMAGE_HEADER_SIZE + bodySize, length);

    // The entries go to one block sized for the counts of the header (the root among the
    // folders); an image whose records hold more than the counts say gets the rest
    // allocated one by one.
    const std::unique_ptr<CEntryBlock, ReleaseBlock> block(
        CEntryBlock::Create(folderCount, fileCount, fileDataSize));
    file.Seek(IMAGE_HEADER_SIZE, SEEK_SET);
    const std::unique_ptr<uint8_t[]> records(new uint8_t[bodySize]);
    file.Read(records.get(), bodySize, 1);

    CImageParser parser({records.get(), bodySize}, storedModel, *block,
                        std::size_t{folderCount} + fileCount, diagnostic);
    parser.CheckFixedPart(0, bodySize, kRootPath);
    std::unique_ptr<CFolderHeader> newRoot(parser.NewFolder(0, nullptr));
    parser.ReadChildren(newRoot.get(), 0, bodySize, kRootPath);

    // Every free space and every size must add up to the capacity, counted without
    // wrap-around so that huge free spaces cannot pass for a consistent card.
    const uint64_t total = parser.GetTotalSize();
    if (total != capacity)
        Reject(diagnostic, "usage-mismatch", "the free spaces and sizes do not add up to the capacity",
               IMAGE_HEADER_SIZE + kFolderFreeSpaceOffset, kRootPath, capacity, total);

    root = newRoot.release();
    model = storedModel;
}

}  // namespace RQ540::VfsArchive
