#include "app/app.h"

#include "app/paths.h"
#include "model/dialog_ops.h"

namespace zev {

App::App(Dialogs& dialogs, std::string programFolder)
    : m_dialogs(dialogs), m_programFolder(std::move(programFolder)), m_dialog(std::make_unique<dialog>()),
      m_title(TitleFor(kUntitled))
{
}

App::~App() { Clear(*m_dialog); }

std::string App::ProgramPath(std::string_view relative) const { return JoinPath(m_programFolder, relative); }

void App::SetModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    modifiedChanged.Emit(modified);
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

void App::DialogueChanged()
{
    SetModified(true);
    SetTitle(TitleFor(m_currentFileName + "*"));
}

} // namespace zev
