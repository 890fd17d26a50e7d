// Calling plug-ins, and what the host sends to the ones that are running.

#include <exception>

#include "app/app.h"
#include "plugins/crash_guard.h"
#include "plugins/plugin_host.h"

namespace zev {

namespace {

// A reference of our own to a running plug-in for the length of one call, so the plug-in may drop
// its self-reference inside the call without pulling the code from under its own feet.
class LoadedReference {
public:
    explicit LoadedReference(const std::string& path)
        : m_handle(ReferenceLoadedLibrary(path))
    {
    }
    ~LoadedReference() { ReleaseLibrary(m_handle); }
    LoadedReference(const LoadedReference&) = delete;
    LoadedReference& operator=(const LoadedReference&) = delete;
    LibraryHandle get() const { return m_handle; }

private:
    LibraryHandle m_handle;
};

} // namespace

bool PluginHost::Guarded(const TPluginRec& rec, std::string_view exportName, const std::function<void()>& call)
{
    // Copied first: the call may append to the table and move the entry.
    const std::string fileName = rec.FileName;
    const std::string name = rec.Name.empty() ? rec.FileName : rec.Name;
    std::string what;
    try {
        call();
        return true;
    } catch (const PluginCrash& crash) {
        ReportCrash(fileName, name, exportName, crash.signal());
        return false;
    } catch (const std::exception& e) {
        what = e.what();
    } catch (...) {
        what = "unknown exception";
    }
    m_app.log().Log("Plugin " + fileName + " raised in " + std::string(exportName) + ": " + what);
    if (exportName == "PluginUpdate")
        m_app.dialogs().Error("The plugin \"" + name + "\" (" + fileName + ") crashed when trying to update.");
    else
        m_app.dialogs().Error(
            "The plugin \"" + name + "\" (" + fileName + ") crashed in " + std::string(exportName) + ":\r\n" + what);
    return false;
}

PluginCallResult PluginHost::CallWithText(std::string_view fileName, const char* exportName, std::string_view arg)
{
    const int index = FindPlugin(fileName);
    if (index < 0)
        return PluginCallResult::UnknownPlugin;
    const std::string path = m_plugins[static_cast<std::size_t>(index)].FileName;
    if (CrashedBefore(path)) {
        RefuseCrashed(m_plugins[static_cast<std::size_t>(index)]);
        return PluginCallResult::Disabled;
    }
    if (IsLibraryLoaded(path)) {
        m_app.log().Log("WARNING: Plugin already running!");
        return PluginCallResult::AlreadyRunning;
    }
    LibraryHandle lib = LoadLibraryFile(path);
    m_plugins[static_cast<std::size_t>(index)].Handle = lib;
    if (!lib) {
        m_app.dialogs().MessageBox("FAILED TO GET HANDLE for " + path, MsgIcon::None, MsgButtons::Ok);
        return PluginCallResult::LoadFailed;
    }
    auto fn = reinterpret_cast<zev_RunPlugin_fn>(LibrarySymbol(lib, exportName));
    PluginCallResult result = PluginCallResult::NoSuchExport;
    if (fn) {
        const ShortString text = ToShortString(arg);
        // The table may grow during the call (DoExternalRegister): copy the entry for the report.
        const TPluginRec rec = m_plugins[static_cast<std::size_t>(index)];
        result = Guarded(rec, exportName, [&] { CallPlugin(fn, text.data()); }) ? PluginCallResult::Done
                                                                                : PluginCallResult::Crashed;
    }
    // Released in either case: a missing export leaves nothing to keep the library for.
    if (!ReleaseLibrary(lib))
        m_app.log().Log("Failed freeing library!");
    m_plugins[static_cast<std::size_t>(index)].Handle = nullptr;
    return result;
}

PluginCallResult PluginHost::RunPlugin(std::string_view fileName)
{
    return CallWithText(fileName, "RunPlugin", m_app.programFolder());
}

PluginCallResult PluginHost::PluginConfig(std::string_view fileName)
{
    return CallWithText(fileName, "PluginConfig", m_app.programFolder());
}

PluginCallResult PluginHost::ImportData(std::string_view fileName, std::string_view path)
{
    return CallWithText(fileName, "ImportData", path);
}

PluginCallResult PluginHost::PluginExec(int tag)
{
    if (tag < 0 || tag >= static_cast<int>(m_plugins.size()))
        return PluginCallResult::UnknownPlugin;
    return RunPlugin(m_plugins[static_cast<std::size_t>(tag)].FileName);
}

PluginCallResult PluginHost::ImportFilter(int filterIndex, const std::string& path)
{
    for (std::size_t i = 0; i < m_plugins.size(); ++i) {
        if (m_plugins[i].FilterIndex != filterIndex)
            continue;
        const std::string fileName = m_plugins[i].FileName;
        m_app.log().Log("plugin: " + std::to_string(i) + ": " + fileName);
        return ImportData(fileName, path);
    }
    return PluginCallResult::UnknownPlugin;
}

bool PluginHost::IsRunning(int index) const
{
    return index >= 0 && index < static_cast<int>(m_plugins.size())
        && IsLibraryLoaded(m_plugins[static_cast<std::size_t>(index)].FileName);
}

void PluginHost::BroadcastPluginUpdate()
{
    for (std::size_t i = 0; i < m_plugins.size(); ++i) {
        const TPluginRec rec = m_plugins[i];
        if (rec.Crashed)
            continue;
        LoadedReference lib(rec.FileName);
        if (!lib.get())
            continue;
        if (auto fn = reinterpret_cast<zev_PluginUpdate_fn>(LibrarySymbol(lib.get(), "PluginUpdate")))
            Guarded(rec, "PluginUpdate", [&] { CallPlugin(fn); });
    }
}

void PluginHost::ForwardLogLine(std::string_view line)
{
    // A plug-in that logs from its DebugIntercept would otherwise be handed its own lines forever.
    if (m_forwarding)
        return;
    m_forwarding = true;
    const std::string text(line);
    for (std::size_t i = 0; i < m_plugins.size(); ++i) {
        const TPluginRec rec = m_plugins[i];
        if (rec.Crashed)
            continue;
        LoadedReference lib(rec.FileName);
        if (!lib.get())
            continue;
        if (auto fn = reinterpret_cast<zev_DebugIntercept_fn>(LibrarySymbol(lib.get(), "DebugIntercept")))
            Guarded(rec, "DebugIntercept", [&] { CallPlugin(fn, text.c_str()); });
    }
    m_forwarding = false;
}

bool PluginHost::CanClose()
{
    // Every running plug-in is checked before any is closed: a refused quit must not leave some of
    // them closed behind the user's back.
    std::string cannot;
    std::vector<std::size_t> closable;
    for (std::size_t i = 0; i < m_plugins.size(); ++i) {
        // A crashed plug-in is not asked: it may be loaded still, but nothing of it is called again.
        if (m_plugins[i].Crashed)
            continue;
        LoadedReference lib(m_plugins[i].FileName);
        if (!lib.get())
            continue;
        if (LibrarySymbol(lib.get(), "PluginClose"))
            closable.push_back(i);
        else
            cannot += m_plugins[i].Name + " [" + m_plugins[i].FileName + "]\r\n";
    }
    if (!cannot.empty()) {
        m_app.dialogs().Warning("The following plugins can not close by themselves: (PluginClose missing)\r\n" + cannot
            + "\r\nClose them before quitting.");
        return false;
    }
    for (std::size_t i : closable) {
        const TPluginRec rec = m_plugins[i];
        if (rec.Crashed) // in the close call of another one
            continue;
        LoadedReference lib(rec.FileName);
        auto fn = reinterpret_cast<zev_PluginClose_fn>(LibrarySymbol(lib.get(), "PluginClose"));
        if (!fn)
            continue;
        m_app.log().Log("Closing plugin " + rec.FileName);
        Guarded(rec, "PluginClose", [&] { CallPlugin(fn); });
    }
    return true;
}

void PluginHost::DoExternalRegister(
    const std::string& path, const std::string& name, const std::string& description, const std::string& version)
{
    Logger& log = m_app.log();
    log.Log("Received external reg!");
    log.Log("Starting external register process received from " + path);
    const FileTimes times = ReadFileTimes(path);
    TPluginRec rec;
    rec.FileName = path;
    rec.InterfaceVersion = version;
    rec.Name = name;
    rec.Description = description;
    rec.BuildDate = times.lastWrite;
    rec.CreationDate = times.creation;
    m_plugins.push_back(std::move(rec));
    log.Log("Registered " + path + " as a non-visible plugin.");
    m_app.dialogs().MessageBox("Plugin \"" + path + "\" (" + name + ") registered.", MsgIcon::None, MsgButtons::Ok);
    changed.Emit();
}

void PluginHost::SetOutputControl(const zev_output_control* control)
{
    m_outputName = control && control->name ? control->name : "";
    if (control) {
        m_output = *control;
        m_outputFile = LibraryFileOf(control->append_line ? reinterpret_cast<const void*>(control->append_line)
                                                          : reinterpret_cast<const void*>(control->clear));
    } else {
        m_output.reset();
    }
    m_app.console().Lend(control ? &m_console : nullptr);
}

void PluginHost::UnsetOutputControl()
{
    m_output.reset();
    if (m_app.console().lent() == &m_console)
        m_app.console().Return();
    else
        m_app.log().Log("Releasing output control.");
}

std::string PluginConsoleSink::Name() const
{
    return m_host.outputControlName();
}

void PluginConsoleSink::AppendLine(std::string_view text)
{
    m_host.AppendOutputLine(text);
}

void PluginConsoleSink::Clear()
{
    m_host.ClearOutput();
}

// The control's functions are the lending plug-in's code: called under the guard like its exports.
void PluginHost::AppendOutputLine(std::string_view line)
{
    if (!m_output || !m_output->append_line)
        return;
    const zev_output_control control = *m_output;
    const std::string text(line);
    Guarded(OutputOwner(), "append_line", [&] { CallPlugin(control.append_line, control.context, text.c_str()); });
}

void PluginHost::ClearOutput()
{
    if (!m_output || !m_output->clear)
        return;
    const zev_output_control control = *m_output;
    Guarded(OutputOwner(), "clear", [&] { CallPlugin(control.clear, control.context); });
}

} // namespace zev
