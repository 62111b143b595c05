#include "ShellState.h"

#include "CopiedEntries.h"
#include "MainFrame.h"
#include "Prompter.h"
#include "Resource.h"
#include "StringTable.h"

std::unique_ptr<RQ540::CRQ540Vfs> g_pVfs;
std::string g_szCurrentPath = "\\";
std::unique_ptr<CCopiedEntries> g_pCopiedEntries;

namespace {
CMainFrame* g_pMainFrame = nullptr;
}

CMainFrame* MainFrame()
{
    return g_pMainFrame;
}

void SetMainFrame(CMainFrame* frame)
{
    g_pMainFrame = frame;
}

void SetCurrentPath(const std::string& path)
{
    g_szCurrentPath = path;
    if (g_pMainFrame)
        g_pMainFrame->OnVfsPathChanged(g_szCurrentPath);
}

void ReportVfsError(const QString& operation, int32_t code, const RQ540::CVirtualFileSystem* vfs)
{
    if (!vfs)
        vfs = g_pVfs.get();
    const char* message = vfs ? vfs->GetErrorText(code) : nullptr;
    const QString text = QStringLiteral("%1操作失败, 错误信息：%2!")
                             .arg(operation, QString::fromUtf8(message ? message : ""));
    Prompter().Show(g_pMainFrame, LoadResString(IDS_APP_TITLE), text, IPrompter::Icon::Warning,
                    IPrompter::Buttons::Ok);
}
