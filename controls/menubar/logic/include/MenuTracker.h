// Which button of the menu bar is current and whether its popup is open, and the
// rules the toolkit's own menu loop does not keep: a mouse moving over another button
// while a popup is open opens that button's popup, a system key in an open popup opens
// the previous button's, and a popup that closes only to make way for another one (or
// because its own button was clicked) is not reported to the frame as the end of the
// menu. The frame hears of each change of the highlighted item once. Buttons are
// numbered from 0; -1 means none.
#pragma once

class CMenuTracker {
public:
    struct Point {
        int x = -1;
        int y = -1;
        bool operator==(const Point&) const = default;
    };

    int Current() const { return m_nCurrent; }
    bool IsOpen() const { return m_bOpen; }

    // The popup of button has opened; a switch in progress has ended.
    void Opened(int button);
    // The open popup has closed. True when the frame is to hear that the menu closed:
    // not while switching to another popup or closing on the popup's own button.
    [[nodiscard]] bool Closed();

    // An item of the open popups is highlighted: its command, 0 for none or for an item
    // that opens a submenu. True when the frame is to hear of it: the toolkit repeats the
    // highlight of an item when it is clicked, the frame hears of changes only.
    [[nodiscard]] bool Selected(int command);

    // The mouse moved to p on the bar, over button hit. Returns the button whose popup is
    // to open instead of the open one, or -1: nothing is open, the point has not changed
    // since the last move, or it lies on the open button or on no button.
    int MouseMoved(Point p, int hit);
    // Left or Right reached the bar from an open popup: the toolkit opens the neighbour.
    void SwitchKeyPressed();
    // A system key (Alt, alone or with another key, or F10) reached the open popup itself,
    // not a submenu of it; the bar has buttons buttons. Returns the button whose popup is to
    // open instead, with its first item selected: the one before the open one, the last
    // after the first. -1 when nothing is open or there are no buttons.
    int SystemKeyPressed(int buttons);
    // A press on the bar over button hit while a popup is open: on the open button it
    // closes the popup, on another one it opens that one's popup instead.
    void Pressed(int hit);
    // The bar has handled the event that may have switched; a closing after it is reported.
    void EventDone() { m_bSwitching = false; }

private:
    int m_nCurrent = -1;
    bool m_bOpen = false;
    bool m_bSwitching = false;
    int m_nSelected = -1;
    Point m_ptLastMouse;
};
