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

#include "app/console.h"
#include "app/dialogs.h"
#include "app/plugin_bus.h"
#include "base/signal.h"
#include "plugins/plugin_library.h"
#include "zevdlg/plugin.h"

namespace zev {

class App;
class MainMenuModel;
class PluginHost;

// The control a console plug-in lends: the App's console appends to it while it is held.
class PluginConsoleSink final : public ConsoleSink {
public:
    explicit PluginConsoleSink(PluginHost& host)
        : m_host(host)
    {
    }
    std::string Name() const override;
    void AppendLine(std::string_view text) override;
    void Clear() override;

private:
    PluginHost& m_host;
};

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

class PluginHost final : public PluginBus {
public:
    explicit PluginHost(App& app);
    ~PluginHost() override;
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    App& app() { return m_app; }
    // Optional: the menus whose Plugins, Import and Export entries show once they receive an entry.
    void SetMainMenu(MainMenuModel* menu) { m_menu = menu; }
    // Serviced before each file of a scan, so a window stays responsive.
    std::function<void()> serviceEvents;

    // Makes this host the one the exported functions reach and the App's plug-in bus, and forwards
    // the log to running plug-ins. Undone by the destructor.
    void Install();

    // ---- Scans.
    // The five categories in order, in the plugins/ folders (shipped, then the user's when installed).
    void ScanAll();
    void ScanPlugins(const PluginCategory& category);
    // One library as a scan treats it; the new entry's index, or -1 when it got none.
    int ScanLibrary(const std::string& path, const PluginCategory* category);

    const std::vector<TPluginRec>& plugins() const { return m_plugins; }
    int FindPlugin(std::string_view fileName) const;
    const std::vector<PluginMenuEntry>& MenuEntries(PluginMenu menu) const;
    // The open-dialogue box's filters: the native one, then each plug-in's pair by FilterIndex.
    std::string OpenDialogueFilter() const;

    // ---- Calls: the library is loaded for the call and released afterwards.
    PluginCallResult RunPlugin(std::string_view fileName);
    PluginCallResult PluginConfig(std::string_view fileName);
    PluginCallResult ImportData(std::string_view fileName, std::string_view path);
    // A menu entry's action: RunPlugin of the entry with that table index.
    PluginCallResult PluginExec(int tag);
    // The chosen 1-based filter of the open box (2 and up): logs and runs that plug-in's ImportData.
    PluginCallResult ImportFilter(int filterIndex, const std::string& path);
    // Loaded in the process right now (outside a call: it keeps itself loaded).
    bool IsRunning(int index) const;

    // ---- The App's plug-in bus.
    bool Attached() const override { return true; }
    void BroadcastPluginUpdate() override;
    std::vector<PluginListing> ListPlugins() const override;
    void StartPlugin(const std::string& path) override { RunPlugin(path); }
    std::optional<std::vector<std::string>> PluginExports(const std::string& path) const override;
    // The plug-ins' filters alone, for LoadDialogueCommand (entry i has FilterIndex i + 2).
    std::vector<FileFilter> ImportFilters() const override;
    void ImportWithFilter(int filterIndex, const std::string& path) override { ImportFilter(filterIndex, path); }
    // Asks running plug-ins to close; false (after the warning) when one cannot.
    bool CanClose() override;

    void ForwardLogLine(std::string_view line);

    // At shut-down: the table, menu entries and filters go; a library a plug-in keeps loaded stays
    // loaded, since it may still have work of its own running.
    void FreeRecords();

    void DoExternalRegister(
        const std::string& path, const std::string& name, const std::string& description, const std::string& version);

    // ---- Console output lent by a plug-in: it holds the App's console until it gives it back.
    void SetOutputControl(const zev_output_control* control);
    void UnsetOutputControl();
    bool HasOutputControl() const { return m_output.has_value(); }
    const std::string& outputControlName() const { return m_outputName; }
    void AppendOutputLine(std::string_view line);
    void ClearOutput();

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
    bool m_installed = false;
    std::vector<TPluginRec> m_plugins;
    std::array<std::vector<PluginMenuEntry>, 4> m_menus;
    std::vector<std::string> m_filterPairs;
    std::optional<zev_output_control> m_output;
    std::string m_outputName;
    std::string m_outputFile; // the library the lent control's functions are in
    PluginConsoleSink m_console { *this };
    bool m_forwarding = false;
};

// The host the exported functions reach (the one global), null when none is installed.
PluginHost* ExportTarget();
void SetExportTarget(PluginHost* host);

} // namespace zev
