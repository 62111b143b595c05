#include "rq540/DiskFile.h"

#include "SystemError.h"

#include "rq540/FileIo.h"
#include "rq540/File_Ptr.h"
#include "rq540/PendingRemoval.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <memory>
#include <random>
#include <system_error>
#include <type_traits>

#ifdef _WIN32
#include <windows.h>
// The system's own ReplaceFile is not the one defined here.
#undef ReplaceFile
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace RQ540::DiskFile {

namespace {

// The longest chain of symbolic links Linux itself follows.
constexpr int kMaxLinkHops = 40;
constexpr std::size_t kReadChunk = 64 * 1024;
constexpr unsigned kNewFilePermissions = 0666;
constexpr unsigned kPermissionBits = 0777;
constexpr unsigned kOwnerBits = 0700;
constexpr unsigned kGroupBits = 0070;

// What the file to be replaced was, for the file that replaces it.
struct Replaced {
    bool exists = false;
    unsigned permissions = kNewFilePermissions;
#ifndef _WIN32
    uid_t owner = 0;
    gid_t group = 0;
#endif
};

[[noreturn]] void Refuse(FileProblem* problem, FileProblem why, File_Ptr::FILE_EXCEPTION error)
{
    if (problem)
        *problem = why;
    throw error;
}

std::filesystem::path FolderOf(const std::filesystem::path& file)
{
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

#ifdef _WIN32
// Closes a handle of the system's own when it goes.
class CHandle {
public:
    explicit CHandle(HANDLE handle) : m_handle(handle) {}
    ~CHandle()
    {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// Opens path for access, sharing it with every other use; a folder too.
HANDLE OpenShared(const std::filesystem::path& path, DWORD access)
{
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// Checks every refusal before anything is created. Windows knows no permission bits, owner
// or group to carry over: a replaced file is writable, the read-only attribute refuses it.
Replaced Inspect(const std::filesystem::path& target, FileProblem* problem)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return {};
        Refuse(problem, ProblemOfWindowsError(error), File_Ptr::OPEN_FAILED);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        Refuse(problem, FileProblem::NOT_REGULAR, File_Ptr::WRITE_FAILED);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        Refuse(problem, FileProblem::NOT_WRITABLE, File_Ptr::OPEN_FAILED);
    // Opened as the rename will replace it: a program that holds the file open without
    // sharing its deletion would make the rename fail once the new bytes are written.
    const CHandle file(OpenShared(target, DELETE | FILE_READ_ATTRIBUTES));
    if (!file.IsOpen())
        Refuse(problem, ProblemOfWindowsError(GetLastError()), File_Ptr::OPEN_FAILED);
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        Refuse(problem, FileProblem::NOT_REGULAR, File_Ptr::WRITE_FAILED);
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file.Get(), &information))
        Refuse(problem, ProblemOfWindowsError(GetLastError()), File_Ptr::OPEN_FAILED);
    if (information.nNumberOfLinks > 1)
        Refuse(problem, FileProblem::HARD_LINKED, File_Ptr::OPEN_FAILED);
    return {true, kNewFilePermissions};
}
#else
// Checks every refusal before anything is created.
Replaced Inspect(const std::filesystem::path& target, FileProblem* problem)
{
    struct stat status;
    if (stat(target.c_str(), &status) != 0) {
        if (errno == ENOENT)
            return {};
        Refuse(problem, ProblemOfErrno(errno), File_Ptr::OPEN_FAILED);
    }
    if (!S_ISREG(status.st_mode))
        Refuse(problem, FileProblem::NOT_REGULAR, File_Ptr::WRITE_FAILED);
    // The same verdict opening it for writing would give this process: its effective
    // user and groups against the file's permissions, and a read-only file system.
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0)
        Refuse(problem, FileProblem::NOT_WRITABLE, File_Ptr::OPEN_FAILED);
    if (status.st_nlink > 1)
        Refuse(problem, FileProblem::HARD_LINKED, File_Ptr::OPEN_FAILED);
    return {true, static_cast<unsigned>(status.st_mode) & kPermissionBits, status.st_uid,
            status.st_gid};
}
#endif

// Why no file could be created in folder: the folder's own permissions when they refuse
// it, else what the system said of the failed creation.
FileProblem WhyNotCreated(const std::filesystem::path& folder)
{
    const FileProblem said = GetFileIo().GetLastProblem();
#ifdef _WIN32
    (void)folder;
    return said == FileProblem::NO_PERMISSION ? FileProblem::FOLDER_NOT_WRITABLE : said;
#else
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0 &&
        (errno == EACCES || errno == EROFS))
        return FileProblem::FOLDER_NOT_WRITABLE;
    return said;
#endif
}

constexpr char kTemporaryPrefix[] = ".rqfs-";
constexpr char kTemporarySuffix[] = ".tmp";

// The same number for every process that saves a file of this name (FNV-1a over the name's
// units as the system stores them).
uint32_t NameTag(const std::filesystem::path& target)
{
    using Unit = std::make_unsigned_t<std::filesystem::path::value_type>;
    const std::filesystem::path name = target.filename();
    uint32_t tag = 2166136261u;
    for (const auto unit : name.native())
        tag = (tag ^ static_cast<Unit>(unit)) * 16777619u;
    return tag;
}

std::string TagPrefix(const std::filesystem::path& target)
{
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "%s%08x-", kTemporaryPrefix, static_cast<unsigned>(NameTag(target)));
    return prefix;
}

