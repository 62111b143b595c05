// Room for the entries of one image read from disk, taken in one allocation instead of
// one per entry. Every entry placed in a block holds it, and so does the reader until it
// lets go; the block is given back with the last hold. Entries keep their own lives: each
// is deleted alone, moved between folders or kept after its tree is gone, as any other.
#pragma once

#include <cstddef>
#include <cstdint>

namespace RQ540 {

class CFileHeader;
class CFolderHeader;
class CUnknownHeader;

class CEntryBlock {
public:
    // A block with room for folderCount folders and fileCount files that hold
    // fileDataSize bytes of data between them, held by the caller until it calls Release.
    static CEntryBlock* Create(uint32_t folderCount, uint32_t fileCount, uint32_t fileDataSize);

    // The same as CFileHeader::Create and new CFolderHeader, placed in the block while it
    // has room and allocated alone after that.
    CFileHeader* NewFile(uint16_t id, uint8_t type, uint32_t size, const uint8_t* data,
                         CUnknownHeader* next);
    CFolderHeader* NewFolder(uint16_t id, uint32_t freeSpace, const uint8_t* userPassword,
                             const uint8_t* developerPassword, int32_t model,
                             CUnknownHeader* next);

    // Gives back one hold on the block.
    void Release();

    // Destroys entry, which lives in a block, and gives its hold back.
    static void Delete(CUnknownHeader* entry);

    CEntryBlock(const CEntryBlock&) = delete;
    CEntryBlock& operator=(const CEntryBlock&) = delete;

private:
    explicit CEntryBlock(std::size_t bytes);
    ~CEntryBlock() = default;

    // Room for an entry of bytes, or null when the block is full.
    void* Take(std::size_t bytes);
    // entry was built in room from Take: it holds the block from now on.
    void Adopt(CUnknownHeader& entry);
    std::byte* Room();

    std::size_t m_capacity;
    std::size_t m_used = 0;
    std::size_t m_holds = 1;
};

}  // namespace RQ540
