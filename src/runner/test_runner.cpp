#include "runner/test_runner.h"

#include <algorithm>

#include "app/app.h"
#include "model/codes.h"
#include "model/dialog_ops.h"
#include "runner/option_visibility.h"
#include "runner/run_support.h"

namespace zev {

TestRunner::TestRunner(App& app)
    : m_app(app)
    , m_transcripts(app)
    , m_transcriptWindow(app, m_transcripts)
    , m_transcriptList(m_transcripts, m_transcriptWindow)
{
    RefreshStartNodeBox();
}

std::string TestRunner::NodeGoneText(int32_t index)
{
    return "The current node of the test run (index " + std::to_string(index)
        + ") no longer exists in the dialogue.\r\nThe test run ends here.";
}

const dlgnode* TestRunner::NodeAt(int32_t index) const
{
    return NodeAtIndex(m_app.dlg(), index);
}

const option* TestRunner::OptionAt(int32_t node, int32_t index) const
{
    return OptionAtIndex(m_app.dlg(), node, index);
}

std::string TestRunner::NodeName(int32_t index) const
{
    const dlgnode* n = NodeAt(index);
    return n ? n->name.str() : std::string();
}

int TestRunner::RowOfOption(int32_t optionIndex) const
{
    for (std::size_t r = 0; r < m_panel.options.size(); ++r)
        if (m_panel.options[r].index == optionIndex)
            return static_cast<int>(r);
    return -1;
}

void TestRunner::RefreshStartNodeBox()
{
    m_panel.startNodeItems.clear();
    const dialog& d = m_app.dlg();
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i)
        m_panel.startNodeItems.push_back(NodeName(i));
    m_panel.startNodeText = m_panel.startNodeItems.empty() ? std::string() : m_panel.startNodeItems.front();
    changed.Emit();
}

void TestRunner::SetStartNodeText(std::string text)
{
    m_panel.startNodeText = std::move(text);
    changed.Emit();
}

void TestRunner::AddNodeToHistory(int32_t node, int32_t option, int32_t fromNode)
{
    if (node == -1)
        return;
    m_history.push_back({ node, option, fromNode });
    std::string line = "AddNodeToHistory('" + NodeName(node) + "') Playeroption: " + std::to_string(option);
    if (option != -1) {
        const struct option* o = OptionAt(fromNode, option);
        line += " TEXT=" + (o ? o->text.str() : std::string());
    }
    m_app.log().Log(line);
    m_position = static_cast<int32_t>(m_history.size());
    if (!m_history.empty())
        m_panel.backButton.enabled = true;
}

void TestRunner::SetNodeHistory(int32_t entry, int32_t node, int32_t option, int32_t fromNode)
{
    if (node == -1 || entry < 0 || entry >= static_cast<int32_t>(m_history.size()))
        return;
    m_history[static_cast<std::size_t>(entry)] = { node, option, fromNode };
    m_app.log().Log("SetNodeHistory('" + std::to_string(entry) + "','" + NodeName(node)
        + "') Playeroption: " + std::to_string(option));
}

void TestRunner::StartTestRun()
{
    dialog& d = m_app.dlg();
    if (d.node_count <= 0) {
        m_app.dialogs().Error("No nodes defined in dialogue!");
        return;
    }
    const std::string start = m_panel.startNodeText;
    if (start.empty()) {
        m_app.dialogs().Warning(
            "Not going to run dialogue from a node with\r\nno name.\r\n\r\n(This is for preventing crashes)");
        return;
    }
    m_app.log().Log("Starting dialogue test from node " + start);
    int index = FindNodeIndex(d, start);
    if (index < 0) {
        m_app.dialogs().Warning("Error occured: Node '" + start + "' not found.");
        return;
    }
    m_current = index;
    m_running = true;
    m_history.clear();
    AddNodeToHistory(m_current, -1, m_current);

    m_panel.forwardButton.enabled = false;
    m_panel.backButton.enabled = false;
    m_panel.nodeLabelVisible = true;
    m_panel.editButton.visible = true;
    m_panel.currentNodeCaptionVisible = true;
    m_panel.nodeLabel = NodeName(m_current);
    m_panel.stopButton.enabled = true;
    m_panel.runButton.enabled = false;
    ShowCurrentNode();
    changed.Emit();
}

void TestRunner::ShowCurrentNode()
{
    if (!m_running)
        return;
    const dlgnode* node = NodeAt(m_current);
    if (!node) {
        EndRunNodeGone();
        return;
    }
    m_app.BroadcastPluginUpdate();
    const PlayerChar& pc = m_app.player();
    // A plug-in told of the redraw may have changed the table: look the node up again.
    node = NodeAt(m_current);
    if (!node) {
        EndRunNodeGone();
        return;
    }
    std::string_view text = node->npc_text.view();
    if (!node->npc_female_text.empty() && pc.gender == GENDER_FEMALE)
        text = node->npc_female_text.view();
    m_panel.npcLine = SubstitutePlayerName(text, pc.name.view());
    FillPlayerOptions();
    if (m_running) {
        m_panel.nodeNotes = node->notes.str();
        m_panel.nodeLabel = node->name.str();
    }
    changed.Emit();
}

