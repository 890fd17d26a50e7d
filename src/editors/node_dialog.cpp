#include "editors/node_dialog.h"

#include "app/app.h"
#include "app/settings.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "runner/run_support.h"

namespace zev {

NodeDialogModel::NodeDialogModel(App& app, OptionDialogModel& options)
    : m_app(app)
    , m_options(options)
{
}

dlgnode* NodeDialogModel::Node() const
{
    dialog& d = m_app.dlg();
    return m_node >= 0 && m_node < d.node_count ? d.nodes[m_node] : nullptr;
}

void NodeDialogModel::FillRows()
{
    m_rows.clear();
    if (const dlgnode* n = Node())
        for (int32_t i = 0; i < n->option_count && i < kMaxOptions; ++i)
            if (const option* o = n->options[i])
                m_rows.push_back({ std::to_string(i + 1), o->text.str(), o->link_target.str() });
    if (m_selected >= static_cast<int>(m_rows.size()))
        m_selected = -1;
}

void NodeDialogModel::BeginAdd(int nodeIndex, std::string presetName)
{
    Clear();
    m_node = nodeIndex;
    m_caption = std::string(kAddCaption);
    m_name = std::move(presetName);
    FillRows();
    changed.Emit();
}

void NodeDialogModel::BeginEdit(int nodeIndex)
{
    Clear();
    m_node = nodeIndex;
    m_caption = std::string(kEditCaption);
    if (const dlgnode* n = Node()) {
        m_name = n->name.str();
        m_oldName = m_name;
        m_npcText = n->npc_text.str();
        m_notes = n->notes.str();
        m_female = !n->npc_female_text.empty();
        m_femaleText = n->npc_female_text.str();
    }
    FillRows();
    changed.Emit();
}

bool NodeDialogModel::Accept()
{
    dialog& d = m_app.dlg();
    const EditResult check = CheckNodeName(d, m_name, m_node);
    if (check.status == EditStatus::EmptyName) {
        m_app.dialogs().Warning(kEmptyName);
        return false;
    }
    if (check.status == EditStatus::NameTaken) {
        m_app.dialogs().Warning(
            "The specified node '" + m_name + "' already exists.\r\nPlease pick a unique node name.");
        return false;
    }
    m_app.log().Log("CurrentNodeName: " + m_name + " Previous: " + m_oldName);
    m_lastAccepted = m_name;
    if (!m_oldName.empty() && m_name != m_oldName) {
        const bool notesToo = m_app.settings().autoRemapNodes;
        RenameNode(
            d, m_node, m_name, NodeDialogRemap(notesToo), [this](std::string_view t) { m_app.WriteConsoleLine(t); },
            &m_app.log());
        // The node's own notes are stored from this dialog's field next: remapped there too, or
        // the field would put the old name back.
        if (notesToo)
            m_notes = ReplaceAll(m_notes, m_oldName, m_name);
        m_oldName = m_name;
    }
    return true;
}

void NodeDialogModel::Store()
{
    dlgnode* n = Node();
    if (!n)
        return;
    m_app.DialogueChanged();
    n->name = m_name;
    n->npc_text = m_npcText;
    n->notes = m_notes;
    n->npc_female_text = m_female ? m_femaleText : std::string();
    n->hidden = 0;
}

void NodeDialogModel::Clear()
{
    m_node = -1;
    m_oldName.clear();
    m_caption.clear();
    m_name.clear();
    m_npcText.clear();
    m_female = false;
    m_femaleText.clear();
    m_notes.clear();
    m_rows.clear();
    m_selected = -1;
    m_options.End();
}

void NodeDialogModel::SetFemaleChecked(bool on)
{
    m_female = on;
    changed.Emit();
}

void NodeDialogModel::SelectRow(int row)
{
    m_selected = row >= 0 && row < static_cast<int>(m_rows.size()) ? row : -1;
    changed.Emit();
}

bool NodeDialogModel::RunOptionDialog()
{
    const bool ok = m_optionView && m_optionView->exec(m_options);
    const bool added = m_options.adding();
    const bool stored = ok && m_options.Apply();
    // An edit, a deletion or a move writes to the dialogue at once, whatever happens to this
    // dialog afterwards: marked modified, or a Cancel here and a quit would lose it unasked.
    if (stored && !added)
        m_app.DialogueChanged();
    m_options.End();
    FillRows();
    changed.Emit();
    return stored;
}

void NodeDialogModel::AddOption()
{
    if (!Node() || !m_options.BeginAdd(m_node))
        return;
    if (RunOptionDialog())
        m_selected = static_cast<int>(m_rows.size()) - 1;
    changed.Emit();
}

void NodeDialogModel::EditOption()
{
    if (!rowButtonsEnabled() || !m_options.BeginEdit(m_node, m_selected))
        return;
    RunOptionDialog();
}

void NodeDialogModel::DoubleClick(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        AddOption();
        return;
    }
    m_selected = row;
    EditOption();
}

void NodeDialogModel::DeleteOption()
{
    if (!rowButtonsEnabled())
        return;
    if (option* removed = RemoveOptionAt(m_app.dlg(), m_node, m_selected)) {
        FreeOption(removed);
        m_app.DialogueChanged();
    }
    m_selected = -1;
    FillRows();
    changed.Emit();
}

void NodeDialogModel::Move(int step)
{
    dlgnode* n = Node();
    if (!n || !rowButtonsEnabled())
        return;
    const int to = m_selected + step;
    if (!SwapOptions(*n, m_selected, to))
        return; // the first row up, the last row down
    m_app.DialogueChanged();
    m_selected = to;
    FillRows();
    changed.Emit();
}

void NodeDialogModel::MoveUp()
{
    Move(-1);
}

void NodeDialogModel::MoveDown()
{
    Move(1);
}

void NodeDialogModel::CustomCode()
{
    dlgnode* n = Node();
    if (!n || !m_editCode)
        return;
    std::optional<std::string> code = m_editCode(n->custom_code.str());
    // The editor may have run a script that changed the node table.
    n = Node();
    if (!code || !n)
        return;
    m_app.DialogueChanged();
    n->custom_code = *code;
}

void NodeDialogModel::EditPlayerOption(const std::string& nodeName, int optionNum)
{
    const int i = FindNodeIndex(m_app.dlg(), nodeName);
    if (i < 0) {
        m_app.dialogs().Error(
            "Error!\r\n\r\nRequested node " + nodeName + " for player\r\noption editing does not exist.");
        return;
    }
    m_node = i;
    if (m_options.BeginEdit(i, optionNum, OptionDialogModel::kScriptEditCaption))
        RunOptionDialog();
    m_node = -1;
    m_rows.clear();
    m_app.BroadcastPluginUpdate();
}

} // namespace zev
