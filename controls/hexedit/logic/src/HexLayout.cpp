#include "HexLayout.h"

#include <algorithm>

void CHexLayout::Compute(int32_t length)
{
    const int32_t addressCells = !m_bShowAddress ? 0 : AddressDigits() + 1;
    m_nHexX = addressCells * m_nCharWidth;
    m_nAsciiX = m_nHexX + (m_bShowHex ? m_nBytesPerLine * m_nCharWidth * 3 : 0);
    m_nVisibleLines = m_nLineHeight > 0 ? m_nClientHeight / m_nLineHeight : 0;
    m_bLastLinePartial = false;
    if (m_nBytesPerLine * m_nVisibleLines > length) {
        m_nVisibleLines = (length + m_nBytesPerLine / 2) / m_nBytesPerLine;
        if (length % m_nBytesPerLine != 0) {
            ++m_nVisibleLines;
            m_bLastLinePartial = true;
        }
    }
}

std::optional<HexHit> CHexLayout::HitTest(int32_t x, int32_t y, int32_t topIndex,
                                          int32_t length) const
{
    if (m_nLineHeight <= 0 || m_nCharWidth <= 0)
        return std::nullopt;
    // Division truncates toward zero, so the pixel row just above the control still
    // counts as row 0, as it always has.
    const int32_t row = (y - 1) / m_nLineHeight;
    if (row < 0 || row > m_nVisibleLines - 1)
        return std::nullopt;
    const int32_t lineStart = row * m_nBytesPerLine;
    if (lineStart > length)
        return std::nullopt;
    const int32_t col = std::max((x - 1) / m_nCharWidth, 0);
    const int32_t firstByte = topIndex + lineStart;

    if (m_bShowAddress && col <= AddressDigits())
        return HexHit{AREA_ADDRESS, std::min(firstByte, length), 0, row};

    const int32_t hexCol = HexColumn();
    if (m_bShowHex && col < hexCol + 3 * m_nBytesPerLine) {
        int32_t cell = col - hexCol;
        if (cell % 3 == 2)
            --cell;
        const HexArea area = cell % 3 == 0 ? AREA_HEX_HIGH : AREA_HEX_LOW;
        return HexHit{area, std::min(firstByte + cell / 3, length), hexCol + cell, row};
    }

    const int32_t asciiCol = AsciiColumn();
    if (m_bShowAscii && col <= asciiCol + m_nBytesPerLine)
        return HexHit{AREA_ASCII, std::min(firstByte + col - asciiCol, length), col, row};
    return std::nullopt;
}

HexPoint CHexLayout::CellPoint(int32_t index, int32_t topIndex, HexArea area) const
{
    const int32_t rel = index - topIndex;
    int32_t row = rel / m_nBytesPerLine;
    if (rel % m_nBytesPerLine < 0)
        --row;
    const int32_t k = rel - row * m_nBytesPerLine;
    const int32_t y = row * m_nLineHeight;
    switch (area) {
    case AREA_ADDRESS: return {0, y};
    case AREA_ASCII: return {m_nAsciiX + k * m_nCharWidth, y};
    case AREA_HEX_HIGH: return {m_nHexX + 3 * k * m_nCharWidth, y};
    case AREA_HEX_LOW: return {m_nHexX + (3 * k + 1) * m_nCharWidth, y};
    }
    return {0, y};
}

int32_t CHexLayout::HexColumn() const
{
    return m_nCharWidth > 0 ? m_nHexX / m_nCharWidth : 0;
}

int32_t CHexLayout::AsciiColumn() const
{
    return m_nCharWidth > 0 ? m_nAsciiX / m_nCharWidth : 0;
}
