#include "editors/custom_procs.h"

#include <algorithm>

#include "app/app.h"
#include "editors/parameter_input.h"
#include "editors/value_text.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

int ProcCount(const dialog& d)
{
    return std::clamp(d.custom_proc_count, 0, kMaxCustomProcs);
}

custom_proc* ProcAt(dialog& d, int i)
{
    return i >= 0 && i < ProcCount(d) ? d.custom_procs[i] : nullptr;
}

} // namespace

CustomProcEditorModel::CustomProcEditorModel(App& app, const CodeSnippetTable& presets, ParameterInputModel& params)
    : m_app(app)
    , m_presetTable(presets)
    , m_params(params)
{
}

bool CustomProcEditorModel::Run(CustomProcEditorView* view, int mode, int editedNode)
{
    Open(mode, editedNode);
    const bool ok = view && view->exec(*this);
    if (ok) {
        Ok();
    } else {
        m_selected = -1;
        ClearFields();
    }
    return ok;
}

void CustomProcEditorModel::Open(int mode, int editedNode)
{
    m_selected = -1;
    m_node = -1;
    m_preset = -1;
    ClearFields();
    FillLists();
    if (mode == kFromOptionDialog && editedNode >= 0 && editedNode < static_cast<int>(m_nodes.size()))
        m_node = editedNode;
    changed.Emit();
}

void CustomProcEditorModel::Ok()
{
    StoreSelected();
    m_selected = -1;
    ClearFields();
    changed.Emit();
}

void CustomProcEditorModel::FillLists()
{
    const dialog& d = m_app.dlg();
    m_presets.clear();
    for (const CodeSnippet& s : m_presetTable)
        m_presets.push_back(s.desc);
    m_nodes.clear();
    for (int32_t i = 0; i < std::clamp(d.node_count, 0, kMaxNodes); ++i)
        m_nodes.push_back(d.nodes[i] ? d.nodes[i]->name.str() : std::string());
    m_procedures.clear();
    for (int i = 0; i < ProcCount(d); ++i)
        m_procedures.push_back(d.custom_procs[i] ? d.custom_procs[i]->name.str() : std::string());
    if (m_selected >= static_cast<int>(m_procedures.size()))
        m_selected = -1;
    if (m_node >= static_cast<int>(m_nodes.size()))
        m_node = -1;
    if (m_preset >= static_cast<int>(m_presets.size()))
        m_preset = -1;
}

void CustomProcEditorModel::ClearFields()
{
    m_name.clear();
    m_code.clear();
}

void CustomProcEditorModel::StoreSelected()
{
    custom_proc* p = ProcAt(m_app.dlg(), m_selected);
    if (!p)
        return;
    if (p->name == m_name && p->code == m_code && p->associate_node == m_node)
        return;
    p->name = m_name;
    p->code = m_code;
    p->associate_node = m_node;
    // Written to the dialogue, so marked: a quit must not drop it unasked.
    m_app.DialogueChanged();
}

void CustomProcEditorModel::SelectProcedure(int index)
{
    if (index == m_selected)
        return;
    StoreSelected();
    FillLists();
    const custom_proc* p = ProcAt(m_app.dlg(), index);
    if (!p) {
        m_selected = -1;
        ClearFields();
    } else {
        m_selected = index;
        m_name = p->name.str();
        m_code = p->code.str();
        m_node
            = p->associate_node >= 0 && p->associate_node < static_cast<int>(m_nodes.size()) ? p->associate_node : -1;
    }
    changed.Emit();
}

void CustomProcEditorModel::ClickEmpty()
{
    StoreSelected();
    m_selected = -1;
    FillLists();
    ClearFields();
    changed.Emit();
}

void CustomProcEditorModel::ChooseNode(int node)
{
    m_node = node >= 0 && node < static_cast<int>(m_nodes.size()) ? node : -1;
    m_app.DialogueChanged();
    changed.Emit();
}

void CustomProcEditorModel::ChoosePreset(int preset)
{
    m_preset = preset >= 0 && preset < static_cast<int>(m_presets.size()) ? preset : -1;
    changed.Emit();
}

void CustomProcEditorModel::Add()
{
    dialog& d = m_app.dlg();
    if (TableFull(d.custom_procs, d.custom_proc_count)) {
        m_app.dialogs().Error("The dialogue already has " + std::to_string(kMaxCustomProcs)
            + " custom procedures, the most it can hold.\r\nThe procedure was not added.");
        return;
    }
    custom_proc* p = AddCustomProc(d, m_name);
    if (!p)
        return;
    p->code = WithoutFinalBreak(m_code);
    p->associate_node = m_node;
    m_app.DialogueChanged();
    m_selected = -1;
    ClearFields();
    FillLists();
    changed.Emit();
}

void CustomProcEditorModel::Delete()
{
    custom_proc* removed = ProcAt(m_app.dlg(), m_selected) ? RemoveCustomProcAt(m_app.dlg(), m_selected) : nullptr;
    if (!removed)
        return;
    delete removed;
    m_app.DialogueChanged();
    m_selected = -1;
    ClearFields();
    FillLists();
    changed.Emit();
}

void CustomProcEditorModel::Generate()
{
    if (m_selected < 0) {
        m_app.dialogs().Information(kNoProcedure);
        return;
    }
    if (m_preset < 0 || m_preset >= m_presetTable.count())
        return;
    if (std::optional<std::string> code = m_params.Run(m_presetTable[m_preset], m_paramView)) {
        m_code = std::move(*code);
        changed.Emit();
    }
}

} // namespace zev
