#include "rq540/ImageLock.h"

#include "SystemError.h"

#include "rq540/PendingRemoval.h"

#include <string>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RQ540 {

namespace {

constexpr std::size_t kMaxNameBytes = 255;
constexpr const char* kLockSuffix = ".lock";
constexpr std::chrono::milliseconds kPollInterval{10};

// Two images whose names differ only past the cut share a lock file, which only makes
// them wait for each other.
std::filesystem::path LockPathOf(const std::filesystem::path& image)
{
    std::filesystem::path::string_type name = image.filename().native();
    const std::size_t suffixLength = std::char_traits<char>::length(kLockSuffix);
    if (name.size() + suffixLength > kMaxNameBytes)
        name.resize(kMaxNameBytes - suffixLength);
    return image.parent_path() / (name + std::filesystem::path(kLockSuffix).native());
}

void SetProblem(DiskFile::FileProblem* problem, DiskFile::FileProblem why)
{
    if (problem)
        *problem = why;
}

#ifdef _WIN32
// The file is opened without sharing: while it is open it is the lock itself, and the
// system deletes it once its holder closes it or ends, however it ends.
int TryLock(const std::filesystem::path& path, bool& busy, DiskFile::FileProblem* problem)
{
    busy = false;
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | DELETE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        busy = error == ERROR_SHARING_VIOLATION;
        std::error_code status;
        if (error == ERROR_ACCESS_DENIED && !std::filesystem::exists(path, status))
            SetProblem(problem, DiskFile::FileProblem::FOLDER_NOT_WRITABLE);
        else if (!busy)
            SetProblem(problem, DiskFile::ProblemOfWindowsError(error));
        return -1;
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        SetProblem(problem, DiskFile::FileProblem::NOT_REGULAR);
        CloseHandle(handle);
        return -1;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    if (descriptor < 0)
        CloseHandle(handle);
    return descriptor;
}

void Unlock(const std::filesystem::path&, int descriptor) { _close(descriptor); }

// The system removes the lock's file itself; a console's events run their handler in a
// thread of their own, which a mask cannot hold back.
class CSignalsHeldBack {};
#else
bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int TryLock(const std::filesystem::path& path, bool& busy, DiskFile::FileProblem* problem)
{
    busy = false;
    const int descriptor = open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        const int error = errno;
        std::error_code status;
        if ((error == EACCES || error == EROFS) && !std::filesystem::exists(path, status))
            SetProblem(problem, DiskFile::FileProblem::FOLDER_NOT_WRITABLE);
        else if (error == ELOOP)
            // The lock's file is a symbolic link, which is never followed.
            SetProblem(problem, DiskFile::FileProblem::NOT_REGULAR);
        else
            SetProblem(problem, DiskFile::ProblemOfErrno(error));
        return -1;
    }
    struct stat held;
    if (fstat(descriptor, &held) != 0 || !S_ISREG(held.st_mode)) {
        SetProblem(problem, DiskFile::FileProblem::NOT_REGULAR);
        close(descriptor);
        return -1;
    }
    if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
        // The holder before may have removed the file between this open and this lock;
        // then the lock is on a file no one else will find.
        struct stat current;
        if (stat(path.c_str(), &current) == 0 && SameFile(current, held))
            return descriptor;
        busy = true;
    } else {
        busy = errno == EWOULDBLOCK;
    }
    close(descriptor);
    return -1;
}

// Removed while still locked, so that a waiter who opened it sees it is gone.
void Unlock(const std::filesystem::path& path, int descriptor)
{
    unlink(path.c_str());
    close(descriptor);
}

// Holds back the signals CPendingRemoval handles for the few steps between taking the
// lock and recording its file, and between forgetting the file and removing it: a signal
// there would leave the file behind. The file cannot be recorded before the lock is held,
// since removing it then could take away another holder's lock.
class CSignalsHeldBack {
public:
    CSignalsHeldBack()
    {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        sigaddset(&held, SIGHUP);
        pthread_sigmask(SIG_BLOCK, &held, &m_previous);
    }
    ~CSignalsHeldBack() { pthread_sigmask(SIG_SETMASK, &m_previous, nullptr); }
    CSignalsHeldBack(const CSignalsHeldBack&) = delete;
    CSignalsHeldBack& operator=(const CSignalsHeldBack&) = delete;

private:
    sigset_t m_previous;
};
#endif

}  // namespace

CImageLock::~CImageLock() { Release(); }

CImageLock::Outcome CImageLock::Acquire(const std::filesystem::path& image,
                                        std::chrono::milliseconds timeout,
                                        DiskFile::FileProblem* problem)
{
    Release();
    m_path.clear();
    SetProblem(problem, DiskFile::FileProblem::NONE);
    const std::optional<std::filesystem::path> real = DiskFile::ResolveLinks(image);
    if (!real) {
        SetProblem(problem, DiskFile::FileProblem::LINK_LOOP);
        return FAILED;
    }
    m_path = LockPathOf(*real);
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        bool busy = false;
        {
            [[maybe_unused]] const CSignalsHeldBack heldBack;
            m_descriptor = TryLock(m_path, busy, problem);
            if (m_descriptor >= 0)
                CPendingRemoval::Set(CPendingRemoval::LOCK_FILE, m_path);
        }
        if (m_descriptor >= 0) {
            // No save of the image is under way now but in processes that were killed.
            DiskFile::RemoveLeftoverTemporaries(*real);
            return ACQUIRED;
        }
        if (!busy)
            return FAILED;
        if (std::chrono::steady_clock::now() >= deadline)
            return TIMED_OUT;
        std::this_thread::sleep_for(kPollInterval);
    }
}

void CImageLock::Release()
{
    if (m_descriptor < 0)
        return;
    [[maybe_unused]] const CSignalsHeldBack heldBack;
    CPendingRemoval::Clear(CPendingRemoval::LOCK_FILE);
    Unlock(m_path, m_descriptor);
    m_descriptor = -1;
}

}  // namespace RQ540
