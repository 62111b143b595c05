// The one door through which the core touches the files it reads and replaces. Tests
// replace it to make any open, read, write, flush, seek, tell or rename fail on purpose.
#pragma once

#include "rq540/FileProblem.h"

#include <cstddef>
#include <cstdio>
#include <filesystem>

namespace RQ540 {

class IFileIo {
public:
    virtual ~IFileIo() = default;
    // Opens an existing regular file for reading (mode as for fopen, e.g. "rb"); null on
    // failure and for anything else (a folder, FIFO, device or socket), which is refused
    // without waiting for a FIFO's other end.
    virtual std::FILE* Open(const std::filesystem::path& path, const char* mode) = 0;
    // Creates path, which must not exist yet, for writing in binary mode; from the moment
    // it exists its permissions are at most permissions (the umask may take more away).
    // Null on failure.
    virtual std::FILE* Create(const std::filesystem::path& path, unsigned permissions) = 0;
    // Items transferred, as fread / fwrite count them.
    virtual std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t size, std::size_t count,
                              std::FILE* file) = 0;
    // Pushes buffered bytes to the disk itself; false on failure.
    virtual bool Flush(std::FILE* file) = 0;
    virtual bool Seek(std::FILE* file, long offset, int origin) = 0;
    // -1 on failure.
    virtual long Tell(std::FILE* file) = 0;
    // false when the stream could not be closed cleanly (its last bytes may be lost).
    virtual bool Close(std::FILE* file) = 0;
    // Replaces to with from in one step.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual bool Remove(const std::filesystem::path& path) = 0;
    // Makes the latest renames inside folder durable; false on failure.
    virtual bool SyncFolder(const std::filesystem::path& folder) = 0;
    // Why the last call of this thread failed, as far as the system said: NONE after a call
    // that succeeded, and after a failure the system gave no reason for that a user could
    // act on (a read that found the end of the file). Close and Remove, the calls of a
    // clean-up, change it only when they fail themselves.
    virtual DiskFile::FileProblem GetLastProblem() const = 0;
};

// The standard library's buffered streams.
IFileIo& GetStandardFileIo();
// What the core uses now.
IFileIo& GetFileIo();
// Install io for the core's file access; null restores the standard one. Returns the
// previous one.
IFileIo* SetFileIo(IFileIo* io);

}  // namespace RQ540
