#include "ZelvoDoc.h"

#include "CopiedEntries.h"
#include "FileDialogs.h"
#include "Prompter.h"
#include "Resource.h"
#include "ShellState.h"
#include "ShellTexts.h"
#include "StringTable.h"

#include <QFileInfo>

#include <filesystem>
#include <utility>

namespace {

std::filesystem::path ToFsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

}  // namespace

CZelvoDoc::CZelvoDoc(QObject* parent) : QObject(parent)
{
    m_commands.Add(ID_FILE_SAVE, [this] { DoFileSave(); });
    m_commands.Add(ID_FILE_SAVE_AS, [this] { DoSave(); });
}

CZelvoDoc::~CZelvoDoc()
{
    OnCloseDocument();
}

bool CZelvoDoc::OnNewDocument()
{
    m_strPathName.clear();
    m_bModified = false;
    ReplaceImage(std::make_unique<RQ540::CRQ540Vfs>(RQ540::NEW_CARD_MODEL));
    SetTitle(QString::fromUtf8(Texts::NEW_DOCUMENT_TITLE));
    EnterFolder(RootPath());
    emit PathChanged(g_szCurrentPath);
    emit NodeRefreshRequested();
    return true;
}

bool CZelvoDoc::OnOpenDocument(const QString& path)
{
    auto vfs = std::make_unique<RQ540::CRQ540Vfs>();
    const int32_t result = vfs->LoadImage(ToFsPath(path));
    if (result != RQ540::RESULT_SUCCESS) {
        ReportVfsError(m_pDialogParent, QString::fromUtf8(Texts::OPERATION_OPEN_FILE), result,
                       vfs.get());
        return false;
    }
    ReplaceImage(std::move(vfs));
    m_bModified = false;
    SetPathName(path);
    EnterFolder(RootPath());
    emit PathChanged(g_szCurrentPath);
    emit NodeRefreshRequested();
    return true;
}

bool CZelvoDoc::OnSaveDocument(const QString& path)
{
    if (!g_pVfs)
        return false;
    const int32_t result = g_pVfs->SaveImage(ToFsPath(path));
    if (result != RQ540::RESULT_SUCCESS) {
        // The image writer replaces the file only once the new one is whole, so the file
        // on disk is still the previous one: the changes are not saved.
        SetModifiedFlag(true);
        ReportVfsError(m_pDialogParent, QString::fromUtf8(Texts::OPERATION_SAVE_FILE), result);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CZelvoDoc::OnCloseDocument()
{
    ReplaceImage(nullptr);
}

void CZelvoDoc::SetModifiedFlag(bool bModified)
{
    m_bModified = bModified;
}

void CZelvoDoc::SetTitle(const QString& title)
{
    m_strTitle = title;
    emit TitleChanged();
}

void CZelvoDoc::SetPathName(const QString& path)
{
    m_strPathName = QFileInfo(path).absoluteFilePath();
    SetTitle(QFileInfo(path).fileName());
    emit PathNameAdopted(m_strPathName);
}

bool CZelvoDoc::SaveModified()
{
    if (!m_bModified)
        return true;
    const QString name = m_strPathName.isEmpty() ? m_strTitle : m_strPathName;
    const IPrompter::Answer answer =
        Prompter().Show(m_pDialogParent, LoadResString(IDS_APP_TITLE),
                        LoadResString(IDP_ASK_TO_SAVE).arg(name), IPrompter::Icon::Warning,
                        IPrompter::Buttons::YesNoCancel);
    switch (answer) {
    case IPrompter::Answer::Yes: return DoFileSave();
    case IPrompter::Answer::No: return true;
    default: return false;
    }
}

bool CZelvoDoc::DoFileSave()
{
    return m_strPathName.isEmpty() ? DoSave() : OnSaveDocument(m_strPathName);
}

bool CZelvoDoc::DoSave()
{
    const QString extension = GetDocString(DocString::FilterExt);
    const QString proposed = m_strPathName.isEmpty() ? m_strTitle + extension : m_strPathName;
    QString path = FileDialogs().GetSaveFileName(
        m_pDialogParent, QString::fromUtf8(Texts::SAVE_AS_CAPTION), proposed, DocumentFilter());
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).suffix().isEmpty())
        path += extension;
    if (!OnSaveDocument(path))
        return false;
    SetPathName(path);
    return true;
}

void CZelvoDoc::ReplaceImage(std::unique_ptr<RQ540::CRQ540Vfs> vfs)
{
    emit ImageAboutToBeReplaced();
    if (g_pCopiedEntries)
        g_pCopiedEntries->ForgetAll();
    g_pVfs = std::move(vfs);
}