// Whether the process numbered process runs; a process of another user counts too.
bool IsRunning(uint32_t process)
{
#ifdef _WIN32
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (!handle)
        return GetLastError() == ERROR_ACCESS_DENIED;
    const bool running = WaitForSingleObject(handle, 0) == WAIT_TIMEOUT;
    CloseHandle(handle);
    return running;
#else
    if (kill(static_cast<pid_t>(process), 0) != 0 && errno != EPERM)
        return false;
#ifdef __linux__
    // A killed process that its parent has not waited for yet is a zombie: it writes
    // nothing any more.
    char name[32];
    std::snprintf(name, sizeof name, "/proc/%u/stat", static_cast<unsigned>(process));
    if (std::FILE* stat = std::fopen(name, "r")) {
        char state = 0;
        const bool read = std::fscanf(stat, "%*d (%*[^)]) %c", &state) == 1;
        std::fclose(stat);
        if (read && (state == 'Z' || state == 'X'))
            return false;
    }
#endif
    return true;
#endif
}

// Creates a fresh file in folder that no one else uses, recorded for removal on a signal.
std::unique_ptr<File_Ptr> CreateTemporary(const std::filesystem::path& target,
                                          const std::filesystem::path& folder,
                                          const Replaced& replaced,
                                          std::filesystem::path& temporary, FileProblem* problem)
{
    // Until it has the replaced file's owner and group, only its owner may use it.
    const unsigned permissions =
        replaced.exists ? replaced.permissions & kOwnerBits : replaced.permissions;
    constexpr unsigned kAttempts = 8;
    for (unsigned attempt = 0;; ++attempt) {
        temporary = TemporaryPathFor(target, CurrentProcess());
        CPendingRemoval::Set(CPendingRemoval::TEMPORARY_FILE, temporary);
        try {
            return std::make_unique<File_Ptr>(temporary, permissions);
        } catch (File_Ptr::FILE_EXCEPTION) {
            CPendingRemoval::Clear(CPendingRemoval::TEMPORARY_FILE);
            const FileProblem why = WhyNotCreated(folder);
            std::error_code error;
            if (attempt + 1 == kAttempts || !std::filesystem::exists(temporary, error)) {
                if (problem)
                    *problem = why;
                throw;
            }
        }
    }
}

// Gives the new file what the replaced one had, through the open file only, so that no
// one can swap the file under its name in between.
void TakeOwnerAndPermissions(std::FILE* stream, const Replaced& replaced)
{
#ifdef _WIN32
    (void)stream;
    (void)replaced;
#else
    const int descriptor = fileno(stream);
    struct stat created;
    if (fstat(descriptor, &created) != 0)
        throw File_Ptr::WRITE_FAILED;
    unsigned permissions = replaced.permissions;
    if (created.st_uid != replaced.owner || created.st_gid != replaced.group) {
        // Only root may give a file to another user; any owner may pick one of its groups.
        const bool groupKept = fchown(descriptor, replaced.owner, replaced.group) == 0 ||
                               fchown(descriptor, static_cast<uid_t>(-1), replaced.group) == 0;
        // The group's permissions were meant for another group than this file has.
        if (!groupKept)
            permissions &= ~kGroupBits;
    }
    if (fchmod(descriptor, static_cast<mode_t>(permissions)) != 0)
        throw File_Ptr::WRITE_FAILED;
#endif
}

