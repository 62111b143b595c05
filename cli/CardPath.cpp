#include "CardPath.h"

#include "CliError.h"

#include "rq540/HexDigits.h"

#include <cstdio>

namespace RQ540::Cli {

namespace {

constexpr std::size_t kMaxIdDigits = 4;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string JoinIds(const std::vector<uint16_t>& ids, char separator)
{
    if (ids.empty())
        return std::string(1, separator);
    std::string text;
    for (uint16_t id : ids)
        text += separator + CCardPath::FormatId(id);
    return text;
}

}  // namespace

CCardPath CCardPath::Parse(std::string_view text)
{
    auto invalid = [&] {
        return CCliError::Usage("bad card path '" + std::string(text) +
                                "': expected IDs of 1 to 4 hexadecimal digits separated by '/'");
    };
    std::string_view rest = text;
    if (!rest.empty() && IsSeparator(rest.front()))
        rest.remove_prefix(1);
    else if (rest.empty())
        throw invalid();

    CCardPath path;
    if (rest.empty())
        return path;
    // Each round takes one component; a separator at the end leaves an empty one.
    for (;;) {
        std::size_t length = 0;
        uint32_t id = 0;
        while (length < rest.size() && !IsSeparator(rest[length])) {
            const int value = HexDigitValue(rest[length]);
            if (value < 0 || length == kMaxIdDigits)
                throw invalid();
            id = (id << 4) | static_cast<uint32_t>(value);
            ++length;
        }
        if (length == 0)
            throw invalid();
        path.m_ids.push_back(static_cast<uint16_t>(id));
        if (length == rest.size())
            return path;
        rest.remove_prefix(length + 1);
    }
}

CCardPath CCardPath::GetParent() const
{
    CCardPath parent = *this;
    if (!parent.m_ids.empty())
        parent.m_ids.pop_back();
    return parent;
}

CCardPath CCardPath::GetChild(uint16_t id) const
{
    CCardPath child = *this;
    child.m_ids.push_back(id);
    return child;
}

std::string CCardPath::ToString() const { return JoinIds(m_ids, '/'); }

std::string CCardPath::ToChangeDirectoryText() const { return JoinIds(m_ids, '\\'); }

std::string CCardPath::FormatId(uint16_t id)
{
    char digits[5];
    std::snprintf(digits, sizeof digits, "%04X", id);
    return digits;
}

}  // namespace RQ540::Cli
