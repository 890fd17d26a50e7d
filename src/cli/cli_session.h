#pragma once

// What the commands that need more than the reader share: the workbench started as the program
// starts; standard output holding the console; script messages, boxes and errors on standard
// error; the dialogue of --dialogue loaded before the command and --save written after it.

#include <iosfwd>
#include <string>
#include <string_view>

#include "app/console.h"
#include "app/core_windows.h"
#include "app/scripted_dialogs.h"

namespace zev {

struct CliContext;
struct CliCommandArgs;
class Workbench;

// Console lines go to standard output, one per line, with LF line ends.
class StdoutSink final : public ConsoleSink {
public:
    explicit StdoutSink(std::ostream& out)
        : m_out(out)
    {
    }
    std::string Name() const override { return "stdout"; }
    void AppendLine(std::string_view text) override;
    void Clear() override { }

private:
    std::ostream& m_out;
};

// The general error display of the command-line tool: the error on standard error; the command
// then exits with 1. The list picker is answered like the boxes, from --answer.
class CliWindows final : public CoreWindows {
public:
    CliWindows(std::ostream& err, ScriptedDialogs& dialogs, std::string command)
        : m_err(err)
        , m_dialogs(dialogs)
        , m_command(std::move(command))
    {
    }
    bool Has(CoreWindow w) const override { return w == CoreWindow::ListPicker; }
    std::optional<int> SelectItem(
        const std::string& caption, const std::string& label, const std::vector<std::string>& items) override
    {
        return m_dialogs.ChooseItem(caption, label, items);
    }
    bool ShowErrorReport(const ExceptionReport& report) override;
    bool errorReported() const { return m_reported; }

private:
    std::ostream& m_err;
    ScriptedDialogs& m_dialogs;
    std::string m_command;
    bool m_reported = false;
};

enum class BoxStyle {
    WithAnswer, // "[kind] text -> answer" (scripts, whose boxes take answers)
    Plain, // "[kind] text"
};

class CliSession {
public:
    // Console lines go to consoleOut (standard output unless the command writes data there).
    CliSession(CliContext& ctx, const CliCommandArgs& args, std::string command, BoxStyle boxes);
    CliSession(
        CliContext& ctx, const CliCommandArgs& args, std::string command, BoxStyle boxes, std::ostream& consoleOut);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    Workbench& bench();
    // The program's start-up; afterwards standard output holds the console.
    void Start();
    // Loads --dialogue (its script section runs with --allow-scripts only); 0 or the exit code.
    int LoadDialogue();
    // Writes --save after the command; 0 or 2.
    int Save();
    // The general error display was used: the command failed.
    bool errorReported() const { return m_windows.errorReported(); }

private:
    CliContext& m_ctx;
    const CliCommandArgs& m_args;
    std::string m_command;
    StdoutSink m_stdout;
    CliWindows m_windows;
    std::size_t m_skippedId = 0;
};

// Text with every CR LF made LF.
std::string WithLf(std::string_view text);
// Text on one line: every CR and LF becomes a blank.
std::string OneLine(std::string_view text);

} // namespace zev
