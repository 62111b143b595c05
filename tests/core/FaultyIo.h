// A file-access door for tests: counts the calls of each kind and makes the Nth call of
// one kind fail; everything else goes to the standard streams.
#pragma once

#include "rq540/FileIo.h"

#include <array>
#include <cstddef>

namespace testing_rq {

enum class Call { Open, Read, Write, Flush, Seek, Tell, Close, Rename, Count };

inline const char* CallName(Call call)
{
    static const char* const names[] = {"open", "read",  "write", "flush",
                                        "seek", "tell", "close", "rename"};
    return names[static_cast<int>(call)];
}

// Installed for its lifetime; Call::Count as the failing kind only counts.
class FaultyIo : public RQ540::IFileIo {
public:
    FaultyIo(Call failing, int failAt)
        : m_failing(failing), m_failAt(failAt), m_previous(RQ540::SetFileIo(this))
    {
    }
    ~FaultyIo() override { RQ540::SetFileIo(m_previous); }
    FaultyIo(const FaultyIo&) = delete;
    FaultyIo& operator=(const FaultyIo&) = delete;

    int Calls(Call call) const { return m_calls[static_cast<size_t>(call)]; }
    bool Failed() const { return m_failed; }

    std::FILE* Open(const std::filesystem::path& path, const char* mode) override
    {
        return Fails(Call::Open) ? nullptr : Standard().Open(path, mode);
    }
    // Creating a file counts as opening it.
    std::FILE* Create(const std::filesystem::path& path, unsigned permissions) override
    {
        return Fails(Call::Open) ? nullptr : Standard().Create(path, permissions);
    }
    std::size_t Read(void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        return Fails(Call::Read) ? 0 : Standard().Read(buffer, size, count, file);
    }
    std::size_t Write(const void* buffer, std::size_t size, std::size_t count, std::FILE* file) override
    {
        if (Fails(Call::Write)) {
            Standard().Write(buffer, 1, size * count / 2, file);  // part of it got out
            return 0;
        }
        return Standard().Write(buffer, size, count, file);
    }
    bool Flush(std::FILE* file) override { return !Fails(Call::Flush) && Standard().Flush(file); }
    bool Seek(std::FILE* file, long offset, int origin) override
    {
        return !Fails(Call::Seek) && Standard().Seek(file, offset, origin);
    }
    long Tell(std::FILE* file) override { return Fails(Call::Tell) ? -1 : Standard().Tell(file); }
    bool Close(std::FILE* file) override
    {
        // The stream is released either way, as fclose does.
        const bool fails = Fails(Call::Close);
        return Standard().Close(file) && !fails;
    }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override
    {
        return !Fails(Call::Rename) && Standard().Rename(from, to);
    }
    bool Remove(const std::filesystem::path& path) override { return Standard().Remove(path); }
    bool SyncFolder(const std::filesystem::path& folder) override
    {
        return Standard().SyncFolder(folder);
    }
    // A failure made here has no reason of the system's.
    RQ540::DiskFile::FileProblem GetLastProblem() const override
    {
        return Standard().GetLastProblem();
    }

private:
    static RQ540::IFileIo& Standard() { return RQ540::GetStandardFileIo(); }
    bool Fails(Call call)
    {
        const int n = ++m_calls[static_cast<size_t>(call)];
        if (call == m_failing && n == m_failAt) {
            m_failed = true;
            return true;
        }
        return false;
    }

    Call m_failing;
    int m_failAt;
    RQ540::IFileIo* m_previous;
    std::array<int, static_cast<size_t>(Call::Count)> m_calls{};
    bool m_failed = false;
};

}  // namespace testing_rq
