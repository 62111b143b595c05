#include "EntryCommands.h"

#include "DialogChecks.h"
#include "DiskFiles.h"
#include "EditedCard.h"
#include "EditFileDialog.h"
#include "FileDialogs.h"
#include "HardInforDialog.h"
#include "ImportFileDialog.h"
#include "NewFileDialog.h"
#include "NewFolderDialog.h"
#include "Prompter.h"
#include "Resource.h"
#include "ShellState.h"
#include "ShellTexts.h"
#include "ZelvoDoc.h"
#include "ZelvoView.h"

#include "rq540/HexDigits.h"

#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// The ID a file dialog returned; its OK has made sure the text begins with a digit, and
// 0 would be refused by the core as reserved.
uint16_t FileIdOf(const CFileEntryDialog& dialog)
{
    return DialogChecks::ParseHexId(dialog.m_strFileId.toStdU16String()).value_or(0);
}

uint32_t CurrentFreeSpace()
{
    return g_pVfs->GetCurrentFolder()->GetFreeSpace();
}

}  // namespace

CEntryCommands::CEntryCommands(CZelvoView* pView, CZelvoDoc* pDocument, QObject* parent)
    : QObject(parent), m_pView(pView), m_pDocument(pDocument)
{
    // New entries go into the current folder whatever is selected; export and edit act on
    // the first selected row, which must be a file.
    const auto onFile = [this] { return m_pView->IsFirstSelectedFile(); };
    m_commands.Add(ID_NEW_FOLDER, [this] { OnNewFolder(); });
    m_commands.Add(ID_NEW_FILE, [this] { OnNewFile(); });
    m_commands.Add(ID_IMPORT, [this] { OnImport(); });
    m_commands.Add(ID_EXPORT, [this] { OnExport(); }, onFile);
    m_commands.Add(ID_EDIT_FILE, [this] { OnEditFile(); }, onFile);
    m_commands.Add(ID_HARDWARE_INFO, [this] { OnHardwareInfo(); });
}

void CEntryCommands::OnNewFolder()
{
    if (!g_pVfs)
        return;
    CNewFolderDialog dlg(m_pView, g_pVfs->GetModel());
    dlg.m_nFreeSpace = CurrentFreeSpace();
    if (dlg.DoModal() != QDialog::Accepted)
        return;
    RQ540::CFolderHeader* folder = nullptr;
    const int32_t result =
        g_pVfs->CreateFolder(static_cast<uint32_t>(dlg.m_nFolderId), dlg.m_nSize, &folder);
    if (result != RQ540::RESULT_SUCCESS) {
        ReportVfsError(m_pView, QString::fromUtf8(Texts::OPERATION_CREATE_FOLDER), result);
        return;
    }
    folder->SetDeveloperPassword(PasswordFieldOf(dlg.m_strDeveloperPassword,
                                                  g_pVfs->GetDeveloperPasswordLength())
                                     .data());
    folder->SetUserPassword(PasswordFieldOf(dlg.m_strUserPassword, g_pVfs->GetUserPasswordLength())
                                .data());
    EntriesChanged();
}

void CEntryCommands::OnNewFile()
{
    if (!g_pVfs)
        return;
    CNewFileDialog dlg(m_pView);
    dlg.m_nFreeSpace = CurrentFreeSpace();
    dlg.m_nFileHeaderSize = g_pVfs->GetFileHeaderSize();
    if (dlg.DoModal() != QDialog::Accepted)
        return;
    RQ540::FileHandle handle = nullptr;
    const int32_t result = g_pVfs->CreateFile(
        FileIdOf(dlg), DialogChecks::TypeFromListIndex(dlg.m_nTypeIndex), dlg.m_nSize, &handle);
    if (result != RQ540::RESULT_SUCCESS) {
        ReportVfsError(m_pView, QString::fromUtf8(Texts::OPERATION_CREATE_FILE), result);
        return;
    }
    EntriesChanged();
    // The handle CreateFile opened is closed without fail.
    (void)g_pVfs->CloseFile(handle);
}

