#include "editors/conditions_editor.h"

#include <algorithm>
#include <exception>

#include "app/app.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

bool HoldsOption(const dialog& d, const option* o)
{
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i) {
        const dlgnode* n = d.nodes[i];
        for (int32_t k = 0; n && k < n->option_count && k < kMaxOptions; ++k)
            if (n->options[k] == o)
                return true;
    }
    return false;
}

// Works on the option itself, so a pending option of the option dialog can lose a condition too.
condition* TakeCondition(option& o, int index)
{
    if (index < 0 || index >= o.condition_count || o.condition_count > kMaxConditions)
        return nullptr;
    condition* c = o.conditions[index];
    std::copy(o.conditions + index + 1, o.conditions + o.condition_count, o.conditions + index);
    o.conditions[--o.condition_count] = nullptr;
    return c;
}

std::string ItemKey(int position, std::string_view suffix = {})
{
    return "Item" + std::to_string(position + 1) + std::string(suffix);
}

} // namespace

ConditionsEditorModel::ConditionsEditorModel(App& app)
    : m_app(app)
{
}

bool ConditionsEditorModel::Open(option& edited)
{
    Begin(edited);
    const bool ok = m_view && m_view->exec(*this);
    End();
    return ok;
}

void ConditionsEditorModel::Begin(option& edited)
{
    m_option = &edited;
    FillTypes();
    ChooseCheckType(0);
    m_eval = 0;
    m_link = 0;
    m_resolved.clear();
    m_value.clear();
    m_line = -1;
    FillLines();
    changed.Emit();
}

void ConditionsEditorModel::End()
{
    m_option = nullptr;
    m_lines.clear();
    m_line = -1;
}

const std::string& ConditionsEditorModel::typeSection() const
{
    static const std::string kNone;
    return m_type >= 0 && m_type < static_cast<int>(m_types.size()) ? m_types[m_type] : kNone;
}

std::string ConditionsEditorModel::ReadKey(std::string_view key) const
{
    return m_app.conditions().ReadString(typeSection(), key, "");
}

void ConditionsEditorModel::FillTypes()
{
    const IniFile& ini = m_app.conditions();
    const int count = std::clamp(ini.ReadInteger("Main", "CheckTypeCount", 0), 0, kMaxDefinitionItems);
    m_types.clear();
    for (int k = 1; k <= count; ++k)
        m_types.push_back(ini.ReadString("Main", "CheckType" + std::to_string(k), ""));
}

void ConditionsEditorModel::FillLines()
{
    m_lines.clear();
    if (!m_option)
        return;
    const int32_t count = std::clamp(m_option->condition_count, 0, kMaxConditions);
    for (int32_t i = 0; i < count; ++i) {
        const condition* c = m_option->conditions[i];
        m_lines.push_back(c ? c->script_expr.str() : std::string());
    }
}

void ConditionsEditorModel::ChooseCheckType(int position)
{
    m_type = position >= 0 && position < static_cast<int>(m_types.size()) ? position : -1;
    m_fields.clear();
    m_field = -1;
    m_source = m_type >= 0 ? ReadKey("source") : std::string();
    if (!m_source.empty()) {
        const dialog& d = m_app.dlg();
        const int32_t scope = m_source == kLocalVars ? SCOPE_LOCAL : m_source == kScriptVars ? SCOPE_NONE : -1;
        for (int32_t i = 0; scope >= 0 && i < d.variable_count && i < kMaxVariables; ++i)
            if (const TVariable* v = d.variables[i]; v && v->scope == scope)
                m_fields.push_back(v->name.str());
    } else if (m_type >= 0) {
        const int count
            = std::clamp(m_app.conditions().ReadInteger(typeSection(), "ItemCount", 0), 0, kMaxDefinitionItems);
        for (int k = 0; k < count; ++k)
            m_fields.push_back(ReadKey(ItemKey(k)));
        m_field = m_fields.empty() ? -1 : 0;
    }
    // The code follows the controls, so a type change never leaves the code of the type before.
    Resolve();
}

void ConditionsEditorModel::SelectField(int position)
{
    m_field = position >= 0 && position < static_cast<int>(m_fields.size()) ? position : -1;
    Resolve();
}

void ConditionsEditorModel::ChooseEval(int position)
{
    m_eval = ClampPosition(position, kOperatorItems.size());
    Resolve();
}

void ConditionsEditorModel::SetValue(std::string value)
{
    m_value = std::move(value);
    Resolve();
}

