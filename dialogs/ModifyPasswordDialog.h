// Edits a folder's developer and user passwords as texts; the caller reads the folder's
// passwords in and stores the texts back.
#pragma once

#include "ExchangeDialog.h"

#include <QString>

class QLineEdit;

class CModifyPasswordDialog : public CExchangeDialog {
    Q_OBJECT

public:
    explicit CModifyPasswordDialog(QWidget* parent = nullptr);

    // Runs the dialog modally, starting from the two texts; on OK stores the entered
    // texts in them and returns true.
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
    QLineEdit* m_editDeveloperPassword;
    QLineEdit* m_editUserPassword;
};
