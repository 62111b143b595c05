#include "CommandRouter.h"

#include "StringTable.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace {
constexpr int IDLE_UPDATE_INTERVAL_MS = 250;
}

CCommandRouter::CCommandRouter(QObject* parent) : QObject(parent)
{
    m_idleTimer.setInterval(IDLE_UPDATE_INTERVAL_MS);
    connect(&m_idleTimer, &QTimer::timeout, this, &CCommandRouter::UpdateActions);
    m_idleTimer.start();
}

void CCommandRouter::AddTable(const CCommandTable* table)
{
    m_tables.push_back(table);
}

QAction* CCommandRouter::CreateAction(int id, const QString& text, QObject* parent)
{
    auto* action = new QAction(text, parent);
    action->setData(id);
    action->setStatusTip(CommandPrompt(id));
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    connect(action, &QObject::destroyed, this, &CCommandRouter::Forget);
    m_actions.emplace_back(id, action);
    const CCommandTable::Entry* owner = FindOwner(id);
    action->setEnabled(owner && CCommandTable::IsEnabled(*owner));
    action->setCheckable(owner && owner->checked);
    action->setChecked(owner && CCommandTable::IsChecked(*owner));
    return action;
}

QAction* CCommandRouter::GetAction(int id)
{
    QAction*& action = m_sharedActions[id];
    if (!action) {
        action = CreateAction(id, QString(), this);
        action->setToolTip(CommandToolTip(id));
    }
    return action;
}

void CCommandRouter::FillMenu(QMenu* menu, std::span<const MenuItemDef> items)
{
    for (const MenuItemDef& item : items) {
        if (item.command == 0)
            menu->addSeparator();
        else
            menu->addAction(CreateAction(item.command, QString::fromUtf8(item.text), menu));
    }
}

std::unique_ptr<QMenu> CCommandRouter::CreatePopupMenu(std::span<const MenuItemDef> items,
                                                       QWidget* parent)
{
    auto menu = std::make_unique<QMenu>(parent);
    FillMenu(menu.get(), items);
    WatchMenu(menu.get());
    return menu;
}

const CCommandTable::Entry* CCommandRouter::FindOwner(int id) const
{
    for (const CCommandTable* table : m_tables) {
        if (const CCommandTable::Entry* entry = table->Find(id))
            return entry;
    }
    return nullptr;
}

bool CCommandRouter::IsEnabled(int id) const
{
    const CCommandTable::Entry* owner = FindOwner(id);
    return owner && CCommandTable::IsEnabled(*owner);
}

bool CCommandRouter::IsChecked(int id) const
{
    const CCommandTable::Entry* owner = FindOwner(id);
    return owner && CCommandTable::IsChecked(*owner);
}

bool CCommandRouter::Execute(int id)
{
    const CCommandTable::Entry* owner = FindOwner(id);
    if (!owner || !CCommandTable::IsEnabled(*owner))
        return false;
    // The handler may change the tables; run a copy.
    const CCommandTable::Handler handler = owner->handler;
    handler();
    emit CommandExecuted(id);
    UpdateActions();
    return true;
}

void CCommandRouter::UpdateActions()
{
    for (const auto& [id, action] : m_actions) {
        const CCommandTable::Entry* owner = FindOwner(id);
        action->setEnabled(owner && CCommandTable::IsEnabled(*owner));
        action->setCheckable(owner && owner->checked);
        action->setChecked(owner && CCommandTable::IsChecked(*owner));
    }
}

void CCommandRouter::WatchMenu(QMenu* menu)
{
    connect(menu, &QMenu::aboutToShow, this, &CCommandRouter::UpdateActions);
}

void CCommandRouter::Forget(QObject* action)
{
    std::erase_if(m_actions, [action](const auto& item) { return item.second == action; });
    std::erase_if(m_sharedActions, [action](const auto& item) { return item.second == action; });
}
