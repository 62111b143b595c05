// Disk files as the core and its tools handle them: symbolic links followed to the real
// file, only regular files read, reads bounded, and files replaced whole by a temporary
// file beside them that is renamed over them once it is complete on disk.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace RQ540::DiskFile {

// What went wrong with a disk file beyond a failed call, for messages that say why.
enum class FileProblem {
    NONE,
    NOT_REGULAR,          // a folder, FIFO, device or socket where a file belongs
    NOT_WRITABLE,         // the file exists but may not be opened for writing
    FOLDER_NOT_WRITABLE,  // no file can be created in the file's folder
    HARD_LINKED,          // other names share the file
    LINK_LOOP,            // symbolic links that never reach a file
    TOO_LONG,             // more bytes than the reader was allowed to take
    OPEN_FAILED,
    READ_FAILED,
};

// One short English phrase per problem ("the folder is not writable"); empty for NONE.
const char* DescribeFileProblem(FileProblem problem);

// The file that path names once symbolic links in its last component are followed, also
// when that file does not exist yet (a dangling link names the file it would create);
// links in the folders on the way are left to the system. Nothing for a chain of more
// than 40 links.
std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& path);

// What tells one state of a file on disk from another: replacing the file changes the
// inode, rewriting it in place the size or the modification time.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    int64_t modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file path names, links followed; nothing when there is none.
std::optional<FileIdentity> GetIdentity(const std::filesystem::path& path);

// Whether path names a regular file, links followed. Only asks the file system, so a
// FIFO never blocks it.
bool IsRegularFile(const std::filesystem::path& path);

// Reads at most limit bytes of the file path names into bytes and probes one more:
// TOO_LONG when there is one (bytes then hold the first limit bytes). A regular file or a
// character device is read; a folder, FIFO or socket is NOT_REGULAR and opened without
// waiting for a writer. OPEN_FAILED and READ_FAILED leave bytes empty.
FileProblem ReadBounded(const std::filesystem::path& path, uint64_t limit,
                        std::vector<uint8_t>& bytes);

// Replaces the file path names (links followed) with bytes, or creates it. The bytes go
// to a temporary file of a short name beside the real file, which is created with no
// more permissions than the file it replaces, given that file's owner and group when the
// process may, and otherwise that file's permissions without the group's; it is flushed
// to disk, renamed over the file, and the folder is flushed after the rename. A
// temporary file is removed on failure, and on SIGINT, SIGTERM or SIGHUP once
// CPendingRemoval handles them.
//
// Refused before anything is written, leaving every file as it was: a file the process
// may not open for writing (NOT_WRITABLE), and a file with several hard links
// (HARD_LINKED): renaming a new file over one of its names would leave the other names on
// the old content, and rewriting it in place could leave it torn, so such a file must be
// copied to a file of its own first. Throws File_Ptr::FILE_EXCEPTION: OPEN_FAILED when
// the file cannot be created or is refused, WRITE_FAILED when path names something that
// is not a regular file, another value for any later failure. problem, when given, says
// why when the reason is known, else NONE.
void ReplaceFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                 FileProblem* problem = nullptr);

}  // namespace RQ540::DiskFile
