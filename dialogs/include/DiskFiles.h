// Disk files the editor imports, exports and edits, handled by the core's rules: only
// regular files and devices are read (a FIFO is refused at once instead of making the
// window wait), reads stop at a limit, and a destination is replaced only once its new
// content is whole beside it, so a failed export leaves the old file as it was. Each
// failure is reported over parent in one wording, with the reason when it is known.
#pragma once

#include "rq540/DiskFile.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

class QWidget;

// At most limit bytes from the start of path; after "无法打开文件 %1 !" or
// "无法读取文件 %1 !", nothing.
std::optional<std::vector<uint8_t>> ReadDiskBytes(QWidget* parent, const QString& path,
                                                  uint64_t limit);

// The length of the regular file path names, links followed; nothing for anything else
// and when there is no such file. Only asks the file system and reports nothing.
std::optional<uint64_t> RegularFileLength(const QString& path);

// Replaces path (or creates it) with bytes; false after "无法创建文件 %1 !" or
// "无法写入文件 %1 !".
bool ReplaceDiskFile(QWidget* parent, const QString& path, std::span<const uint8_t> bytes);

// message, with why the file could not be used on a line of its own; message alone when
// it says all there is (NONE, OPEN_FAILED, READ_FAILED, TOO_LONG).
QString WithFileProblem(const QString& message, RQ540::DiskFile::FileProblem problem);
