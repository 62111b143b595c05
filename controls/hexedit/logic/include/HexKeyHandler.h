// Turns one key press or one typed character into moves, selections and byte edits on
// the hex editor's state. The widget maps its toolkit's keys to HexKey and runs the
// clipboard command a Ctrl character asks for.
#pragma once

#include <cstdint>

class CHexEditState;

enum class HexKey { Backspace, Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, Other };

enum class HexCommand { None, Copy, Cut, Paste };

class CHexKeyHandler {
public:
    explicit CHexKeyHandler(CHexEditState& state) : m_state(state) {}

    // A key press; ctrl only matters for Home and End. Shift extends the selection from the
    // caret byte. False for HexKey::Other and whenever there is no byte to move over.
    bool KeyDown(HexKey key, bool shift, bool ctrl);

    // A typed character c (8-bit in the ASCII column; Enter 13, Escape 27, Ctrl+letter its
    // control code) overwrites the caret byte; in the hex column only hexadecimal digits
    // change a nibble. With ctrl, Ctrl+C, Ctrl+X and Ctrl+V are returned as commands for
    // the widget and Ctrl+Z does nothing.
    HexCommand Char(uint32_t c, bool ctrl);

private:
    // Drops the selection, or with shift anchors it at the caret byte when there is none.
    void StartMove(bool shift);
    // With shift, moves the selection end to the caret byte, one further in the hex
    // column when the move went forward.
    void EndMove(bool shift, bool forward);
    void Step(bool shift, int dx, int dy);
    void Page(bool shift, bool down);
    void BringCaretIntoView();

    CHexEditState& m_state;
};
