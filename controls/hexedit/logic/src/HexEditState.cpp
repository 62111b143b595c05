#include "HexEditState.h"

#include <algorithm>
#include <cstring>
#include <utility>

void CHexEditState::SetData(const uint8_t* source, int32_t length)
{
    length = std::max(length, 0);
    m_pData = std::make_unique<uint8_t[]>(static_cast<std::size_t>(length));
    if (length > 0)
        std::memcpy(m_pData.get(), source, static_cast<std::size_t>(length));
    m_nLength = length;
    ClearSelection();
    m_nCurrent = 0;
    m_ptCaret = {};
    m_nArea = AREA_HEX_HIGH;
    m_nTopIndex = 0;
    m_bLayoutDirty = true;
}

void CHexEditState::OrderSelection()
{
    if (m_nSelEnd <= m_nSelStart)
        std::swap(m_nSelStart, m_nSelEnd);
}

void CHexEditState::ClearSelection()
{
    if (!m_pData)
        return;
    m_nSelStart = m_nSelEnd = -1;
    // A caret last placed at x = 0 sits on the address column and spans its digits.
    m_caret.cells = m_ptCaret.x == 0 && m_layout.m_bShowAddress ? m_layout.AddressDigits() : 1;
    m_caret.point = m_ptCaret;
    m_caret.shown = m_nLength > 0;
}

void CHexEditState::SelectAll()
{
    if (!m_pData)
        return;
    m_nSelStart = 0;
    m_nSelEnd = m_nLength;
    m_caret.shown = false;
}

void CHexEditState::SetSelEnd(int32_t index)
{
    m_nSelEnd = std::min(index, m_nLength);
}

void CHexEditState::MoveCaret(int dx, int dy)
{
    if (!HasBytes())
        return;
    const int32_t bpl = m_layout.m_nBytesPerLine;
    switch (m_nArea) {
    case AREA_ADDRESS:
        return;
    case AREA_ASCII:
        m_nCurrent += dy * bpl + dx;
        break;
    case AREA_HEX_HIGH:
        if (dx != 0 && !(dx == -1 && m_nCurrent == 0))
            m_nArea = AREA_HEX_LOW;
        if (dx == -1)
            --m_nCurrent;
        m_nCurrent += dy * bpl;
        break;
    case AREA_HEX_LOW:
        if (dx == -1 || (dx == 1 && m_nCurrent != m_nLength - 1))
            m_nArea = AREA_HEX_HIGH;
        if (dx == 1)
            ++m_nCurrent;
        m_nCurrent += dy * bpl;
        break;
    }
    if (m_nCurrent < 0)
        m_nCurrent = 0;
    // The area change above stays even when the byte move is taken back. Taking back a
    // nibble move can overshoot from a caret that a drag left at the end, hence the clamp.
    if (m_nCurrent >= m_nLength)
        m_nCurrent = std::clamp(m_nCurrent - (dy * bpl + dx), 0, m_nLength);

    if (m_nCurrent < m_nTopIndex)
        LineUp();
    if (m_nCurrent >= m_nTopIndex + m_layout.BytesShown())
        LineDown();
    PlaceCaret(m_nCurrent);
}

void CHexEditState::PlaceCaret(int32_t index)
{
    if (!m_pData)
        return;
    const HexPoint point = m_layout.CellPoint(index, m_nTopIndex, m_nArea);
    m_ptCaret = point;
    m_caret.point = point;
    m_caret.cells = m_nArea == AREA_ADDRESS ? m_layout.AddressDigits() : 1;
    m_caret.shown = m_nLength > 0 && point.x >= 0 && point.y >= 0 &&
                    point.x < m_layout.m_nClientWidth && point.y < m_layout.m_nClientHeight &&
                    point.y <= (m_layout.m_nVisibleLines - 1) * m_layout.m_nLineHeight;
}

void CHexEditState::LineUp()
{
    if (m_pData && m_nTopIndex > 0)
        m_nTopIndex -= m_layout.m_nBytesPerLine;
}

void CHexEditState::LineDown()
{
    if (m_pData && m_nTopIndex < m_nLength - m_layout.BytesShown())
        m_nTopIndex += m_layout.m_nBytesPerLine;
}

void CHexEditState::PageUp()
{
    if (m_pData && m_nTopIndex > 0)
        m_nTopIndex = std::max(m_nTopIndex - m_layout.BytesShown(), 0);
}

void CHexEditState::PageDown()
{
    if (!m_pData)
        return;
    const int32_t bpl = m_layout.m_nBytesPerLine;
    const int32_t maxTop =
        m_nLength - m_nLength % bpl - (m_layout.m_nVisibleLines - 1) * bpl;
    if (m_nTopIndex < maxTop) {
        m_nTopIndex += m_layout.BytesShown();
        if (m_nTopIndex > m_nLength - m_layout.BytesShown())
            m_nTopIndex = maxTop;
    }
}

void CHexEditState::ScrollToLine(int32_t line)
{
    if (m_pData)
        m_nTopIndex = std::max(line, 0) * m_layout.m_nBytesPerLine;
}

void CHexEditState::Wheel(int32_t amount)
{
    if (!m_pData)
        return;
    const int32_t delta = amount / 120 * m_layout.m_nBytesPerLine * 2;
    const int32_t lastTop = LastTopIndex();
    if (delta > 0 && m_nTopIndex > 0)
        m_nTopIndex = std::max(m_nTopIndex - delta, 0);
    else if (delta < 0 && m_nTopIndex < lastTop)
        m_nTopIndex = std::min(m_nTopIndex - delta, lastTop);
    PlaceCaret(m_nCurrent);
}

int32_t CHexEditState::LastTopIndex() const
{
    const int32_t bpl = m_layout.m_nBytesPerLine;
    const int32_t hidden = m_nLength - m_layout.BytesShown();
    return hidden > 0 ? (hidden + bpl - 1) / bpl * bpl : 0;
}

void CHexEditState::UpdateLayout()
{
    m_layout.Compute(m_nLength);
    m_bLayoutDirty = false;
    FocusIn();
}

void CHexEditState::FocusIn()
{
    if (m_bLayoutDirty || !HasBytes() || HasSelection())
        return;
    // Before the first placement the caret starts on the first hex digit.
    const int32_t x = m_ptCaret.x != 0
                          ? m_ptCaret.x
                          : (m_layout.AddressDigits() + 1) * m_layout.m_nCharWidth;
    m_caret = HexCaret{{x, m_ptCaret.y}, 1, true};
}

void CHexEditState::FocusOut()
{
    m_caret.shown = false;
}
