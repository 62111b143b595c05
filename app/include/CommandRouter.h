// Routes every command, whether it comes from a menu, a context menu or a key: the command
// tables are asked in their routing order (folder list, document, frame, application) and
// the first table that has an entry for the ID owns the command. A command runs only when
// its owner has a handler and its enabling rule holds; the actions of every command are
// enabled and checked accordingly before a menu opens, after every command and on an idle
// tick, so menus and keys always agree. Menus and popups built from the menu tables get
// their items from here, so a window that shows a context menu needs only the router.
#pragma once

#include "CommandTable.h"
#include "MenuTable.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>
#include <span>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QString;
class QWidget;

class CCommandRouter : public QObject {
    Q_OBJECT
public:
    explicit CCommandRouter(QObject* parent = nullptr);

    // Appends a table to the routing order; the table must outlive the router's use of it.
    void AddTable(const CCommandTable* table);

    // A new action for command id, owned by parent: triggering it routes the command, and
    // the router keeps its enabled and checked state. The action's data is id, its status
    // tip the command's prompt.
    QAction* CreateAction(int id, const QString& text, QObject* parent);
    // The one action of command id that the main menu, the tool bar and the accelerators
    // share, made on first use and owned by the router; its tool tip is the command's.
    QAction* GetAction(int id);
    // Appends an action for each item to menu (a separator for command 0).
    void FillMenu(QMenu* menu, std::span<const MenuItemDef> items);
    // A popup of the items, updated whenever it is about to show.
    std::unique_ptr<QMenu> CreatePopupMenu(std::span<const MenuItemDef> items, QWidget* parent);

    // The entry of the table that owns id, or null when no table has one.
    const CCommandTable::Entry* FindOwner(int id) const;
    bool IsEnabled(int id) const;
    bool IsChecked(int id) const;

    // Runs the command if it is enabled; returns whether it ran. Actions are updated after.
    bool Execute(int id);

    // Evaluates the enabling and check rules of every action now.
    void UpdateActions();
    // Updates the actions whenever menu is about to be shown.
    void WatchMenu(QMenu* menu);

signals:
    // Command id has just run (before the actions are updated).
    void CommandExecuted(int id);

private:
    void Forget(QObject* action);

    std::vector<const CCommandTable*> m_tables;
    std::vector<std::pair<int, QAction*>> m_actions;
    std::map<int, QAction*> m_sharedActions;
    QTimer m_idleTimer;
};
