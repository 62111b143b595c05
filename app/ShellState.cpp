#include "ShellState.h"

#include "CopiedEntries.h"
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

void ReportVfsError(QWidget* parent, const QString& operation, int32_t code,
                    const RQ540::CVirtualFileSystem* vfs)
{
    if (!vfs)
        vfs = g_pVfs.get();
    const char* message = vfs ? vfs->GetErrorText(code) : nullptr;
    ShowWarning(parent, QString::fromUtf8(Texts::REFUSED_OPERATION)
                            .arg(operation, QString::fromUtf8(message ? message : "")));
}
