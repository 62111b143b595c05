#include "rq540/FileIo.h"

#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RQ540 {

namespace {

class CStandardFileIo final : public IFileIo {
public:
    std::FILE* Open(const std::filesystem::path& path, const char* mode) override
    {
#ifdef _WIN32
        std::error_code error;
        if (!std::filesystem::is_regular_file(path, error))
            return nullptr;
        std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
        return _wfopen(path.c_str(), wideMode.c_str());
#else
        // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
        const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (descriptor < 0)
            return nullptr;
        // O_NONBLOCK changes nothing for the regular file that alone gets this far.
        struct stat status;
        std::FILE* file = nullptr;
        if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
            file = fdopen(descriptor, mode);
        if (!file) {
            close(descriptor);
            return nullptr;
        }
        // The file is read in a few large pieces: a stream buffer would only copy them
        // once more and read ahead of the seeks.
        std::setvbuf(file, nullptr, _IONBF, 0);
        return file;
#endif
    }

    std::FILE* Create(const std::filesystem::path& path, unsigned permissions) override
    {
#ifdef _WIN32
        // Windows knows only a read-only attribute; a new file is writable.
        (void)permissions;
        int descriptor = -1;
        if (_wsopen_s(&descriptor, path.c_str(),
                      _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYNO,
                      _S_IREAD | _S_IWRITE) != 0)
            return nullptr;
        std::FILE* file = _fdopen(descriptor, "wb");
        if (!file) {
            _close(descriptor);
            _wremove(path.c_str());
        }
        return file;
#else
        const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                    static_cast<mode_t>(permissions));
        if (descriptor < 0)
            return nullptr;
        std::FILE* file = fdopen(descriptor, "wb");
        if (!file) {
            unlink(path.c_str());
            close(descriptor);
        }
        return file;
#endif
    }

    std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        return std::fread(buffer, size, count, file);
    }

    std::size_t Write(const void* buffer, std::size_t size, std::size_t count,
                      std::FILE* file) override
    {
        return std::fwrite(buffer, size, count, file);
    }

    bool Flush(std::FILE* file) override
    {
        if (std::fflush(file) != 0)
            return false;
#ifdef _WIN32
        return _commit(_fileno(file)) == 0;
#else
        return fsync(fileno(file)) == 0;
#endif
    }

    bool Seek(std::FILE* file, long offset, int origin) override
    {
        return std::fseek(file, offset, origin) == 0;
    }

    long Tell(std::FILE* file) override { return std::ftell(file); }

    bool Close(std::FILE* file) override { return std::fclose(file) == 0; }

    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        std::error_code error;
        std::filesystem::rename(from, to, error);
        return !error;
    }

    bool Remove(const std::filesystem::path& path) override
    {
        std::error_code error;
        return std::filesystem::remove(path, error);
    }

    bool SyncFolder(const std::filesystem::path& folder) override
    {
#ifdef _WIN32
        // NTFS journals the rename itself; a folder cannot be flushed like a file.
        (void)folder;
        return true;
#else
        const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (descriptor < 0)
            return false;
        const bool synced = fsync(descriptor) == 0;
        close(descriptor);
        return synced;
#endif
    }
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
