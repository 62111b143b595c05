#include "ToolBarTemplate.h"

#include <cstddef>

namespace {

constexpr std::size_t HEADER_WORDS = 4;

std::uint16_t WordAt(std::span<const std::uint8_t> bytes, std::size_t index)
{
    return static_cast<std::uint16_t>(bytes[2 * index] | bytes[2 * index + 1] << 8);
}

void PutWord(std::vector<std::uint8_t>& bytes, std::uint16_t word)
{
    bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(word >> 8));
}

}  // namespace

std::vector<CToolBarTemplate::Button> CToolBarTemplate::Buttons() const
{
    std::vector<Button> buttons;
    std::int32_t nextImage = 0;
    for (std::uint16_t command : items)
        buttons.push_back({command, command == 0 ? -1 : nextImage++});
    return buttons;
}

std::vector<std::uint8_t> CToolBarTemplate::Encode() const
{
    std::vector<std::uint8_t> bytes;
    PutWord(bytes, version);
    PutWord(bytes, width);
    PutWord(bytes, height);
    PutWord(bytes, static_cast<std::uint16_t>(items.size()));
    for (std::uint16_t item : items)
        PutWord(bytes, item);
    return bytes;
}

std::optional<CToolBarTemplate> CToolBarTemplate::Parse(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 2 * HEADER_WORDS)
        return std::nullopt;
    CToolBarTemplate parsed;
    parsed.version = WordAt(bytes, 0);
    parsed.width = WordAt(bytes, 1);
    parsed.height = WordAt(bytes, 2);
    const std::size_t count = WordAt(bytes, 3);
    if (bytes.size() < 2 * (HEADER_WORDS + count))
        return std::nullopt;
    for (std::size_t index = 0; index < count; ++index)
        parsed.items.push_back(WordAt(bytes, HEADER_WORDS + index));
    return parsed;
}
