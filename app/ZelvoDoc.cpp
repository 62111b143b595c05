#include "ZelvoDoc.h"

#include "EditedCard.h"
#include "FileDialogs.h"
#include "Prompter.h"
#include "Resource.h"
#include "ShellState.h"
#include "ShellTexts.h"
#include "StringTable.h"

#include "rq540/ImageLock.h"

#include <QFileInfo>

#include <chrono>
#include <utility>

namespace {

// How long a save waits for a command-line run that is changing the same image; such a
// run holds the image for a moment only.
constexpr std::chrono::milliseconds kImageLockWait{3000};

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
    m_fileIdentity.reset();
    m_bModified = false;
    EditedCard().ReplaceImage(std::make_unique<RQ540::CRQ540Vfs>(RQ540::NEW_CARD_MODEL));
    SetTitle(QString::fromUtf8(Texts::NEW_DOCUMENT_TITLE));
    // The whole tree is rebuilt from the root folder, which the list shows.
    EditedCard().RefreshFolder(RootPath());
    return true;
}

bool CZelvoDoc::OnOpenDocument(const QString& path)
{
    auto vfs = std::make_unique<RQ540::CRQ540Vfs>();
    // Taken before reading, so that a change made while the image is read counts as a
    // change at the next save.
    const std::optional<RQ540::DiskFile::FileIdentity> identity =
        RQ540::DiskFile::GetIdentity(ToFsPath(path));
    const int32_t result = vfs->LoadImage(ToFsPath(path));
    if (result != RQ540::RESULT_SUCCESS) {
        ReportVfsError(m_pDialogParent, QString::fromUtf8(Texts::OPERATION_OPEN_FILE), result,
                       vfs.get());
        return false;
    }
    EditedCard().ReplaceImage(std::move(vfs));
    m_bModified = false;
    m_fileIdentity = identity;
    SetPathName(path);
    EditedCard().RefreshFolder(RootPath());
    return true;
}

bool CZelvoDoc::OnSaveDocument(const QString& path)
{
    if (!g_pVfs)
        return false;
    const std::filesystem::path file = ToFsPath(path);
    int32_t result = RQ540::RESULT_SUCCESS;
    for (bool bDecided = false; !bDecided;) {
        // The question is asked without the image's lock, so that a user thinking it over
        // keeps no command-line run waiting.
        const std::optional<RQ540::DiskFile::FileIdentity> seen =
            RQ540::DiskFile::GetIdentity(file);
        if (!ConfirmOverwrite(path, file, seen))
            return false;
        // Holding the lock keeps a command-line run from changing the file between the
        // check and the rename. A lock that cannot be created (a folder that is not
        // writable) leaves the save to fail and say why.
        RQ540::CImageLock lock;
        if (lock.Acquire(file, kImageLockWait) == RQ540::CImageLock::TIMED_OUT) {
            ShowWarning(m_pDialogParent, LoadResString(IDP_FILE_LOCKED).arg(path));
            return false;
        }
        // Changed again while the user was asked: ask about what is there now.
        if (RQ540::DiskFile::GetIdentity(file) != seen)
            continue;
        result = g_pVfs->SaveImage(file);
        if (result == RQ540::RESULT_SUCCESS)
            m_fileIdentity = RQ540::DiskFile::GetIdentity(file);
        bDecided = true;
    }
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

bool CZelvoDoc::ConfirmOverwrite(const QString& path, const std::filesystem::path& file,
                                 const std::optional<RQ540::DiskFile::FileIdentity>& current)
{
    if (!m_fileIdentity || QFileInfo(path).absoluteFilePath() != m_strPathName)
        return true;
    // A file that is gone has nothing to lose, and something that is no file any more
    // cannot be overwritten: the save itself reports that.
    if (!current || *current == *m_fileIdentity || !RQ540::DiskFile::IsRegularFile(file))
        return true;
    return Prompter().Show(m_pDialogParent, LoadResString(IDS_APP_TITLE),
                           LoadResString(IDP_FILE_CHANGED_ON_DISK).arg(path),
                           IPrompter::Icon::Warning,
                           IPrompter::Buttons::YesNo) == IPrompter::Answer::Yes;
}

void CZelvoDoc::OnCloseDocument()
{
    EditedCard().ReplaceImage(nullptr);
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
