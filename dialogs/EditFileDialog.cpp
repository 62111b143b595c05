#include "EditFileDialog.h"

#include "DiskFiles.h"
#include "FileDialogs.h"
#include "ShellTexts.h"

#include <QPushButton>

#include <algorithm>

CEditFileDialog::CEditFileDialog(QWidget* parent)
    : CExchangeDialog(parent, QString::fromUtf8(Texts::EDIT_FILE_TITLE), 234, 216), m_hexEdit(this),
      m_pBuffer(std::make_unique<uint8_t[]>(EDIT_BUFFER_SIZE))
{
    m_pOkButton = AddButton(IDOK, QString::fromUtf8(Texts::OK), 119, 195, 50, 14);
    QPushButton* cancel = AddButton(IDCANCEL, QString::fromUtf8(Texts::CANCEL), 175, 195, 50, 14);
    m_hexEdit.setObjectName(QString::number(IDC_HEX_EDIT));
    m_hexEdit.setGeometry(MapDialogRect(7, 7, 220, 177));
    QPushButton* exportButton =
        AddButton(IDC_EXPORT, QString::fromUtf8(Texts::EXPORT_BUTTON), 7, 195, 50, 14);
    QPushButton* importButton =
        AddButton(IDC_IMPORT, QString::fromUtf8(Texts::IMPORT_BUTTON), 63, 195, 50, 14);

    // Template order: OK, Cancel, the editor, export, import.
    setTabOrder(m_pOkButton, cancel);
    setTabOrder(cancel, &m_hexEdit);
    setTabOrder(&m_hexEdit, exportButton);
    setTabOrder(exportButton, importButton);
    connect(exportButton, &QPushButton::clicked, this, &CEditFileDialog::OnExport);
    connect(importButton, &QPushButton::clicked, this, &CEditFileDialog::OnImport);
}

void CEditFileDialog::DoDataExchange(CDataExchange&)
{
}

void CEditFileDialog::OnInitDialog()
{
    CExchangeDialog::OnInitDialog();
    m_hexEdit.SetData(m_pBuffer.get(), BufferBytes());
    CHexEditState& state = m_hexEdit.State();
    state.m_layout.m_bShowHex = true;
    state.m_layout.m_bShowAscii = true;
    state.m_layout.m_bShowAddress = true;
    state.m_layout.m_bWideAddress = false;
    state.m_bLayoutDirty = true;
    // As with any dialog, the first control in tab order starts with the focus.
    m_pOkButton->setFocus();
}

void CEditFileDialog::OnOK()
{
    TakeEdits();
    accept();
}

void CEditFileDialog::OnExport()
{
    const QString path = FileDialogs().GetSaveFileName(
        this, QString::fromUtf8(Texts::SAVE_AS_CAPTION), QString(),
        QString::fromUtf8(Texts::DISK_FILE_FILTER));
    if (path.isEmpty())
        return;
    // Always the card file's size, whatever the editor holds. The buffer takes the edits
    // only once they are on disk, so a failed export leaves the dialog's data as it was.
    if (ReplaceDiskFile(this, path, EditedBytes()))
        TakeEdits();
}

void CEditFileDialog::OnImport()
{
    const QString path = FileDialogs().GetOpenFileName(
        this, QString::fromUtf8(Texts::OPEN_CAPTION), QString(),
        QString::fromUtf8(Texts::DISK_FILE_FILTER));
    if (path.isEmpty())
        return;
    // A shorter file replaces only its own bytes; the rest keep what the buffer held.
    const std::optional<std::vector<uint8_t>> bytes =
        ReadDiskBytes(this, path, static_cast<uint64_t>(BufferBytes()));
    if (!bytes)
        return;
    std::copy(bytes->begin(), bytes->end(), m_pBuffer.get());
    m_hexEdit.SetData(m_pBuffer.get(), BufferBytes());
}

int32_t CEditFileDialog::BufferBytes() const
{
    return std::clamp(m_nSize, 0, EDIT_BUFFER_SIZE);
}

std::vector<uint8_t> CEditFileDialog::EditedBytes() const
{
    std::vector<uint8_t> bytes(m_pBuffer.get(), m_pBuffer.get() + BufferBytes());
    const CHexEditState& state = m_hexEdit.State();
    const int32_t count = std::min(BufferBytes(), state.m_nLength);
    if (count > 0)
        std::copy_n(state.m_pData.get(), count, bytes.begin());
    return bytes;
}

void CEditFileDialog::TakeEdits()
{
    const std::vector<uint8_t> bytes = EditedBytes();
    std::copy(bytes.begin(), bytes.end(), m_pBuffer.get());
}
