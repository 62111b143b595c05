// What the folder list and the tree panel show for an entry, without any widget: row
// texts, row images and the list's column widths.
#pragma once

#include "rq540/UnknownHeader.h"
#include "rq540/VirtualFileSystem.h"

#include <array>
#include <cstdint>
#include <string>

// The name shown for a file type byte; "未知文件" above 4.
const char* FileTypeName(uint8_t type);

// Texts of the four columns for an entry of the file system's tree.
std::array<std::string, 4> FormatEntryRow(const RQ540::CVirtualFileSystem& vfs,
                                          const RQ540::CUnknownHeader& entry);

// The icon resource of a row: folder, executable file (types 0 and 4) or file.
int EntryRowIcon(const RQ540::CUnknownHeader& entry);

// Widths of the four columns for a list whose client area is width pixels wide. The
// fixed columns narrow to 18 pixels as the area shrinks; the name column takes what is
// left beyond 290 pixels, and 18 pixels when nothing is left.
std::array<int, 4> ListColumnWidths(int width);
