#include "script/helper_scripts.h"

#include <cctype>

namespace zev {

bool HelperScripts::SameCaption(std::string_view a, std::string_view b)
{
    auto next = [](std::string_view s, std::size_t& i) -> int {
        while (i < s.size() && s[i] == '&')
            ++i;
        return i < s.size() ? std::tolower(static_cast<unsigned char>(s[i++])) : -1;
    };
    std::size_t i = 0, j = 0;
    for (;;) {
        int x = next(a, i), y = next(b, j);
        if (x != y)
            return false;
        if (x < 0)
            return true;
    }
}

bool HelperScripts::Add(std::string fileName, std::string description, std::string category)
{
    if (static_cast<int>(m_table.size()) >= kMaxHelperScripts)
        return false;
    int tag = static_cast<int>(m_table.size());
    HelperSubmenu* submenu = nullptr;
    for (HelperSubmenu& s : m_menu)
        if (SameCaption(s.caption, category)) {
            submenu = &s;
            break;
        }
    if (!submenu) {
        m_menu.push_back({ category, {} });
        submenu = &m_menu.back();
    }
    submenu->entries.push_back({ description, tag });
    m_table.push_back({ std::move(fileName), std::move(description), std::move(category), false });
    changed.Emit();
    return true;
}

const templatescript* HelperScripts::At(int tag) const
{
    return tag >= 0 && tag < static_cast<int>(m_table.size()) ? &m_table[static_cast<std::size_t>(tag)] : nullptr;
}

bool HelperScripts::AddTimeEventCommand(std::string script, std::string name, std::string shortcut)
{
    if (static_cast<int>(m_commands.size()) >= kMaxTimeEventCommands)
        return false;
    m_commands.push_back({ std::move(script), std::move(name), std::move(shortcut) });
    return true;
}

std::vector<std::string> FormatHelpRows(const std::vector<std::string>& names)
{
    static constexpr std::size_t kWidths[3] = { 28, 28, 20 };
    std::vector<std::string> rows;
    for (std::size_t k = 0; k < names.size(); k += 3) {
        std::string row;
        for (std::size_t c = 0; c < 3; ++c) {
            std::string_view name = k + c < names.size() ? std::string_view(names[k + c]) : std::string_view {};
            row += name;
            if (name.size() <= kWidths[c])
                row.append(kWidths[c] - name.size() + 1, ' ');
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace zev
