#pragma once

// The script console: one record of who shows what scripts print. A console plug-in lends its
// control (SetOutputControl) and holds the console until it gives it back; a front end may hold it
// for the whole run (the command-line tool's standard output); the desktop program's own console
// shows what is printed while nobody holds it. Without any of them console output is dropped.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/signal.h"

namespace zev {

class Logger;

// A multi-line text control: console output is appended to its lines. The console never owns it.
class ConsoleSink {
public:
    virtual ~ConsoleSink() = default;
    virtual std::string Name() const = 0;
    virtual void AppendLine(std::string_view text) = 0;
    virtual void Clear() = 0;
};

class Console {
public:
    explicit Console(Logger& log)
        : m_log(log)
    {
    }
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // A plug-in's control takes the console ("Getting output control, name == ..."); a second one
    // replaces the first without notice. Return gives it back ("Releasing output control.").
    void Lend(ConsoleSink* sink);
    void Return();
    ConsoleSink* lent() const { return m_lent; }

    // The front end's own holder for the whole run (the command-line tool); under a lent control.
    void SetFrontEndHolder(ConsoleSink* sink) { m_frontEnd = sink; }
    // The program's own console window: shows the lines while nobody holds the console.
    void SetOwnConsole(ConsoleSink* sink) { m_own = sink; }
    ConsoleSink* ownConsole() const { return m_own; }

    // Somebody holds the console: scripts report their errors and Print to it.
    bool held() const { return holder() != nullptr; }
    // Output is shown somewhere (held, or the program's own console).
    bool shown() const { return target() != nullptr; }
    ConsoleSink* holder() const { return m_lent ? m_lent : m_frontEnd; }

    // Appends text ("\n" written as the two characters backslash and n is a line break) to the
    // holder, else to the program's own console; dropped when neither exists.
    void WriteLine(std::string_view text);
    void Clear();

    // After every line that reached the program's own console (it opens itself).
    Signal<> wroteToOwnConsole;

private:
    ConsoleSink* target() const { return holder() ? holder() : m_own; }

    Logger& m_log;
    ConsoleSink* m_lent = nullptr;
    ConsoleSink* m_frontEnd = nullptr;
    ConsoleSink* m_own = nullptr;
};

// "\n" as two characters becomes CR LF.
std::string ConsoleText(std::string_view text);

} // namespace zev
