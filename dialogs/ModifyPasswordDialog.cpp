#include "ModifyPasswordDialog.h"

#include "DataExchange.h"

#include <QLineEdit>

CModifyPasswordDialog::CModifyPasswordDialog(QWidget* parent, int32_t model)
    : CExchangeDialog(parent, QString(), 241, 101), m_nModel(model)
{
    m_editDeveloperPassword = AddEdit(1004, 68, 20, 156, 14);
    m_editDeveloperPassword->setEchoMode(QLineEdit::Password);
    m_editUserPassword = AddEdit(1005, 68, 43, 156, 14);
    m_editUserPassword->setEchoMode(QLineEdit::Password);
    AddButton(IDOK, QStringLiteral("确定"), 48, 78, 50, 16);
    AddButton(IDCANCEL, QStringLiteral("取消"), 147, 78, 50, 16);
    AddLabel(QStringLiteral("开发商口令："), 14, 23, 50, 8);
    AddLabel(QStringLiteral("用户口令："), 15, 47, 41, 8);
}

bool CModifyPasswordDialog::RunModal(QWidget* parent, bool bRoot, QString& strDeveloperPassword,
                                     QString& strUserPassword)
{
    CModifyPasswordDialog dlg(parent);
    dlg.m_strDeveloperPassword = strDeveloperPassword;
    dlg.m_strUserPassword = strUserPassword;
    dlg.m_bRoot = bRoot;
    if (dlg.DoModal() != QDialog::Accepted)
        return false;
    strDeveloperPassword = dlg.m_strDeveloperPassword;
    strUserPassword = dlg.m_strUserPassword;
    return true;
}

void CModifyPasswordDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(m_editDeveloperPassword, m_strDeveloperPassword,
            static_cast<int>(RQ540::GetDeveloperPasswordLength(m_nModel)));
    dx.Text(m_editUserPassword, m_strUserPassword,
            static_cast<int>(RQ540::GetUserPasswordLength(m_nModel)));
}

void CModifyPasswordDialog::OnInitDialog()
{
    CExchangeDialog::OnInitDialog();
    setWindowTitle(m_bRoot ? QStringLiteral("修改根目录的密码")
                           : QStringLiteral("修改当前目录的密码"));
}
