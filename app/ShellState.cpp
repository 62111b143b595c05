#include "ShellState.h"

#include "CopiedEntries.h"
#include "DiskFiles.h"
#include "Prompter.h"
#include "ShellTexts.h"

#include "rq540/CardPath.h"

std::unique_ptr<RQ540::CRQ540Vfs> g_pVfs;
std::string g_szCurrentPath = RootPath();
std::unique_ptr<CCopiedEntries> g_pCopiedEntries;

const std::string& RootPath()
{
    static const std::string root = RQ540::CCardPath().ToChangeDirectoryText();
    return root;
}

void EnterFolder(const std::string& path)
{
    if (!g_pVfs || !g_pVfs->GetRoot())
        return;
    // A refused path leaves the current folder as it was, and the mirror follows the
    // folder that is current either way.
    (void)g_pVfs->ChangeDirectory(path);
    g_szCurrentPath = g_pVfs->GetCurrentPath().ToChangeDirectoryText();
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
