#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "app/debug_window_model.h"
#include "app/dialogs.h"
#include "app/log.h"
#include "app/random.h"
#include "app/signal.h"
#include "model/records.h"

namespace zev {

inline constexpr std::string_view kAppTitle = "ZEV Dialogue Tool";
inline constexpr std::string_view kUntitled = "untitled";

// The process-wide context: the dialogue, the log, the boxes, the shell state. One instance,
// passed by reference to every subsystem.
class App {
public:
    App(Dialogs& dialogs, std::string programFolder);
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    Dialogs& dialogs() { return m_dialogs; }
    Logger& log() { return m_log; }
    DebugWindowModel& debugWindow() { return m_debugWindow; }
    Random& random() { return m_random; }
    dialog& dlg() { return *m_dialog; }
    const dialog& dlg() const { return *m_dialog; }

    const std::string& programFolder() const { return m_programFolder; }
    // A program-relative path such as "\def\def_list.dws" inside the program folder.
    std::string ProgramPath(std::string_view relative) const;

    // Shell state.
    bool modified() const { return m_modified; }
    void SetModified(bool modified);
    const std::string& currentFileName() const { return m_currentFileName; }
    void SetCurrentFileName(std::string name) { m_currentFileName = std::move(name); }
    bool startingUp() const { return m_startingUp; }
    void SetStartingUp(bool on) { m_startingUp = on; }
    bool devMode() const { return m_devMode; }
    void SetDevMode(bool on) { m_devMode = on; }
    const std::string& buildDateText() const { return m_buildDateText; }
    void SetBuildDateText(std::string text) { m_buildDateText = std::move(text); }

    // The main window's title.
    const std::string& title() const { return m_title; }
    void SetTitle(std::string title);
    // "ZEV Dialogue Tool - [" + name + "]"
    static std::string TitleFor(std::string_view name);

    // After any change to the dialogue: modified, "*" in the title, "Save dialogue" enabled.
    void DialogueChanged();

    Signal<const std::string&> titleChanged;
    Signal<bool> modifiedChanged;

private:
    Dialogs& m_dialogs;
    std::string m_programFolder;
    Logger m_log;
    DebugWindowModel m_debugWindow;
    Random m_random;
    std::unique_ptr<dialog> m_dialog;

    bool m_modified = false;
    bool m_startingUp = false;
    bool m_devMode = false;
    std::string m_currentFileName{kUntitled};
    std::string m_buildDateText;
    std::string m_title;
};

} // namespace zev
