#include "editors/dialogue_editor.h"

#include <algorithm>

#include "app/app.h"
#include "app/settings.h"
#include "editors/name_mask.h"
#include "editors/skill_check_editor.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "runner/skill_checks.h"

namespace zev {

namespace {

using B = DialogueEditorModel::Button;

std::string_view Hint(B b)
{
    switch (b) {
    case B::Add:
        return "With this button you can add a node";
    case B::Edit:
        return "This opens the current node in the node editor. Also accessible by double-clicking on a node.";
    case B::Delete:
        return "This deletes the node from the dialogue tree";
    case B::Clone:
        return "This button makes a copy of the selected node and places it in the last slot in the dialogue tree. "
               "(e.g. number of nodes + 1)";
    case B::Rearrange:
        return "Sorts the nodes in alphabetical order. Note that \r\nwith numeric nodes the sequence "
               "is:\r\n\r\n1\r\n10\r\n11\r\n12\r\n13\r\n14\r\n\r\n... etc.\r\n";
    case B::StartConditions:
        return "This opens the dialogue start conditions editor which allows you to define the starting node "
               "depending on various conditions and variable values.";
    case B::ScriptVariables:
        return "This allows you to declare some variables that will be added to the output script";
    case B::MoveUp:
        return "Moves the selected node one place up";
    case B::MoveDown:
        return "Moves the selected node one place down";
    case B::HideSelected:
        return "Leaves the selected nodes out of this list until Unhide All";
    case B::UnhideAll:
        return "Lists the hidden nodes again";
    default:
        return {};
    }
}

} // namespace

std::string_view DialogueEditorModel::Caption(Button b)
{
    switch (b) {
    case B::Add:
    case B::FloatAdd:
    case B::SkillAdd:
        return "Add";
    case B::Edit:
    case B::FloatEdit:
    case B::SkillEdit:
        return "Edit";
    case B::Delete:
    case B::FloatDelete:
    case B::SkillDelete:
        return "Delete";
    case B::Clone:
        return "Clone";
    case B::Rearrange:
        return "Rearrange";
    case B::MoveUp:
        return "Move Up";
    case B::MoveDown:
        return "Move Down";
    case B::HideSelected:
        return "Hide sel.";
    case B::UnhideAll:
        return "Unhide All";
    case B::ScriptVariables:
        return "Script variables";
    case B::StartConditions:
        return "Start conditions";
    case B::TimedEvents:
        return "Timed events editor...";
    }
    return {};
}

DialogueEditorModel::DialogueEditorModel(App& app, NodeDialogModel& nodeDialog)
    : m_app(app)
    , m_nodeDialog(nodeDialog)
{
    m_refreshId = app.editorListsRefreshed.Connect([this] { Refresh(); });
    Refresh();
}

DialogueEditorModel::~DialogueEditorModel()
{
    m_app.editorListsRefreshed.Disconnect(m_refreshId);
}

ButtonState DialogueEditorModel::button(Button b) const
{
    ButtonState state { true, std::string(Hint(b)) };
    const bool selection = currentRow() >= 0;
    switch (b) {
    case B::Edit:
    case B::Delete:
    case B::Clone:
    case B::MoveUp:
    case B::MoveDown:
    case B::HideSelected:
        state.enabled = selection;
        break;
    case B::ScriptVariables:
        state.enabled = static_cast<bool>(m_openVariables);
        break;
    case B::StartConditions:
        state.enabled = m_sub.startConditions != nullptr;
        break;
    case B::FloatAdd:
        state.enabled = m_sub.floatNodes != nullptr;
        break;
    case B::FloatEdit:
    case B::FloatDelete:
        state.enabled = m_sub.floatNodes && m_floatRow >= 0;
        break;
    case B::TimedEvents:
        state.enabled = m_sub.timedEvents != nullptr;
        break;
    case B::SkillAdd:
    case B::SkillEdit: // without a selection it says so
        state.enabled = m_sub.skillChecks != nullptr;
        break;
    case B::SkillDelete:
        state.enabled = m_sub.skillChecks && m_skillRow >= 0;
        break;
    case B::UnhideAll: {
        const dialog& d = m_app.dlg();
        state.enabled = std::any_of(
            d.nodes, d.nodes + std::min(d.node_count, kMaxNodes), [](const dlgnode* n) { return n && n->hidden; });
        break;
    }
    default:
        break;
    }
    return state;
}

void DialogueEditorModel::SetTab(EditorTab tab)
{
    if (tab == EditorTab::CustomMessages)
        return; // a tab that is never shown
    m_tab = tab;
    changed.Emit();
}

void DialogueEditorModel::SetFilter(NodeFilter filter)
{
    m_filter = filter;
    m_app.RefreshEditorLists();
}

bool DialogueEditorModel::Passes(const dlgnode& node, int) const
{
    const bool linked = std::binary_search(m_linked.begin(), m_linked.end(), node.name.str());
    switch (m_filter) {
    case NodeFilter::All:
        return true;
    case NodeFilter::StartNodes:
        return !linked;
    case NodeFilter::NonStartNodes:
        return linked;
    case NodeFilter::NoNpcText:
        return node.npc_text.empty();
    case NodeFilter::NoPlayerOptions:
        return node.option_count == 0;
    case NodeFilter::ByName:
        return true; // the mask is applied by Refresh
    }
    return true;
}

void DialogueEditorModel::Refresh()
{
    const dialog& d = m_app.dlg();
    std::vector<std::string> selectedNames;
    for (int r : m_selected)
        selectedNames.push_back(m_rows[static_cast<std::size_t>(r)].name);

    m_floatRows.clear();
    for (int32_t i = 0; i < d.float_node_count && i < kMaxFloatNodes; ++i)
        if (const floatnode* f = d.float_nodes[i])
            m_floatRows.push_back({ f->name.str(), std::to_string(f->message_count), f->notes.str() });

    // One pass for the link counts of the start-node filters.
    m_linked.clear();
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i)
        for (int32_t k = 0; d.nodes[i] && k < d.nodes[i]->option_count && k < kMaxOptions; ++k)
            if (const option* o = d.nodes[i]->options[k])
                m_linked.push_back(o->link_target.str());
    std::sort(m_linked.begin(), m_linked.end());

