#include "EntryBlock.h"

#include "rq540/FileHeader.h"
#include "rq540/FolderHeader.h"
#include "rq540/UnknownHeader.h"

#if __has_include(<sanitizer/asan_interface.h>)
#include <sanitizer/asan_interface.h>
#else
#define ASAN_POISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#define ASAN_UNPOISON_MEMORY_REGION(addr, size) ((void)(addr), (void)(size))
#endif

#include <algorithm>
#include <new>

namespace RQ540 {

namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);

// Under the address sanitizer, poisoned gaps between entries and the room of deleted
// entries let it see overruns and late uses inside a block as it does between allocations.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kGap = kAlignment;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kGap = kAlignment;
#else
constexpr std::size_t kGap = 0;
#endif
#else
constexpr std::size_t kGap = 0;
#endif

constexpr std::size_t RoundUp(std::size_t bytes)
{
    return (bytes + kAlignment - 1) / kAlignment * kAlignment;
}

// The room an entry of bytes takes in a block.
constexpr std::size_t Footprint(std::size_t bytes) { return RoundUp(bytes) + kGap; }

// The room before the first entry, so that no entry lies at offset 0 of its block.
constexpr std::size_t kHead = RoundUp(sizeof(CEntryBlock));

}  // namespace

CEntryBlock::CEntryBlock(std::size_t bytes) : m_capacity(bytes) {}

CEntryBlock* CEntryBlock::Create(uint32_t folderCount, uint32_t fileCount, uint32_t fileDataSize)
{
    // A file's footprint is at most its data, its header and the rounding of the two.
    const std::size_t bytes = Footprint(sizeof(CFolderHeader)) * folderCount +
                              (Footprint(sizeof(CFileHeader)) + kAlignment - 1) * fileCount +
                              fileDataSize;
    void* memory = ::operator new(kHead + bytes, std::align_val_t{kAlignment});
    auto* block = ::new (memory) CEntryBlock(bytes);
    ASAN_POISON_MEMORY_REGION(block->Room(), bytes);
    return block;
}

std::byte* CEntryBlock::Room() { return reinterpret_cast<std::byte*>(this) + kHead; }

void* CEntryBlock::Take(std::size_t bytes)
{
    const std::size_t footprint = Footprint(bytes);
    if (m_capacity - m_used < footprint)
        return nullptr;
    std::byte* room = Room() + m_used;
    m_used += footprint;
    ASAN_UNPOISON_MEMORY_REGION(room, bytes);
    return room;
}

void CEntryBlock::Adopt(CUnknownHeader& entry)
{
    entry.m_blockOffset =
        static_cast<uint32_t>(reinterpret_cast<std::byte*>(&entry) - reinterpret_cast<std::byte*>(this));
    ++m_holds;
}

CFileHeader* CEntryBlock::NewFile(uint16_t id, uint8_t type, uint32_t size, const uint8_t* data,
                                  CUnknownHeader* next)
{
    void* room = Take(sizeof(CFileHeader) + size);
    if (!room)
        return CFileHeader::Create(id, type, size, data, next);
    auto* file = ::new (room) CFileHeader(id, type, size, next);
    std::copy_n(data, size, file->GetData());
    Adopt(*file);
    return file;
}

CFolderHeader* CEntryBlock::NewFolder(uint16_t id, uint32_t freeSpace, const uint8_t* userPassword,
                                      const uint8_t* developerPassword, int32_t model,
                                      CUnknownHeader* next)
{
    void* room = Take(sizeof(CFolderHeader));
    if (!room)
        return new CFolderHeader(id, freeSpace, userPassword, developerPassword, model, next);
    auto* folder =
        ::new (room) CFolderHeader(id, freeSpace, userPassword, developerPassword, model, next);
    Adopt(*folder);
    return folder;
}

void CEntryBlock::Release()
{
    if (--m_holds > 0)
        return;
    this->~CEntryBlock();
    ::operator delete(this, std::align_val_t{kAlignment});
}

// Defined here, beside the blocks it gives entries back to: an entry allocated alone goes
// back to the heap, one placed in a block to its block.
void CUnknownHeader::operator delete(CUnknownHeader* entry, std::destroying_delete_t)
{
    if (entry->m_blockOffset != 0) {
        CEntryBlock::Delete(entry);
        return;
    }
    entry->~CUnknownHeader();
    ::operator delete(entry);
}

void CEntryBlock::Delete(CUnknownHeader* entry)
{
    auto* block = reinterpret_cast<CEntryBlock*>(reinterpret_cast<std::byte*>(entry) -
                                                 entry->m_blockOffset);
    [[maybe_unused]] const std::size_t footprint =
        Footprint(entry->IsFolder()
                      ? sizeof(CFolderHeader)
                      : sizeof(CFileHeader) + static_cast<const CFileHeader*>(entry)->GetSize());
    entry->~CUnknownHeader();
    ASAN_POISON_MEMORY_REGION(entry, footprint);
    block->Release();
}

}  // namespace RQ540
