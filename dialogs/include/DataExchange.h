// One pass of moving dialog members to their controls or back, with the checks of the
// Windows framework's data exchange: limited texts, "%u" numbers and list positions.
// The first field that fails is reported with a warning and focused; the fields after
// it are left alone.
#pragma once

#include <QString>

#include <cstdint>

class QComboBox;
class QLineEdit;
class QWidget;

class CDataExchange {
public:
    // dialog: the parent of the warning a failed field shows.
    CDataExchange(QWidget* dialog, bool saveAndValidate);

    // A text of at most maxChars characters, the control accepting no more; a negative
    // maxChars sets no limit.
    void Text(QLineEdit* edit, QString& value, int maxChars = -1);
    // A password field of maxBytes bytes, in the text form of RQ540::PasswordFieldText:
    // typing stops at the field's bytes, and the tool tip says so.
    void PasswordText(QLineEdit* edit, QString& value, uint32_t maxBytes);
    // An unsigned decimal number read as "%u" reads it.
    void Text(QLineEdit* edit, uint32_t& value);
    // The selected position of a list; -1 for none.
    void ComboIndex(QComboBox* combo, int32_t& index);

    bool Failed() const { return m_bFailed; }

    const bool m_bSaveAndValidate;

private:
    void Fail(QLineEdit* edit, const QString& message);

    QWidget* m_pDialog;
    bool m_bFailed = false;
};
