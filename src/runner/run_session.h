#pragma once

// A test run: the dialogue played node by node against the test player character, with its node
// history, navigation, choosing options by their index in the node, run-time editing and
// transcripts. Scripts, plug-ins, the command-line tool's "play" and the run panel's presentation
// model talk to it; it knows no window but the modal ones it is given.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_control.h"
#include "base/signal.h"
#include "runner/skill_checks.h"
#include "runner/termination_query.h"
#include "runner/transcripts.h"

namespace zev {

class App;

// One visible option of the current node.
struct OptionRow {
    int32_t index = 0; // the option's own index in its node
    std::string text; // names substituted
    std::string target; // the link as stored
};

// What the current node shows.
struct NodeView {
    std::string name;
    std::string npcLine; // names substituted; the female text for a female character
    std::string notes;
    std::vector<OptionRow> options;
    int hidden = 0; // options whose conditions, gender flags or intelligence check hide them
};

class RunSession final : public RunControl {
public:
    explicit RunSession(App& app);
    RunSession(const RunSession&) = delete;
    RunSession& operator=(const RunSession&) = delete;

    // The modal windows; without one, the "Skill Check" window gives no choice and the termination
    // query answers Exit. The node dialog is one of the App's windows.
    void SetSkillCheckView(SkillCheckView* view) { m_skillView = view; }
    void SetTerminationQueryView(TerminationQueryView* view) { m_queryView = view; }

    // ---- The run.
    // Starts at the named node: "No nodes defined in dialogue!", a nameless node and a missing one
    // are refused with their boxes. True when the run started.
    bool StartAt(std::string_view nodeName);
    // Records the transcript, empties the history; nothing when no run is going.
    void StopRun();
    // Shows the current node again (after plug-ins were told), or ends the run when it is gone.
    void ShowCurrentNode();
    // Chooses the option of that index in the current node; an option not shown there is refused
    // (false) and nothing happens.
    bool Choose(int32_t optionIndex);
    bool IsListed(int32_t optionIndex) const;
    void GoBack();
    void GoForward();
    bool canGoBack() const { return m_running && m_position > 0; }
    bool canGoForward() const { return m_running && m_position + 1 < static_cast<int32_t>(m_history.size()); }
    // "Edit this node": the node dialog on the current node, then the node shown again.
    void EditThisNode();
    // The text "Notes for the current option" shows for an option of the current node.
    std::string DescribeOption(int32_t optionIndex) const;

    const NodeView& view() const { return m_view; }
    int32_t historyPosition() const { return m_position; }
    const std::vector<HistoryEntry>& historyEntries() const { return m_history; }
    // Sets the index without redrawing (a plug-in's SetCurrentNode); the next redraw shows it.
    void SetCurrentNodeIndex(int32_t index) { m_current = index; }

    TranscriptStore& transcripts() { return m_transcripts; }
    const TranscriptStore& transcripts() const { return m_transcripts; }
    TerminationQueryModel& terminationQuery() { return m_query; }
    SkillCheckWindowModel& skillCheckWindow() { return m_skillWindow; }

    // ---- RunControl: the run as scripts and plug-ins see it.
    bool Attached() const override { return true; }
    bool running() const override { return m_running; }
    int32_t currentNode() const override { return m_current; }
    void Start(const std::string& nodeName) override;
    void Stop() override { StopRun(); }
    void SetCurrent(int32_t nodeIndex) override;
    void SetCurrentQuietly(int32_t nodeIndex) override { SetCurrentNodeIndex(nodeIndex); }
    std::vector<HistoryEntry> history() const override { return m_history; }
    int transcriptCount() const override { return m_transcripts.count(); }
    TranscriptSummary transcript(int index) const override;
    void SaveAllTranscripts() override { m_transcripts.SaveAllTranscripts(); }
    void ClearTranscripts() override { m_transcripts.Clear(); }

    // After every change of the run or of what the current node shows.
    Signal<> changed;
    // A run was started at the start node (the panel shows it in its box).
    Signal<const std::string&> started;
    // A run stopped and recorded transcript number t.
    Signal<int> stopped;

    static std::string NodeGoneText(int32_t index);

private:
    const dlgnode* NodeAt(int32_t index) const;
    const option* OptionAt(int32_t node, int32_t index) const;
    std::string NodeName(int32_t index) const;
    void SetNodeHistory(int32_t entry, int32_t node, int32_t option, int32_t fromNode);
    void AddNodeToHistory(int32_t node, int32_t option, int32_t fromNode);
    void FillView(const dlgnode& node);
    // A node index that names no node any more: said so, and the run ends with its transcript.
    void EndRunNodeGone();
    // After an open link in the termination query: back to idle, no transcript.
    void EndRunWithoutTranscript();
    // The next node of a skill-check option through the "Skill Check" window; false when the
    // window was closed without a choice.
    bool AskSkillCheck(const option& o, int32_t& next);
    void RunTerminationQuery(int32_t optionIndex, int32_t fromNode);

    App& m_app;
    bool m_running = false;
    int32_t m_current = -1;
    std::vector<HistoryEntry> m_history;
    int32_t m_position = 0;
    // The last entry's option was chosen at its node and ended the dialogue: the transcript keeps it.
    bool m_answeredLast = false;
    NodeView m_view;

    SkillCheckView* m_skillView = nullptr;
    TerminationQueryView* m_queryView = nullptr;

    TranscriptStore m_transcripts;
    TerminationQueryModel m_query;
    SkillCheckWindowModel m_skillWindow;
};

} // namespace zev
