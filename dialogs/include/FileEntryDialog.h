// What the new-file and import dialogs share: the destination file's ID, size and type
// fields, the type list, and the OK rule that the file and its header must fit the
// free space of the current folder.
#pragma once

#include "ExchangeDialog.h"

#include <QString>

#include <cstdint>

class QComboBox;
class QLineEdit;

class CFileEntryDialog : public CExchangeDialog {
    Q_OBJECT

public:
    // Control IDs of the destination fields, the same in templates 107 and 111.
    static constexpr int IDC_FILE_ID = 1027;
    static constexpr int IDC_FILE_SIZE = 1028;
    static constexpr int IDC_FILE_TYPE = 1003;

    QString m_strFileId = QStringLiteral("0001");
    uint32_t m_nSize;
    uint32_t m_nFreeSpace = 0;
    // The card model's file header size (the new-card model's at first); the caller sets
    // it with the free space.
    uint32_t m_nFileHeaderSize;
    QComboBox* m_comboType = nullptr;
    int32_t m_nTypeIndex = 0;

protected:
    CFileEntryDialog(QWidget* parent, const QString& title, int width, int height,
                     uint32_t initialSize);

    // The destination controls, added by the derived dialog at its template positions.
    void AddIdEdit(int x, int y, int width, int height);
    void AddSizeEdit(int x, int y, int width, int height);
    void AddTypeList(int x, int y, int width, int height);
    void AddHelpLabel(int x, int y, int width, int height);

    void DoDataExchange(CDataExchange& dx) override;
    void OnInitDialog() override;
    void OnOK() override;
    // Called by OK after the exchange, before the size is checked; false keeps the
    // dialog open.
    virtual bool PrepareSize();
    // Called by OK once the size has passed, before the dialog closes; false keeps it
    // open as it is.
    virtual bool ConfirmSize();

private:
    void OnChangeId();

    QLineEdit* m_editFileId = nullptr;
    QLineEdit* m_editSize = nullptr;
};
