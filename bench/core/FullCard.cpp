#include "FullCard.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace RQ540::Bench {

namespace {

struct PlannedFolder {
    uint16_t id;
    std::vector<uint32_t> fileSizes;
    std::vector<PlannedFolder> folders;
};

// The budget a folder needs to hold its plan with nothing to spare.
uint32_t Budget(const PlannedFolder& folder)
{
    uint32_t budget = GetFolderHeaderCost(0);
    for (const uint32_t size : folder.fileSizes)
        budget += GetFileHeaderCost(0) + size;
    for (const PlannedFolder& sub : folder.folders)
        budget += Budget(sub);
    return budget;
}

void Require(int32_t result, const char* step)
{
    if (result != RESULT_SUCCESS)
        throw std::runtime_error(std::string("full card: ") + step + " refused, result " +
                                 std::to_string(result));
}

std::string IdText(uint16_t id)
{
    char text[5];
    std::snprintf(text, sizeof text, "%04X", id);
    return text;
}

class CCardFiller {
public:
    explicit CCardFiller(CRQ540Vfs& vfs) : m_vfs(vfs) {}

    // Fills the current folder with the plan's sub-folders, then its files.
    void Fill(const PlannedFolder& folder)
    {
        for (const PlannedFolder& sub : folder.folders) {
            Require(m_vfs.CreateFolder(sub.id, Budget(sub)), "CreateFolder");
            Require(m_vfs.ChangeDirectory(IdText(sub.id)), "ChangeDirectory");
            Fill(sub);
            Require(m_vfs.ChangeDirectory(".."), "ChangeDirectory");
        }
        uint16_t id = 1;
        for (const uint32_t size : folder.fileSizes) {
            std::vector<uint8_t> data(size);
            for (uint8_t& byte : data)
                byte = NextByte();
            FileHandle handle = nullptr;
            Require(m_vfs.CreateFile(id++, FILE_TYPE_DATA, size, &handle), "CreateFile");
            Require(m_vfs.WriteFile(handle, 0, size, data.data()), "WriteFile");
            Require(m_vfs.CloseFile(handle), "CloseFile");
        }
    }

private:
    uint8_t NextByte()
    {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<uint8_t>(m_state >> 16);
    }

    CRQ540Vfs& m_vfs;
    uint32_t m_state = 1;
};

}  // namespace

void BuildFullCard(CRQ540Vfs& vfs)
{
    // Root: 4 folders of 5 folders each; 16 files in the root, 10 in each middle folder,
    // 15 in each leaf. The data fills what the headers leave of the capacity.
    const uint32_t dataSize = GetCapacity(0) - FULL_CARD_FOLDERS * GetFolderHeaderCost(0) -
                              FULL_CARD_FILES * GetFileHeaderCost(0);
    uint32_t planned = 0;
    auto sizes = [&](uint32_t count) {
        std::vector<uint32_t> result;
        for (uint32_t i = 0; i < count; ++i, ++planned)
            result.push_back(dataSize / FULL_CARD_FILES + (planned < dataSize % FULL_CARD_FILES));
        return result;
    };
    PlannedFolder root{ROOT_FOLDER_ID, sizes(16), {}};
    for (uint16_t middle = 0; middle < 4; ++middle) {
        PlannedFolder folder{static_cast<uint16_t>(0x0100 + middle), sizes(10), {}};
        for (uint16_t leaf = 0; leaf < 5; ++leaf)
            folder.folders.push_back({static_cast<uint16_t>(0x0200 + leaf), sizes(15), {}});
        root.folders.push_back(std::move(folder));
    }
    CCardFiller(vfs).Fill(root);

    FolderUsage usage;
    vfs.GetFolderUsage(vfs.GetRoot(), usage);
    if (usage.folderCount != FULL_CARD_FOLDERS || usage.fileCount != FULL_CARD_FILES ||
        usage.totalSize != GetCapacity(0) || vfs.GetRoot()->GetFreeSpace() != 0)
        throw std::runtime_error("full card: the card is not full as planned");
}

}  // namespace RQ540::Bench
