#include "SystemError.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

namespace RQ540::DiskFile {

FileProblem ProblemOfErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileProblem::NOT_FOUND;
    case EACCES:
    case EPERM:
        return FileProblem::NO_PERMISSION;
    case EROFS:
        return FileProblem::NOT_WRITABLE;
    case ENOSPC:
    case EFBIG:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileProblem::DISK_FULL;
    case ELOOP:
        return FileProblem::LINK_LOOP;
    case EISDIR:
        return FileProblem::NOT_REGULAR;
    case EBUSY:
    case ETXTBSY:
        return FileProblem::IN_USE;
    default:
        return FileProblem::NONE;
    }
}

#ifdef _WIN32
FileProblem ProblemOfWindowsError(unsigned long error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_INVALID_NAME:
        return FileProblem::NOT_FOUND;
    case ERROR_ACCESS_DENIED:
        return FileProblem::NO_PERMISSION;
    case ERROR_WRITE_PROTECT:
        return FileProblem::NOT_WRITABLE;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE:
        return FileProblem::IN_USE;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileProblem::DISK_FULL;
    case ERROR_CANT_RESOLVE_FILENAME:
        return FileProblem::LINK_LOOP;
    case ERROR_DIRECTORY:
        return FileProblem::NOT_REGULAR;
    default:
        return FileProblem::NONE;
    }
}
#endif

}  // namespace RQ540::DiskFile
