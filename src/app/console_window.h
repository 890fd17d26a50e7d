#pragma once

// The program's own script console: the lines scripts print while no console plug-in holds the
// console, what scripts write with WriteLn, and an input line that runs script lines as a console
// plug-in would. It opens by itself when something is printed to it.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "app/console.h"
#include "base/signal.h"

namespace zev {

class App;

class ConsoleWindowModel final : public ConsoleSink {
public:
    static constexpr std::string_view kCaption = "Script console";
    static constexpr std::string_view kInputLabel = "Script line:";
    static constexpr std::string_view kRunCaption = "Run";
    static constexpr std::string_view kClearCaption = "Clear";
    // The oldest lines go beyond this many, so a script printing in a loop cannot fill the memory.
    static constexpr std::size_t kMaxLines = 10000;

    // Shows the console's lines from Attach() on (after start-up: what start-up scripts print goes
    // where it goes in every front end, nowhere).
    explicit ConsoleWindowModel(App& app);
    void Attach();
    ~ConsoleWindowModel() override;
    ConsoleWindowModel(const ConsoleWindowModel&) = delete;
    ConsoleWindowModel& operator=(const ConsoleWindowModel&) = delete;

    // ConsoleSink: the App's console shows its lines here while nobody holds it.
    std::string Name() const override { return std::string(kCaption); }
    void AppendLine(std::string_view text) override;
    void Clear() override;
    // Text a script wrote (WriteLn, PrintLn): whole lines are shown as they end.
    void AppendPrinted(std::string_view text);

    // The input line: "> " and the line are shown, then the line runs as a console line; its errors
    // and everything it prints come here (unless a console plug-in holds the console). An empty
    // line runs nothing. False when the line reported errors.
    bool Run(const std::string& line);
    // The lines run before, oldest first, for the input's Up and Down keys.
    const std::vector<std::string>& history() const { return m_history; }

    const std::deque<std::string>& lines() const { return m_lines; }
    bool visible() const { return m_visible; }
    void SetVisible(bool on);

    // A line was added; the whole text was cleared; the window was shown or hidden.
    Signal<const std::string&> appended;
    Signal<> cleared;
    Signal<bool> visibilityChanged;

private:
    void Add(std::string line);

    App& m_app;
    std::deque<std::string> m_lines;
    std::vector<std::string> m_history;
    std::string m_partial; // printed text after its last line break
    bool m_visible = false;
};

} // namespace zev
