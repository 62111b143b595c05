#include "rq540/HexDigits.h"

namespace RQ540 {

std::string FormatHex(uint32_t value, int digits)
{
    static constexpr char DIGITS[] = "0123456789ABCDEF";
    std::string text(static_cast<std::size_t>(digits > 0 ? digits : 0), '0');
    for (auto position = text.rbegin(); position != text.rend(); ++position) {
        *position = DIGITS[value & 0xF];
        value >>= 4;
    }
    return text;
}

std::string FormatId(uint16_t id) { return FormatHex(id, ID_DIGITS); }

}  // namespace RQ540