// A failure to open a file to read, with the reason when the system gave one.
FileProblem OpenFailure(FileProblem said)
{
    return said == FileProblem::NONE ? FileProblem::OPEN_FAILED : said;
}

}  // namespace

const char* DescribeFileProblem(FileProblem problem)
{
    switch (problem) {
    case FileProblem::NONE:
        return "";
    case FileProblem::NOT_REGULAR:
        return "not a regular file";
    case FileProblem::NOT_WRITABLE:
        return "the file is read-only";
    case FileProblem::FOLDER_NOT_WRITABLE:
        return "the folder is not writable";
    case FileProblem::HARD_LINKED:
        return "the file has other hard links, which replacing it would cut off; copy it to a "
               "file of its own first";
    case FileProblem::LINK_LOOP:
        return "too many levels of symbolic links";
    case FileProblem::TOO_LONG:
        return "longer than allowed";
    case FileProblem::OPEN_FAILED:
        return "cannot be opened";
    case FileProblem::READ_FAILED:
        return "cannot be read";
    case FileProblem::NOT_FOUND:
        return "no such file or folder";
    case FileProblem::NO_PERMISSION:
        return "permission denied";
    case FileProblem::DISK_FULL:
        return "the disk is full";
    case FileProblem::IN_USE:
        return "the file is in use by another program";
    }
    return "";
}

std::filesystem::path PathFromUtf8(std::string_view text)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
#else
    return std::filesystem::path(std::string(text));
#endif
}

std::string Utf8FromPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

std::string GenericUtf8FromPath(const std::filesystem::path& path)
{
#ifdef _WIN32
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
#else
    return path.generic_string();
#endif
}

std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, uint32_t process)
{
    char name[24];
    std::snprintf(name, sizeof name, "%u-%08x", static_cast<unsigned>(process),
                  static_cast<unsigned>(std::random_device{}()));
    return FolderOf(target) / (TagPrefix(target) + name + kTemporarySuffix);
}

uint32_t CurrentProcess()
{
#ifdef _WIN32
    return static_cast<uint32_t>(GetCurrentProcessId());
#else
    return static_cast<uint32_t>(getpid());
#endif
}

void RemoveLeftoverTemporaries(const std::filesystem::path& target)
{
    const std::string prefix = TagPrefix(target);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(FolderOf(target), error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = Utf8FromPath(entry->path().filename());
        if (!name.starts_with(prefix) || !name.ends_with(kTemporarySuffix))
            continue;
        uint32_t process = 0;
        const char* digits = name.c_str() + prefix.size();
        const auto [stop, parsed] = std::from_chars(digits, name.c_str() + name.size(), process);
        if (parsed != std::errc() || *stop != '-' || process == CurrentProcess() || IsRunning(process))
            continue;
        std::error_code removal;
        std::filesystem::remove(entry->path(), removal);
    }
}

std::optional<std::filesystem::path> ResolveLinks(const std::filesystem::path& path)
{
    std::filesystem::path current = path;
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, error)))
            return current;
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error)
            return current;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return std::nullopt;
}

std::optional<FileIdentity> GetIdentity(const std::filesystem::path& path)
{
#ifdef _WIN32
    const CHandle file(OpenShared(path, FILE_READ_ATTRIBUTES));
    BY_HANDLE_FILE_INFORMATION information;
    if (!file.IsOpen() || !GetFileInformationByHandle(file.Get(), &information))
        return std::nullopt;
    const auto high = [](DWORD high, DWORD low) { return (uint64_t{high} << 32) | low; };
    // File times count 100 ns steps.
    return FileIdentity{information.dwVolumeSerialNumber,
                        high(information.nFileIndexHigh, information.nFileIndexLow),
                        high(information.nFileSizeHigh, information.nFileSizeLow),
                        static_cast<int64_t>(high(information.ftLastWriteTime.dwHighDateTime,
                                                  information.ftLastWriteTime.dwLowDateTime)) *
                            100};
#else
    struct stat status;
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
                        static_cast<uint64_t>(status.st_size),
                        static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 +
                            status.st_mtim.tv_nsec};
#endif
}

bool IsRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