    std::optional<NameMask> mask;
    m_maskError.clear();
    const bool byName = m_filter == NodeFilter::ByName && !m_search.empty();
    if (byName)
        mask = NameMask::Parse(m_search, m_maskError);

    m_skillRows.clear();
    m_rows.clear();
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i) {
        const dlgnode* n = d.nodes[i];
        if (!n)
            continue;
        for (int32_t k = 0; k < n->skill_check_count && k < kMaxSkillChecks; ++k)
            if (const skillcheck* s = n->skill_checks[k])
                m_skillRows.push_back({ s->name.str(), std::string(SkillCheckEditorModel::SkillName(s->skill)),
                    std::to_string(s->difficulty_modifier), s->on_success.str(), s->on_failure.str() });
        // Hidden nodes show only in "Nodes by name" with an empty search field.
        const bool everything = m_filter == NodeFilter::ByName && m_search.empty();
        if (n->hidden && !everything)
            continue;
        if (byName && (!mask || !mask->Matches(n->name.view())))
            continue;
        if (Passes(*n, i))
            m_rows.push_back({ n->name.str(), n->npc_text.str(), i });
    }
    m_linked.clear();
    if (m_floatRow >= static_cast<int>(m_floatRows.size()))
        m_floatRow = -1;
    if (m_skillRow >= static_cast<int>(m_skillRows.size()))
        m_skillRow = -1;

    m_selected.clear();
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        if (std::find(selectedNames.begin(), selectedNames.end(), m_rows[r].name) != selectedNames.end())
            m_selected.push_back(static_cast<int>(r));
    changed.Emit();
}

void DialogueEditorModel::Search()
{
    m_app.RefreshEditorLists();
    if (!m_maskError.empty())
        m_app.dialogs().Warning(m_maskError);
}

