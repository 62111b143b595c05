// Keeps an edit field within a password field of the card: a character that would take
// the text past the field's bytes is refused whole, so no character is ever cut.
#pragma once

#include <QValidator>

#include <cstdint>

class CPasswordFieldValidator : public QValidator {
    Q_OBJECT

public:
    CPasswordFieldValidator(uint32_t maxBytes, QObject* parent);

    State validate(QString& input, int& position) const override;

private:
    uint32_t m_nMaxBytes;
};
