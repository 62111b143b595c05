// The commands one part of the program handles: command ID -> handler, enabling rule and
// check rule. The command router asks several tables in turn; the first table that has an
// entry for an ID owns that command.
#pragma once

#include <functional>
#include <map>

class CCommandTable {
public:
    using Handler = std::function<void()>;
    using Predicate = std::function<bool()>;

    struct Entry {
        Handler handler;     // none: the command is disabled
        Predicate enabled;   // none: always enabled (when there is a handler)
        Predicate checked;   // none: never checked
    };

    // Adds or replaces the entry for id.
    void Add(int id, Handler handler, Predicate enabled = {}, Predicate checked = {});

    // The entry for id, or null when this table does not own the command.
    const Entry* Find(int id) const;

    // True when the entry has a handler and its enabling rule (if any) holds.
    static bool IsEnabled(const Entry& entry);
    static bool IsChecked(const Entry& entry);

private:
    std::map<int, Entry> m_entries;
};
