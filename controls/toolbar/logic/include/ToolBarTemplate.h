// A tool bar template resource: the image size and the command of each button, left to
// right, with 0 for a separator. Stored as 16-bit little-endian words: version (ignored),
// image width, image height, item count, then the items.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

struct CToolBarTemplate {
    std::uint16_t version = 1;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::vector<std::uint16_t> items;

    // One button or separator as the tool bar shows it: buttons take image indices 0, 1,
    // 2 ... in template order, separators none (image -1).
    struct Button {
        std::uint16_t command = 0;
        std::int32_t image = -1;
        bool IsSeparator() const { return command == 0; }
    };
    std::vector<Button> Buttons() const;

    // Button size for images of the template's size: 8 wider and 7 higher.
    std::int32_t ButtonWidth() const { return width + 8; }
    std::int32_t ButtonHeight() const { return height + 7; }

    // The resource bytes of this template.
    std::vector<std::uint8_t> Encode() const;
    // The template held in bytes; nothing when they are shorter than the header or than
    // the items the header counts. Bytes after the last item are ignored.
    static std::optional<CToolBarTemplate> Parse(std::span<const std::uint8_t> bytes);
};
