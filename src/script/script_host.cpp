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

void ScriptHost::Report(const script::Program& program)
{
    m_lastMessages = program.MessageTexts();
    if (onMessages && !m_lastMessages.empty())
        onMessages(m_lastMessages);
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
    Report(*program);
    if (m_lastMessages.empty())
        return true;
    if (m_output) {
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
    Report(*program);
    if (m_lastMessages.empty())
        return true;
    std::string text;
    for (const std::string& m : m_lastMessages)
        text += "\r\n" + m;
    if (m_output)
        WriteConsoleLine("Error executing command: " + text);
    else
        m_app.dialogs().Error("[ExecuteScriptConsole]\r\nScript data has errors:" + text + "\r\nSource line was:\r\n"
            + std::string(line));
    return false;
}

void ScriptHost::WriteConsoleLine(std::string_view text)
{
    if (!m_output)
        return;
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
    m_output->AppendLine(line);
}

void ScriptHost::Cls()
{
    if (m_output)
        m_output->Clear();
}

void ScriptHost::SetOutputControl(OutputControl* control)
{
    m_output = control;
    m_app.log().Log("Getting output control, name == " + (control ? control->Name() : std::string()));
}

void ScriptHost::UnsetOutputControl()
{
    m_app.log().Log("Releasing output control.");
    m_output = nullptr;
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
    AppHooks& h = app.hooks();
    h.writeConsoleLine = [&host](std::string_view text) { host.WriteConsoleLine(text); };
    h.executeScriptConsole = [&host](std::string_view line) { host.ExecuteScriptConsole(line); };
    h.runExecScript = [&host](const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            host.ExecuteScriptConsole(line);
    };
}

} // namespace zev
