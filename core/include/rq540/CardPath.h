// A path to an entry of the card: the IDs of the folders from the root down, the entry's
// own last. Texts name it in two forms: the one people type ("/1/3", "\0001\0003") and
// the absolute form ChangeDirectory takes and the editor keeps ("\0001\0003").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace RQ540 {

class CCardPath {
public:
    // The root.
    CCardPath() = default;
    explicit CCardPath(std::vector<uint16_t> ids) : m_ids(std::move(ids)) {}

    // IDs of 1 to 4 hexadecimal digits (either case) separated by '/' or '\', the leading
    // separator optional; a separator alone is the root. Nothing for empty text, an empty
    // or over-long component, or any other character.
    [[nodiscard]] static std::optional<CCardPath> Parse(std::string_view text);
    // Only the absolute form: "\" for the root, otherwise "\" before each ID of exactly four
    // hexadecimal digits (either case). Nothing for any other text.
    [[nodiscard]] static std::optional<CCardPath> ParseChangeDirectoryText(std::string_view text);

    bool IsRoot() const { return m_ids.empty(); }
    const std::vector<uint16_t>& GetIds() const { return m_ids; }
    // The last ID; the root has none, so asking the root is a caller error.
    uint16_t GetId() const { return m_ids.back(); }
    // The root is its own parent.
    CCardPath GetParent() const;
    CCardPath GetChild(uint16_t id) const;

    // "/0001/0002", "/" for the root.
    std::string ToString() const;
    // "\0001\0002", "\" for the root.
    std::string ToChangeDirectoryText() const;

    bool operator==(const CCardPath&) const = default;

private:
    std::vector<uint16_t> m_ids;
};

}  // namespace RQ540
