#include "OptionValues.h"

#include "CliError.h"

#include "rq540/CardModel.h"
#include "rq540/HexDigits.h"

#include <array>
#include <limits>
#include <utility>

namespace RQ540::Cli {

namespace {

struct NamedType {
    std::string_view name;
    uint8_t type;
};

constexpr std::array<NamedType, 5> kTypeNames{{
    {"exec", FILE_TYPE_EXECUTABLE},
    {"data", FILE_TYPE_DATA},
    {"public-key", FILE_TYPE_PUBLIC_KEY},
    {"private-key", FILE_TYPE_PRIVATE_KEY},
    {"internal-exec", FILE_TYPE_INTERNAL_EXECUTABLE},
}};

}  // namespace

CCardPath ParseCardPath(std::string_view text)
{
    const std::optional<CCardPath> path = CCardPath::Parse(text);
    if (!path)
        throw CCliError::Usage("bad card path '" + std::string(text) + "': expected IDs of 1 to " +
                               std::to_string(ID_DIGITS) + " hexadecimal digits separated by '/'");
    return *path;
}

CCardPath ParseEntryPath(std::string_view text)
{
    CCardPath path = ParseCardPath(text);
    if (path.IsRoot())
        throw CCliError::Usage("'" + std::string(text) +
                               "' is the root folder; name an entry below it");
    return path;
}

std::optional<uint32_t> ParseUint32(std::string_view text)
{
    if (text.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > std::numeric_limits<uint32_t>::max())
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

uint32_t RequireUint32(std::string_view text, const char* option)
{
    const std::optional<uint32_t> value = ParseUint32(text);
    if (!value)
        throw CCliError::Usage(std::string(option) + ": '" + std::string(text) +
                               "' is not a whole number from 0 to 4294967295");
    return *value;
}

std::optional<uint8_t> ParseFileType(std::string_view text)
{
    for (const NamedType& named : kTypeNames) {
        if (named.name == text)
            return named.type;
    }
    const std::optional<uint32_t> number = ParseUint32(text);
    if (!number || *number > std::numeric_limits<uint8_t>::max())
        return std::nullopt;
    return static_cast<uint8_t>(*number);
}

uint8_t RequireFileType(std::string_view text)
{
    const std::optional<uint8_t> type = ParseFileType(text);
    if (!type)
        throw CCliError::Usage("--type: '" + std::string(text) +
                               "' is neither a type name (exec, data, public-key, private-key, "
                               "internal-exec) nor a number from 0 to 255");
    return *type;
}

std::string GetFileTypeName(uint8_t type)
{
    for (const NamedType& named : kTypeNames) {
        if (named.type == type)
            return std::string(named.name);
    }
    return std::to_string(type);
}

std::optional<std::vector<uint8_t>> ParseHexBytes(std::string_view text)
{
    if (text.size() % 2 != 0)
        return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = HexDigitValue(static_cast<unsigned char>(text[i]));
        const int low = HexDigitValue(static_cast<unsigned char>(text[i + 1]));
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return bytes;
}

std::vector<uint8_t> RequireHexBytes(std::string_view text, const char* option)
{
    std::optional<std::vector<uint8_t>> bytes = ParseHexBytes(text);
    if (!bytes)
        throw CCliError::Usage(std::string(option) +
                               ": expected bytes as pairs of hexadecimal digits, such as 00FF7A");
    return std::move(*bytes);
}

std::string FormatHexBytes(std::span<const uint8_t> bytes)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0xF];
    }
    return text;
}

}  // namespace RQ540::Cli
