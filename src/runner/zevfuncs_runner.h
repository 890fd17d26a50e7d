#pragma once

// ZEVFuncs over the real test runner. Header-only: the script library does not link the runner,
// so only a program that has a TestRunner (and links it) instantiates this adapter.

#include <memory>

#include "runner/test_runner.h"
#include "script/zevfuncs.h"

namespace zev {

class TestRunControl final : public RunControl {
public:
    explicit TestRunControl(TestRunner& runner)
        : m_runner(runner)
    {
    }
    bool running() const override { return m_runner.running(); }
    int32_t currentNode() const override { return m_runner.currentNodeIndex(); }
    void Start(const std::string& nodeName) override
    {
        m_runner.SetStartNodeText(nodeName);
        m_runner.StartTestRun();
    }
    void Stop() override { m_runner.StopTestRun(); }
    void SetCurrent(int32_t nodeIndex) override
    {
        m_runner.SetCurrentNodeIndex(nodeIndex);
        m_runner.ShowCurrentNode();
    }
    std::vector<HistoryEntry> history() const override { return m_runner.history(); }
    int transcriptCount() const override { return m_runner.transcripts().count(); }
    TranscriptSummary transcript(int index) const override
    {
        const dlgtranscript& t = m_runner.transcripts().list().at(static_cast<std::size_t>(index));
        return { t.npc_name, t.dialogue_file, DateTimeText(t.recorded_at), t.lines };
    }
    void SaveAllTranscripts() override { m_runner.transcripts().SaveAllTranscripts(); }

private:
    TestRunner& m_runner;
};

// The one call that attaches the unit: built over the runner (may be null) and registered on the
// host's engine. Keep the result alive as long as scripts may run.
inline std::unique_ptr<ZEVFuncs> InstallZEVFuncs(
    App& app, ScriptHost& host, TestRunner* runner, ScriptApiServices services = {})
{
    auto port = runner ? std::make_unique<TestRunControl>(*runner) : nullptr;
    auto unit
        = std::make_unique<ZEVFuncs>(app, host, std::unique_ptr<RunControl>(std::move(port)), std::move(services));
    unit->Register();
    return unit;
}

} // namespace zev
