#include "app/console_window.h"

#include "app/app.h"

namespace zev {

ConsoleWindowModel::ConsoleWindowModel(App& app)
    : m_app(app)
{
}

void ConsoleWindowModel::Attach()
{
    m_app.console().SetOwnConsole(this);
}

ConsoleWindowModel::~ConsoleWindowModel()
{
    if (m_app.console().ownConsole() == this)
        m_app.console().SetOwnConsole(nullptr);
}

void ConsoleWindowModel::Add(std::string line)
{
    if (m_lines.size() >= kMaxLines)
        m_lines.pop_front();
    m_lines.push_back(std::move(line));
    appended.Emit(m_lines.back());
    SetVisible(true);
}

void ConsoleWindowModel::AppendLine(std::string_view text)
{
    // A text with line breaks shows as several lines.
    std::size_t start = 0;
    while (true) {
        std::size_t end = text.find_first_of("\r\n", start);
        Add(std::string(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)));
        if (end == std::string_view::npos)
            return;
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
}

void ConsoleWindowModel::AppendPrinted(std::string_view text)
{
    for (char c : text) {
        if (c == '\n') {
            if (!m_partial.empty() && m_partial.back() == '\r')
                m_partial.pop_back();
            Add(std::move(m_partial));
            m_partial.clear();
        } else if (m_partial.size() < 64 * 1024) {
            m_partial += c; // a line without end stops growing
        }
    }
}

void ConsoleWindowModel::Clear()
{
    m_lines.clear();
    m_partial.clear();
    cleared.Emit();
}

bool ConsoleWindowModel::Run(const std::string& line)
{
    if (line.find_first_not_of(" \t") == std::string::npos)
        return true;
    if (m_history.empty() || m_history.back() != line)
        m_history.push_back(line);
    Add("> " + line);
    // Typed here, the line's errors belong here too, as they do in a console plug-in's window.
    Console& console = m_app.console();
    const bool holdsAlready = console.held();
    if (!holdsAlready)
        console.SetFrontEndHolder(this);
    const bool ok = m_app.scripts().ExecuteScriptConsole(line);
    if (!holdsAlready)
        console.SetFrontEndHolder(nullptr);
    if (!m_partial.empty())
        AppendPrinted("\n");
    return ok;
}

void ConsoleWindowModel::SetVisible(bool on)
{
    if (m_visible == on)
        return;
    m_visible = on;
    visibilityChanged.Emit(on);
}

} // namespace zev
