#include "HardInforDialog.h"

#include "DataExchange.h"
#include "DialogChecks.h"
#include "ShellTexts.h"

#include "rq540/RQ540Vfs.h"

#include <QLineEdit>

CHardInforDialog::CHardInforDialog(RQ540::CRQ540Vfs& vfs, QWidget* parent)
    : CExchangeDialog(parent, QString::fromUtf8(Texts::HARDWARE_TITLE), 231, 143), m_vfs(vfs)
{
    AddButton(IDOK, QString::fromUtf8(Texts::OK), 47, 120, 50, 16);
    AddButton(IDCANCEL, QString::fromUtf8(Texts::CANCEL), 136, 120, 50, 16);
    AddGroupBox(QString::fromUtf8(Texts::HARDWARE_NOTE_GROUP), 7, 78, 217, 37);
    AddNote(QString::fromUtf8(Texts::HARDWARE_NOTE), 15, 88, 205, 17);
    AddLabel(QString::fromUtf8(Texts::SERIAL_NUMBER_LABEL), 15, 25, 48, 8);
    AddLabel(QString::fromUtf8(Texts::CUSTOMER_NUMBER_LABEL), 15, 54, 38, 8);
    m_editSerialNumber = AddEdit(IDC_SERIAL_NUMBER, 65, 23, 141, 12);
    m_editCustomerNumber = AddEdit(IDC_CUSTOMER_NUMBER, 65, 51, 141, 12);
    AddGroupBox(QString::fromUtf8(Texts::HARDWARE_GROUP), 7, 7, 217, 68);
}

void CHardInforDialog::DoDataExchange(CDataExchange& dx)
{
    dx.Text(m_editSerialNumber, m_strSerialNumber, DialogChecks::SERIAL_NUMBER_DIGITS);
    dx.Text(m_editCustomerNumber, m_strCustomerNumber, DialogChecks::CUSTOMER_NUMBER_DIGITS);
}

void CHardInforDialog::OnInitDialog()
{
    DialogChecks::SerialNumber serial{};
    m_vfs.GetSerialNumber(serial.data());
    m_strSerialNumber = QString::fromStdString(DialogChecks::FormatSerialNumber(serial));
    m_strCustomerNumber =
        QString::fromStdString(DialogChecks::FormatCustomerNumber(m_vfs.GetCustomerNumber()));
    CExchangeDialog::OnInitDialog();
}

void CHardInforDialog::OnOK()
{
    if (!UpdateData(true))
        return;
    const DialogChecks::SerialNumber serial =
        DialogChecks::ScanSerialNumber(m_strSerialNumber.toStdU16String());
    m_vfs.SetSerialNumber(serial.data());
    m_vfs.SetCustomerNumber(DialogChecks::ScanCustomerNumber(m_strCustomerNumber.toStdU16String()));
    accept();
}
