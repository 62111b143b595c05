#include "FileEntryDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"
#include "ShellTexts.h"

#include "rq540/CardModel.h"
#include "rq540/HexDigits.h"

#include <QComboBox>
#include <QLineEdit>

CFileEntryDialog::CFileEntryDialog(QWidget* parent, const QString& title, int width, int height,
                                   uint32_t initialSize)
    : CExchangeDialog(parent, title, width, height),
      m_nSize(initialSize),
      m_nFileHeaderSize(RQ540::GetFileHeaderCost(RQ540::NEW_CARD_MODEL))
{
}

void CFileEntryDialog::AddIdEdit(int x, int y, int width, int height)
{
    m_editFileId = AddEdit(IDC_FILE_ID, x, y, width, height);
    connect(m_editFileId, &QLineEdit::textChanged, this, &CFileEntryDialog::OnChangeId);
}

void CFileEntryDialog::AddSizeEdit(int x, int y, int width, int height)
{
    m_editSize = AddEdit(IDC_FILE_SIZE, x, y, width, height);
}

void CFileEntryDialog::AddTypeList(int x, int y, int width, int height)
{
    m_comboType = AddComboBox(IDC_FILE_TYPE, x, y, width, height);
    for (const char* text : Texts::FILE_TYPE_LIST)
        m_comboType->addItem(QString::fromUtf8(text));
}

void CFileEntryDialog::AddHelpLabel(int x, int y, int width, int height)
{
    AddNote(QString::fromUtf8(Texts::FILE_ENTRY_HELP), x, y, width, height);
}

void CFileEntryDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(m_editFileId, m_strFileId, RQ540::ID_DIGITS);
    dx.Text(m_editSize, m_nSize);
    dx.ComboIndex(m_comboType, m_nTypeIndex);
}

void CFileEntryDialog::OnInitDialog()
{
    CExchangeDialog::OnInitDialog();
    m_comboType->setCurrentIndex(0);
}

void CFileEntryDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    if (!DialogChecks::ParseHexId(m_strFileId.toStdU16String())) {
        Warn(QString::fromUtf8(Texts::ENTER_HEX_ID));
        m_editFileId->setFocus();
        return;
    }
    if (!PrepareSize())
        return;
    if (DialogChecks::IsFileSizeAccepted(m_nSize, m_nFreeSpace, m_nFileHeaderSize)) {
        if (ConfirmSize())
            accept();
        return;
    }
    Warn(QString::fromUtf8(Texts::FILE_SIZE_REFUSED)
             .arg(m_nFreeSpace)
             .arg(m_nFileHeaderSize));
    m_nSize = DialogChecks::LargestFileSize(m_nFreeSpace, m_nFileHeaderSize);
    UpdateData(false);
}

bool CFileEntryDialog::PrepareSize()
{
    return true;
}

bool CFileEntryDialog::ConfirmSize()
{
    return true;
}

void CFileEntryDialog::OnChangeId()
{
    FilterHexDigits(m_editFileId);
}
