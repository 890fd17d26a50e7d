#include "app/startup.h"

#include <clocale>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

#include "app/app.h"
#include "base/paths.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

void Run(const std::function<void()>& step)
{
    if (step)
        step();
}

std::string OnOff(bool on)
{
    return on ? "ON" : "OFF";
}

} // namespace

void LoadStartupDataFile(App& app)
{
    app.startupData().LoadStartupData(app.ProgramPath("messages.dat"), app.log());
}

std::string ProgramBuildDateText()
{
    struct stat st { };
    if (stat("/proc/self/exe", &st) != 0)
        return {};
    std::tm local {};
    localtime_r(&st.st_mtime, &local);
    char buf[128];
    std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
    return std::string(buf, n);
}

void RunStartupSequence(App& app, const StartupOptions& options)
{
    Logger& log = app.log();
    app.random().SeedFromClock();
    app.SetStartingUp(true);
    log.ResetLog();
    if (!app.startupData().loadProblem().empty())
        log.Log(app.startupData().loadProblem());
    app.player() = PlayerChar {};

    // Debug mode decides about the debug window before anything else is logged.
    app.settings() = LoadSettings(app.config());
    if (app.settings().debugMode) {
        app.debugWindow().SetVisible(true);
        log.SetDebugWindow(&app.debugWindow());
    }
    // Every float the program formats or parses uses ".".
    std::setlocale(LC_NUMERIC, "C");
    log.Log("Starting up ZEV Dialogue tool...");
    for (const std::string& note : app.dirs().notes)
        log.Log(note);
    Run(options.extensions.definitionsAndPresets);
    ReadPlayerCharacter(app.config(), app.player());
    if (options.firstArgument == "/devmode") {
        log.Log("Developer mode enabled.");
        app.SetDevMode(true);
    }
    app.SetBuildDateText(ProgramBuildDateText());
    log.Log("Reading config");
    Run(options.extensions.scriptsAndHelpers);
    const Settings& s = app.settings();
    log.Log("Runtime DLG Editing " + OnOff(s.runtimeDlgEditing));
    log.Log("Default Smart INT is " + std::to_string(s.defaultIntForSmartPlayer));
    log.Log("Default Dumb INT is " + std::to_string(s.defaultIntForDumbPlayer));
    Run(options.extensions.functionDescriptions);
    app.SetCurrentFileName(std::string(kUntitled));
    log.Log("Autoupdate checking " + OnOff(s.checkForUpdates));
    Run(options.extensions.updateWindowAndPlugins);
    Clear(app.dlg());
    app.SetTitle(App::TitleFor(kUntitled));
    log.Log("Init complete.");
    app.SetStartingUp(false);
}

} // namespace zev
