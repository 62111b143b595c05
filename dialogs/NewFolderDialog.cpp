#include "NewFolderDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"

#include "rq540/HexDigits.h"

#include <QLineEdit>

CNewFolderDialog::CNewFolderDialog(QWidget* parent, int32_t model)
    : CExchangeDialog(parent, QStringLiteral("创建目录"), 213, 141),
      m_strUserPassword(QString::fromLatin1(RQ540::GetDefaultUserPassword(model))),
      m_strDeveloperPassword(QString::fromLatin1(RQ540::GetDefaultDeveloperPassword(model))),
      m_nModel(model)
{
    AddButton(IDOK, QStringLiteral("确定"), 41, 118, 50, 16);
    AddButton(IDCANCEL, QStringLiteral("取消"), 118, 118, 50, 16);
    AddLabel(QStringLiteral("目录ID(HEX):"), 7, 20, 53, 8);
    m_editFolderId = AddEdit(1027, 65, 17, 133, 14);
    AddLabel(QStringLiteral("目录大小(字节):"), 7, 42, 56, 8);
    m_editSize = AddEdit(1003, 65, 39, 133, 14);
    AddLabel(QStringLiteral("开发商口令:"), 7, 64, 48, 8);
    m_editDeveloperPassword = AddEdit(1004, 65, 61, 133, 14);
    AddLabel(QStringLiteral("用户口令:"), 7, 86, 34, 8);
    m_editUserPassword = AddEdit(1005, 65, 83, 133, 14);
    connect(m_editFolderId, &QLineEdit::textChanged, this, &CNewFolderDialog::OnChangeId);
}

void CNewFolderDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(m_editFolderId, m_strFolderId, RQ540::ID_DIGITS);
    dx.Text(m_editSize, m_nSize);
    dx.Text(m_editDeveloperPassword, m_strDeveloperPassword,
            static_cast<int>(RQ540::GetDeveloperPasswordLength(m_nModel)));
    dx.Text(m_editUserPassword, m_strUserPassword,
            static_cast<int>(RQ540::GetUserPasswordLength(m_nModel)));
}

void CNewFolderDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    const std::optional<uint16_t> id = DialogChecks::ParseHexId(m_strFolderId.toStdU16String());
    if (!id) {
        Warn(QStringLiteral("请输入一个16进制数的ID。"));
        m_editFolderId->setFocus();
        return;
    }
    m_nFolderId = *id;
    if (DialogChecks::IsFolderSizeAccepted(m_nSize, m_nFreeSpace)) {
        accept();
        return;
    }
    Warn(QStringLiteral("当前文件夹剩余空间%1字节，不能大于该空间也不能小于或等于0").arg(m_nFreeSpace));
    m_nSize = m_nFreeSpace;
    UpdateData(false);
}

void CNewFolderDialog::OnChangeId()
{
    FilterHexDigits(m_editFolderId);
}
