// The main menu shown as a bar of flat text buttons, drawn in its own colours. Qt's menu
// bar and popups do the tracking, keyboard navigation and mnemonics; this class adds the
// rules they lack: Alt, F10 and Alt+letter never enter the bar (Escape in a popup is the
// keyboard's way in) and, while a popup is open, open the previous button's popup with its
// first item selected; moving the mouse onto another button while a popup is open opens
// that button's popup, and the frame is told when a popup opens, which item is
// highlighted and when the menu has closed, in that order. Switching between popups and
// closing a popup on its own button are not closings.
#pragma once

#include "MenuTracker.h"

#include <QFont>
#include <QMenuBar>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

class CMenuBarStyle;
class QAction;
class QMenu;
class QString;

class CMenuBar : public QMenuBar {
    Q_OBJECT
public:
    // Makes the action of one popup item: triggering it must carry out command. The action
    // is owned by parent (the popup) or by the caller; the bar keeps command as its data.
    using ActionFactory = std::function<QAction*(int command, const QString& text, QObject* parent)>;

    explicit CMenuBar(QWidget* parent = nullptr);

    // Replaces the bar's buttons with the popups of the main menu, each item's action made
    // by factory. False when factory gives no action; the bar is then incomplete.
    bool LoadMenuBar(const ActionFactory& factory);

    // The popup of button index (0-based), or null.
    QMenu* GetPopup(int index) const;

    // The buttons side by side, none hidden: the bar is never narrower or lower than this.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The popup of button index opens (also when the menu switches to it).
    void MenuOpened(int index);
    // An item of an open popup is highlighted: its command, or 0 for an item that opens a
    // submenu and for none (the pointer on a separator or off the items).
    void MenuSelect(int command);
    // The menu has closed; not sent when a popup closes to make way for another one or on
    // a click on its own button.
    void MenuClosed();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // What the size hint is measured from: the buttons' texts in the bar's font at its
    // resolution, drawn by the bar's own style.
    struct SizeInputs {
        QStringList texts;
        QFont font;
        int dpiX = 0;
        int dpiY = 0;
        bool operator==(const SizeInputs&) const = default;
    };
    SizeInputs CurrentSizeInputs() const;
    QSize MeasureButtons() const;

    int ButtonAt(const QPoint& pos) const;
    // Opens the popup of button index in place of the open one, its first item selected.
    void OpenByKeyboard(int index);
    void OnHovered(QAction* action);
    void OnPopupHidden();

    CMenuBarStyle* m_pStyle;
    CMenuTracker m_tracker;
    // The layout asks for the size hint many times while the window is built and shown,
    // and measuring the texts is the costly part: the last one is kept with its inputs.
    mutable std::optional<std::pair<SizeInputs, QSize>> m_sizeHint;
};
