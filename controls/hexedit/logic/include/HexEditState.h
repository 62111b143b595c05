// The hex editor's data and position: its own copy of the bytes, the first byte shown,
// the caret byte and area, the selection, and where the caret is drawn. Scrolling and
// caret moves live here; keys, mouse and clipboard are separate handlers over this state.
// While m_pData is null every operation does nothing. A copy of length 0 has no caret
// byte: the caret is never shown and nothing is read or written.
#pragma once

#include "HexLayout.h"

#include <cstdint>
#include <memory>

// The caret as drawn: top-left pixel, width in cells (its height is one line).
struct HexCaret {
    HexPoint point;
    int32_t cells = 1;
    bool shown = false;
};

class CHexEditState {
public:
    // Replaces the copy with length bytes of source (a negative length counts as 0) and
    // resets position, selection and scrolling; the layout is recomputed before the next
    // paint.
    void SetData(const uint8_t* source, int32_t length);

    bool HasSelection() const { return m_nSelStart != -1; }
    // Swaps the selection ends so that m_nSelStart <= m_nSelEnd.
    void OrderSelection();
    // Drops the selection and shows the caret where it was last placed.
    void ClearSelection();
    void SelectAll();
    // Sets the moving end of the selection, never past the data.
    void SetSelEnd(int32_t index);

    // Moves the caret by dx bytes or nibbles and dy lines (each -1, 0 or +1), scrolling one
    // line when the caret leaves the view. A move that would leave the data is taken back.
    void MoveCaret(int dx, int dy);
    // Puts the caret on byte index in the current area; hidden when outside the view.
    void PlaceCaret(int32_t index);

    // The scroll-bar steps; none of them moves the caret byte.
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();
    void ScrollToLine(int32_t line);
    // A wheel turn of amount 1/120 notches (positive away from the user): two lines a
    // notch, never above the first line nor past LastTopIndex().
    void Wheel(int32_t amount);
    // The last top byte the line steps reach: the top of the view that ends with the last
    // line of data, or 0 when everything fits.
    int32_t LastTopIndex() const;
    int32_t ScrollPosition() const { return m_nTopIndex / m_layout.m_nBytesPerLine; }

    // Recomputes the layout for the client size set in m_layout and places the caret the
    // way gaining the focus does.
    void UpdateLayout();
    void FocusIn();
    void FocusOut();

    bool HasBytes() const { return m_pData != nullptr && m_nLength > 0; }

    std::unique_ptr<uint8_t[]> m_pData;
    int32_t m_nLength = 0;
    int32_t m_nTopIndex = 0;
    int32_t m_nCurrent = 0;
    HexArea m_nArea = AREA_ADDRESS;
    int32_t m_nSelStart = -1;
    int32_t m_nSelEnd = -1;
    bool m_bLayoutDirty = true;
    HexPoint m_ptCaret;
    HexCaret m_caret;
    CHexLayout m_layout;
};
