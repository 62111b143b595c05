// Disk files as the core and its tools handle them: symbolic links followed to the real
// file, only regular files read, reads bounded, and files replaced whole by a temporary
// file beside them that is renamed over them once it is complete on disk.
#pragma once

#include "rq540/FileProblem.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace RQ540::DiskFile {

// The disk path that UTF-8 text names, and the UTF-8 text of a disk path, for names that
// come from a command line or a manifest and go into messages: Windows names files in
// UTF-16, other systems take the bytes as they are.
std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);
// The same with '/' between folder names on every system, as in a dump's manifest.
std::string GenericUtf8FromPath(const std::filesystem::path& path);

// The file that path names once symbolic links in its last component are followed, also
// when that file does not exist yet (a dangling link names the file it would create);
// links in the folders on the way are left to the system. Nothing for a chain of more
// than 40 links.
std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& path);

// What tells one state of a file on disk from another: replacing the file changes the
// inode (on Windows the file index of its volume), rewriting it in place the size or the
// modification time.
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
// character device is read; a folder, FIFO, pipe or socket is NOT_REGULAR and opened
// without waiting for a writer. A file that cannot be opened is NOT_FOUND, NO_PERMISSION
// or IN_USE when the system says why, else OPEN_FAILED; these and READ_FAILED leave bytes
// empty.
FileProblem ReadBounded(const std::filesystem::path& path, uint64_t limit,
                        std::vector<uint8_t>& bytes);

// The temporary file a save of target (links followed already) by the process numbered
// process gets, beside target: a short name, so that a file whose own name uses the whole
// limit of the file system can still be replaced, that tells which file it was to replace
// and which process wrote it, made unique by a random part.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, uint32_t process);
// This process's number, as TemporaryPathFor takes it.
uint32_t CurrentProcess();

// Removes the temporary files that saves of target (links followed) left when their
// process was killed before it could remove them; those of other files, and of processes
// still running, stay. A program calls it while it holds target's image lock, so that no
// save of its own is under way.
void RemoveLeftoverTemporaries(const std::filesystem::path& target);

// Replaces the file path names (links followed) with bytes, or creates it. The bytes go
// to a temporary file of a short name beside the real file, which is created with no
// more permissions than the file it replaces, given that file's owner and group when the
// process may, and otherwise that file's permissions without the group's; it is flushed
// to disk, renamed over the file in one step, and the folder is flushed after the rename
// (on Windows the rename itself writes through). A temporary file is removed on failure,
// and on SIGINT, SIGTERM or SIGHUP, or a console's Ctrl+C, Ctrl+Break or closing on
// Windows, once CPendingRemoval handles them.
//
// Refused before anything is written, leaving every file as it was: a file the process
// may not open for writing (NOT_WRITABLE), and a file with several hard links
// (HARD_LINKED): renaming a new file over one of its names would leave the other names on
// the old content, and rewriting it in place could leave it torn, so such a file must be
// copied to a file of its own first; and on Windows a file another program holds open
// without letting others replace it (IN_USE). Throws File_Ptr::FILE_EXCEPTION:
// OPEN_FAILED when the file cannot be created or is refused, WRITE_FAILED when path names
// something that is not a regular file, another value for any later failure. problem,
// when given, says why when the reason is known (DISK_FULL, NO_PERMISSION and the others
// above), else NONE.
void ReplaceFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                 FileProblem* problem = nullptr);

}  // namespace RQ540::DiskFile
