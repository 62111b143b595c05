#include "rq540/FileIo.h"

#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace RQ540 {

namespace {

class CStandardFileIo final : public IFileIo {
public:
    std::FILE* Open(const std::filesystem::path& path, const char* mode) override
    {
#ifdef _WIN32
        std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
        return _wfopen(path.c_str(), wideMode.c_str());
#else
        return std::fopen(path.c_str(), mode);
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
