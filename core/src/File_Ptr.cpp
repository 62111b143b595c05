#include "rq540/File_Ptr.h"

#include "rq540/FileIo.h"

namespace RQ540 {

File_Ptr::File_Ptr(const std::filesystem::path& path, const char* mode)
    : m_file(GetFileIo().Open(path, mode))
{
    if (!m_file)
        throw OPEN_FAILED;
}

File_Ptr::File_Ptr(const std::filesystem::path& path, unsigned permissions)
    : m_file(GetFileIo().Create(path, permissions))
{
    if (!m_file)
        throw OPEN_FAILED;
}

File_Ptr::~File_Ptr()
{
    if (m_file)
        GetFileIo().Close(m_file);
}

void File_Ptr::Read(void* buffer, std::size_t size, std::size_t count)
{
    // Nothing to read is not a short read.
    if (size == 0 || count == 0)
        return;
    if (GetFileIo().Read(buffer, size, count, m_file) != count)
        throw READ_FAILED;
}

void File_Ptr::Write(const void* buffer, std::size_t size, std::size_t count)
{
    if (GetFileIo().Write(buffer, size, count, m_file) != count)
        throw WRITE_FAILED;
}

void File_Ptr::FlushToDisk()
{
    if (!GetFileIo().Flush(m_file))
        throw WRITE_FAILED;
}

void File_Ptr::Seek(long offset, int origin)
{
    if (!GetFileIo().Seek(m_file, offset, origin))
        throw SEEK_FAILED;
}

long File_Ptr::Tell()
{
    const long position = GetFileIo().Tell(m_file);
    if (position < 0)
        throw TELL_FAILED;
    return position;
}

void File_Ptr::Close()
{
    std::FILE* file = m_file;
    m_file = nullptr;
    if (file && !GetFileIo().Close(file))
        throw WRITE_FAILED;
}

}  // namespace RQ540
