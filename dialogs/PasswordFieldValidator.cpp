#include "PasswordFieldValidator.h"

#include "rq540/PasswordField.h"

CPasswordFieldValidator::CPasswordFieldValidator(uint32_t maxBytes, QObject* parent)
    : QValidator(parent), m_nMaxBytes(maxBytes)
{
}

QValidator::State CPasswordFieldValidator::validate(QString& input, int&) const
{
    return RQ540::FitsPasswordField(input.toStdU16String(), m_nMaxBytes) ? Acceptable : Invalid;
}
