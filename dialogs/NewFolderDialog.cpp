#include "NewFolderDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"
#include "ShellTexts.h"

#include "rq540/HexDigits.h"

#include <QLineEdit>

CNewFolderDialog::CNewFolderDialog(QWidget* parent, int32_t model)
    : CExchangeDialog(parent, QString::fromUtf8(Texts::NEW_FOLDER_TITLE), 213, 141),
      m_strUserPassword(QString::fromLatin1(RQ540::GetDefaultUserPassword(model))),
      m_strDeveloperPassword(QString::fromLatin1(RQ540::GetDefaultDeveloperPassword(model))),
      m_nModel(model)
{
    AddButton(IDOK, QString::fromUtf8(Texts::OK), 41, 118, 50, 16);
    AddButton(IDCANCEL, QString::fromUtf8(Texts::CANCEL), 118, 118, 50, 16);
    AddLabel(QString::fromUtf8(Texts::FOLDER_ID_LABEL), 7, 20, 53, 8);
    m_editFolderId = AddEdit(IDC_FOLDER_ID, 65, 17, 133, 14);
    AddLabel(QString::fromUtf8(Texts::FOLDER_SIZE_LABEL), 7, 42, 56, 8);
    m_editSize = AddEdit(IDC_FOLDER_SIZE, 65, 39, 133, 14);
    AddLabel(QString::fromUtf8(Texts::FOLDER_DEVELOPER_PASSWORD_LABEL), 7, 64, 48, 8);
    m_editDeveloperPassword = AddEdit(IDC_DEVELOPER_PASSWORD, 65, 61, 133, 14);
    AddLabel(QString::fromUtf8(Texts::FOLDER_USER_PASSWORD_LABEL), 7, 86, 34, 8);
    m_editUserPassword = AddEdit(IDC_USER_PASSWORD, 65, 83, 133, 14);
    connect(m_editFolderId, &QLineEdit::textChanged, this, &CNewFolderDialog::OnChangeId);
}

void CNewFolderDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(m_editFolderId, m_strFolderId, RQ540::ID_DIGITS);
    dx.Text(m_editSize, m_nSize);
    dx.PasswordText(m_editDeveloperPassword, m_strDeveloperPassword,
                    RQ540::GetDeveloperPasswordLength(m_nModel));
    dx.PasswordText(m_editUserPassword, m_strUserPassword,
                    RQ540::GetUserPasswordLength(m_nModel));
}

void CNewFolderDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    const std::optional<uint16_t> id = DialogChecks::ParseHexId(m_strFolderId.toStdU16String());
    if (!id) {
        Warn(QString::fromUtf8(Texts::ENTER_HEX_ID));
        m_editFolderId->setFocus();
        return;
    }
    m_nFolderId = *id;
    if (DialogChecks::IsFolderSizeAccepted(m_nSize, m_nFreeSpace)) {
        accept();
        return;
    }
    Warn(QString::fromUtf8(Texts::FOLDER_SIZE_REFUSED).arg(m_nFreeSpace));
    m_nSize = m_nFreeSpace;
    UpdateData(false);
}

void CNewFolderDialog::OnChangeId()
{
    FilterHexDigits(m_editFolderId);
}
