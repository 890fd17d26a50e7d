#include "plugins/plugin_host.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "app/app.h"
#include "app/dialogue_files.h"
#include "app/main_menu.h"
#include "app/settings.h"
#include "plugins/crash_guard.h"
#include "plugins/elf_exports.h"

namespace zev {

const std::array<PluginCategory, 5> kPluginCategories { {
    { ZEV_PLUGIN_PREFIX_UPDATE, PluginMenu::Help, "Loading update plugins...", true, false },
    { ZEV_PLUGIN_PREFIX_UTILITY, PluginMenu::Plugins, "Loading generic plugins...", false, true },
    { ZEV_PLUGIN_PREFIX_DEV, PluginMenu::Plugins, "Loading development tool plugins...", false, false },
    { ZEV_PLUGIN_PREFIX_EXPORT, PluginMenu::Export, "Loading export plugins...", false, true },
    { ZEV_PLUGIN_PREFIX_IMPORT, PluginMenu::Import, "Loading import plugins...", false, true },
} };

InterfaceVersionCheck CheckInterfaceVersion(std::string_view version)
{
    InterfaceVersionCheck c;
    const auto dot = version.find('.');
    std::string_view minor = dot == std::string_view::npos ? version : version.substr(dot + 1);
    if (!minor.empty() && minor.front() == '+')
        minor.remove_prefix(1);
    int value = 0;
    auto [end, ec] = std::from_chars(minor.data(), minor.data() + minor.size(), value);
    if (minor.empty() || ec != std::errc() || end != minor.data() + minor.size())
        return c;
    c.isNumber = true;
    c.minor = value;
    c.accepted = value >= kMinInterfaceMinor;
    return c;
}

namespace {

template <class Fn> Fn Export(LibraryHandle lib, const char* name)
{
    return reinterpret_cast<Fn>(LibrarySymbol(lib, name));
}

std::string CallText(void (*fn)(unsigned char*))
{
    ShortString buf {};
    CallPlugin(fn, buf.data());
    return FromShortString(buf.data());
}

std::string FillIn(std::string text, std::string_view value)
{
    auto at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, value);
    return text;
}

// The listing of one category: its libraries in name order.
std::vector<std::string> ListLibraries(const std::string& folder, std::string_view prefix)
{
    std::vector<std::string> out;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > prefix.size() + 3 && name.starts_with(prefix) && name.ends_with(".so"))
            out.push_back(it->path().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

PluginHost::PluginHost(App& app)
    : m_app(app)
{
}

PluginHost::~PluginHost()
{
    if (ExportTarget() == this)
        SetExportTarget(nullptr);
    if (m_app.console().lent() == &m_console)
        m_app.console().Return();
    if (m_installed) {
        m_app.SetPluginBus(nullptr);
        m_app.log().SetIntercept(nullptr);
    }
}

void PluginHost::FreeRecords()
{
    m_plugins.clear();
    for (auto& entries : m_menus)
        entries.clear();
    m_filterPairs.clear();
}

void PluginHost::Install()
{
    SetExportTarget(this);
    if (m_installed)
        return;
    m_installed = true;
    m_app.SetPluginBus(this);
    m_app.log().SetIntercept([this](std::string_view line) { ForwardLogLine(line); });
}

void PluginHost::ScanAll()
{
    for (const PluginCategory& c : kPluginCategories)
        ScanPlugins(c);
}

void PluginHost::ScanPlugins(const PluginCategory& category)
{
    if (category.clearFirst) {
        m_menus[static_cast<int>(category.menu)].clear();
        changed.Emit();
    }
    if (!category.logLine.empty())
        m_app.log().Log(category.logLine);
    for (const std::string& folder : m_app.dirs().PluginFolders()) {
        for (const std::string& path : ListLibraries(folder, category.prefix)) {
            if (serviceEvents)
                serviceEvents();
            ScanLibrary(path, &category);
        }
    }
}

int PluginHost::ScanLibrary(const std::string& path, const PluginCategory* category)
{
    Dialogs& boxes = m_app.dialogs();
    Logger& log = m_app.log();
    if (CrashedBefore(path)) {
        log.Log("Plugin " + path + " is not scanned: it crashed earlier in this session.");
        return -1;
    }
    LibraryHandle lib = LoadLibraryFile(path);
    if (!lib)
        return -1;
    auto release = [&] {
        if (!ReleaseLibrary(lib))
            boxes.Error("Fail to release plugin DLL handle!");
    };
    auto getName = Export<zev_GetPluginName_fn>(lib, "GetPluginName");
    auto getDescription = Export<zev_GetPluginDescription_fn>(lib, "GetPluginDescription");
    if (!getName)
        boxes.MessageBox("GetPluginName not found!", MsgIcon::None, MsgButtons::Ok);
    if (!getDescription)
        boxes.MessageBox("GetPluginDescription not found!", MsgIcon::None, MsgButtons::Ok);
    if (!getName || !getDescription) {
        boxes.MessageBox("Did not find needed procedures!", MsgIcon::None, MsgButtons::Ok);
        release();
        log.Log("DLL Handle released.");
        return -1;
    }

    const FileTimes times = ReadFileTimes(path);
    TPluginRec fresh;
    fresh.FileName = path;
    fresh.BuildDate = times.lastWrite;
    fresh.CreationDate = times.creation;
    m_plugins.push_back(std::move(fresh));
    const int index = static_cast<int>(m_plugins.size()) - 1;
    auto rec = [this, index]() -> TPluginRec& { return m_plugins[static_cast<std::size_t>(index)]; };

    bool ok = Guarded(rec(), "GetPluginName", [&] { rec().Name = CallText(getName); });
    rec().HasConfig = LibrarySymbol(lib, "PluginConfig") != nullptr;
    ok = ok && Guarded(rec(), "GetPluginDescription", [&] { rec().Description = CallText(getDescription); });

    bool accepted = false;
    if (auto getVersion = Export<zev_GetInterfaceVersion_fn>(lib, "GetInterfaceVersion")) {
        ok = ok && Guarded(rec(), "GetInterfaceVersion", [&] { rec().InterfaceVersion = CallText(getVersion); });
        if (ok) {
            if (rec().InterfaceVersion.empty())
                rec().InterfaceVersion = kProgramInterfaceVersion;
            const InterfaceVersionCheck check = CheckInterfaceVersion(rec().InterfaceVersion);
            if (!check.isNumber) {
                boxes.Warning(FillIn("Plugin \"%s\" returned a blank string for version, plugin rejected.", path));
            } else if (!check.accepted) {
                log.Log(
                    path + " has incompatible interface version (" + rec().InterfaceVersion + "), plugin not loaded.");
                std::string text = "The plugin '" + path
                    + "' is not compatible with this\r\nversion of the dialogue tool. \r\n"
                      "The plugin has not been loaded.\r\n\r\nExpected minimum interface version is 0."
                    + std::to_string(kMinInterfaceMinor) + "\r\nInterface version returned by the plugin was "
                    + rec().InterfaceVersion
                    + "\r\n\r\nThe plugin should be recompiled with the\r\nmost current plugin API version.";
                boxes.Warning(text);
            } else {
                accepted = true;
            }
        }
    } else if (ok) {
        log.Log(path + " contains no interface version. Plugin is probably unsafe!");
        if (PluginCompatibilityWarnings(m_app.config())) {
            std::string question = path
                + " contains no interface version. Plugin is probably unsafe.\r\n"
                  "Do you wish to allow loading of this plugin?";
            accepted = boxes.MessageBox(question, MsgIcon::Warning, MsgButtons::YesNo) == MsgResult::Yes;
        } else {
            accepted = true;
        }
    }
    rec().Accepted = accepted;

    // A rejected plug-in gets no filter either: choosing it would run the library the check refused.
    if (auto getFilter = Export<zev_GetFilter_fn>(lib, "GetFilter"); getFilter && accepted) {
        std::string pair;
        if (Guarded(rec(), "GetFilter", [&] { pair = CallText(getFilter); })) {
            m_filterPairs.push_back(pair);
            rec().FilterIndex = static_cast<int32_t>(m_filterPairs.size()) + 1;
        }
    }
    if (category && accepted && !rec().Crashed)
        AddMenuEntry(*category, index, lib);
    if (rec().Crashed) {
        // Out of the menus and the open box: nothing may lead to it again.
        rec().Accepted = false;
        if (rec().FilterIndex == static_cast<int32_t>(m_filterPairs.size()) + 1) {
            m_filterPairs.pop_back();
            rec().FilterIndex = -1;
        }
    }
    log.Log(" --> " + rec().Name);
    release();
    changed.Emit();
    return index;
}

void PluginHost::AddMenuEntry(const PluginCategory& category, int index, LibraryHandle lib)
{
    // By index: a call may register another plug-in and move the table.
    auto rec = [this, index]() -> TPluginRec& { return m_plugins[static_cast<std::size_t>(index)]; };
    auto canAdd = Export<zev_CanAddToMenu_fn>(lib, "CanAddToMenu");
    bool add = false;
    if (!canAdd || !Guarded(rec(), "CanAddToMenu", [&] { add = CallPlugin(canAdd) != 0; }) || !add)
        return;
    PluginMenuEntry entry { rec().Name, index, {} };
    if (auto shortcut = Export<zev_GetKeyShortCut_fn>(lib, "GetKeyShortCut"))
        if (!Guarded(rec(), "GetKeyShortCut", [&] { entry.shortcut = CallText(shortcut); }) && rec().Crashed)
            return;
    auto& items = m_menus[static_cast<int>(category.menu)];
    if (category.insertFirst)
        items.insert(items.begin(), std::move(entry));
    else
        items.push_back(std::move(entry));
    ShowMenu(category.menu);
}

void PluginHost::ShowMenu(PluginMenu menu)
{
    if (!m_menu)
        return;
    switch (menu) {
    case PluginMenu::Plugins:
        m_menu->SetToolPluginsLoaded(true);
        break;
    case PluginMenu::Import:
        m_menu->SetImportPluginsLoaded(true);
        break;
    case PluginMenu::Export:
        m_menu->SetExportPluginsLoaded(true);
        break;
    case PluginMenu::Help:
        break; // always shown
    }
}

int PluginHost::FindPlugin(std::string_view fileName) const
{
    for (std::size_t i = 0; i < m_plugins.size(); ++i)
        if (m_plugins[i].FileName == fileName)
            return static_cast<int>(i);
    return -1;
}

const std::vector<PluginMenuEntry>& PluginHost::MenuEntries(PluginMenu menu) const
{
    return m_menus[static_cast<int>(menu)];
}

std::string PluginHost::OpenDialogueFilter() const
{
    std::string filter(kZevFilter);
    for (const std::string& pair : m_filterPairs)
        filter += "|" + pair;
    return filter;
}

std::vector<PluginListing> PluginHost::ListPlugins() const
{
    std::vector<PluginListing> out;
    for (std::size_t i = 0; i < m_plugins.size(); ++i) {
        const TPluginRec& rec = m_plugins[i];
        PluginListing l;
        l.path = rec.FileName;
        l.name = rec.Name;
        l.version = rec.InterfaceVersion;
        l.buildDate = DateTimeText(rec.BuildDate);
        l.creationDate = DateTimeText(rec.CreationDate);
        l.description = rec.Description;
        l.loaded = IsRunning(static_cast<int>(i));
        l.crashed = rec.Crashed;
        out.push_back(std::move(l));
    }
    return out;
}

std::optional<std::vector<std::string>> PluginHost::PluginExports(const std::string& path) const
{
    ElfExports e = ReadElfExportsFile(path);
    if (!e.ok)
        return std::nullopt;
    return e.names;
}

std::vector<FileFilter> PluginHost::ImportFilters() const
{
    std::vector<FileFilter> out;
    for (const std::string& pair : m_filterPairs) {
        auto parsed = ParseFileFilters(pair);
        // A pair without its bar still takes its place, or the later indices would shift.
        out.push_back(parsed.empty() ? FileFilter { pair, {} } : parsed.front());
    }
    return out;
}

} // namespace zev
