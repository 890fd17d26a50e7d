#include "app/console.h"

#include "base/log.h"

namespace zev {

std::string ConsoleText(std::string_view text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            line += "\r\n";
            ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

void Console::Lend(ConsoleSink* sink)
{
    m_log.Log("Getting output control, name == " + (sink ? sink->Name() : std::string()));
    m_lent = sink;
}

void Console::Return()
{
    m_log.Log("Releasing output control.");
    m_lent = nullptr;
}

void Console::WriteLine(std::string_view text)
{
    ConsoleSink* sink = target();
    if (!sink)
        return;
    sink->AppendLine(ConsoleText(text));
    if (sink == m_own)
        wroteToOwnConsole.Emit();
}

void Console::Clear()
{
    if (ConsoleSink* sink = target())
        sink->Clear();
}

} // namespace zev
