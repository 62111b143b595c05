#include "DataExchange.h"

#include "DialogChecks.h"
#include "Prompter.h"

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
        Fail(edit, QStringLiteral("请输入不多于 %1 个的字符。").arg(maxChars));
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
        Fail(edit, QStringLiteral("请输入一个正整数。"));
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
