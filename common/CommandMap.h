// Command handlers and update handlers of one command target, keyed by command id.
#pragma once

#include <functional>
#include <unordered_map>

// The state an update handler sets for one command before a menu opens or at idle.
struct CCmdUI
{
    int id = 0;
    bool enabled = true;
    bool checked = false;
};

// One link of the command route (view, document, frame, application): the
// handlers it has. A command is handled by the first target that has a handler
// for it; a command no target handles is greyed.
class CCommandMap
{
public:
    using Handler = std::function<void()>;
    using Updater = std::function<void(CCmdUI&)>;

    void On(int id, Handler handler, Updater updater = {})
    {
        m_entries[id] = Entry{std::move(handler), std::move(updater)};
    }

    bool Has(int id) const { return m_entries.count(id) != 0; }

    // Runs the handler for id; false when this target has none.
    bool Run(int id) const
    {
        auto it = m_entries.find(id);
        if (it == m_entries.end() || !it->second.handler)
            return false;
        it->second.handler();
        return true;
    }

    // Fills ui for id; false when this target has no handler for it.
    bool Update(CCmdUI& ui) const
    {
        auto it = m_entries.find(ui.id);
        if (it == m_entries.end())
            return false;
        ui.enabled = true;
        if (it->second.updater)
            it->second.updater(ui);
        return true;
    }

private:
    struct Entry
    {
        Handler handler;
        Updater updater;
    };
    std::unordered_map<int, Entry> m_entries;
};

// Anything on the command route.
class CCmdTarget
{
public:
    virtual ~CCmdTarget() = default;
    CCommandMap& Commands() { return m_commands; }
    const CCommandMap& Commands() const { return m_commands; }

private:
    CCommandMap m_commands;
};
