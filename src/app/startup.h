#pragma once

#include <functional>
#include <string>

namespace zev {

class App;

// The later subsystems' steps of start-up, run at their places in the order.
struct StartupExtensions {
    std::function<void()> definitionsAndPresets; // definition scanner, def_list.dws, code presets, completion
    std::function<void()> scriptsAndHelpers; // host unit, helpermain.dws, "Helper Scripts" menu
    std::function<void()> functionDescriptions; // func_desc.ini
    std::function<void()> updateWindowAndPlugins; // "Update progress" window, the five plug-in scans
};

struct StartupOptions {
    std::string firstArgument; // "/devmode", a dialogue file, or empty
    StartupExtensions extensions;
};

// Reads "messages.dat" of the program folder, before any window exists. A damaged file is kept as
// far as it could be read; its problem is logged again once the log has been reset.
void LoadStartupDataFile(App& app);

// The main window's creation sequence: log reset, configuration, player character, settings and
// their log lines, in the program's order, ending with "Init complete." and the starting-up flag
// cleared. The log file's path must be set before.
void RunStartupSequence(App& app, const StartupOptions& options);

// The program file's modification time as local date-time text.
std::string ProgramBuildDateText();

} // namespace zev
