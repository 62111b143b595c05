#include "MenuBar.h"

#include "MenuBarStyle.h"
#include "MenuMetrics.h"
#include "MenuTable.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QStyleOptionMenuItem>

#include <utility>
#include <vector>

namespace {

// The keys the system keeps for itself: Alt, alone or with another key, and F10.
bool IsSystemKey(const QKeyEvent& key)
{
    return key.key() == Qt::Key_Alt || key.key() == Qt::Key_F10 ||
           key.modifiers().testFlag(Qt::AltModifier);
}

}  // namespace

CMenuBar::CMenuBar(QWidget* parent) : QMenuBar(parent), m_pStyle(new CMenuBarStyle)
{
    // A child of the bar; widgets hold their style by a guarded pointer, so it may go first.
    m_pStyle->setParent(this);
    setStyle(m_pStyle);
    setNativeMenuBar(false);
    // As high as its buttons, never stretched.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(this, &QMenuBar::hovered, this, &CMenuBar::OnHovered);
}

bool CMenuBar::LoadMenuBar(const ActionFactory& factory)
{
    for (QAction* button : actions())
        delete button->menu();
    int index = 0;
    for (const PopupDef& popupDef : MainMenu()) {
        QMenu* popup = addMenu(QString::fromUtf8(popupDef.text));
        popup->setStyle(m_pStyle);
        popup->installEventFilter(this);
        connect(popup, &QMenu::aboutToShow, this, [this, index] {
            m_tracker.Opened(index);
            emit MenuOpened(index);
        });
        connect(popup, &QMenu::aboutToHide, this, &CMenuBar::OnPopupHidden);
        for (const MenuItemDef& item : popupDef.items) {
            if (item.command == 0) {
                popup->addSeparator();
                continue;
            }
            QAction* action = factory(item.command, QString::fromUtf8(item.text), popup);
            if (!action)
                return false;
            action->setData(item.command);
            popup->addAction(action);
        }
        ++index;
    }
    updateGeometry();
    return true;
}

QMenu* CMenuBar::GetPopup(int index) const
{
    const QList<QAction*> buttons = actions();
    return index >= 0 && index < buttons.size() ? buttons[index]->menu() : nullptr;
}

QSize CMenuBar::sizeHint() const
{
    // Another style measures from more than the texts: it is asked each time.
    if (style() != m_pStyle)
        return MeasureButtons();
    SizeInputs inputs = CurrentSizeInputs();
    if (!m_sizeHint || !(m_sizeHint->first == inputs))
        m_sizeHint.emplace(std::move(inputs), MeasureButtons());
    return m_sizeHint->second;
}

CMenuBar::SizeInputs CMenuBar::CurrentSizeInputs() const
{
    SizeInputs inputs{{}, font(), logicalDpiX(), logicalDpiY()};
    for (QAction* button : actions())
        inputs.texts.append(button->text());
    return inputs;
}

QSize CMenuBar::MeasureButtons() const
{
    std::vector<MenuSize> buttons;
    for (QAction* button : actions()) {
        QStyleOptionMenuItem option;
        initStyleOption(&option, button);
        const QSize text = fontMetrics().size(Qt::TextShowMnemonic, button->text());
        const QSize size = style()->sizeFromContents(QStyle::CT_MenuBarItem, &option, text, this);
        buttons.push_back({size.width(), size.height()});
    }
    const MenuSize size = BarSize(buttons);
    return {size.width, size.height};
}

QSize CMenuBar::minimumSizeHint() const
{
    return sizeHint();
}

bool CMenuBar::event(QEvent* event)
{
    switch (event->type()) {
    // Alt+letter: the bar's mnemonics are for its keyboard mode only.
    case QEvent::Shortcut:
        return true;
    // The popups' own status texts give way to MenuSelect; an empty one means that no item
    // is highlighted any more.
    case QEvent::StatusTip: {
        const auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (m_tracker.IsOpen() && static_cast<QStatusTipEvent*>(event)->tip().isEmpty() &&
            popup && !popup->activeAction() && m_tracker.Selected(0))
            emit MenuSelect(0);
        return true;
    }
    default:
        return QMenuBar::event(event);
    }
}

bool CMenuBar::eventFilter(QObject* watched, QEvent* event)
{
    // The base class watches the window for a lone Alt to enter the bar; it never sees one.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Alt || key == Qt::Key_Meta)
            return false;
    }
    // Keys go to the innermost open popup, so a submenu keeps its own: only the open popup
    // of a button is watched here, before the popup itself sees the key.
    if (event->type() == QEvent::KeyPress && watched == GetPopup(m_tracker.Current()) &&
        IsSystemKey(*static_cast<QKeyEvent*>(event))) {
        const int target = m_tracker.SystemKeyPressed(static_cast<int>(actions().size()));
        if (target >= 0) {
            OpenByKeyboard(target);
            m_tracker.EventDone();
            return true;
        }
    }
    return QMenuBar::eventFilter(watched, event);
}

void CMenuBar::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)
        m_tracker.SwitchKeyPressed();
    QMenuBar::keyPressEvent(event);
    m_tracker.EventDone();
}

void CMenuBar::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    const int target = m_tracker.MouseMoved({pos.x(), pos.y()}, ButtonAt(pos));
    if (target >= 0)
        setActiveAction(actions()[target]);
    else
        QMenuBar::mouseMoveEvent(event);
    m_tracker.EventDone();
}

void CMenuBar::mousePressEvent(QMouseEvent* event)
{
    m_tracker.Pressed(ButtonAt(event->position().toPoint()));
    QMenuBar::mousePressEvent(event);
    m_tracker.EventDone();
}

int CMenuBar::ButtonAt(const QPoint& pos) const
{
    QAction* button = actionAt(pos);
    return button ? static_cast<int>(actions().indexOf(button)) : -1;
}

void CMenuBar::OpenByKeyboard(int index)
{
    setActiveAction(actions()[index]);
    // Down in a popup without a selected item selects its first one.
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(GetPopup(index), &down);
}

void CMenuBar::OnHovered(QAction* action)
{
    // The bar's own buttons are hovered too; only popup items are selections.
    if (actions().contains(action))
        return;
    const int command = action->menu() ? 0 : action->data().toInt();
    if (m_tracker.Selected(command))
        emit MenuSelect(command);
}

void CMenuBar::OnPopupHidden()
{
    if (m_tracker.Closed())
        emit MenuClosed();
}
