// The ".rqfs" image file: a 16-byte header (model, folder count, file count, file data
// size) and the root folder record with every other record nested in it. Little-endian,
// packed.
#pragma once

#include "rq540/DiskFile.h"
#include "rq540/FolderHeader.h"

#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

namespace RQ540::VfsArchive {

// Raised for every malformed image; carries no message of its own.
class archive_format_exception : public std::exception {};

// Where and why the reader rejected an image, for tools that explain a verdict.
struct ImageDiagnostic {
    std::string rule;      // a stable key, e.g. "duplicate-id"
    std::string message;   // one English sentence
    uint64_t offset = 0;   // byte offset in the file where the rule failed
    std::string path;      // card path of the record, "/" for the root, "/0001/0002" below
    uint64_t expected = 0; // for rules that compare two numbers
    uint64_t actual = 0;
};

inline constexpr uint32_t IMAGE_HEADER_SIZE = 16;
inline constexpr uint32_t FILE_RECORD_FIXED_SIZE = 7;

// Bytes of a folder record's fixed part for the model (47 for model 0).
uint32_t FolderRecordFixedSize(int32_t model);

// The whole image as it is written to disk.
std::vector<uint8_t> SerializeImage(const CFolderHeader* root, int32_t model);

// Writes the image beside the target and renames it over the target only once it is
// whole on disk, so a failed save leaves any previous file untouched; the rules of
// DiskFile::ReplaceFile apply (links followed, read-only and hard-linked images refused).
// Throws File_Ptr::FILE_EXCEPTION: OPEN_FAILED when the file cannot be created or is
// refused, another value for any later failure. problem, when given, says why when known.
void WriteImage(const std::filesystem::path& path, const CFolderHeader* root, int32_t model,
                DiskFile::FileProblem* problem = nullptr);

// Reads and checks an image, which must be a regular file, and builds a new tree. Throws File_Ptr::FILE_EXCEPTION or
// archive_format_exception, having deleted whatever it built; the out values are set
// only on success. When diagnostic is given, a rejection as malformed fills it.
void ReadImage(const std::filesystem::path& path, CFolderHeader*& root, int32_t& model,
               ImageDiagnostic* diagnostic = nullptr);

}  // namespace RQ540::VfsArchive
