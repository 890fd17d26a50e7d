#include "script/script_host.h"

#include <filesystem>

#include "app/app.h"
#include "base/paths.h"
#include "model/parser_runtime.h"

namespace zev {

namespace {

// The engine's dialog-box functions shown through the program's boxes.
class DialogsAdapter final : public script::ScriptDialogs {
public:
    explicit DialogsAdapter(Dialogs& d)
        : m_d(d)
    {
    }
    void ShowMessage(std::string_view text) override { m_d.MessageBox(text, MsgIcon::None, MsgButtons::Ok); }
    std::string InputBox(std::string_view caption, std::string_view prompt, std::string_view def) override
    {
        return m_d.InputBox(caption, prompt, def).value_or(std::string(def));
    }
    void ErrorDlg(std::string_view text) override { m_d.MessageBox(text, MsgIcon::Error, MsgButtons::Ok); }
    void InformationDlg(std::string_view text) override { m_d.MessageBox(text, MsgIcon::Information, MsgButtons::Ok); }
    bool QuestionDlg(std::string_view text) override
    {
        return m_d.MessageBox(text, MsgIcon::Confirmation, MsgButtons::YesNo) == MsgResult::Yes;
    }
    bool OkCancelDlg(std::string_view text) override
    {
        return m_d.MessageBox(text, MsgIcon::Confirmation, MsgButtons::OkCancel) == MsgResult::Ok;
    }

private:
    Dialogs& m_d;
};

std::string CurrentFolder()
{
    std::error_code ec;
    return std::filesystem::current_path(ec).string();
}

} // namespace

ScriptHost::ScriptHost(App& app)
    : m_app(app)
    , m_dialogs(std::make_unique<DialogsAdapter>(app.dialogs()))
{
    m_engine.SetDialogs(m_dialogs.get());
}

ScriptHost::~ScriptHost()
{
    m_engine.SetDialogs(nullptr);
}

bool ScriptHost::Report(const script::Program& program)
{
    m_lastMessages = program.MessageTexts();
    if (onMessages && !m_lastMessages.empty())
        onMessages(m_lastMessages);
    for (const script::Message& m : program.Messages())
        if (m.text == "Script stopped")
            return false;
    return true;
}

void ScriptHost::EndRun(bool stopped)
{
    if (!m_engine.running())
        runEnded.Emit(stopped);
}

bool ScriptHost::LoadScript(const std::string& path)
{
    if (!FileExists(path)) {
        m_app.log().Log(path + " not found! at dir: " + CurrentFolder());
        m_app.dialogs().Error("Error executing script " + path + ":\r\n\r\nFile does not exist!");
        m_lastMessages.clear();
        return false;
    }
    m_app.log().Log("ExecuteScript: " + path);
    std::string text, error;
    if (!ReadWholeFile(path, text, error)) {
        m_app.dialogs().Error("Error executing script " + path + ":\r\n\r\n" + error);
        return false;
    }
    std::unique_ptr<script::Program> program = m_engine.Compile(text, path);
    // A program that failed to compile is not asked to run: its messages are the compile errors.
    if (program->Compiled())
        m_engine.Run(*program);
    const bool reported = Report(*program);
    EndRun(!reported);
    if (m_lastMessages.empty())
        return true;
    if (!reported)
        return false; // stopped on purpose: the console says so, no error box
    if (consoleHeld()) {
        WriteConsoleLine("Error executing command. " + std::to_string(m_lastMessages.size()) + " messages returned.");
    } else {
        std::string box = "[ExecuteScript]\r\nScript data has errors:";
        for (const std::string& m : m_lastMessages)
            box += "\r\n" + m;
        m_app.dialogs().Error(box);
    }
    return false;
}

bool ScriptHost::ExecuteScriptConsole(std::string_view line)
{
    std::unique_ptr<script::Program> program = m_engine.Compile(line);
    if (program->Compiled())
        m_engine.Run(*program);
    const bool reported = Report(*program);
    EndRun(!reported);
    if (m_lastMessages.empty())
        return true;
    if (!reported)
        return false;
    std::string text;
    for (const std::string& m : m_lastMessages)
        text += "\r\n" + m;
    if (consoleHeld())
        WriteConsoleLine("Error executing command: " + text);
    else
        m_app.dialogs().Error("[ExecuteScriptConsole]\r\nScript data has errors:" + text + "\r\nSource line was:\r\n"
            + std::string(line));
    return false;
}

void ScriptHost::WriteConsoleLine(std::string_view text)
{
    m_app.console().WriteLine(text);
}

void ScriptHost::Cls()
{
    m_app.console().Clear();
}

void ScriptHost::SetOutputControl(ConsoleSink* control)
{
    m_app.console().Lend(control);
}

void ScriptHost::UnsetOutputControl()
{
    m_app.console().Return();
}

bool ScriptHost::consoleHeld() const
{
    return m_app.console().held();
}

bool ScriptHost::AddHelperScript(
    const std::string& fileName, const std::string& description, const std::string& category)
{
    if (!FileExists(fileName)) {
        std::string warning = "Warning: Supplied helper script \"" + fileName + "\" does not exist.";
        WriteConsoleLine(warning);
        m_app.log().Log(warning);
    }
    if (!m_helpers.Add(fileName, description, category)) {
        std::string full = "Cannot add helper script \"" + description + "\": the table holds "
            + std::to_string(kMaxHelperScripts) + " entries.";
        WriteConsoleLine(full);
        m_app.log().Log(full);
        return false;
    }
    return true;
}

void ScriptHost::ScriptClick(int tag)
{
    if (const templatescript* s = m_helpers.At(tag))
        LoadScript(s->FileName);
}

void ScriptHost::TE_ScriptClick(int tag)
{
    const auto& commands = m_helpers.timeEventCommands();
    if (tag >= 0 && tag < static_cast<int>(commands.size()))
        LoadScript(commands[static_cast<std::size_t>(tag)].Script);
}

void InstallScriptHost(App& app, ScriptHost& host)
{
    app.SetScriptLines(&host);
}

} // namespace zev