void CEntryCommands::OnImport()
{
    if (!g_pVfs)
        return;
    CImportFileDialog dlg(m_pView);
    dlg.m_nFreeSpace = CurrentFreeSpace();
    dlg.m_nFileHeaderSize = g_pVfs->GetFileHeaderSize();
    if (dlg.DoModal() != QDialog::Accepted)
        return;
    // Without a file name the new file stays zero-filled; a shorter disk file leaves the
    // rest zero, a longer one is cut at the size.
    std::vector<uint8_t> buffer(dlg.m_nSize, 0);
    if (!dlg.m_strFileName.isEmpty()) {
        const std::optional<std::vector<uint8_t>> bytes =
            ReadDiskBytes(m_pView, dlg.m_strFileName, dlg.m_nSize);
        if (!bytes)
            return;
        std::copy(bytes->begin(), bytes->end(), buffer.begin());
    }
    RQ540::FileHandle handle = nullptr;
    const int32_t result = g_pVfs->CreateFile(
        FileIdOf(dlg), DialogChecks::TypeFromListIndex(dlg.m_nTypeIndex), dlg.m_nSize, &handle);
    if (result == RQ540::RESULT_SUCCESS) {
        // The whole new file through the handle just opened: neither can be refused.
        (void)g_pVfs->WriteFile(handle, 0, dlg.m_nSize, buffer.data());
        (void)g_pVfs->CloseFile(handle);
    } else {
        ReportVfsError(m_pView, QString::fromUtf8(Texts::OPERATION_IMPORT_FILE), result);
    }
    EntriesChanged();
}

void CEntryCommands::OnExport()
{
    const EntryItemData* record = m_pView->GetFirstSelectedItemData();
    if (!g_pVfs || !record || record->pHeader->IsFolder())
        return;
    const uint16_t id = record->pHeader->GetId();
    const QString extension = QString::fromUtf8(Texts::EXPORT_EXTENSION);
    QString path = FileDialogs().GetSaveFileName(
        m_pView, QString::fromUtf8(Texts::SAVE_AS_CAPTION),
        QString::fromStdString(RQ540::FormatId(id)) + extension,
        QString::fromUtf8(Texts::DISK_FILE_FILTER));
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += extension;
    RQ540::FileHandle handle = nullptr;
    if (g_pVfs->OpenFile(id, &handle) != RQ540::RESULT_SUCCESS)
        return;
    std::vector<uint8_t> buffer(handle->GetSize());
    // The whole file through the handle just opened: neither can be refused.
    (void)g_pVfs->ReadFile(handle, 0, handle->GetSize(), buffer.data());
    (void)g_pVfs->CloseFile(handle);
    // Written beside the destination and renamed over it, so a failure leaves it whole.
    ReplaceDiskFile(m_pView, path, buffer);
}

void CEntryCommands::OnEditFile()
{
    const EntryItemData* record = m_pView->GetFirstSelectedItemData();
    if (!g_pVfs || !record || record->pHeader->IsFolder())
        return;
    RQ540::FileHandle handle = nullptr;
    if (g_pVfs->OpenFile(record->pHeader->GetId(), &handle) != RQ540::RESULT_SUCCESS)
        return;
    // A card file is never larger than the card (61988 bytes), well within the buffer.
    const uint32_t size = handle->GetSize();
    CEditFileDialog dlg(m_pView);
    dlg.m_nSize = static_cast<int32_t>(size);
    // The whole file through the handle just opened: reading, writing back and closing
    // cannot be refused, so their results are not looked at.
    (void)g_pVfs->ReadFile(handle, 0, size, dlg.m_pBuffer.get());
    if (dlg.DoModal() == QDialog::Accepted) {
        (void)g_pVfs->WriteFile(handle, 0, size, dlg.m_pBuffer.get());
        m_pDocument->SetModifiedFlag();
    }
    (void)g_pVfs->CloseFile(handle);
}

void CEntryCommands::OnHardwareInfo()
{
    if (!g_pVfs)
        return;
    CHardInforDialog dlg(*g_pVfs, m_pView);
    dlg.DoModal();
}

void CEntryCommands::EntriesChanged()
{
    EditedCard().RefreshFolder(g_szCurrentPath);
    m_pDocument->SetModifiedFlag();
}