void TestRunner::FillPlayerOptions()
{
    m_panel.options.clear();
    const dlgnode* node = NodeAt(m_current);
    if (!m_running || !node)
        return;
    if (node->option_count <= 0) {
        m_app.dialogs().Information("Dialogue is assumed to end here since there are no player options available.");
        StopTestRun();
        m_panel.nodeLabel.clear();
        return;
    }
    int hidden = 0;
    const std::string_view name = m_app.player().name.view();
    for (int32_t i = 0; i < node->option_count && i < kMaxOptions; ++i) {
        const option* o = node->options[i];
        if (!o)
            continue;
        if (OptionVisible(m_app, *o))
            m_panel.options.push_back({ i, SubstitutePlayerName(o->text.view(), name), o->link_target.str() });
        else
            ++hidden;
    }
    m_panel.hiddenOptions
        = hidden == 0 ? std::string() : "There are " + std::to_string(hidden) + " hidden player options.";
}

std::string TestRunner::DescribeLink(const option& o) const
{
    const std::string target = o.link_target.str();
    if (o.link_index != -1)
        return "Leads to node " + target;
    if (o.to_skill_check)
        return "Linked to a skill check [see Dialogue Editor->Skill Checks->" + target + "]";
    if (o.to_custom_proc)
        return "Linked to a custom procedure " + target + ".";
    if (target != kLinkDone && target != kLinkCombat)
        return "Unresolved node " + target;
    if (target == kLinkDone)
        return "This option will end the dialogue.";
    return "This option will initiate combat.";
}

void TestRunner::DescribeOption(int row)
{
    if (!m_running || row < 0 || row >= static_cast<int>(m_panel.options.size()))
        return;
    if (m_current == -1) {
        m_app.log().Log("NodeIndex = -1!");
        return;
    }
    if (!NodeAt(m_current)) {
        EndRunNodeGone();
        return;
    }
    const option* o = OptionAt(m_current, m_panel.options[static_cast<std::size_t>(row)].index);
    if (!o)
        return;
    std::string text = DescribeLink(*o) + "\r\n" + o->notes.str();
    if (o->condition_count > 0) {
        text += "\r\nConditions: \r\n";
        for (int32_t k = 0; k < o->condition_count && k < kMaxConditions; ++k)
            if (o->conditions[k])
                text += o->conditions[k]->script_expr.str() + "\r\n";
    }
    m_panel.optionNotes = std::move(text);
    changed.Emit();
}

void TestRunner::UpdateNavigation()
{
    const auto count = static_cast<int32_t>(m_history.size());
    m_panel.backButton.enabled = m_position > 0;
    m_panel.forwardButton.enabled = m_position < count - 1;
}

void TestRunner::GoBack()
{
    if (!m_running || m_history.empty())
        return;
    m_position = std::min<int32_t>(m_position, static_cast<int32_t>(m_history.size()));
    if (m_position > 0) {
        --m_position;
        m_current = m_history[static_cast<std::size_t>(m_position)].node_index;
        m_panel.forwardButton.enabled = true;
    }
    if (m_position == 0)
        m_panel.backButton.enabled = false;
    ShowCurrentNode();
    changed.Emit();
}

void TestRunner::GoForward()
{
    if (!m_running || m_history.empty())
        return;
    const auto last = static_cast<int32_t>(m_history.size()) - 1;
    if (m_position < last) {
        ++m_position;
        m_panel.backButton.enabled = true;
        m_current = m_history[static_cast<std::size_t>(m_position)].node_index;
        ShowCurrentNode();
    }
    if (m_running && m_position >= static_cast<int32_t>(m_history.size()) - 1)
        m_panel.forwardButton.enabled = false;
    changed.Emit();
}

void TestRunner::ShowIdleControls()
{
    m_panel.npcLine.clear();
    m_panel.optionNotes.clear();
    m_panel.options.clear();
    m_panel.forwardButton.enabled = false;
    m_panel.backButton.enabled = false;
    m_panel.stopButton.enabled = false;
    m_panel.runButton.enabled = true;
    m_panel.currentNodeCaptionVisible = false;
    m_panel.hiddenOptions.clear();
    m_panel.nodeLabelVisible = false;
    m_panel.nodeNotes.clear();
    m_panel.editButton.visible = false;
}

void TestRunner::StopTestRun()
{
    if (!m_running)
        return;
    m_panel.npcLine.clear();
    m_panel.optionNotes.clear();
    m_panel.options.clear();
    if (!m_history.empty())
        SetNodeHistory(static_cast<int32_t>(m_history.size()) - 1, m_history.back().node_index, -1, m_current);
    ShowIdleControls();
    int t = m_transcripts.RecordTranscript(m_history);
    m_history.clear();
    m_position = 0;
    if (ShowLastDialogue(m_app.config()))
        m_transcriptWindow.ShowTranscriptInWindow(t);
    m_running = false;
    m_app.BroadcastPluginUpdate();
    m_panel.nodeLabel.clear();
    changed.Emit();
}

void TestRunner::EndRunNodeGone()
{
    m_app.log().Log("Node index " + std::to_string(m_current) + " names no node, stopping the test run.");
    m_app.dialogs().Information(NodeGoneText(m_current));
    StopTestRun();
}

void TestRunner::EndRunWithoutTranscript()
{
    ShowIdleControls();
    m_running = false;
    m_history.clear();
    m_position = 0;
    m_panel.nodeLabel.clear();
    changed.Emit();
}

} // namespace zev
