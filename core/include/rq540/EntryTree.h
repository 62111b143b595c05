// Walks over the entry tree: usage totals, subtree depth and lookups in one folder.
#pragma once

#include "rq540/FileHeader.h"
#include "rq540/FolderHeader.h"

#include <cstdint>

namespace RQ540 {

// Totals of a folder's subtree, in 32-bit unsigned arithmetic as the card keeps them.
struct FolderUsage {
    uint32_t totalSize = 0;     // by the accounting rule, the size the folder was created with
    uint32_t freeSpace = 0;     // free space of the walked folder itself
    uint32_t folderCount = 0;   // the walked folder included
    uint32_t fileCount = 0;
    uint32_t fileDataSize = 0;
};

FolderUsage GetFolderUsage(const CFolderHeader* folder, int32_t model);
// The same total computed in 64 bits, so an image whose numbers wrap around 2^32 cannot
// pass for one that adds up.
uint64_t GetFolderTotalSize64(const CFolderHeader* folder, int32_t model);
// Levels of folders in the subtree, at least 1; files do not count.
uint32_t GetSubtreeDepth(const CFolderHeader* folder);

// First child with the ID (compared on 16 bits) of the wanted kind, or null.
CFolderHeader* FindChildFolder(const CFolderHeader* folder, uint32_t id);
CFileHeader* FindChildFile(const CFolderHeader* folder, uint32_t id);
// The link (firstChild or a next field) that holds the first child folder with the ID,
// or the null link that ends the list when there is none.
CUnknownHeader** FindChildFolderLink(CFolderHeader* folder, uint32_t id);
// Stops at the first entry with the ID, file or folder: true with the entries visited;
// otherwise false with the count of all children.
bool HasChild(uint32_t id, uint32_t& count, const CFolderHeader* folder);

}  // namespace RQ540
