#include "FileEntryDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"

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
    m_editFileId = AddEdit(1027, x, y, width, height);
    connect(m_editFileId, &QLineEdit::textChanged, this, &CFileEntryDialog::OnChangeId);
}

void CFileEntryDialog::AddSizeEdit(int x, int y, int width, int height)
{
    m_editSize = AddEdit(1028, x, y, width, height);
}

void CFileEntryDialog::AddTypeList(int x, int y, int width, int height)
{
    m_comboType = AddComboBox(1003, x, y, width, height);
    m_comboType->addItems({QStringLiteral("可执行文件"), QStringLiteral("内部可执行文件（不可写)"),
                           QStringLiteral("内部数据文件"), QStringLiteral("公钥文件"),
                           QStringLiteral("私钥文件")});
}

void CFileEntryDialog::AddHelpLabel(int x, int y, int width, int height)
{
    AddNote(QStringLiteral("文件ID为16进制数，范围为1-FFFF。文件大小表示创建卡内文件的大小，"
                           "为0表示使用磁盘文件的大小。如果文件名称为空则将根据输入的文件大小"
                           "创建一个空文件。"),
            x, y, width, height);
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
        Warn(QStringLiteral("请输入一个16进制数的ID。"));
        m_editFileId->setFocus();
        return;
    }
    if (!PrepareSize())
        return;
    if (DialogChecks::IsFileSizeAccepted(m_nSize, m_nFreeSpace, m_nFileHeaderSize)) {
        accept();
        return;
    }
    Warn(QStringLiteral("当前文件夹剩余空间%1字节，不能大于剩余空间－文件头大小（%2）,也不能小于或等于0")
             .arg(m_nFreeSpace)
             .arg(m_nFileHeaderSize));
    m_nSize = DialogChecks::LargestFileSize(m_nFreeSpace, m_nFileHeaderSize);
    UpdateData(false);
}

bool CFileEntryDialog::PrepareSize()
{
    return true;
}

void CFileEntryDialog::OnChangeId()
{
    FilterHexDigits(m_editFileId);
}