void DialogueEditorModel::Select(std::vector<int> rows)
{
    std::erase_if(rows, [this](int r) { return r < 0 || r >= static_cast<int>(m_rows.size()); });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    m_selected = std::move(rows);
    changed.Emit();
}

void DialogueEditorModel::SelectNode(int nodeIndex)
{
    m_selected.clear();
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].nodeIndex == nodeIndex)
            m_selected.push_back(static_cast<int>(r));
    changed.Emit();
}

void DialogueEditorModel::Open(DialogueEditorView& view)
{
    Logger& log = m_app.log();
    log.Log("Attempting to resolve nodes...");
    ResolveLinks(m_app.dlg());
    log.Log("Attempting to refresh node list.");
    m_app.RefreshEditorLists();
    log.Log("Done!");
    view.exec(*this);
    RunControl& run = m_app.run();
    if (run.running())
        run.SetCurrent(run.currentNode());
    m_app.BroadcastPluginUpdate();
}

bool DialogueEditorModel::NodeTableFull()
{
    const dialog& d = m_app.dlg();
    if (!TableFull(d.nodes, d.node_count))
        return false;
    m_app.dialogs().Warning("The dialogue holds " + std::to_string(kMaxNodes)
        + " nodes, as many as a dialogue can hold.\r\nNo node was added.");
    return true;
}

bool DialogueEditorModel::RunNodeDialog(bool adding)
{
    const bool ok = m_nodeView && m_nodeView->exec(m_nodeDialog);
    const int index = m_nodeDialog.editedNode();
    if (ok) {
        m_nodeDialog.Store();
    } else if (adding) {
        // Cancel: the new node goes again, with whatever was added to it.
        FreeNode(RemoveNodeAt(m_app.dlg(), index));
    }
    m_nodeDialog.Clear();
    m_app.RefreshEditorLists();
    return ok;
}

void DialogueEditorModel::Add()
{
    AddNodeNamed({});
}

bool DialogueEditorModel::AddNodeNamed(std::string presetName)
{
    if (NodeTableFull())
        return false;
    dialog& d = m_app.dlg();
    const int index = d.node_count;
    // A nameless node until the dialog's name checks accept one.
    if (!AddNode(d, ""))
        return false;
    m_nodeDialog.BeginAdd(index, std::move(presetName));
    const bool ok = RunNodeDialog(true);
    if (ok)
        SelectNode(index);
    return ok;
}

bool DialogueEditorModel::EditNodeAt(int nodeIndex)
{
    const dialog& d = m_app.dlg();
    if (nodeIndex < 0 || nodeIndex >= d.node_count)
        return false;
    m_nodeDialog.BeginEdit(nodeIndex);
    return RunNodeDialog(false);
}

void DialogueEditorModel::Edit()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const int index = FindNodeIndex(m_app.dlg(), m_rows[static_cast<std::size_t>(row)].name);
    if (index < 0)
        return;
    std::vector<int> keep = m_selected;
    EditNodeAt(index);
    // The row stays selected: by its node, which a rename does not move.
    SelectNode(index);
    if (m_selected.empty())
        Select(keep);
}

void DialogueEditorModel::EditRow(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    m_selected = { row };
    Edit();
}

void DialogueEditorModel::Delete()
{
    const int row = currentRow();
    if (row < 0)
        return;
    dialog& d = m_app.dlg();
    const int index = FindNodeIndex(d, m_rows[static_cast<std::size_t>(row)].name);
    if (index < 0)
        return;
    FreeNode(RemoveNodeAt(d, index));
    m_selected.clear();
    m_app.DialogueChanged();
    m_app.RefreshEditorLists();
}

