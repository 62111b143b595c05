// What the hex editor exchanges with the clipboard, without the clipboard: the payloads
// of Copy and Cut (the bytes, and their text), Clear, and Paste of bytes into the data,
// which overwrites in place and is cut off at the end. The widget moves the payloads to
// and from the system clipboard.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class CHexEditState;

struct HexClipboardPayload {
    std::vector<uint8_t> bytes;
    // Hex digit pairs each followed by a blank ("00 41 FF "), or with the caret in the
    // ASCII column the characters themselves with "." for bytes outside 0x20..0x7E.
    std::string text;
};

class CHexClipboard {
public:
    explicit CHexClipboard(CHexEditState& state) : m_state(state) {}

    // The selected bytes, whichever way the selection was made (it is left ordered);
    // empty without a selection; nothing without data.
    std::optional<HexClipboardPayload> Copy();
    // Copy, then the selected bytes become 0. The selection stays.
    std::optional<HexClipboardPayload> Cut();
    // Without a selection nothing; otherwise the selected bytes become 0 and the caret
    // goes to the first of them. The selection stays.
    void Clear();
    // Writes bytes over the selection (zeroed first, then dropped) or from the caret byte;
    // what does not fit before the end is dropped and the caret then stays on the last
    // byte, else it goes to the byte after the pasted ones. Empty bytes, and data of
    // length 0, change nothing.
    void Paste(std::span<const uint8_t> bytes);

private:
    // The ordered selection clamped to the data: [first, last).
    void SelectedRange(int32_t& first, int32_t& last) const;
    void ZeroSelection();

    CHexEditState& m_state;
};
