#include "runner/run_session.h"

#include <algorithm>

#include "app/app.h"
#include "model/codes.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "runner/option_visibility.h"
#include "runner/run_support.h"

namespace zev {

RunSession::RunSession(App& app)
    : m_app(app)
    , m_transcripts(app)
{
}

std::string RunSession::NodeGoneText(int32_t index)
{
    return "The current node of the test run (index " + std::to_string(index)
        + ") no longer exists in the dialogue.\r\nThe test run ends here.";
}

const dlgnode* RunSession::NodeAt(int32_t index) const
{
    return NodeAtIndex(m_app.dlg(), index);
}

const option* RunSession::OptionAt(int32_t node, int32_t index) const
{
    return OptionAtIndex(m_app.dlg(), node, index);
}

std::string RunSession::NodeName(int32_t index) const
{
    const dlgnode* n = NodeAt(index);
    return n ? n->name.str() : std::string();
}

void RunSession::AddNodeToHistory(int32_t node, int32_t option, int32_t fromNode)
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
    m_position = static_cast<int32_t>(m_history.size()) - 1;
}

void RunSession::SetNodeHistory(int32_t entry, int32_t node, int32_t option, int32_t fromNode)
{
    if (node == -1 || entry < 0 || entry >= static_cast<int32_t>(m_history.size()))
        return;
    m_history[static_cast<std::size_t>(entry)] = { node, option, fromNode };
    m_app.log().Log("SetNodeHistory('" + std::to_string(entry) + "','" + NodeName(node)
        + "') Playeroption: " + std::to_string(option));
}

bool RunSession::StartAt(std::string_view start)
{
    dialog& d = m_app.dlg();
    if (d.node_count <= 0) {
        m_app.dialogs().Error("No nodes defined in dialogue!");
        return false;
    }
    if (start.empty()) {
        m_app.dialogs().Warning(
            "Not going to run dialogue from a node with\r\nno name.\r\n\r\n(This is for preventing crashes)");
        return false;
    }
    m_app.log().Log("Starting dialogue test from node " + std::string(start));
    int index = FindNodeIndex(d, start);
    if (index < 0) {
        m_app.dialogs().Warning("Error occured: Node '" + std::string(start) + "' not found.");
        return false;
    }
    m_current = index;
    m_running = true;
    m_history.clear();
    m_answeredLast = false;
    AddNodeToHistory(m_current, -1, m_current);
    started.Emit(std::string(start));
    ShowCurrentNode();
    changed.Emit();
    return true;
}

void RunSession::Start(const std::string& nodeName)
{
    StartAt(nodeName);
}

void RunSession::SetCurrent(int32_t nodeIndex)
{
    SetCurrentNodeIndex(nodeIndex);
    ShowCurrentNode();
}

TranscriptSummary RunSession::transcript(int index) const
{
    const dlgtranscript& t = m_transcripts.list().at(static_cast<std::size_t>(index));
    return { t.npc_name, t.dialogue_file, DateTimeText(t.recorded_at), t.lines };
}

void RunSession::FillView(const dlgnode& node)
{
    const PlayerChar& pc = m_app.player();
    std::string_view text = node.npc_text.view();
    if (!node.npc_female_text.empty() && pc.gender == GENDER_FEMALE)
        text = node.npc_female_text.view();
    m_view = NodeView {};
    m_view.name = node.name.str();
    m_view.npcLine = SubstitutePlayerName(text, pc.name.view());
    m_view.notes = node.notes.str();
    for (int32_t i = 0; i < node.option_count && i < kMaxOptions; ++i) {
        const option* o = node.options[i];
        if (!o)
            continue;
        if (OptionVisible(m_app, *o))
            m_view.options.push_back({ i, SubstitutePlayerName(o->text.view(), pc.name.view()), o->link_target.str() });
        else
            ++m_view.hidden;
    }
}

void RunSession::ShowCurrentNode()
{
    if (!m_running)
        return;
    if (!NodeAt(m_current)) {
        EndRunNodeGone();
        return;
    }
    m_app.BroadcastPluginUpdate();
    // A plug-in told of the redraw may have changed the table: look the node up again.
    const dlgnode* node = NodeAt(m_current);
    if (!node) {
        EndRunNodeGone();
        return;
    }
    FillView(*node);
    if (node->option_count <= 0) {
        m_app.dialogs().Information("Dialogue is assumed to end here since there are no player options available.");
        StopRun();
        return;
    }
    changed.Emit();
}

bool RunSession::IsListed(int32_t optionIndex) const
{
    return m_running && std::any_of(m_view.options.begin(), m_view.options.end(), [optionIndex](const OptionRow& r) {
        return r.index == optionIndex;
    });
}

std::string RunSession::DescribeOption(int32_t optionIndex) const
{
    const option* o = OptionAt(m_current, optionIndex);
    if (!m_running || !o)
        return {};
    const std::string target = o->link_target.str();
    std::string text;
    if (o->link_index != -1)
        text = "Leads to node " + target;
    else if (o->to_skill_check)
        text = "Linked to a skill check [see Dialogue Editor->Skill Checks->" + target + "]";
    else if (o->to_custom_proc)
        text = "Linked to a custom procedure " + target + ".";
    else if (target != kLinkDone && target != kLinkCombat)
        text = "Unresolved node " + target;
    else if (target == kLinkDone)
        text = "This option will end the dialogue.";
    else
        text = "This option will initiate combat.";
    text += "\r\n" + o->notes.str();
    if (o->condition_count > 0) {
        text += "\r\nConditions: \r\n";
        for (int32_t k = 0; k < o->condition_count && k < kMaxConditions; ++k)
            if (o->conditions[k])
                text += o->conditions[k]->script_expr.str() + "\r\n";
    }
    return text;
}

void RunSession::GoBack()
{
    if (!m_running || m_history.empty())
        return;
    if (m_position > 0) {
        --m_position;
        m_current = m_history[static_cast<std::size_t>(m_position)].node_index;
    }
    ShowCurrentNode();
    changed.Emit();
}

void RunSession::GoForward()
{
    if (!m_running || m_history.empty())
        return;
    if (m_position + 1 < static_cast<int32_t>(m_history.size())) {
        ++m_position;
        m_current = m_history[static_cast<std::size_t>(m_position)].node_index;
        ShowCurrentNode();
    }
    changed.Emit();
}

void RunSession::StopRun()
{
    if (!m_running)
        return;
    // The last entry carries the option that led to it until one is chosen there; an option that
    // ended the dialogue was chosen there and is the run's last answer.
    if (!m_history.empty() && !m_answeredLast)
        SetNodeHistory(static_cast<int32_t>(m_history.size()) - 1, m_history.back().node_index, -1, m_current);
    const int t = m_transcripts.RecordTranscript(m_history);
    m_history.clear();
    m_position = 0;
    m_answeredLast = false;
    m_view = NodeView {};
    m_running = false;
    stopped.Emit(t);
    m_app.BroadcastPluginUpdate();
    changed.Emit();
}

void RunSession::EndRunNodeGone()
{
    m_app.log().Log("Node index " + std::to_string(m_current) + " names no node, stopping the test run.");
    m_app.dialogs().Information(NodeGoneText(m_current));
    StopRun();
}

void RunSession::EndRunWithoutTranscript()
{
    m_running = false;
    m_history.clear();
    m_position = 0;
    m_answeredLast = false;
    m_view = NodeView {};
    changed.Emit();
}

} // namespace zev
