#include "DiskFiles.h"

#include "Prompter.h"
#include "ShellTexts.h"

#include "rq540/File_Ptr.h"

#include <QDir>

#include <filesystem>

namespace {

using RQ540::DiskFile::FileProblem;

std::filesystem::path ToFsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

QString FileProblemText(FileProblem problem)
{
    switch (problem) {
    case FileProblem::NOT_REGULAR:
        return QString::fromUtf8(Texts::PROBLEM_NOT_REGULAR);
    case FileProblem::NOT_WRITABLE:
        return QString::fromUtf8(Texts::PROBLEM_NOT_WRITABLE);
    case FileProblem::FOLDER_NOT_WRITABLE:
        return QString::fromUtf8(Texts::PROBLEM_FOLDER_NOT_WRITABLE);
    case FileProblem::HARD_LINKED:
        return QString::fromUtf8(Texts::PROBLEM_HARD_LINKED);
    case FileProblem::LINK_LOOP:
        return QString::fromUtf8(Texts::PROBLEM_LINK_LOOP);
    case FileProblem::NOT_FOUND:
        return QString::fromUtf8(Texts::PROBLEM_NOT_FOUND);
    case FileProblem::NO_PERMISSION:
        return QString::fromUtf8(Texts::PROBLEM_NO_PERMISSION);
    case FileProblem::DISK_FULL:
        return QString::fromUtf8(Texts::PROBLEM_DISK_FULL);
    case FileProblem::IN_USE:
        return QString::fromUtf8(Texts::PROBLEM_IN_USE);
    case FileProblem::NONE:
    case FileProblem::TOO_LONG:
    case FileProblem::OPEN_FAILED:
    case FileProblem::READ_FAILED:
        break;
    }
    return QString();
}

void Report(QWidget* parent, const char* message, const QString& path, FileProblem problem)
{
    const QString text = QString::fromUtf8(message).arg(QDir::toNativeSeparators(path));
    ShowWarning(parent, WithFileProblem(text, problem));
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadDiskBytes(QWidget* parent, const QString& path,
                                                  uint64_t limit)
{
    std::vector<uint8_t> bytes;
    // A longer file gives its first limit bytes, as the callers want.
    const FileProblem problem = RQ540::DiskFile::ReadBounded(ToFsPath(path), limit, bytes);
    switch (problem) {
    case FileProblem::NONE:
    case FileProblem::TOO_LONG:
        return bytes;
    case FileProblem::READ_FAILED:
        Report(parent, Texts::CANNOT_READ_FILE, path, problem);
        return std::nullopt;
    default:
        Report(parent, Texts::CANNOT_OPEN_FILE, path, problem);
        return std::nullopt;
    }
}

std::optional<uint64_t> RegularFileLength(const QString& path)
{
    const std::filesystem::path file = ToFsPath(path);
    if (!RQ540::DiskFile::IsRegularFile(file))
        return std::nullopt;
    const std::optional<RQ540::DiskFile::FileIdentity> identity =
        RQ540::DiskFile::GetIdentity(file);
    if (!identity)
        return std::nullopt;
    return identity->size;
}

bool ReplaceDiskFile(QWidget* parent, const QString& path, std::span<const uint8_t> bytes)
{
    FileProblem problem = FileProblem::NONE;
    try {
        RQ540::DiskFile::ReplaceFile(ToFsPath(path), bytes, &problem);
    } catch (RQ540::File_Ptr::FILE_EXCEPTION error) {
        Report(parent,
               error == RQ540::File_Ptr::OPEN_FAILED ? Texts::CANNOT_CREATE_FILE
                                                     : Texts::CANNOT_WRITE_FILE,
               path, problem);
        return false;
    }
    return true;
}

QString WithFileProblem(const QString& message, FileProblem problem)
{
    const QString reason = FileProblemText(problem);
    return reason.isEmpty() ? message
                            : QString::fromUtf8(Texts::FILE_PROBLEM_REASON).arg(message, reason);
}
