#include "rq540/FileIo.h"

#include "SystemError.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RQ540 {

namespace {

using DiskFile::FileProblem;

thread_local FileProblem t_lastProblem = FileProblem::NONE;

// Records why the call that just failed did and answers failed, so that a failing call can
// end in one statement.
template <typename T>
T FailedBy(FileProblem problem, T failed)
{
    t_lastProblem = problem;
    return failed;
}

template <typename T>
T FailedByErrno(T failed)
{
    return FailedBy(DiskFile::ProblemOfErrno(errno), failed);
}

#ifdef _WIN32
template <typename T>
T FailedByLastError(T failed)
{
    return FailedBy(DiskFile::ProblemOfWindowsError(GetLastError()), failed);
}

// A stream over a handle of the system's own; the handle is closed on failure.
std::FILE* StreamOf(HANDLE handle, int flags, const char* mode)
{
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return FailedByErrno<std::FILE*>(nullptr);
    }
    std::FILE* file = _fdopen(descriptor, mode);
    if (!file) {
        _close(descriptor);
        return FailedByErrno<std::FILE*>(nullptr);
    }
    return file;
}
#endif

class CStandardFileIo final : public IFileIo {
public:
    std::FILE* Open(const std::filesystem::path& path, const char* mode) override
    {
        t_lastProblem = FileProblem::NONE;
#ifdef _WIN32
        // A folder is opened only with backup semantics, and refused for that here.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return FailedByLastError<std::FILE*>(nullptr);
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return FailedBy<std::FILE*>(FileProblem::NOT_REGULAR, nullptr);
        // Shared for every use, so that another program may go on reading, writing or
        // replacing the file meanwhile, as it may while a POSIX program reads it.
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return FailedByLastError<std::FILE*>(nullptr);
        // Devices such as NUL or COM1 and pipes are no files to read an image from.
        if (GetFileType(handle) != FILE_TYPE_DISK) {
            CloseHandle(handle);
            return FailedBy<std::FILE*>(FileProblem::NOT_REGULAR, nullptr);
        }
        std::FILE* file = StreamOf(handle, _O_RDONLY, mode);
#else
        // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
        const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (descriptor < 0)
            return FailedByErrno<std::FILE*>(nullptr);
        // O_NONBLOCK changes nothing for the regular file that alone gets this far.
        struct stat status;
        if (fstat(descriptor, &status) != 0) {
            const int error = errno;
            close(descriptor);
            return FailedBy<std::FILE*>(DiskFile::ProblemOfErrno(error), nullptr);
        }
        if (!S_ISREG(status.st_mode)) {
            close(descriptor);
            return FailedBy<std::FILE*>(FileProblem::NOT_REGULAR, nullptr);
        }
        std::FILE* file = fdopen(descriptor, mode);
        if (!file) {
            close(descriptor);
            return FailedByErrno<std::FILE*>(nullptr);
        }
#endif
        // The file is read in a few large pieces: a stream buffer would only copy them
        // once more and read ahead of the seeks.
        if (file)
            std::setvbuf(file, nullptr, _IONBF, 0);
        return file;
    }

    std::FILE* Create(const std::filesystem::path& path, unsigned permissions) override
    {
        t_lastProblem = FileProblem::NONE;
#ifdef _WIN32
        // Windows knows only a read-only attribute; a new file is writable. It may be
        // deleted while open, so that a console's Ctrl+C or closing can take away a save's
        // temporary file while the save still writes it.
        (void)permissions;
        HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return FailedByLastError<std::FILE*>(nullptr);
        std::FILE* file = StreamOf(handle, _O_WRONLY, "wb");
        if (!file)
            DeleteFileW(path.c_str());
        return file;
#else
        const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                    static_cast<mode_t>(permissions));
        if (descriptor < 0)
            return FailedByErrno<std::FILE*>(nullptr);
        std::FILE* file = fdopen(descriptor, "wb");
        if (!file) {
            const int error = errno;
            unlink(path.c_str());
            close(descriptor);
            return FailedBy<std::FILE*>(DiskFile::ProblemOfErrno(error), nullptr);
        }
        return file;
#endif
    }

    std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        t_lastProblem = FileProblem::NONE;
        const std::size_t read = std::fread(buffer, size, count, file);
        // A short read at the end of the file is no error of the system's.
        return read == count || !std::ferror(file) ? read : FailedByErrno(read);
    }

    std::size_t Write(const void* buffer, std::size_t size, std::size_t count,
                      std::FILE* file) override
    {
        t_lastProblem = FileProblem::NONE;
        const std::size_t written = std::fwrite(buffer, size, count, file);
        return written == count ? written : FailedByErrno(written);
    }

    bool Flush(std::FILE* file) override
    {
        t_lastProblem = FileProblem::NONE;
        if (std::fflush(file) != 0)
            return FailedByErrno(false);
#ifdef _WIN32
        if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)))))
            return FailedByLastError(false);
#else
        if (fsync(fileno(file)) != 0)
            return FailedByErrno(false);
#endif
        return true;
    }

    bool Seek(std::FILE* file, long offset, int origin) override
    {
        t_lastProblem = FileProblem::NONE;
        return std::fseek(file, offset, origin) == 0 || FailedByErrno(false);
    }

    long Tell(std::FILE* file) override
    {
        t_lastProblem = FileProblem::NONE;
        const long position = std::ftell(file);
        return position >= 0 ? position : FailedByErrno(position);
    }

    // A clean-up after a failure closes and removes files: done, they leave its reason.
    bool Close(std::FILE* file) override { return std::fclose(file) == 0 || FailedByErrno(false); }

    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        t_lastProblem = FileProblem::NONE;
#ifdef _WIN32
        // One step that replaces to, and returns only once the new name is on the disk.
        return MoveFileExW(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
               FailedByLastError(false);
#else
        return std::rename(from.c_str(), to.c_str()) == 0 || FailedByErrno(false);
#endif
    }

    bool Remove(const std::filesystem::path& path) override
    {
        std::error_code error;
        return std::filesystem::remove(path, error);
    }

    bool SyncFolder(const std::filesystem::path& folder) override
    {
        t_lastProblem = FileProblem::NONE;
#ifdef _WIN32
        // The rename went through with write-through already; a folder cannot be flushed
        // like a file there.
        (void)folder;
        return true;
#else
        const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor < 0)
            return FailedByErrno(false);
        const bool synced = fsync(descriptor) == 0 || FailedByErrno(false);
        close(descriptor);
        return synced;
#endif
    }

    FileProblem GetLastProblem() const override { return t_lastProblem; }
};

IFileIo* g_installedFileIo = nullptr;

}  // namespace

IFileIo& GetStandardFileIo()
{
    static CStandardFileIo standard;
    return standard;
}

IFileIo& GetFileIo() { return g_installedFileIo ? *g_installedFileIo : GetStandardFileIo(); }

IFileIo* SetFileIo(IFileIo* io)
{
    IFileIo* previous = g_installedFileIo;
    g_installedFileIo = io;
    return previous;
}

}  // namespace RQ540
