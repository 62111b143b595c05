// An owning, buffered image-file stream whose failures are exceptions.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>

namespace RQ540 {

class File_Ptr {
public:
    // Thrown by value.
    enum FILE_EXCEPTION {
        OPEN_FAILED = 0,
        READ_FAILED = 1,
        WRITE_FAILED = 2,
        SEEK_FAILED = 3,
        TELL_FAILED = 4,
    };

    // Opens an existing regular file, mode as for fopen; throws OPEN_FAILED.
    File_Ptr(const std::filesystem::path& path, const char* mode);
    // Creates path, which must not exist, for writing with at most permissions; throws
    // OPEN_FAILED.
    File_Ptr(const std::filesystem::path& path, unsigned permissions);
    // Closes the stream unless it is null or already closed.
    ~File_Ptr();

    File_Ptr(const File_Ptr&) = delete;
    File_Ptr& operator=(const File_Ptr&) = delete;

    // count items must arrive whole, else READ_FAILED.
    void Read(void* buffer, std::size_t size, std::size_t count);
    // count items must leave whole, else WRITE_FAILED.
    void Write(const void* buffer, std::size_t size, std::size_t count);
    // Makes the written bytes durable; WRITE_FAILED on failure.
    void FlushToDisk();
    void Seek(long offset, int origin);  // SEEK_FAILED
    long Tell();                          // TELL_FAILED
    // Closes now; WRITE_FAILED if the stream did not close cleanly.
    void Close();
    // The open stream, for operations beyond these; null once closed.
    std::FILE* GetStream() const { return m_file; }

private:
    std::FILE* m_file;
};

}  // namespace RQ540
