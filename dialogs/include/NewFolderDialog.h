// Collects a new sub-folder's ID, size budget and passwords; checks the size against the
// free space of the current folder, which the caller sets.
#pragma once

#include "ExchangeDialog.h"

#include "rq540/CardModel.h"

#include <QString>

#include <cstdint>

class QLineEdit;

class CNewFolderDialog : public CExchangeDialog {
    Q_OBJECT

public:
    // Control IDs of template 106, each the objectName of its control.
    static constexpr int IDC_FOLDER_ID = 1027;
    static constexpr int IDC_FOLDER_SIZE = 1003;
    static constexpr int IDC_DEVELOPER_PASSWORD = 1004;
    static constexpr int IDC_USER_PASSWORD = 1005;

    // The passwords start as the card model's defaults and are limited to its lengths.
    explicit CNewFolderDialog(QWidget* parent = nullptr,
                              int32_t model = RQ540::NEW_CARD_MODEL);

    QString m_strUserPassword;
    QString m_strDeveloperPassword;
    uint32_t m_nSize = 10240;
    QString m_strFolderId = QStringLiteral("0001");
    // Read from m_strFolderId by OK.
    int32_t m_nFolderId = 0;
    uint32_t m_nFreeSpace = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;

private:
    void OnChangeId();

    int32_t m_nModel;
    QLineEdit* m_editFolderId;
    QLineEdit* m_editSize;
    QLineEdit* m_editDeveloperPassword;
    QLineEdit* m_editUserPassword;
};
