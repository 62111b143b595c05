#include "EntryRows.h"

#include "Resource.h"
#include "ShellTexts.h"

#include "rq540/FileHeader.h"
#include "rq540/FolderHeader.h"
#include "rq540/HexDigits.h"

const char* FileTypeName(uint8_t type)
{
    switch (type) {
    case RQ540::FILE_TYPE_EXECUTABLE: return Texts::EXECUTABLE_FILE;
    case RQ540::FILE_TYPE_DATA: return Texts::DATA_FILE;
    case RQ540::FILE_TYPE_PUBLIC_KEY: return Texts::PUBLIC_KEY_FILE;
    case RQ540::FILE_TYPE_PRIVATE_KEY: return Texts::PRIVATE_KEY_FILE;
    case RQ540::FILE_TYPE_INTERNAL_EXECUTABLE: return Texts::INTERNAL_EXECUTABLE_FILE;
    default: return Texts::UNKNOWN_FILE;
    }
}

std::array<std::string, 4> FormatEntryRow(const RQ540::CVirtualFileSystem& vfs,
                                          const RQ540::CUnknownHeader& entry)
{
    std::array<std::string, 4> texts;
    texts[0] = RQ540::FormatId(entry.GetId());
    if (entry.IsFolder()) {
        RQ540::FolderUsage usage;
        vfs.GetFolderUsage(static_cast<const RQ540::CFolderHeader*>(&entry), usage);
        texts[1] = std::to_string(static_cast<int32_t>(usage.totalSize)) + "/" +
                   std::to_string(static_cast<int32_t>(usage.freeSpace));
        texts[2] = Texts::FOLDER_ATTRIBUTE;
    } else {
        const auto& file = static_cast<const RQ540::CFileHeader&>(entry);
        texts[1] = std::to_string(static_cast<int32_t>(file.GetSize()));
        texts[2] = FileTypeName(file.GetType());
    }
    return texts;
}

int EntryRowIcon(const RQ540::CUnknownHeader& entry)
{
    if (entry.IsFolder())
        return IDI_FOLDER;
    const uint8_t type = static_cast<const RQ540::CFileHeader&>(entry).GetType();
    return type == RQ540::FILE_TYPE_EXECUTABLE || type == RQ540::FILE_TYPE_INTERNAL_EXECUTABLE
               ? IDI_EXECUTABLE_FILE
               : IDI_FILE;
}

std::array<int, 4> ListColumnWidths(int width)
{
    constexpr int narrow = 18;
    return {
        width > 290 ? width - 290 : narrow,
        width < 130 ? narrow : 130,
        width < 210 ? narrow : 80,
        width < 250 ? narrow : 40,
    };
}
