#pragma once

// The plug-in host: the table of known plug-ins, the start-up scans with their checks, filters and
// menu entries, calling a plug-in's exports, the notifications to running plug-ins and the close
// query. A plug-in counts as running while its library is loaded in the process outside a call.

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/dialogs.h"
#include "base/signal.h"
#include "plugins/plugin_library.h"
#include "zevdlg/plugin.h"

namespace zev {

class App;
class MainMenuModel;
class TestRunner;

// One known plug-in; the file name is the key.
struct TPluginRec {
    std::string FileName;
    std::string InterfaceVersion;
    std::string Name;
    std::string Description;
    bool HasConfig = false;
    int32_t FilterIndex = -1; // 1-based position in the open-dialogue box's filters, -1 for none
    LibraryHandle Handle = nullptr; // from the last load for a call
    std::time_t BuildDate = 0;
    std::time_t CreationDate = 0;
    bool Accepted = false; // passed the version check or the question: may have a menu entry
    bool Crashed = false; // crashed in a call this session: never called again, its library never unloaded
};

enum class PluginMenu { Help, Plugins, Import, Export };

// One kind of plug-in, by file-name prefix, with where its menu entries go.
struct PluginCategory {
    std::string_view prefix;
    PluginMenu menu;
    std::string_view logLine;
    bool insertFirst; // Help: each new entry directly after "Check for updates...", later ones first
    bool clearFirst;
};
// In scan order: Update_, Utility_, DEV_, Export_, Import_.
extern const std::array<PluginCategory, 5> kPluginCategories;

// A menu item of a plug-in; tag is the plug-in's table index, shortcut as the plug-in gave it.
struct PluginMenuEntry {
    std::string caption;
    int tag = -1;
    std::string shortcut;
};

// The minor interface version: the part after the first point as a decimal number.
struct InterfaceVersionCheck {
    bool isNumber = false;
    int minor = 0;
    bool accepted = false;
};
inline constexpr int kMinInterfaceMinor = 25;
inline constexpr std::string_view kProgramInterfaceVersion = "0.25";
InterfaceVersionCheck CheckInterfaceVersion(std::string_view version);

// Disabled: refused, the plug-in crashed earlier in this session.
enum class PluginCallResult { Done, UnknownPlugin, AlreadyRunning, LoadFailed, NoSuchExport, Crashed, Disabled };

class PluginHost {
public:
    explicit PluginHost(App& app);
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    App& app() { return m_app; }
    // Optional: the menus whose Plugins, Import and Export entries show once they receive an entry,
    // and the test run that GetCurrentNode and SetCurrentNode follow.
    void SetMainMenu(MainMenuModel* menu) { m_menu = menu; }
    void SetTestRunner(TestRunner* runner) { m_runner = runner; }
    TestRunner* testRunner() { return m_runner; }
    // Serviced before each file of a scan, so a window stays responsive.
    std::function<void()> serviceEvents;

    // Makes this host the one the exported functions reach, and puts BroadcastPluginUpdate, log
    // forwarding and console output to a lent control into the App. Undone by the destructor.
    void Install();

    // ---- Scans.
    // The five categories in order, in the program folder's plugins/.
    void ScanAll();
    void ScanPlugins(const PluginCategory& category);
    // One library as a scan treats it; the new entry's index, or -1 when it got none.
    int ScanLibrary(const std::string& path, const PluginCategory* category);

    const std::vector<TPluginRec>& plugins() const { return m_plugins; }
    int FindPlugin(std::string_view fileName) const;
    const std::vector<PluginMenuEntry>& MenuEntries(PluginMenu menu) const;
    // The open-dialogue box's filters: the native one, then each plug-in's pair by FilterIndex.
    std::string OpenDialogueFilter() const;
    // The plug-ins' filters alone, for LoadDialogueCommand (entry i has FilterIndex i + 2).
    std::vector<FileFilter> ImportFilters() const;

    // ---- Calls: the library is loaded for the call and released afterwards.
    PluginCallResult RunPlugin(std::string_view fileName);
    PluginCallResult PluginConfig(std::string_view fileName);
    PluginCallResult ImportData(std::string_view fileName, std::string_view path);
    // A menu entry's action: RunPlugin of the entry with that table index.
    PluginCallResult PluginExec(int tag);
    // The chosen 1-based filter of the open box (2 and up): logs and runs that plug-in's ImportData.
    PluginCallResult ImportWithFilter(int filterIndex, const std::string& path);
    // Loaded in the process right now (outside a call: it keeps itself loaded).
    bool IsRunning(int index) const;

    // ---- Running plug-ins.
    void BroadcastPluginUpdate();
    void ForwardLogLine(std::string_view line);
    // Asks running plug-ins to close; false (after the warning) when one cannot.
    bool CanClose();
    // For CloseQuery: the installed host of that App, or true without one.
    static bool CanClosePlugins(App& app);

    // At shut-down: the table, menu entries and filters go; a library a plug-in keeps loaded stays
    // loaded, since it may still have work of its own running.
    void FreeRecords();

    void DoExternalRegister(
        const std::string& path, const std::string& name, const std::string& description, const std::string& version);

    // ---- Console output lent by a plug-in.
    void SetOutputControl(const zev_output_control* control);
    void UnsetOutputControl();
    bool HasOutputControl() const { return m_output.has_value(); }
    void AppendOutputLine(std::string_view line);
    void ClearOutput();

    // ---- Texts of the script functions ListPlugins and DoLink_ShowExports.
    std::string ListPluginsText() const;
    std::string ShowExportsText(const std::string& path) const;
    void ShowExports(const std::string& path);

    // After the table or the menu entries changed.
    Signal<> changed;

private:
    PluginCallResult CallWithText(std::string_view fileName, const char* exportName, std::string_view arg);
    bool Guarded(const TPluginRec& rec, std::string_view exportName, const std::function<void()>& call);
    // ---- After a crash (plugin_crashes.cpp).
    void ReportCrash(const std::string& fileName, const std::string& name, std::string_view exportName, int signal);
    bool CrashedBefore(std::string_view fileName) const;
    void RefuseCrashed(const TPluginRec& rec);
    bool OutputControlIn(const std::string& fileName) const;
    TPluginRec OutputOwner() const;
    void AddMenuEntry(const PluginCategory& category, int index, LibraryHandle lib);
    void ShowMenu(PluginMenu menu);

    App& m_app;
    MainMenuModel* m_menu = nullptr;
    TestRunner* m_runner = nullptr;
    bool m_installed = false;
    std::vector<TPluginRec> m_plugins;
    std::array<std::vector<PluginMenuEntry>, 4> m_menus;
    std::vector<std::string> m_filterPairs;
    std::optional<zev_output_control> m_output;
    std::string m_outputName;
    std::string m_outputFile; // the library the lent control's functions are in
    bool m_forwarding = false;
    std::function<void(std::string_view)> m_previousConsole;
};

// The host the exported functions reach (the one global), null when none is installed.
PluginHost* ExportTarget();
void SetExportTarget(PluginHost* host);

} // namespace zev
