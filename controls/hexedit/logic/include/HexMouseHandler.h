// The left mouse button on the hex editor: a click places the caret, Shift+click selects
// from the caret byte, and a drag selects while the pointer moves, scrolling a line when
// it leaves the control above or below. Telling a drag from a click is the widget's part:
// after Press returns true it calls StartDrag once the pointer has moved far enough, or
// EndClick when the button comes up first.
#pragma once

#include <cstdint>

class CHexEditState;

class CHexMouseHandler {
public:
    explicit CHexMouseHandler(CHexEditState& state) : m_state(state) {}

    // The button went down at client pixel (x, y). A point on no byte, on the address
    // column, at cell column 41 or beyond, or past the data changes nothing. True when the
    // caret moved without Shift and a drag may follow.
    bool Press(int32_t x, int32_t y, bool shift);
    // The pointer left the press point with the button down: the selection starts empty
    // at the caret byte.
    void StartDrag();
    // The button came up without a drag: the selection is dropped and the caret shown.
    void EndClick();
    // The pointer is at (x, y) with the button down and a selection anchored.
    void Drag(int32_t x, int32_t y);

private:
    // The moving selection end for the caret byte: one further in the hex column, so
    // that the byte under the pointer is included.
    void FollowCaret();

    CHexEditState& m_state;
};
