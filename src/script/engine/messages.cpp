#include "script/engine/messages.h"

namespace zev::script {

std::string_view MessagePrefix(MessageKind kind)
{
    switch (kind) {
    case MessageKind::SyntaxError:
        return "Syntax Error: ";
    case MessageKind::Error:
        return "Error: ";
    case MessageKind::RuntimeError:
        return "Runtime Error: ";
    }
    return "";
}

Message MakeMessage(MessageKind kind, std::string text, int line, int column, const std::string& file)
{
    Message m;
    m.kind = kind;
    m.text = std::move(text);
    m.line = line;
    m.column = column;
    m.file = file;
    m.formatted = std::string(MessagePrefix(kind)) + m.text + " [line: " + std::to_string(line)
        + ", column: " + std::to_string(column);
    if (!file.empty())
        m.formatted += ", file: " + file;
    m.formatted += "]";
    return m;
}

void Diagnostics::Add(MessageKind kind, std::string text, int line, int column)
{
    if (Full())
        return;
    m_messages.push_back(MakeMessage(kind, std::move(text), line, column, m_file));
}

} // namespace zev::script
