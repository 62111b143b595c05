#include "ImportFileDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"
#include "DiskFiles.h"
#include "FileDialogs.h"
#include "Prompter.h"
#include "Resource.h"
#include "ShellTexts.h"
#include "StringTable.h"

#include "rq540/CardModel.h"

#include <QLineEdit>
#include <QPushButton>

CImportFileDialog::CImportFileDialog(QWidget* parent)
    : CFileEntryDialog(parent, QString::fromUtf8(Texts::IMPORT_TITLE), 286, 204, 0)
{
    m_editFileName = AddEdit(IDC_FILE_NAME, 59, 18, 187, 12);
    QPushButton* browse =
        AddButton(IDC_BROWSE, QString::fromUtf8(Texts::BROWSE_BUTTON), 255, 18, 13, 11);
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

std::optional<uint64_t> CImportFileDialog::DiskLength(const QString& path)
{
    // A file longer than the card is refused by its size alone, so reading stops one byte
    // past the card's capacity: an endless device or a huge file costs no more than that.
    const std::optional<std::vector<uint8_t>> bytes =
        ReadDiskBytes(this, path, uint64_t{RQ540::GetCapacity(RQ540::NEW_CARD_MODEL)} + 1);
    if (!bytes)
        return std::nullopt;
    return bytes->size();
}

bool CImportFileDialog::PrepareSize()
{
    if (m_nSize != 0 || m_strFileName.isEmpty())
        return true;
    const std::optional<uint64_t> length = DiskLength(m_strFileName);
    if (!length) {
        m_editFileName->setFocus();
        m_editFileName->selectAll();
        return false;
    }
    m_nSize = DialogChecks::DiskLengthAsSize(*length);
    return true;
}

bool CImportFileDialog::ConfirmSize()
{
    // No file name, or a file whose length the file system cannot tell: nothing to ask;
    // the import reads the file and reports what fails.
    const std::optional<uint64_t> length = RegularFileLength(m_strFileName);
    if (!length || *length <= m_nSize)
        return true;
    return Prompter().Show(this, QString::fromUtf8(Texts::QUESTION_CAPTION),
                           LoadResString(IDP_IMPORT_CUT_SHORT).arg(*length).arg(m_nSize),
                           IPrompter::Icon::Question,
                           IPrompter::Buttons::YesNo) == IPrompter::Answer::Yes;
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
    const std::optional<uint64_t> length = DiskLength(path);
    if (!length)
        return;
    m_strFileName = path;
    m_nSize = DialogChecks::SizeFromDiskLength(*length, m_nFreeSpace, m_nFileHeaderSize);
    UpdateData(false);
    m_editFileName->setFocus();
    m_editFileName->selectAll();
}
