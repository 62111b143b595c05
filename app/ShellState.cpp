#include "ShellState.h"

#include "DiskFiles.h"
#include "Prompter.h"
#include "ShellTexts.h"

#include "rq540/CardPath.h"

const std::string& RootPath()
{
    static const std::string root = RQ540::CCardPath().ToChangeDirectoryText();
    return root;
}

RQ540::PasswordBuffer PasswordFieldOf(const QString& text, uint32_t length)
{
    return RQ540::PasswordField(RQ540::PasswordFieldBytes(text.toStdU16String()), length);
}

void ReportVfsError(QWidget* parent, const QString& operation, int32_t code,
                    const RQ540::CVirtualFileSystem* vfs)
{
    if (!vfs)
        vfs = g_pVfs.get();
    const char* message = vfs ? vfs->GetErrorText(code) : nullptr;
    const QString text = QString::fromUtf8(Texts::REFUSED_OPERATION)
                             .arg(operation, QString::fromUtf8(message ? message : ""));
    // Only reading and writing the image fail on a disk file, and they leave why.
    const bool bFileFailed =
        vfs && code == RQ540::RESULT_UNKNOWN_ERROR &&
        (vfs->GetLastDetail() == RQ540::DETAIL_OPEN_FAILED ||
         vfs->GetLastDetail() == RQ540::DETAIL_FILE_OPERATION_FAILED);
    ShowWarning(parent, bFileFailed ? WithFileProblem(text, vfs->GetLastFileProblem()) : text);
}
