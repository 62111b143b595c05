#include "ModifyPasswordDialog.h"

#include "DataExchange.h"
#include "ShellTexts.h"

#include <QLineEdit>

CModifyPasswordDialog::CModifyPasswordDialog(QWidget* parent, int32_t model)
    : CExchangeDialog(parent, QString(), 241, 101), m_nModel(model)
{
    m_editDeveloperPassword = AddEdit(IDC_DEVELOPER_PASSWORD, 68, 20, 156, 14);
    m_editDeveloperPassword->setEchoMode(QLineEdit::Password);
    m_editUserPassword = AddEdit(IDC_USER_PASSWORD, 68, 43, 156, 14);
    m_editUserPassword->setEchoMode(QLineEdit::Password);
    AddButton(IDOK, QString::fromUtf8(Texts::OK), 48, 78, 50, 16);
    AddButton(IDCANCEL, QString::fromUtf8(Texts::CANCEL), 147, 78, 50, 16);
    AddLabel(QString::fromUtf8(Texts::DEVELOPER_PASSWORD_LABEL), 14, 23, 50, 8);
    AddLabel(QString::fromUtf8(Texts::USER_PASSWORD_LABEL), 15, 47, 41, 8);
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
    dx.PasswordText(m_editDeveloperPassword, m_strDeveloperPassword,
                    RQ540::GetDeveloperPasswordLength(m_nModel));
    dx.PasswordText(m_editUserPassword, m_strUserPassword,
                    RQ540::GetUserPasswordLength(m_nModel));
}

void CModifyPasswordDialog::OnInitDialog()
{
    CExchangeDialog::OnInitDialog();
    setWindowTitle(m_bRoot ? QString::fromUtf8(Texts::ROOT_PASSWORD_TITLE)
                           : QString::fromUtf8(Texts::FOLDER_PASSWORD_TITLE));
}
