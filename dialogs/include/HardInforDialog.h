// Edits the simulated hardware information of a card, its serial number and customer
// number, reading and writing them on the file system object itself. They serve
// debugging only and are never part of an image.
#pragma once

#include "ExchangeDialog.h"

#include <QString>

namespace RQ540 {
class CRQ540Vfs;
}
class QLineEdit;

class CHardInforDialog : public CExchangeDialog {
    Q_OBJECT

public:
    // Control IDs of template 112, each the objectName of its control.
    static constexpr int IDC_SERIAL_NUMBER = 1007;
    static constexpr int IDC_CUSTOMER_NUMBER = 1004;

    CHardInforDialog(RQ540::CRQ540Vfs& vfs, QWidget* parent = nullptr);

    QString m_strSerialNumber;
    QString m_strCustomerNumber;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnOK() override;

private:
    RQ540::CRQ540Vfs& m_vfs;
    QLineEdit* m_editSerialNumber;
    QLineEdit* m_editCustomerNumber;
};
