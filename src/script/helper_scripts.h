#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"

namespace zev {

inline constexpr int kMaxHelperScripts = 101;
inline constexpr int kMaxTimeEventCommands = 101;

struct templatescript {
    std::string FileName;
    std::string Description; // caption of its menu entry
    std::string Category; // caption of the submenu that holds it
    bool flag = false;
};

struct TimeEventCommand {
    std::string Script;
    std::string Name;
    std::string Shortcut;
};

// The "Helper Scripts" menu: one submenu per category, the entries in registration order, each
// carrying the index of its table entry as its tag.
struct HelperMenuEntry {
    std::string caption;
    int tag = 0;
};
struct HelperSubmenu {
    std::string caption;
    std::vector<HelperMenuEntry> entries;
};

class HelperScripts {
public:
    // Appends an entry and its menu item; false (nothing changed) when the table is full.
    bool Add(std::string fileName, std::string description, std::string category);
    const std::vector<templatescript>& table() const { return m_table; }
    const std::vector<HelperSubmenu>& menu() const { return m_menu; }
    bool menuVisible() const { return !m_table.empty(); }
    const templatescript* At(int tag) const;

    bool AddTimeEventCommand(std::string script, std::string name, std::string shortcut);
    const std::vector<TimeEventCommand>& timeEventCommands() const { return m_commands; }

    // After a helper script was registered (at start-up, or later by the console or a plug-in).
    Signal<> changed;

    // Menu captions compare without regard to case, ignoring accelerator marks.
    static bool SameCaption(std::string_view a, std::string_view b);

private:
    std::vector<templatescript> m_table;
    std::vector<HelperSubmenu> m_menu;
    std::vector<TimeEventCommand> m_commands;
};

// The help listing's rows: names in rows of three, columns 28, 28 and 20 wide (a name is followed
// by width - length + 1 blanks, none when it is longer).
std::vector<std::string> FormatHelpRows(const std::vector<std::string>& names);

} // namespace zev
