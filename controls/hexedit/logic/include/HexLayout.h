// Geometry of the hex editor in character cells of plain integer pixels: which columns
// are shown and where they start, how many lines count as visible, and which byte a
// pixel lies on. It knows nothing of fonts or windows; the widget feeds it the cell size
// and the client size.
#pragma once

#include <cstdint>
#include <optional>

enum HexArea : int32_t {
    AREA_ADDRESS = 0,
    AREA_ASCII = 1,
    AREA_HEX_HIGH = 2,
    AREA_HEX_LOW = 3,
};

inline bool IsHexArea(HexArea area)
{
    return area == AREA_HEX_HIGH || area == AREA_HEX_LOW;
}

struct HexPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const HexPoint&) const = default;
};

// A byte found under a point: its area, index, cell column and row of the view.
struct HexHit {
    HexArea area = AREA_ADDRESS;
    int32_t index = 0;
    int32_t column = 0;
    int32_t row = 0;
};

class CHexLayout {
public:
    // Columns from the cell size and the shown columns; visible lines from the client
    // height. When all length bytes fit, the lines are counted the way the original
    // control counts them: (length + half a line) / bpl, plus one for a partial last line,
    // so 13 bytes count as 3 lines. A cell size of 0 counts no lines.
    void Compute(int32_t length);

    // The byte under pixel (x, y) of a view starting at byte topIndex, or nothing for a
    // point above or below the counted lines, whose line starts past the data, or right of
    // the last column. Points left of the control count as column 0. The index is never
    // above length; the blank cell after a byte's two digits counts as its low digit.
    std::optional<HexHit> HitTest(int32_t x, int32_t y, int32_t topIndex, int32_t length) const;

    // Top-left pixel of byte index's cell in area in a view starting at topIndex (x = 0 for
    // the address column). A byte before topIndex lies above the view (negative y).
    HexPoint CellPoint(int32_t index, int32_t topIndex, HexArea area) const;

    int32_t AddressDigits() const { return m_bWideAddress ? 8 : 4; }
    int32_t HexColumn() const;
    int32_t AsciiColumn() const;
    // Bytes in the counted lines.
    int32_t BytesShown() const { return m_nBytesPerLine * m_nVisibleLines; }

    int32_t m_nBytesPerLine = 8;
    int32_t m_nVisibleLines = 1;
    bool m_bShowAddress = true;
    bool m_bShowAscii = true;
    bool m_bShowHex = true;
    bool m_bWideAddress = true;
    bool m_bLastLinePartial = true;
    int32_t m_nLineHeight = 0;
    int32_t m_nCharWidth = 0;
    int32_t m_nHexX = 0;
    int32_t m_nAsciiX = 0;
    int32_t m_nClientWidth = 0;
    int32_t m_nClientHeight = 0;
};
