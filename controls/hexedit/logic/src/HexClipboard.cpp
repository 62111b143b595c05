#include "HexClipboard.h"

#include "HexEditState.h"

#include <algorithm>
#include <cstring>

std::optional<HexClipboardPayload> CHexClipboard::Copy()
{
    if (!m_state.m_pData)
        return std::nullopt;
    HexClipboardPayload payload;
    if (!m_state.HasSelection())
        return payload;
    m_state.OrderSelection();
    int32_t first = 0;
    int32_t last = 0;
    SelectedRange(first, last);
    const uint8_t* data = m_state.m_pData.get();
    payload.bytes.assign(data + first, data + last);

    static constexpr char kDigits[] = "0123456789ABCDEF";
    const bool ascii = m_state.m_nArea == AREA_ASCII;
    for (const uint8_t byte : payload.bytes) {
        if (ascii) {
            payload.text += byte >= 0x20 && byte <= 0x7E ? static_cast<char>(byte) : '.';
        } else {
            payload.text += kDigits[byte >> 4];
            payload.text += kDigits[byte & 0x0F];
            payload.text += ' ';
        }
    }
    return payload;
}

std::optional<HexClipboardPayload> CHexClipboard::Cut()
{
    std::optional<HexClipboardPayload> payload = Copy();
    if (payload) {
        ZeroSelection();
        m_state.m_bLayoutDirty = true;
    }
    return payload;
}

void CHexClipboard::Clear()
{
    if (!m_state.m_pData || !m_state.HasSelection())
        return;
    m_state.OrderSelection();
    int32_t first = 0;
    int32_t last = 0;
    SelectedRange(first, last);
    m_state.m_nCurrent = first;
    ZeroSelection();
    m_state.m_bLayoutDirty = true;
    m_state.m_caret.shown = false;
}

void CHexClipboard::Paste(std::span<const uint8_t> bytes)
{
    CHexEditState& s = m_state;
    if (!s.HasBytes() || bytes.empty())
        return;
    int32_t pos = std::clamp(s.m_nCurrent, 0, s.m_nLength);
    if (s.HasSelection()) {
        s.OrderSelection();
        int32_t last = 0;
        SelectedRange(pos, last);
        ZeroSelection();
        s.m_bLayoutDirty = true;
        s.ClearSelection();
    }
    std::size_t size = bytes.size();
    const auto room = static_cast<std::size_t>(s.m_nLength - pos);
    if (size >= room) {
        size = room;
        s.m_nCurrent = s.m_nLength - 1;
    } else {
        s.m_nCurrent = pos + static_cast<int32_t>(size);
    }
    std::memcpy(s.m_pData.get() + pos, bytes.data(), size);
    s.PlaceCaret(s.m_nCurrent);
}

void CHexClipboard::SelectedRange(int32_t& first, int32_t& last) const
{
    first = std::clamp(std::min(m_state.m_nSelStart, m_state.m_nSelEnd), 0, m_state.m_nLength);
    last = std::clamp(std::max(m_state.m_nSelStart, m_state.m_nSelEnd), first, m_state.m_nLength);
}

void CHexClipboard::ZeroSelection()
{
    if (!m_state.HasSelection())
        return;
    int32_t first = 0;
    int32_t last = 0;
    SelectedRange(first, last);
    std::fill(m_state.m_pData.get() + first, m_state.m_pData.get() + last, uint8_t{0});
}
