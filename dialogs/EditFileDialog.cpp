#include "EditFileDialog.h"

#include "FileDialogs.h"
#include "ShellTexts.h"

#include <QDir>
#include <QFile>
#include <QPushButton>

#include <algorithm>
#include <cstring>

namespace {

QString NativePath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

}  // namespace

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
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        Warn(QString::fromUtf8(Texts::EDIT_CANNOT_CREATE_FILE).arg(NativePath(path)));
        return;
    }
    TakeEdits();
    // Always the card file's size, whatever the editor holds.
    const qint64 size = BufferBytes();
    if (file.write(reinterpret_cast<const char*>(m_pBuffer.get()), size) != size ||
        !file.flush())
        Warn(QString::fromUtf8(Texts::EDIT_CANNOT_WRITE_FILE).arg(NativePath(path)));
}

void CEditFileDialog::OnImport()
{
    const QString path = FileDialogs().GetOpenFileName(
        this, QString::fromUtf8(Texts::OPEN_CAPTION), QString(),
        QString::fromUtf8(Texts::DISK_FILE_FILTER));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Warn(QString::fromUtf8(Texts::EDIT_CANNOT_OPEN_FILE).arg(NativePath(path)));
        return;
    }
    // A shorter file replaces only its own bytes; the rest keep what the buffer held.
    const QByteArray bytes = file.read(BufferBytes());
    if (file.error() != QFileDevice::NoError) {
        Warn(QString::fromUtf8(Texts::EDIT_CANNOT_READ_FILE).arg(NativePath(path)));
        return;
    }
    std::memcpy(m_pBuffer.get(), bytes.constData(), static_cast<std::size_t>(bytes.size()));
    m_hexEdit.SetData(m_pBuffer.get(), BufferBytes());
}

int32_t CEditFileDialog::BufferBytes() const
{
    return std::clamp(m_nSize, 0, EDIT_BUFFER_SIZE);
}

void CEditFileDialog::TakeEdits()
{
    const CHexEditState& state = m_hexEdit.State();
    const int32_t count = std::min(BufferBytes(), state.m_nLength);
    if (count > 0)
        std::memcpy(m_pBuffer.get(), state.m_pData.get(), static_cast<std::size_t>(count));
}