void ConditionsEditorModel::ChooseLinkage(int position)
{
    m_link = ClampPosition(position, kLinkageItems.size());
    changed.Emit();
}

void ConditionsEditorModel::Resolve()
{
    m_chosenField = m_field >= 0 ? m_fields[m_field] : std::string();
    std::string item;
    if (!m_source.empty())
        item = m_chosenField;
    else if (m_field >= 0)
        item = ReadKey(ItemKey(m_field, "SSLEnum"));
    m_resolved = ResolveConditionCode(ReadKey("SSLCommand"), OperatorSymbol(m_eval), m_value, item);
    changed.Emit();
}

void ConditionsEditorModel::Store(condition& c) const
{
    c.check_type = m_type + 1;
    if (variableSource()) {
        c.subject = m_field;
        c.variable_name = m_fields[m_field];
    } else {
        c.subject = m_app.conditions().ReadInteger(typeSection(), ItemKey(m_field, "Enum"), 0);
        c.variable_name = HostString();
    }
    c.eval = m_eval;
    c.value = m_value;
    c.script_expr = m_resolved;
    c.link_next = m_link;
}

void ConditionsEditorModel::Changed()
{
    if (HoldsOption(m_app.dlg(), m_option))
        m_app.DialogueChanged();
    FillLines();
    changed.Emit();
}

bool ConditionsEditorModel::Add()
{
    if (!m_option)
        return false;
    Dialogs& boxes = m_app.dialogs();
    if (m_type < 0) {
        boxes.Warning(kNoCheckTypes);
        return false;
    }
    if (m_value.empty()) {
        boxes.Warning(kEmptyValue);
        return false;
    }
    if (m_field < 0) {
        boxes.Warning(kNoField);
        return false;
    }
    condition* c = AddCondition(*m_option);
    if (!c) {
        boxes.Warning("This option already holds " + std::to_string(kMaxConditions)
            + " conditions, as many as an option can hold.\r\nNo condition was added.");
        return false;
    }
    Store(*c);
    Changed();
    return true;
}

int ConditionsEditorModel::FieldOf(const condition& c) const
{
    const int count = static_cast<int>(m_fields.size());
    if (!variableSource())
        return c.subject >= 1 && c.subject <= count ? c.subject - 1 : -1;
    if (c.variable_name.empty())
        return c.subject >= 0 && c.subject < count ? c.subject : -1;
    // The name decides: a variable deleted or moved since must not hand its place to another.
    const auto named = std::find(m_fields.begin(), m_fields.end(), c.variable_name.view());
    return named == m_fields.end() ? -1 : static_cast<int>(named - m_fields.begin());
}

void ConditionsEditorModel::SelectLine(int line)
{
    const condition* c
        = m_option && line >= 0 && line < static_cast<int>(m_lines.size()) ? m_option->conditions[line] : nullptr;
    if (!c) {
        m_line = -1;
        m_resolved.clear();
        m_value.clear();
        changed.Emit();
        return;
    }
    m_line = line;
    ChooseCheckType(c->check_type - 1);
    m_field = FieldOf(*c);
    m_eval = ClampPosition(c->eval, kOperatorItems.size());
    m_value = c->value.str();
    m_link = ClampPosition(c->link_next, kLinkageItems.size());
    Resolve();
    m_resolved = c->script_expr.str();
    changed.Emit();
}

bool ConditionsEditorModel::ApplyChanges()
{
    if (!m_option || m_line < 0)
        return false;
    std::string reason;
    condition* c = m_line < m_option->condition_count ? m_option->conditions[m_line] : nullptr;
    if (!c)
        reason = "the option no longer holds this condition.";
    else if (m_type < 0)
        reason = "no check type is chosen.";
    else if (m_field < 0)
        reason = "no field is chosen.";
    try {
        if (reason.empty())
            Store(*c);
    } catch (const std::exception& e) {
        reason = e.what();
    }
    if (!reason.empty()) {
        m_app.dialogs().Warning(std::string(kApplyFailed) + reason);
        return false;
    }
    Changed();
    return true;
}

bool ConditionsEditorModel::Delete()
{
    if (!m_option || m_line < 0)
        return false;
    condition* c = TakeCondition(*m_option, m_line);
    if (!c)
        return false;
    delete c;
    m_line = -1;
    m_resolved.clear();
    m_value.clear();
    Changed();
    return true;
}

} // namespace zev
