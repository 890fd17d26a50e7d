#pragma once

// The main window's test-run panel: what its controls show of the run session, and what its
// buttons and lists ask of it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "runner/run_session.h"
#include "runner/transcript_windows.h"

namespace zev {

class App;

struct ControlState {
    bool enabled = true;
    bool visible = true;
};

// Everything the panel's controls show.
struct RunPanel {
    static constexpr std::string_view kStartNodeCaption = "Start node";
    static constexpr std::string_view kRunCaption = "Run dialogue";
    static constexpr std::string_view kStopCaption = "Stop";
    static constexpr std::string_view kBackCaption = "Go back";
    static constexpr std::string_view kForwardCaption = "Go forward";
    static constexpr std::string_view kEditCaption = "Edit this node";
    static constexpr std::string_view kEditDialogueCaption = "Edit dialogue";
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
    std::vector<OptionRow> options; // "Index" is the option's own index in its node
    std::string hiddenOptions; // `hiddenopts`, bold and right-aligned
};

class RunPanelModel {
public:
    RunPanelModel(App& app, RunSession& session);
    ~RunPanelModel();
    RunPanelModel(const RunPanelModel&) = delete;
    RunPanelModel& operator=(const RunPanelModel&) = delete;

    const RunPanel& panel() const { return m_panel; }
    RunSession& session() { return m_session; }

    // The start-node box: refilled after every RefreshEditorLists, the first node selected.
    void RefreshStartNodeBox();
    void SetStartNodeText(std::string text);

    // The panel's buttons.
    void StartTestRun() { m_session.StartAt(m_panel.startNodeText); }
    void StopTestRun() { m_session.StopRun(); }
    void GoBack() { m_session.GoBack(); }
    void GoForward() { m_session.GoForward(); }
    void EditThisNode() { m_session.EditThisNode(); }
    // Single and double click on a row of "Player options"; -1 = no row selected.
    void DescribeOption(int row);
    void ChooseOption(int row);
    // The row showing option optionIndex, or -1.
    int RowOfOption(int32_t optionIndex) const;

    // The run as the panel's callers read it.
    bool running() const { return m_session.running(); }
    int32_t currentNodeIndex() const { return m_session.currentNode(); }
    const std::vector<HistoryEntry>& history() const { return m_session.historyEntries(); }
    int32_t historyPosition() const { return m_session.historyPosition(); }
    TranscriptStore& transcripts() { return m_session.transcripts(); }

    // The transcript windows the panel's run fills ("ShowLastDialogue" shows each stopped run).
    TranscriptWindowModel& transcriptWindow() { return m_transcriptWindow; }
    TranscriptListModel& transcriptList() { return m_transcriptList; }

    // After every change of the panel.
    Signal<> changed;

private:
    // The controls follow the session.
    void Sync();

    App& m_app;
    RunSession& m_session;
    RunPanel m_panel;
    TranscriptWindowModel m_transcriptWindow;
    TranscriptListModel m_transcriptList;
    std::size_t m_changedId = 0;
    std::size_t m_startedId = 0;
    std::size_t m_stoppedId = 0;
    std::size_t m_refreshId = 0;
};

} // namespace zev
