#include "ImportFileDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"
#include "FileDialogs.h"
#include "ShellTexts.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

CImportFileDialog::CImportFileDialog(QWidget* parent)
    : CFileEntryDialog(parent, QString::fromUtf8(Texts::IMPORT_TITLE), 286, 204, 0)
{
    m_editFileName = AddEdit(1030, 59, 18, 187, 12);
    QPushButton* browse = AddButton(1009, QString::fromUtf8(Texts::BROWSE_BUTTON), 255, 18, 13, 11);
    AddGroupBox(QString::fromUtf8(Texts::SOURCE_FILE_GROUP), 7, 7, 271, 29);
    AddLabel(QString::fromUtf8(Texts::FILE_NAME_LABEL), 19, 18, 36, 11);
    AddIdEdit(57, 60, 33, 12);
    AddSizeEdit(147, 59, 34, 12);
    AddButton(IDOK, QString::fromUtf8(Texts::CREATE_BUTTON), 65, 177, 58, 16);
    AddButton(IDCANCEL, QString::fromUtf8(Texts::CANCEL_BUTTON), 161, 177, 58, 16);
    AddGroupBox(QString(), 7, 108, 271, 60);
    AddLabel(QString::fromUtf8(Texts::FILE_ID_LABEL), 17, 62, 36, 11);
    AddLabel(QString::fromUtf8(Texts::FILE_SIZE_LABEL), 103, 60, 36, 11);
    AddLabel(QString::fromUtf8(Texts::FILE_TYPE_LABEL), 17, 81, 36, 11);
    AddGroupBox(QString::fromUtf8(Texts::TARGET_FILE_GROUP), 7, 44, 271, 58);
    AddHelpLabel(19, 121, 248, 30);
    AddTypeList(57, 82, 126, 75);
    connect(browse, &QPushButton::clicked, this, &CImportFileDialog::OnBrowse);
}

void CImportFileDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(m_editFileName, m_strFileName);
    CFileEntryDialog::DoDataExchange(dx);
}

bool CImportFileDialog::PrepareSize()
{
    if (m_nSize != 0 || m_strFileName.isEmpty())
        return true;
    QFile file(m_strFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        Warn(QString::fromUtf8(Texts::CANNOT_OPEN_FILE).arg(m_strFileName));
        m_editFileName->setFocus();
        m_editFileName->selectAll();
        return false;
    }
    m_nSize = DialogChecks::DiskLengthAsSize(static_cast<uint64_t>(file.size()));
    return true;
}

void CImportFileDialog::OnBrowse()
{
    // What the user typed so far goes into the members; a field that fails has been
    // reported and browsing goes on.
    UpdateData(true);
    const QString path = FileDialogs().GetOpenFileName(
        this, QString::fromUtf8(Texts::OPEN_CAPTION), QString(),
        QString::fromUtf8(Texts::DISK_FILE_FILTER));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Warn(QString::fromUtf8(Texts::CANNOT_OPEN_FILE).arg(path));
        return;
    }
    m_strFileName = path;
    m_nSize = DialogChecks::SizeFromDiskLength(static_cast<uint64_t>(file.size()), m_nFreeSpace,
                                               m_nFileHeaderSize);
    UpdateData(false);
    m_editFileName->setFocus();
    m_editFileName->selectAll();
}
