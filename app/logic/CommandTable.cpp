#include "CommandTable.h"

#include <utility>

void CCommandTable::Add(int id, Handler handler, Predicate enabled, Predicate checked)
{
    m_entries[id] = Entry{std::move(handler), std::move(enabled), std::move(checked)};
}

const CCommandTable::Entry* CCommandTable::Find(int id) const
{
    const auto found = m_entries.find(id);
    return found == m_entries.end() ? nullptr : &found->second;
}

bool CCommandTable::IsEnabled(const Entry& entry)
{
    return entry.handler && (!entry.enabled || entry.enabled());
}

bool CCommandTable::IsChecked(const Entry& entry)
{
    return entry.checked && entry.checked();
}
