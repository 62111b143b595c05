// A self-drawn hex editor: address, hexadecimal and ASCII columns over its own copy of a
// byte array, a caret over bytes and nibbles, mouse and keyboard selection, and the
// clipboard in the "BinaryData" format and as text. The data never changes length. The
// rules live in the widget-free state and handlers; this class turns Qt events into
// their calls, paints, and moves payloads to and from QClipboard.
#pragma once

#include "HexClipboard.h"
#include "HexEditState.h"
#include "HexKeyHandler.h"
#include "HexMouseHandler.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QMenu>
#include <QPoint>

#include <cstdint>

class QPainter;

class CHexEdit : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CHexEdit(QWidget* parent = nullptr);

    // Takes a copy of length bytes of source, puts the caret on the first hex digit with
    // no selection, takes the focus and repaints.
    void SetData(const uint8_t* source, int32_t length);

    // The owner reads m_pData and m_nLength here and may set the column flags of
    // m_layout and m_bLayoutDirty before the next paint.
    CHexEditState& State() { return m_state; }
    const CHexEditState& State() const { return m_state; }

    // The clipboard mime type that carries raw bytes.
    static QString BinaryDataFormat();

    void Copy();
    void Cut();
    void Paste();
    void Clear();
    void SelectAll();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void OnScrollAction(int action);
    // Range, page and position of the scroll bar from the state.
    void UpdateScrollBar();
    // Scroll position from the top byte, caret blink restarted, repaint.
    void Refresh();
    void RunCommand(HexCommand command);
    void PutOnClipboard(const HexClipboardPayload& payload);
    void PaintRows(QPainter& painter);

    QFont m_font;
    // Copy, Paste, Cut and Clear, shown at a right click.
    QMenu m_menu;
    CHexEditState m_state;
    CHexKeyHandler m_keys{m_state};
    CHexMouseHandler m_mouse{m_state};
    CHexClipboard m_clipboard{m_state};
    // A press that placed the caret waits here until it turns into a drag or a click.
    bool m_bDragPending = false;
    QPoint m_ptPress;
    QBasicTimer m_blinkTimer;
    bool m_bBlinkOn = true;
};
