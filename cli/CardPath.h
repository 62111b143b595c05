// A path to an entry of the card, as the command line writes it: IDs of 1 to 4
// hexadecimal digits (either case) from the root, separated by '/' or '\', the leading
// separator optional; "/" alone is the root.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace RQ540::Cli {

class CCardPath {
public:
    // The root.
    CCardPath() = default;

    // Throws a usage CCliError for text that is not a card path (empty text, an empty or
    // over-long component, a character that is not a hexadecimal digit).
    static CCardPath Parse(std::string_view text);

    bool IsRoot() const { return m_ids.empty(); }
    // The last ID; the root has none, so asking the root is a caller error.
    uint16_t GetId() const { return m_ids.back(); }
    // The root is its own parent.
    CCardPath GetParent() const;
    CCardPath GetChild(uint16_t id) const;

    // "/0001/0002", "/" for the root: IDs as four upper-case digits.
    std::string ToString() const;
    // The absolute form the card's ChangeDirectory takes: "\0001\0002", "\" for the root.
    std::string ToChangeDirectoryText() const;

    // An ID as the card shows it: four upper-case hexadecimal digits.
    static std::string FormatId(uint16_t id);

private:
    std::vector<uint16_t> m_ids;
};

}  // namespace RQ540::Cli
