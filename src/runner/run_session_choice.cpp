// Following a chosen option: links, skill checks, the end of a dialogue and the termination
// query with run-time editing; editing the current node.

#include "app/app.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "runner/run_session.h"

namespace zev {

bool RunSession::AskSkillCheck(const option& o, int32_t& next)
{
    const std::string name = o.link_target.str();
    const skillcheck* check = FindSkillCheckRecord(m_app.dlg(), name);
    if (!check) {
        m_app.log().Log("Skill check " + name + " not found.");
        m_app.dialogs().Warning(MissingSkillCheckText(name));
        next = -1;
        return true;
    }
    const std::string onSuccess = check->on_success.str();
    const std::string onFailure = check->on_failure.str();
    m_skillWindow.Fill(*check, m_app.player());
    std::optional<SkillCheckChoice> choice = m_skillView ? m_skillView->exec(m_skillWindow) : std::nullopt;
    if (!choice)
        return false;
    m_skillWindow.Choose(*choice);
    switch (*choice) {
    case SkillCheckChoice::Success:
        next = FindNodeIndex(m_app.dlg(), onSuccess);
        break;
    case SkillCheckChoice::Failure:
        next = FindNodeIndex(m_app.dlg(), onFailure);
        break;
    case SkillCheckChoice::Evaluate:
        next = PerformSkillCheck(m_app, name);
        break;
    }
    return true;
}

bool RunSession::Choose(int32_t i)
{
    if (!m_running)
        return false;
    if (!NodeAt(m_current)) {
        EndRunNodeGone();
        return false;
    }
    if (!IsListed(i))
        return false;
    const int32_t s = m_current;
    const option* o = OptionAt(s, i);
    if (!o) {
        // The view outlived its option (edited from elsewhere): show what is there now.
        ShowCurrentNode();
        return false;
    }

    int32_t next = -1;
    if (o->to_skill_check) {
        if (m_app.settings().evaluateSkillChecks)
            next = PerformSkillCheck(m_app, o->link_target.view());
        else if (!AskSkillCheck(*o, next))
            return true; // closed without a choice: the run stays where it is, the history untouched
    } else {
        next = o->link_index;
    }

    m_current = next;
    if (!m_history.empty())
        SetNodeHistory(static_cast<int32_t>(m_history.size()) - 1, m_history.back().node_index, i, s);
    AddNodeToHistory(m_current, i, s);
    m_answeredLast = m_current == -1;
    m_position = static_cast<int32_t>(m_history.size()) - 1;
    m_query.ClearNotes();

    if (m_current != -1) {
        ShowCurrentNode();
    } else if (!m_app.settings().runtimeDlgEditing) {
        m_app.dialogs().Information("Dialogue ends here.\r\n\r\n(Runtime dialogue editing = OFF)");
        StopRun();
    } else {
        RunTerminationQuery(i, s);
    }
    changed.Emit();
    return true;
}

void RunSession::RunTerminationQuery(int32_t optionIndex, int32_t fromNode)
{
    const option* o = OptionAt(fromNode, optionIndex);
    if (!o)
        return;
    m_query.Fill(*o);
    const std::string target = o->link_target.str();
    const bool fixedEnd = TerminationQueryModel::IsFixedEnd(target);
    TerminationChoice choice = m_queryView ? m_queryView->exec(m_query) : TerminationChoice::Exit;

    if (choice == TerminationChoice::Exit) {
        m_current = fromNode;
    } else {
        CoreWindows& windows = m_app.windows();
        const bool accepted = fixedEnd ? windows.EditNodeAt(fromNode) : windows.AddNode(target);
        // A cancelled dialog accepted no name: an older one would send the run somewhere unrelated.
        const std::string name = accepted ? windows.LastAcceptedNodeName() : std::string();
        if (accepted && !fixedEnd) {
            m_app.log().Log("Updated node " + NodeName(fromNode) + " playeroption " + std::to_string(optionIndex)
                + " reference to " + name + ".");
            // The node dialog may have changed the option table: look the option up again.
            if (option* live = const_cast<option*>(OptionAt(fromNode, optionIndex))) {
                live->link_target = name;
                // It names a node now, not a skill check or a procedure.
                live->to_skill_check = 0;
                live->to_custom_proc = 0;
                m_app.DialogueChanged();
            }
        }
        m_current = accepted ? FindNodeIndex(m_app.dlg(), name) : fromNode;
        ResolveLinks(m_app.dlg());
        m_app.RefreshEditorLists();
        if (m_current == -1) {
            m_app.log().Log("Error: NodeIndex is still -1, can't continue.");
            m_app.dialogs().Warning("The node reference is still null, remaining in current node.");
            m_current = fromNode;
        } else {
            ShowCurrentNode();
        }
    }
    if (!fixedEnd)
        EndRunWithoutTranscript();
}

void RunSession::EditThisNode()
{
    if (!m_running) {
        m_app.dialogs().Warning("Dialogue is not running,\r\nuse 'Edit dialogue' instead.");
        return;
    }
    if (!NodeAt(m_current)) {
        EndRunNodeGone();
        return;
    }
    m_app.windows().EditNodeAt(m_current);
    ResolveLinks(m_app.dlg());
    m_app.RefreshEditorLists();
    ShowCurrentNode();
    m_app.BroadcastPluginUpdate();
    changed.Emit();
}

} // namespace zev
