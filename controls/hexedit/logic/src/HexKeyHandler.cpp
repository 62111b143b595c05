#include "HexKeyHandler.h"

#include "HexEditState.h"

#include "rq540/HexDigits.h"

#include <algorithm>

bool CHexKeyHandler::KeyDown(HexKey key, bool shift, bool ctrl)
{
    CHexEditState& s = m_state;
    if (!s.HasBytes())
        return false;
    const int32_t bpl = s.m_layout.m_nBytesPerLine;
    switch (key) {
    case HexKey::Backspace:
        // Moves back without deleting: the data never changes length.
        s.ClearSelection();
        s.MoveCaret(-1, 0);
        return true;
    case HexKey::Left: Step(shift, -1, 0); return true;
    case HexKey::Right: Step(shift, 1, 0); return true;
    case HexKey::Up: Step(shift, 0, -1); return true;
    case HexKey::Down: Step(shift, 0, 1); return true;
    case HexKey::PageUp: Page(shift, false); return true;
    case HexKey::PageDown: Page(shift, true); return true;
    case HexKey::Home:
        StartMove(shift);
        if (ctrl) {
            s.m_nTopIndex = 0;
            s.m_nCurrent = 0;
        } else {
            s.m_nCurrent = bpl * (s.m_nCurrent / bpl);
        }
        s.MoveCaret(0, 0);
        EndMove(shift, false);
        return true;
    case HexKey::End:
        StartMove(shift);
        if (ctrl) {
            s.m_nCurrent = s.m_nLength - 1;
            const int32_t lines = s.m_layout.m_nVisibleLines;
            s.m_nTopIndex = s.m_layout.m_bLastLinePartial
                                ? 0
                                : std::max(bpl * ((s.m_nLength + bpl / 2) / bpl - lines), 0);
        } else {
            s.m_nCurrent = std::min(bpl * (s.m_nCurrent / bpl + 1) - 1, s.m_nLength - 1);
        }
        s.MoveCaret(0, 0);
        EndMove(shift, false);
        return true;
    case HexKey::Tab:
        s.m_nArea = IsHexArea(s.m_nArea) ? AREA_ASCII : AREA_HEX_HIGH;
        s.MoveCaret(0, 0);
        return true;
    case HexKey::Other:
        return false;
    }
    return false;
}

HexCommand CHexKeyHandler::Char(uint32_t c, bool ctrl)
{
    CHexEditState& s = m_state;
    if (!s.m_pData || c == '\t' || c == '\b')
        return HexCommand::None;
    if (ctrl) {
        switch (c) {
        case 3: return s.HasSelection() ? HexCommand::Copy : HexCommand::None;
        case 22: return HexCommand::Paste;
        case 24: return s.HasSelection() ? HexCommand::Cut : HexCommand::None;
        case 26: return HexCommand::None;
        default: break;
        }
    }
    s.ClearSelection();
    const bool onByte = s.m_nCurrent < s.m_nLength;
    switch (s.m_nArea) {
    case AREA_ADDRESS:
        break;
    case AREA_ASCII:
        if (onByte) {
            s.m_pData[s.m_nCurrent] = static_cast<uint8_t>(c & 0xFF);
            s.MoveCaret(1, 0);
        }
        break;
    case AREA_HEX_HIGH:
    case AREA_HEX_LOW: {
        const int value = RQ540::HexDigitValue(c);
        if (value < 0) {
            s.PlaceCaret(s.m_nCurrent);
            return HexCommand::None;
        }
        if (onByte) {
            uint8_t& byte = s.m_pData[s.m_nCurrent];
            byte = s.m_nArea == AREA_HEX_HIGH ? static_cast<uint8_t>(value * 16 + byte % 16)
                                             : static_cast<uint8_t>(byte - byte % 16 + value);
            s.MoveCaret(1, 0);
        }
        break;
    }
    }
    BringCaretIntoView();
    return HexCommand::None;
}

void CHexKeyHandler::StartMove(bool shift)
{
    if (!shift)
        m_state.ClearSelection();
    else if (!m_state.HasSelection())
        m_state.m_nSelStart = m_state.m_nCurrent;
}

void CHexKeyHandler::EndMove(bool shift, bool forward)
{
    if (shift)
        m_state.SetSelEnd(m_state.m_nCurrent + (forward && IsHexArea(m_state.m_nArea) ? 1 : 0));
}

void CHexKeyHandler::Step(bool shift, int dx, int dy)
{
    StartMove(shift);
    m_state.MoveCaret(dx, dy);
    EndMove(shift, dx > 0 || dy > 0);
}

void CHexKeyHandler::Page(bool shift, bool down)
{
    // A page key scrolls the view and leaves the caret byte alone; with Shift the
    // selection end follows the caret, which the view may have left.
    if (shift && !m_state.HasSelection())
        m_state.m_nSelStart = m_state.m_nCurrent;
    if (down)
        m_state.PageDown();
    else
        m_state.PageUp();
    m_state.PlaceCaret(m_state.m_nCurrent);
    if (shift) {
        m_state.MoveCaret(0, 0);
        m_state.SetSelEnd(m_state.m_nCurrent);
    }
}

void CHexKeyHandler::BringCaretIntoView()
{
    // Page steps stop advancing when fewer than one line fits or the view already ends the
    // data; each loop ends as soon as a step leaves the top where it was.
    CHexEditState& s = m_state;
    bool moved = false;
    while (s.m_nCurrent < s.m_nTopIndex) {
        const int32_t before = s.m_nTopIndex;
        s.PageUp();
        if (s.m_nTopIndex == before)
            break;
        moved = true;
    }
    while (s.m_nCurrent > s.m_nTopIndex + s.m_layout.BytesShown()) {
        const int32_t before = s.m_nTopIndex;
        s.PageDown();
        if (s.m_nTopIndex == before)
            break;
        moved = true;
    }
    if (moved)
        s.PlaceCaret(s.m_nCurrent);
}
