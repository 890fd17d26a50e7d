#include "editors/script_variables.h"

#include <algorithm>

#include "app/app.h"
#include "editors/value_text.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"

namespace zev {

namespace {

int VariableCount(const dialog& d)
{
    return std::clamp(d.variable_count, 0, kMaxVariables);
}

TVariable* VariableAt(dialog& d, int i)
{
    return i >= 0 && i < VariableCount(d) ? d.variables[i] : nullptr;
}

bool KnownType(int32_t type)
{
    return type >= VALUE_STRING && type <= VALUE_FLOAT;
}

} // namespace

VariableRow VariableRowOf(const TVariable& v)
{
    VariableRow row;
    const bool knownScope = v.scope >= 0 && v.scope < static_cast<int32_t>(ScriptVariablesModel::kScopePrefixes.size());
    row.name = std::string(knownScope ? ScriptVariablesModel::kScopePrefixes[static_cast<std::size_t>(v.scope)] : "")
        + v.name.str();
    if (KnownType(v.value_type)) {
        row.type = ScriptVariablesModel::kTypeNames[static_cast<std::size_t>(v.value_type)];
        row.value = VariableValueText(v);
    } else {
        row.type = ScriptVariablesModel::kNoDefault;
    }
    return row;
}

ScriptVariablesModel::ScriptVariablesModel(App& app)
    : m_app(app)
{
}

bool ScriptVariablesModel::Open(ScriptVariablesView* view)
{
    Begin();
    const bool ok = view && view->exec(*this);
    if (ok)
        m_app.DialogueChanged();
    return ok;
}

void ScriptVariablesModel::Begin()
{
    m_selection.clear();
    ClearFields();
    FillRows();
    changed.Emit();
}

void ScriptVariablesModel::FillRows()
{
    const dialog& d = m_app.dlg();
    m_rows.clear();
    for (int i = 0; i < VariableCount(d); ++i)
        m_rows.push_back(d.variables[i] ? VariableRowOf(*d.variables[i]) : VariableRow {});
}

void ScriptVariablesModel::ClearFields()
{
    m_name.clear();
    m_scope = SCOPE_NONE;
    m_hasDefault = false;
    m_type = -1;
    m_showNone = false;
    m_value.clear();
    m_notes.clear();
}

void ScriptVariablesModel::LoadFields(const TVariable& v)
{
    m_name = v.name.str();
    m_type = KnownType(v.value_type) ? v.value_type : -1;
    m_hasDefault = m_type >= 0;
    m_showNone = false;
    m_scope = std::clamp(v.scope, 0, static_cast<int32_t>(kScopes.size()) - 1);
    m_notes = BackslashNToBreaks(v.notes.view());
    m_value = VariableValueText(v);
}

void ScriptVariablesModel::SetSelection(std::vector<int> rows)
{
    const int count = static_cast<int>(m_rows.size());
    std::erase_if(rows, [count](int r) { return r < 0 || r >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    m_selection = std::move(rows);
    if (m_selection.empty()) {
        ClearFields();
    } else if (m_selection.size() == 1) {
        if (const TVariable* v = VariableAt(m_app.dlg(), m_selection.front())) {
            LoadFields(*v);
            m_app.log().Log("varTYPE:=" + std::to_string(v->value_type));
        }
    }
    changed.Emit();
}

void ScriptVariablesModel::SetScope(int scope)
{
    m_scope = std::clamp(scope, 0, static_cast<int>(kScopes.size()) - 1);
}

void ScriptVariablesModel::SetHasDefault(bool on)
{
    m_hasDefault = on;
    if (!on) {
        m_type = -1;
        m_showNone = true;
    }
    changed.Emit();
}

void ScriptVariablesModel::SetType(int type)
{
    m_type = type >= 0 && type < static_cast<int>(kTypes.size()) ? type : -1;
    m_showNone = false;
    changed.Emit();
}

std::string_view ScriptVariablesModel::typeText() const
{
    if (m_type >= 0)
        return kTypes[static_cast<std::size_t>(m_type)];
    return m_showNone ? kNoType : std::string_view {};
}

bool ScriptVariablesModel::ConvertValue(int type, HostVariant& out) const
{
    switch (type) {
    case VALUE_STRING:
        out.SetString(m_value);
        return true;
    case VALUE_INTEGER:
        if (const std::optional<int32_t> i = ParseIntegerText(m_value)) {
            out.SetInt(*i);
            return true;
        }
        m_app.dialogs().Error("'" + m_value + "' is not a valid integer value");
        return false;
    case VALUE_FLOAT:
        if (const std::optional<double> f = ParseFloatText(m_value)) {
            out.SetFloat(*f);
            return true;
        }
        m_app.dialogs().Error("'" + m_value + "' is not a valid floating point value");
        return false;
    default:
        out.Clear();
        return true;
    }
}

void ScriptVariablesModel::Changed()
{
    m_app.DialogueChanged();
    m_selection.clear();
    ClearFields();
    FillRows();
    changed.Emit();
}

void ScriptVariablesModel::Add()
{
    dialog& d = m_app.dlg();
    if (TableFull(d.variables, d.variable_count)) {
        m_app.dialogs().Error("The dialogue already has " + std::to_string(kMaxVariables)
            + " script variables, the most it can hold.\r\nThe variable was not added.");
        return;
    }
    const int type = m_hasDefault ? m_type : -1;
    HostVariant value;
    // A value that does not convert adds nothing, and the fields stay for a correction.
    if (!ConvertValue(type, value))
        return;
    TVariable* v = AddVariable(d, m_name);
    if (!v)
        return;
    v->scope = m_scope;
    v->value_type = type;
    v->notes = BreaksToBackslashN(m_notes);
    v->value = value;
    Changed();
}

void ScriptVariablesModel::Apply()
{
    dialog& d = m_app.dlg();
    if (m_selection.empty())
        return;
    HostVariant value;
    // A value that does not convert stores nothing: the type and the value belong together.
    if (!ConvertValue(m_type, value))
        return;
    if (m_selection.size() == 1) {
        if (TVariable* v = VariableAt(d, m_selection.front())) {
            v->name = m_name;
            v->notes = BreaksToBackslashN(m_notes);
            v->value_type = m_type;
            v->scope = m_scope;
            if (m_type >= 0)
                v->value = value;
        }
    } else {
        m_app.log().Log("Selected " + std::to_string(m_selection.size()) + " items.");
        for (int i : m_selection) {
            if (TVariable* v = VariableAt(d, i)) {
                v->value_type = m_type;
                v->scope = m_scope;
                if (m_type >= 0)
                    v->value = value;
            }
        }
    }
    Changed();
}

void ScriptVariablesModel::Delete()
{
    if (m_selection.empty())
        return;
    delete RemoveVariableAt(m_app.dlg(), m_selection.front());
    Changed();
}

void ScriptVariablesModel::Move(int step)
{
    dialog& d = m_app.dlg();
    if (m_selection.empty())
        return;
    const int from = m_selection.front();
    const int to = from + step;
    if (to < 0 || to >= VariableCount(d))
        return; // the top one up, the bottom one down
    std::swap(d.variables[from], d.variables[to]);
    m_app.DialogueChanged();
    FillRows();
    SetSelection({ to });
}

void ScriptVariablesModel::MoveUp()
{
    Move(-1);
}

void ScriptVariablesModel::MoveDown()
{
    Move(1);
}

void ScriptVariablesModel::Rearrange()
{
    if (SortVariables(m_app.dlg()))
        m_app.DialogueChanged();
    m_selection.clear();
    ClearFields();
    FillRows();
    m_app.BroadcastPluginUpdate();
    changed.Emit();
}

} // namespace zev
