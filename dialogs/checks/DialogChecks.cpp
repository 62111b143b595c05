#include "DialogChecks.h"

#include "rq540/HexDigits.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace DialogChecks {

namespace {

constexpr uint32_t MAX_UINT32 = std::numeric_limits<uint32_t>::max();

// Up to maxDigits hexadecimal digits from the start of text; 0 when there is none.
uint32_t ReadHex(std::u16string_view text, std::size_t maxDigits)
{
    uint32_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < maxDigits && IsHexDigit(text[i]); ++i)
        value = value * 16 + static_cast<uint32_t>(RQ540::HexDigitValue(text[i]));
    return value;
}

bool IsSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

std::u16string PadRight(std::u16string_view text, std::size_t width)
{
    std::u16string padded(text);
    if (padded.size() < width)
        padded.append(width, u'0');
    return padded;
}

}  // namespace

bool IsHexDigit(char16_t c)
{
    return RQ540::HexDigitValue(c) >= 0;
}

std::u16string FilterHexDigits(std::u16string_view text)
{
    std::u16string kept;
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept), IsHexDigit);
    return kept;
}

std::optional<uint16_t> ParseHexId(std::u16string_view text)
{
    if (text.empty() || !IsHexDigit(text.front()))
        return std::nullopt;
    return static_cast<uint16_t>(ReadHex(text, RQ540::ID_DIGITS));
}

std::optional<uint32_t> ParseUnsigned(std::u16string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size() || text[i] < u'0' || text[i] > u'9')
        return std::nullopt;
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > MAX_UINT32)
            return MAX_UINT32;
    }
    const auto magnitude = static_cast<uint32_t>(value);
    return negative ? static_cast<uint32_t>(0u - magnitude) : magnitude;
}

bool IsFileSizeAccepted(uint32_t size, uint32_t freeSpace, uint32_t headerSize)
{
    return size != 0 && uint64_t{size} + headerSize <= freeSpace;
}

uint32_t LargestFileSize(uint32_t freeSpace, uint32_t headerSize)
{
    return freeSpace >= headerSize ? freeSpace - headerSize : 0;
}

bool IsFolderSizeAccepted(uint32_t size, uint32_t freeSpace)
{
    return size != 0 && size <= freeSpace;
}

uint32_t SizeFromDiskLength(uint64_t length, uint32_t freeSpace, uint32_t headerSize)
{
    return length > freeSpace ? LargestFileSize(freeSpace, headerSize)
                              : static_cast<uint32_t>(length);
}

uint32_t DiskLengthAsSize(uint64_t length)
{
    return static_cast<uint32_t>(std::min<uint64_t>(length, MAX_UINT32));
}

uint8_t TypeFromListIndex(int32_t index)
{
    static constexpr uint8_t TYPES[] = {0, 4, 1, 2, 3};
    if (index < 0 || index >= static_cast<int32_t>(std::size(TYPES)))
        return 0;
    return TYPES[index];
}

std::string FormatSerialNumber(const SerialNumber& serial)
{
    std::string text;
    for (uint8_t byte : serial)
        text += RQ540::FormatHex(byte, 2);
    return text;
}

std::string FormatCustomerNumber(uint32_t customer)
{
    return RQ540::FormatHex(customer, CUSTOMER_NUMBER_DIGITS);
}

SerialNumber ScanSerialNumber(std::u16string_view text)
{
    const std::u16string padded = PadRight(text, SERIAL_NUMBER_DIGITS);
    SerialNumber serial{};
    for (std::size_t i = 0; i < serial.size(); ++i)
        serial[i] = static_cast<uint8_t>(ReadHex(std::u16string_view(padded).substr(2 * i), 2));
    return serial;
}

uint32_t ScanCustomerNumber(std::u16string_view text)
{
    return ReadHex(PadRight(text, CUSTOMER_NUMBER_DIGITS), CUSTOMER_NUMBER_DIGITS);
}

}  // namespace DialogChecks
