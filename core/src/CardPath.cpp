#include "rq540/CardPath.h"

#include "rq540/HexDigits.h"

namespace RQ540 {

namespace {

// What one of the two path forms allows.
struct PathGrammar {
    std::string_view separators;
    bool leadingSeparatorRequired;
    std::size_t minDigits;
};

constexpr PathGrammar TYPED_PATH{"/\\", false, 1};
constexpr PathGrammar CHANGE_DIRECTORY_PATH{"\\", true, ID_DIGITS};

std::optional<CCardPath> ParseWith(std::string_view text, const PathGrammar& grammar)
{
    const auto isSeparator = [&](char c) {
        return grammar.separators.find(c) != std::string_view::npos;
    };
    if (text.empty())
        return std::nullopt;
    if (isSeparator(text.front()))
        text.remove_prefix(1);
    else if (grammar.leadingSeparatorRequired)
        return std::nullopt;
    std::vector<uint16_t> ids;
    if (text.empty())
        return CCardPath(std::move(ids));
    // Each round takes one component; a separator at the end leaves an empty one.
    for (;;) {
        std::size_t length = 0;
        uint32_t id = 0;
        while (length < text.size() && !isSeparator(text[length])) {
            const int value = HexDigitValue(text[length]);
            if (value < 0 || length == ID_DIGITS)
                return std::nullopt;
            id = (id << 4) | static_cast<uint32_t>(value);
            ++length;
        }
        if (length < grammar.minDigits)
            return std::nullopt;
        ids.push_back(static_cast<uint16_t>(id));
        if (length == text.size())
            return CCardPath(std::move(ids));
        text.remove_prefix(length + 1);
    }
}

std::string JoinIds(const std::vector<uint16_t>& ids, char separator)
{
    if (ids.empty())
        return std::string(1, separator);
    std::string text;
    text.reserve(ids.size() * (ID_DIGITS + 1));
    for (uint16_t id : ids)
        text += separator + FormatId(id);
    return text;
}

}  // namespace

std::optional<CCardPath> CCardPath::Parse(std::string_view text)
{
    return ParseWith(text, TYPED_PATH);
}

std::optional<CCardPath> CCardPath::ParseChangeDirectoryText(std::string_view text)
{
    return ParseWith(text, CHANGE_DIRECTORY_PATH);
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

}  // namespace RQ540