void DialogueEditorModel::Clone()
{
    const int row = currentRow();
    if (row < 0)
        return;
    dialog& d = m_app.dlg();
    const int index = FindNodeIndex(d, m_rows[static_cast<std::size_t>(row)].name);
    if (index < 0 || NodeTableFull())
        return;
    Added<dlgnode> clone = CloneNode(d, index, ClonedNodeFormatString(m_app.config()));
    if (!clone) {
        m_app.dialogs().Warning(RefusalText(clone.result));
        return;
    }
    ResolveLinks(d);
    // A clone is part of the file: leaving it unmarked would let a quit drop it unasked.
    m_app.DialogueChanged();
    m_app.RefreshEditorLists();
    SelectNode(d.node_count - 1);
}

void DialogueEditorModel::Move(int step)
{
    const int row = currentRow();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= static_cast<int>(m_rows.size()))
        return; // the first row up, the last row down: only the focus moves
    dialog& d = m_app.dlg();
    const int a = m_rows[static_cast<std::size_t>(row)].nodeIndex;
    const int b = m_rows[static_cast<std::size_t>(other)].nodeIndex;
    if (!SwapNodes(d, a, b))
        return;
    ResolveLinks(d);
    m_app.DialogueChanged();
    // Under a filter the neighbouring row need not be the neighbouring node: the list is rebuilt
    // and the moved node selected where it now stands.
    m_selected.clear();
    m_app.RefreshEditorLists();
    SelectNode(b);
}

void DialogueEditorModel::MoveUp()
{
    Move(-1);
}

void DialogueEditorModel::MoveDown()
{
    Move(1);
}

void DialogueEditorModel::Rearrange()
{
    dialog& d = m_app.dlg();
    SortNodes(d, [this](std::string_view t) { m_app.WriteConsoleLine(t); });
    ResolveLinks(d);
    m_app.DialogueChanged();
    m_app.RefreshEditorLists();
    m_app.BroadcastPluginUpdate();
}

void DialogueEditorModel::HideSelected()
{
    dialog& d = m_app.dlg();
    for (int r : m_selected) {
        const NodeRow& row = m_rows[static_cast<std::size_t>(r)];
        if (row.nodeIndex >= 0 && row.nodeIndex < d.node_count && d.nodes[row.nodeIndex]) {
            m_app.log().Log("adding nodeitem " + row.name + " to hide_list");
            d.nodes[row.nodeIndex]->hidden = 1;
        }
    }
    m_selected.clear();
    m_app.RefreshEditorLists();
}

void DialogueEditorModel::UnhideAll()
{
    dialog& d = m_app.dlg();
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i)
        if (d.nodes[i])
            d.nodes[i]->hidden = 0;
    m_app.RefreshEditorLists();
}

void DialogueEditorModel::ScriptVariables()
{
    if (!m_openVariables || !m_openVariables())
        return;
    m_app.DialogueChanged();
    m_app.RefreshCompletionList();
}

bool DialogueEditorModel::RenameInPlace(int row, const std::string& newName)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return false;
    const std::string oldName = m_rows[static_cast<std::size_t>(row)].name;
    m_app.log().Log("On edited: " + oldName + " string = " + newName);
    dialog& d = m_app.dlg();
    const int index = FindNodeIndex(d, oldName);
    if (index < 0)
        return false;
    const EditResult check = CheckNodeName(d, newName, index);
    if (check.status == EditStatus::EmptyName) {
        m_app.dialogs().Warning(NodeDialogModel::kEmptyName);
        return false;
    }
    if (check.status == EditStatus::NameTaken) {
        m_app.dialogs().Warning(
            "The specified node '" + newName + "' already exists.\r\nPlease pick a unique node name.");
        return false;
    }
    if (newName == oldName)
        return true;
    m_app.log().Log("Renamed " + oldName + " to " + newName);
    RenameNode(d, index, newName, RemapMode::InPlace, [this](std::string_view t) { m_app.WriteConsoleLine(t); });
    m_app.DialogueChanged();
    m_app.RefreshEditorLists();
    SelectNode(index);
    m_app.BroadcastPluginUpdate();
    return true;
}

void DialogueEditorModel::Exit()
{
    if (m_app.dlg().node_count > 0)
        ResolveLinks(m_app.dlg());
}

} // namespace zev
