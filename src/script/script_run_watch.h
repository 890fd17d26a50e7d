#pragma once

// A script that runs long: after a while a small "Script running..." indicator with a Stop button
// appears, and the front end keeps its windows alive while the script works; Stop ends the script
// cleanly (the engine ends every run in progress) and the console says so.

#include <chrono>
#include <functional>
#include <string_view>

#include "base/signal.h"

namespace zev {

class ScriptHost;

class ScriptRunWatch {
public:
    static constexpr std::string_view kCaption = "Script running...";
    static constexpr std::string_view kStopCaption = "Stop";
    static constexpr std::string_view kStoppedLine = "Script stopped by the user.";

    explicit ScriptRunWatch(ScriptHost& host);
    ~ScriptRunWatch();
    ScriptRunWatch(const ScriptRunWatch&) = delete;
    ScriptRunWatch& operator=(const ScriptRunWatch&) = delete;

    // How long a run goes before the indicator shows (2 s).
    void SetDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    // Called while a long run works, so the front end's windows (the indicator first) stay alive.
    std::function<void()> serviceEvents;

    bool indicatorVisible() const { return m_visible; }
    // The indicator's button: the running script ends at its next step.
    void Stop();

    // The indicator shows (true) or goes (false).
    Signal<bool> indicatorChanged;

private:
    bool OnWatch(std::chrono::steady_clock::duration sinceStart);
    void OnRunEnded(bool stopped);
    void SetVisible(bool on);

    ScriptHost& m_host;
    std::chrono::milliseconds m_delay { 2000 };
    bool m_visible = false;
    std::size_t m_endedId = 0;
};

} // namespace zev