FileProblem ReadBounded(const std::filesystem::path& path, uint64_t limit,
                        std::vector<uint8_t>& bytes)
{
    bytes.clear();
    // One byte past the limit tells a file of exactly limit bytes from a longer one.
    const uint64_t wanted = limit < UINT64_MAX ? limit + 1 : limit;
    char chunk[kReadChunk];
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileProblem::NOT_REGULAR;
    const CHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsOpen())
        return OpenFailure(ProblemOfWindowsError(GetLastError()));
    // A pipe's reads wait for its writer; a device such as CON may make the reader wait,
    // as its user asked.
    const DWORD type = GetFileType(file.Get());
    if (type != FILE_TYPE_DISK && type != FILE_TYPE_CHAR)
        return FileProblem::NOT_REGULAR;
    const bool regular = type == FILE_TYPE_DISK;
    while (bytes.size() < wanted) {
        const auto asked =
            static_cast<DWORD>(std::min<uint64_t>(sizeof chunk, wanted - bytes.size()));
        DWORD count = 0;
        if (!ReadFile(file.Get(), chunk, asked, &count, nullptr)) {
            bytes.clear();
            return FileProblem::READ_FAILED;
        }
        if (count == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + count);
        if (regular && count < asked)
            break;
    }
#else
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return OpenFailure(ProblemOfErrno(errno));
    struct stat status;
    if (fstat(descriptor, &status) != 0) {
        close(descriptor);
        return FileProblem::OPEN_FAILED;
    }
    if (!S_ISREG(status.st_mode) && !S_ISCHR(status.st_mode) && !S_ISBLK(status.st_mode)) {
        close(descriptor);
        return FileProblem::NOT_REGULAR;
    }
    const bool regular = S_ISREG(status.st_mode);
    if (regular) {
        // Reads of a regular file never wait, whatever O_NONBLOCK says. Room for one byte
        // past its length takes a file that grew meanwhile without moving the bytes.
        bytes.reserve(static_cast<std::size_t>(std::min<uint64_t>(
            static_cast<uint64_t>(status.st_size) + 1, wanted)));
    } else {
        // A device such as a terminal may make the reader wait, as its user asked.
        const int flags = fcntl(descriptor, F_GETFL);
        if (flags < 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
            close(descriptor);
            return FileProblem::OPEN_FAILED;
        }
    }
    while (bytes.size() < wanted) {
        const auto asked =
            static_cast<std::size_t>(std::min<uint64_t>(sizeof chunk, wanted - bytes.size()));
        const ssize_t count = read(descriptor, chunk, asked);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0) {
            close(descriptor);
            bytes.clear();
            return FileProblem::READ_FAILED;
        }
        if (count == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + count);
        // A regular file answers less than was asked only at its end.
        if (regular && static_cast<std::size_t>(count) < asked)
            break;
    }
    close(descriptor);
#endif
    if (bytes.size() > limit) {
        bytes.resize(static_cast<std::size_t>(limit));
        return FileProblem::TOO_LONG;
    }
    return FileProblem::NONE;
}

void ReplaceFile(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                 FileProblem* problem)
{
    if (problem)
        *problem = FileProblem::NONE;
    const std::optional<std::filesystem::path> target = ResolveLinks(path);
    if (!target)
        Refuse(problem, FileProblem::LINK_LOOP, File_Ptr::OPEN_FAILED);
    const std::filesystem::path folder = FolderOf(*target);
    const Replaced replaced = Inspect(*target, problem);

    std::filesystem::path temporary;
    std::unique_ptr<File_Ptr> file = CreateTemporary(*target, folder, replaced, temporary, problem);
    try {
        if (replaced.exists)
            TakeOwnerAndPermissions(file->GetStream(), replaced);
        if (!bytes.empty())
            file->Write(bytes.data(), bytes.size(), 1);
        file->FlushToDisk();
        file->Close();
        if (!GetFileIo().Rename(temporary, *target))
            throw File_Ptr::WRITE_FAILED;
    } catch (...) {
        // Said before the clean-up's own calls can change it.
        if (problem)
            *problem = GetFileIo().GetLastProblem();
        file.reset();
        GetFileIo().Remove(temporary);
        CPendingRemoval::Clear(CPendingRemoval::TEMPORARY_FILE);
        throw;
    }
    CPendingRemoval::Clear(CPendingRemoval::TEMPORARY_FILE);
    // The file is replaced already; a folder that cannot be flushed only leaves the
    // rename less sure to survive a power loss, which is no reason to report a failure.
    GetFileIo().SyncFolder(folder);
}

}  // namespace RQ540::DiskFile
