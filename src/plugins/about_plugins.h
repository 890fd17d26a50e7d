#pragma once

// The About window's plug-in page: the list of known plug-ins and the details of the selected one.

#include <string>
#include <string_view>
#include <vector>

namespace zev {

class PluginHost;

class AboutPluginsModel {
public:
    explicit AboutPluginsModel(PluginHost& host)
        : m_host(host)
    {
    }

    // "N plugins loaded" of the header: the number of entries.
    int PluginCount() const;
    // The file names without folder, in table order.
    std::vector<std::string> Rows() const;

    // -1 clears the selection.
    void Select(int row);
    int selected() const { return m_selected; }
    // The selected plug-in's details as lines of simple markup; empty without a selection.
    std::vector<std::string> DetailLines() const;
    // "Configure plugin" is shown exactly for a plug-in that exports PluginConfig.
    bool ConfigureVisible() const;
    void ConfigurePlugin();
    // A link of the details: targets with "DoLink_" run as a console line.
    void ClickLink(std::string_view target);

private:
    PluginHost& m_host;
    int m_selected = -1;
};

// Breaks text into lines of at most width characters at spaces (longer words stand alone), joined
// with the break text.
std::string WrapText(std::string_view text, std::size_t width, std::string_view lineBreak);

} // namespace zev
