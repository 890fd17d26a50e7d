#include "app/app.h"

#include "app/exception_report.h"
#include "base/paths.h"
#include "model/dialog_ops.h"
#include "model/zev_parser.h"

namespace zev {

static_assert(ProgramDirs::kConfigFile == kConfigFileName);

App::App(Dialogs& dialogs, std::string programFolder)
    : App(dialogs, PortableProgramDirs(std::move(programFolder)))
{
}

App::App(Dialogs& dialogs, ProgramDirs dirs)
    : m_dialogs(dialogs)
    , m_dirs(std::move(dirs))
    , m_dialog(std::make_unique<dialog>())
    , m_config(m_dirs.ConfigFile())
    , m_conditions(m_dirs.DataPath("conditions.ini"))
    , m_reader(std::make_unique<TZEV>())
    , m_title(TitleFor(kUntitled))
{
    m_reader->SetTarget(m_dialog.get());
    // Nobody reads the listing of a load; its size grows with errors times columns.
    m_reader->GenListWhen = glNever;
    m_reader->SetConditionScriptBuilder([this](const condition& c) { return BuildConditionScript(c); });
}

App::~App()
{
    Clear(*m_dialog);
}

std::string App::ProgramPath(std::string_view relative) const
{
    return m_dirs.DataPath(relative);
}

std::string App::BuildConditionScript(const condition& c)
{
    return zev::BuildConditionScript(c,
        [this](std::string_view section, std::string_view key) { return m_conditions.ReadString(section, key, ""); });
}

void App::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    modifiedChanged.Emit(modified);
}

void App::SetSaveEnabled(bool on)
{
    if (m_saveEnabled == on)
        return;
    m_saveEnabled = on;
    saveEnabledChanged.Emit(on);
}

std::string App::TitleFor(std::string_view name)
{
    std::string t(kAppTitle);
    t += " - [";
    t += name;
    t += "]";
    return t;
}

void App::SetTitle(std::string title)
{
    m_title = std::move(title);
    titleChanged.Emit(m_title);
}

void App::SetStatusText(std::string text)
{
    m_statusText = std::move(text);
    statusChanged.Emit(m_statusText);
}

void App::DialogueChanged()
{
    SetModified(true);
    SetTitle(TitleFor(m_currentFileName + "*"));
    SetSaveEnabled(true);
}

void App::RefreshEditorLists()
{
    completionRefreshing.Emit();
    SetStatusText("Dialogue " + m_currentFileName + ", " + std::to_string(m_dialog->node_count) + " nodes");
    editorListsRefreshed.Emit();
}

void App::ReportError(std::string_view kind, std::string_view text)
{
    if (!windows().ShowErrorReport(MakeExceptionReport(*this, kind, text)))
        m_dialogs.Error(text);
}

} // namespace zev
