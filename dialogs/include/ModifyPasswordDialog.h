// Edits a folder's developer and user passwords as texts; the caller reads the folder's
// passwords in and stores the texts back.
#pragma once

#include "ExchangeDialog.h"

#include "rq540/CardModel.h"

#include <QString>

class QLineEdit;

class CModifyPasswordDialog : public CExchangeDialog {
    Q_OBJECT

public:
    // Control IDs of template 109, each the objectName of its control.
    static constexpr int IDC_DEVELOPER_PASSWORD = 1004;
    static constexpr int IDC_USER_PASSWORD = 1005;

    // The texts are limited to the card model's password lengths.
    explicit CModifyPasswordDialog(QWidget* parent = nullptr,
                                   int32_t model = RQ540::NEW_CARD_MODEL);

    // Runs the dialog modally for the new-card model (the only one there is), starting
    // from the two texts; on OK stores the entered texts in them and returns true.
    static bool RunModal(QWidget* parent, bool bRoot, QString& strDeveloperPassword,
                         QString& strUserPassword);

    QString m_strDeveloperPassword;
    QString m_strUserPassword;
    // Chooses the title: the root folder's password or the current folder's.
    bool m_bRoot = false;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;

private:
    int32_t m_nModel;
    QLineEdit* m_editDeveloperPassword;
    QLineEdit* m_editUserPassword;
};
