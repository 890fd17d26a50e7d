#pragma once

// Test doubles of the App's interfaces: each records what it was asked in one event list.

#include <string>
#include <string_view>
#include <vector>

#include "app/console.h"
#include "app/plugin_bus.h"
#include "app/run_control.h"
#include "app/script_lines.h"

namespace zev::test {

// Console lines as the control received them.
struct ConsoleCapture : ConsoleSink {
    std::vector<std::string> lines;
    std::string name = "ConsoleMemo";
    std::string Name() const override { return name; }
    void AppendLine(std::string_view text) override { lines.emplace_back(text); }
    void Clear() override { lines.clear(); }
};

// A test run that records the shell's requests.
struct RecordingRun : RunControl {
    explicit RecordingRun(std::vector<std::string>& events)
        : m_events(events)
    {
    }
    bool Attached() const override { return true; }
    void Stop() override { m_events.push_back("stop test"); }
    void SaveAllTranscripts() override { m_events.push_back("save transcripts"); }
    void ClearTranscripts() override { m_events.push_back("clear transcripts"); }

private:
    std::vector<std::string>& m_events;
};

// Plug-ins that record the notifications and answer the close query.
struct RecordingPlugins : PluginBus {
    explicit RecordingPlugins(std::vector<std::string>& events)
        : m_events(events)
    {
    }
    bool Attached() const override { return true; }
    void BroadcastPluginUpdate() override { m_events.push_back("plugins"); }
    bool CanClose() override { return canClose; }
    void ImportWithFilter(int filter, const std::string& path) override
    {
        m_events.push_back("import " + std::to_string(filter) + " " + path);
    }
    bool canClose = true;

private:
    std::vector<std::string>& m_events;
};

// Script lines recorded instead of run.
struct RecordingScripts : ScriptLines {
    std::vector<std::string> lines;
    bool ExecuteScriptConsole(std::string_view line) override
    {
        lines.emplace_back(line);
        return true;
    }
};

} // namespace zev::test
