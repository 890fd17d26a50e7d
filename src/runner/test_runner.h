#pragma once

// The main window's test-run panel: a dialogue played node by node against the test player
// character, with its node history, navigation, run-time editing and transcripts.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "runner/skill_checks.h"
#include "runner/termination_query.h"
#include "runner/transcript_windows.h"
#include "runner/transcripts.h"

namespace zev {

class App;
class NodeEditor;

struct ControlState {
    bool enabled = true;
    bool visible = true;
};

// One row of "Player options".
struct OptionRow {
    int32_t index = 0; // the option's own index in its node; the "Index" cell shows it
    std::string text; // "Option text", names substituted
    std::string target; // "Target node", the link as stored
};

// Everything the panel's controls show.
struct RunPanel {
    static constexpr std::string_view kStartNodeCaption = "Start node";
    static constexpr std::string_view kRunCaption = "Run dialogue";
    static constexpr std::string_view kStopCaption = "Stop";
    static constexpr std::string_view kBackCaption = "Go back";
    static constexpr std::string_view kForwardCaption = "Go forward";
    static constexpr std::string_view kEditCaption = "Edit this node";
    static constexpr std::string_view kCurrentNodeCaption = "Current node:";
    static constexpr std::string_view kNpcLineCaption = "NPC Line";
    static constexpr std::string_view kNodeNotesCaption = "Designer notes for this node";
    static constexpr std::string_view kOptionNotesCaption = "Notes for the current option";
    static constexpr std::string_view kOptionsCaption = "Player options";
    static constexpr std::string_view kOptionColumns[3] = { "Index", "Option text", "Target node" };

    std::vector<std::string> startNodeItems; // every node name, in node order
    std::string startNodeText; // the editable box's text
    ControlState runButton { true, true };
    ControlState stopButton { false, true };
    ControlState backButton { false, true };
    ControlState forwardButton { false, true };
    ControlState editButton { true, false };
    bool currentNodeCaptionVisible = false;
    bool nodeLabelVisible = false;
    std::string nodeLabel; // `nodelabel`
    std::string npcLine;
    std::string nodeNotes;
    std::string optionNotes;
    std::vector<OptionRow> options;
    std::string hiddenOptions; // `hiddenopts`, bold and right-aligned
};

class TestRunner {
public:
    explicit TestRunner(App& app);
    TestRunner(const TestRunner&) = delete;
    TestRunner& operator=(const TestRunner&) = delete;

    // The modal windows; without one, the node dialog changes nothing, the "Skill Check" window
    // gives no choice and the termination query answers Exit.
    void SetNodeEditor(NodeEditor* editor) { m_nodeEditor = editor; }
    void SetSkillCheckView(SkillCheckView* view) { m_skillView = view; }
    void SetTerminationQueryView(TerminationQueryView* view) { m_queryView = view; }

    const RunPanel& panel() const { return m_panel; }

    // The start-node box: refilled after every RefreshEditorLists, the first node selected.
    void RefreshStartNodeBox();
    void SetStartNodeText(std::string text);

    // The panel's operations.
    void StartTestRun();
    void StopTestRun();
    void ShowCurrentNode();
    void FillPlayerOptions();
    // Single and double click on a row of "Player options"; -1 = no row selected.
    void DescribeOption(int row);
    void ChooseOption(int row);
    void GoBack();
    void GoForward();
    void EditThisNode();
    void SetNodeHistory(int32_t entry, int32_t node, int32_t option, int32_t fromNode);
    void AddNodeToHistory(int32_t node, int32_t option, int32_t fromNode);

    // The run state, for the script functions and the functions exported to plug-ins.
    bool running() const { return m_running; }
    int32_t currentNodeIndex() const { return m_current; }
    // Sets the index without redrawing (a plug-in's SetCurrentNode); the next redraw shows it.
    void SetCurrentNodeIndex(int32_t index) { m_current = index; }
    const std::vector<HistoryEntry>& history() const { return m_history; }
    int32_t historyPosition() const { return m_position; }
    // The row showing option optionIndex, or -1.
    int RowOfOption(int32_t optionIndex) const;

    TranscriptStore& transcripts() { return m_transcripts; }
    TranscriptWindowModel& transcriptWindow() { return m_transcriptWindow; }
    TranscriptListModel& transcriptList() { return m_transcriptList; }
    TerminationQueryModel& terminationQuery() { return m_query; }
    SkillCheckWindowModel& skillCheckWindow() { return m_skillWindow; }

    // After every change of the panel.
    Signal<> changed;

    static std::string NodeGoneText(int32_t index);

private:
    const dlgnode* NodeAt(int32_t index) const;
    const option* OptionAt(int32_t node, int32_t index) const;
    std::string NodeName(int32_t index) const;
    // A node index that names no node any more: said so, and the run ends with its transcript.
    void EndRunNodeGone();
    // After an open link in the termination query: back to idle, no transcript.
    void EndRunWithoutTranscript();
    void ShowIdleControls();
    void UpdateNavigation();
    // The next node of a skill-check option through the "Skill Check" window; false when the
    // window was closed without a choice.
    bool AskSkillCheck(const option& o, int32_t& next);
    void RunTerminationQuery(int32_t optionIndex, int32_t fromNode);
    std::string DescribeLink(const option& o) const;

    App& m_app;
    RunPanel m_panel;
    bool m_running = false;
    int32_t m_current = -1;
    std::vector<HistoryEntry> m_history;
    int32_t m_position = 0;

    NodeEditor* m_nodeEditor = nullptr;
    SkillCheckView* m_skillView = nullptr;
    TerminationQueryView* m_queryView = nullptr;

    TranscriptStore m_transcripts;
    TranscriptWindowModel m_transcriptWindow;
    TranscriptListModel m_transcriptList;
    TerminationQueryModel m_query;
    SkillCheckWindowModel m_skillWindow;
};

// Installs the runner into the shell's hooks: stop a running test, save all and empty the
// transcripts (New, Load, closing), and refill the start-node box with the editor lists.
void InstallRunner(App& app, TestRunner& runner);

} // namespace zev
