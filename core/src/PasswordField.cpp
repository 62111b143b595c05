#include "rq540/PasswordField.h"

#include <algorithm>

namespace RQ540 {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;
constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(uint8_t byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 character at the start of bytes and its code point; 0
// for a byte that does not start one (overlong forms, surrogates and values beyond
// U+10FFFF are not valid).
std::size_t DecodeCharacter(std::span<const uint8_t> bytes, char32_t& code)
{
    const uint8_t lead = bytes[0];
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead >= 0x01 && lead < 0x80) {
        code = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(bytes[i]))
            return 0;
        code = (code << 6) | (bytes[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

void AppendUtf16(std::u16string& text, char32_t code)
{
    if (code < 0x10000) {
        text += static_cast<char16_t>(code);
        return;
    }
    code -= 0x10000;
    text += static_cast<char16_t>(0xD800 + (code >> 10));
    text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
}

void AppendUtf8(std::string& bytes, char32_t code)
{
    if (code < 0x80) {
        bytes += static_cast<char>(code);
    } else if (code < 0x800) {
        bytes += static_cast<char>(0xC0 | (code >> 6));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        bytes += static_cast<char>(0xE0 | (code >> 12));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        bytes += static_cast<char>(0xF0 | (code >> 18));
        bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

PasswordBuffer PasswordField(std::string_view text, uint32_t length)
{
    PasswordBuffer field{};
    const std::size_t count = std::min({text.size(), std::size_t{length}, field.size()});
    std::copy_n(text.begin(), count, field.begin());
    return field;
}

std::u16string PasswordFieldText(std::span<const uint8_t> field)
{
    const auto last = std::find_if(field.rbegin(), field.rend(), [](uint8_t b) { return b != 0; });
    std::span<const uint8_t> bytes = field.first(static_cast<std::size_t>(field.rend() - last));
    std::u16string text;
    while (!bytes.empty()) {
        char32_t code = 0;
        const std::size_t length = DecodeCharacter(bytes, code);
        if (length == 0) {
            text += static_cast<char16_t>(kEscapeBase + bytes[0]);
            bytes = bytes.subspan(1);
        } else {
            AppendUtf16(text, code);
            bytes = bytes.subspan(length);
        }
    }
    return text;
}

std::string PasswordFieldBytes(std::u16string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= kEscapeBase && unit <= kEscapeBase + 0xFF) {
            bytes += static_cast<char>(unit - kEscapeBase);
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() &&
                   text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            AppendUtf8(bytes, 0x10000 + ((char32_t{unit} - 0xD800) << 10) +
                                  (char32_t{text[i + 1]} - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(bytes, kReplacement);
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

bool FitsPasswordField(std::u16string_view text, uint32_t length)
{
    return PasswordFieldBytes(text).size() <= length;
}

}  // namespace RQ540
