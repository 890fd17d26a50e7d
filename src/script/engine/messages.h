#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zev::script {

enum class MessageKind { SyntaxError, Error, RuntimeError };

// One compile or run-time message. `formatted` is what users see:
// "Syntax Error: Expected ";" but found "end" [line: 3, column: 5]".
struct Message {
    MessageKind kind = MessageKind::Error;
    std::string text;
    int line = 0;
    int column = 0;
    std::string file;
    std::string formatted;
};

std::string_view MessagePrefix(MessageKind kind);
Message MakeMessage(MessageKind kind, std::string text, int line, int column, const std::string& file);

// The compile messages of one program, with a cap so hostile text cannot flood the list.
class Diagnostics {
public:
    explicit Diagnostics(std::string file)
        : m_file(std::move(file))
    {
    }
    void Add(MessageKind kind, std::string text, int line, int column);
    bool HasErrors() const { return !m_messages.empty(); }
    bool Full() const { return m_messages.size() >= kMaxMessages; }
    std::vector<Message>& messages() { return m_messages; }
    const std::string& file() const { return m_file; }

    static constexpr size_t kMaxMessages = 100;

private:
    std::string m_file;
    std::vector<Message> m_messages;
};

} // namespace zev::script
