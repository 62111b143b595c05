#include "DataExchange.h"

#include "DialogChecks.h"
#include "PasswordFieldValidator.h"
#include "Prompter.h"
#include "ShellTexts.h"

#include "rq540/PasswordField.h"

#include <QComboBox>
#include <QLineEdit>

CDataExchange::CDataExchange(QWidget* dialog, bool saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDialog(dialog)
{
}

void CDataExchange::Text(QLineEdit* edit, QString& value, int maxChars)
{
    if (m_bFailed)
        return;
    if (!m_bSaveAndValidate) {
        if (maxChars >= 0)
            edit->setMaxLength(maxChars);
        edit->setText(value);
        return;
    }
    const QString text = edit->text();
    if (maxChars >= 0 && text.size() > maxChars) {
        Fail(edit, QString::fromUtf8(Texts::TOO_MANY_CHARACTERS).arg(maxChars));
        return;
    }
    value = text;
}

void CDataExchange::PasswordText(QLineEdit* edit, QString& value, uint32_t maxBytes)
{
    if (m_bFailed)
        return;
    if (!m_bSaveAndValidate) {
        if (!edit->validator()) {
            // Every character takes at least one byte: no longer text can fit.
            edit->setMaxLength(static_cast<int>(maxBytes));
            edit->setValidator(new CPasswordFieldValidator(maxBytes, edit));
            edit->setToolTip(QString::fromUtf8(Texts::PASSWORD_LIMIT_TIP).arg(maxBytes));
        }
        edit->setText(value);
        return;
    }
    // Typing cannot pass the limit, but a text set by the program can.
    const QString text = edit->text();
    if (!RQ540::FitsPasswordField(text.toStdU16String(), maxBytes)) {
        Fail(edit, QString::fromUtf8(Texts::TOO_MANY_BYTES).arg(maxBytes));
        return;
    }
    value = text;
}

void CDataExchange::Text(QLineEdit* edit, uint32_t& value)
{
    if (m_bFailed)
        return;
    if (!m_bSaveAndValidate) {
        edit->setText(QString::number(value));
        return;
    }
    const std::optional<uint32_t> number =
        DialogChecks::ParseUnsigned(edit->text().toStdU16String());
    if (!number) {
        Fail(edit, QString::fromUtf8(Texts::NOT_A_NUMBER));
        return;
    }
    value = *number;
}

void CDataExchange::ComboIndex(QComboBox* combo, int32_t& index)
{
    if (m_bFailed)
        return;
    if (m_bSaveAndValidate)
        index = combo->currentIndex();
    else
        combo->setCurrentIndex(index);
}

void CDataExchange::Fail(QLineEdit* edit, const QString& message)
{
    m_bFailed = true;
    ShowWarning(m_pDialog, message);
    edit->setFocus();
    edit->selectAll();
}
