#include "rq540/EntryTree.h"

#include "rq540/CardModel.h"

#include <algorithm>

namespace RQ540 {

namespace {

// Adds the subtree's free spaces into totalSize and counts folders, files and data, the
// way the card sums them (32-bit, wrapping).
void AddUsage(const CFolderHeader* folder, FolderUsage& usage)
{
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        if (child->IsFolder()) {
            AddUsage(static_cast<const CFolderHeader*>(child), usage);
        } else {
            usage.fileDataSize += static_cast<const CFileHeader*>(child)->GetSize();
            ++usage.fileCount;
        }
    }
    usage.totalSize += folder->GetFreeSpace();
    ++usage.folderCount;
}

struct WideUsage {
    uint64_t freeSpaces = 0;
    uint64_t folderCount = 0;
    uint64_t fileCount = 0;
    uint64_t fileDataSize = 0;
};

void AddWideUsage(const CFolderHeader* folder, WideUsage& usage)
{
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        if (child->IsFolder()) {
            AddWideUsage(static_cast<const CFolderHeader*>(child), usage);
        } else {
            usage.fileDataSize += static_cast<const CFileHeader*>(child)->GetSize();
            ++usage.fileCount;
        }
    }
    usage.freeSpaces += folder->GetFreeSpace();
    ++usage.folderCount;
}

}  // namespace

FolderUsage GetFolderUsage(const CFolderHeader* folder, int32_t model)
{
    FolderUsage usage;
    usage.freeSpace = folder->GetFreeSpace();
    AddUsage(folder, usage);
    usage.totalSize += usage.fileDataSize + GetFolderHeaderCost(model) * usage.folderCount +
                       GetFileHeaderCost(model) * usage.fileCount;
    return usage;
}

uint64_t GetFolderTotalSize64(const CFolderHeader* folder, int32_t model)
{
    WideUsage usage;
    AddWideUsage(folder, usage);
    return usage.freeSpaces + usage.fileDataSize +
           uint64_t{GetFolderHeaderCost(model)} * usage.folderCount +
           uint64_t{GetFileHeaderCost(model)} * usage.fileCount;
}

uint32_t GetSubtreeDepth(const CFolderHeader* folder)
{
    uint32_t deepestChild = 0;
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        if (child->IsFolder())
            deepestChild = std::max(deepestChild,
                                    GetSubtreeDepth(static_cast<const CFolderHeader*>(child)));
    }
    return 1 + deepestChild;
}

CFolderHeader* FindChildFolder(const CFolderHeader* folder, uint32_t id)
{
    const auto id16 = static_cast<uint16_t>(id);
    for (CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        if (child->GetId() == id16 && child->IsFolder())
            return static_cast<CFolderHeader*>(child);
    }
    return nullptr;
}

CFileHeader* FindChildFile(const CFolderHeader* folder, uint32_t id)
{
    const auto id16 = static_cast<uint16_t>(id);
    for (CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        if (child->GetId() == id16 && !child->IsFolder())
            return static_cast<CFileHeader*>(child);
    }
    return nullptr;
}

CUnknownHeader** FindChildFolderLink(CFolderHeader* folder, uint32_t id)
{
    const auto id16 = static_cast<uint16_t>(id);
    CUnknownHeader** link = folder->GetFirstChildLink();
    while (*link && !((*link)->GetId() == id16 && (*link)->IsFolder()))
        link = (*link)->GetNextLink();
    return link;
}

bool HasChild(uint32_t id, uint32_t& count, const CFolderHeader* folder)
{
    const auto id16 = static_cast<uint16_t>(id);
    count = 0;
    for (const CUnknownHeader* child = folder->GetFirstChild(); child; child = child->GetNext()) {
        ++count;
        if (child->GetId() == id16)
            return true;
    }
    return false;
}

}  // namespace RQ540
