#include "plugins/about_plugins.h"

#include <filesystem>

#include "app/app.h"
#include "plugins/elf_exports.h"
#include "plugins/plugin_host.h"

namespace zev {

int AboutPluginsModel::PluginCount() const
{
    return static_cast<int>(m_host.plugins().size());
}

std::vector<std::string> AboutPluginsModel::Rows() const
{
    std::vector<std::string> rows;
    for (const TPluginRec& p : m_host.plugins())
        rows.push_back(std::filesystem::path(p.FileName).filename().string());
    return rows;
}

void AboutPluginsModel::Select(int row)
{
    m_selected = row >= 0 && row < PluginCount() ? row : -1;
}

std::vector<std::string> AboutPluginsModel::DetailLines() const
{
    if (m_selected < 0)
        return {};
    const TPluginRec& p = m_host.plugins()[static_cast<std::size_t>(m_selected)];
    const ElfExports exports = ReadElfExportsFile(p.FileName);
    return {
        "<b>Filename:</b> " + p.FileName,
        "<b>Display name:</b> " + p.Name,
        "<b>Created on:</b> " + DateTimeText(p.CreationDate),
        "<b>Compiled on:</b> " + DateTimeText(p.BuildDate),
        "<b>Description:</b> " + WrapText(p.Description, 48, "<br>"),
        "<b>Interface Version:</b> " + p.InterfaceVersion,
        "<b>Exported functions: </b> <a href=\"DoLink_ShowExports('" + p.FileName + "')\">Show</a> ["
            + std::to_string(exports.names.size()) + " total]",
    };
}

bool AboutPluginsModel::ConfigureVisible() const
{
    return m_selected >= 0 && m_host.plugins()[static_cast<std::size_t>(m_selected)].HasConfig;
}

void AboutPluginsModel::ConfigurePlugin()
{
    if (!ConfigureVisible())
        return;
    const std::string path = m_host.plugins()[static_cast<std::size_t>(m_selected)].FileName;
    m_host.PluginConfig(path);
}

void AboutPluginsModel::ClickLink(std::string_view target)
{
    if (target.find("DoLink_") == std::string_view::npos)
        return;
    m_host.app().scripts().ExecuteScriptConsole(target);
}

std::string WrapText(std::string_view text, std::size_t width, std::string_view lineBreak)
{
    std::string out, line;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t space = text.find(' ', pos);
        std::string_view word
            = text.substr(pos, space == std::string_view::npos ? std::string_view::npos : space - pos);
        if (!line.empty() && line.size() + 1 + word.size() > width) {
            out += line;
            out += lineBreak;
            line.clear();
        }
        if (!line.empty())
            line += ' ';
        line += word;
        if (space == std::string_view::npos)
            break;
        pos = space + 1;
    }
    return out + line;
}

} // namespace zev
