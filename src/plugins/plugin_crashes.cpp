// What the host does once the crash guard has abandoned a plug-in's call: the report, the mark that
// keeps the plug-in from being called again, and the refusals afterwards.

#include "app/app.h"
#include "plugins/crash_guard.h"
#include "plugins/plugin_host.h"

namespace zev {

namespace {

constexpr std::string_view kSaveAdvice = "\r\n\r\nSave your work now: the program may be unstable after this.";

std::string ShownName(const TPluginRec& rec)
{
    return rec.Name.empty() ? rec.FileName : rec.Name;
}

} // namespace

void PluginHost::ReportCrash(
    const std::string& fileName, const std::string& name, std::string_view exportName, int signal)
{
    // Marked before anything else runs: the report below logs, and logging calls the running plug-ins.
    for (TPluginRec& p : m_plugins)
        if (!fileName.empty() && p.FileName == fileName)
            p.Crashed = true;
    // Its code may still be referenced (a window, a thread, a callback): a reference of our own
    // that is never released keeps the library loaded.
    if (!fileName.empty())
        static_cast<void>(ReferenceLoadedLibrary(fileName));
    const bool inControl = exportName == "append_line" || exportName == "clear";
    if (m_output && (inControl || OutputControlIn(fileName))) {
        m_output.reset();
        m_app.log().Log("Dropping the output control of " + fileName + ".");
        if (m_app.console().lent() == &m_console)
            m_app.console().Return();
    }
    m_app.log().Log("Plugin " + fileName + " crashed in " + std::string(exportName) + " ("
        + std::string(SignalName(signal)) + "); it is not called again in this session.");
    std::string text = exportName == "PluginUpdate"
        ? "The plugin \"" + name + "\" (" + fileName + ") crashed when trying to update."
        : "Plug-in " + name + " crashed in " + std::string(exportName) + ".";
    m_app.dialogs().Error(text + std::string(kSaveAdvice));
}

bool PluginHost::CrashedBefore(std::string_view fileName) const
{
    for (const TPluginRec& p : m_plugins)
        if (p.Crashed && p.FileName == fileName)
            return true;
    return false;
}

void PluginHost::RefuseCrashed(const TPluginRec& rec)
{
    m_app.log().Log("Plugin " + rec.FileName + " is not called: it crashed earlier in this session.");
    m_app.dialogs().Warning("Plug-in " + ShownName(rec)
        + " crashed earlier in this session and is not run again. Restart the program to use it.");
}

bool PluginHost::OutputControlIn(const std::string& fileName) const
{
    if (!m_output || fileName.empty())
        return false;
    const auto code = m_output->append_line ? reinterpret_cast<const void*>(m_output->append_line)
                                            : reinterpret_cast<const void*>(m_output->clear);
    return AddressInLibrary(code, fileName);
}

TPluginRec PluginHost::OutputOwner() const
{
    for (const TPluginRec& p : m_plugins)
        if (!m_outputFile.empty() && p.FileName == m_outputFile)
            return p;
    TPluginRec owner;
    owner.FileName = m_outputFile;
    owner.Name = m_outputName.empty() ? "(output control)" : m_outputName;
    return owner;
}

} // namespace zev
