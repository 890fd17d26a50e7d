#include "script/script_run_watch.h"

#include "script/script_host.h"

namespace zev {

ScriptRunWatch::ScriptRunWatch(ScriptHost& host)
    : m_host(host)
{
    m_host.engine().SetWatch([this](std::chrono::steady_clock::duration since) { return OnWatch(since); });
    m_endedId = m_host.runEnded.Connect([this](bool stopped) { OnRunEnded(stopped); });
}

ScriptRunWatch::~ScriptRunWatch()
{
    m_host.engine().SetWatch(nullptr);
    m_host.runEnded.Disconnect(m_endedId);
}

bool ScriptRunWatch::OnWatch(std::chrono::steady_clock::duration sinceStart)
{
    if (sinceStart >= m_delay)
        SetVisible(true);
    if (m_visible && serviceEvents)
        serviceEvents(); // the Stop button is clicked in here
    return true;
}

void ScriptRunWatch::Stop()
{
    if (m_host.engine().running())
        m_host.engine().RequestStop();
}

void ScriptRunWatch::OnRunEnded(bool stopped)
{
    SetVisible(false);
    if (stopped)
        m_host.WriteConsoleLine(kStoppedLine);
}

void ScriptRunWatch::SetVisible(bool on)
{
    if (m_visible == on)
        return;
    m_visible = on;
    indicatorChanged.Emit(on);
}

} // namespace zev
