#include "editors/start_conditions.h"

#include <algorithm>

#include "app/app.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

constexpr std::string_view kTypesSection = "Condition Types";

// Alphabetical as a list box sorts: without regard to ASCII case, then by bytes so the order is total.
bool NameBefore(const std::string& a, const std::string& b)
{
    const auto fold = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string fa = fold(a), fb = fold(b);
    return fa != fb ? fa < fb : a < b;
}

int PositionIn(const std::vector<std::string>& items, std::string_view text)
{
    const auto at = std::find(items.begin(), items.end(), text);
    return at == items.end() ? -1 : static_cast<int>(at - items.begin());
}

bool InRange(int position, std::size_t size)
{
    return position >= 0 && static_cast<std::size_t>(position) < size;
}

} // namespace

bool StartTargetPreview(const dialog& d, std::string_view target, std::string& preview)
{
    if (const int n = FindNodeIndex(d, target); n >= 0) {
        preview = d.nodes[n]->npc_text.str();
        return true;
    }
    const int f = FindFloatNodeIndex(d, target);
    if (f < 0)
        return false;
    const floatnode& fl = *d.float_nodes[f];
    preview = std::string(StartConditionsModel::kFloatHeading) + '"' + fl.name.str() + "\"]";
    for (int32_t i = 0; i < std::clamp(fl.message_count, 0, kMaxFloatMessages); ++i)
        preview += "\r\n" + fl.messages[i].str();
    return true;
}

StartConditionsModel::StartConditionsModel(App& app)
    : m_app(app)
    , m_ini(app.ProgramPath(kFileName))
{
}

bool StartConditionsModel::Open()
{
    Begin();
    return m_view && m_view->exec(*this);
}

void StartConditionsModel::Begin()
{
    FillRows();
    FillTypes();
    FillTargets();
    ResetType();
    m_eval = 0;
    SelectRow(-1);
}

starting_condition* StartConditionsModel::Selected() const
{
    const dialog& d = m_app.dlg();
    return m_selected >= 0 && m_selected < d.start_condition_count && m_selected < kMaxStartConditions
        ? d.start_conditions[m_selected]
        : nullptr;
}

std::string StartConditionsModel::Read(std::string_view key, std::string_view def) const
{
    const std::string section = InRange(m_type, m_types.size()) ? m_types[m_type] : std::string();
    return m_ini.ReadString(section, key, def);
}

void StartConditionsModel::FillTypes()
{
    const int count = std::clamp(m_ini.ReadInteger(kTypesSection, "count", 0), 0, kMaxDefinitionItems);
    m_types.clear();
    for (int k = 1; k <= count; ++k)
        m_types.push_back(m_ini.ReadString(kTypesSection, "cond" + std::to_string(k), ""));
    std::stable_sort(m_types.begin(), m_types.end(), NameBefore);
}

void StartConditionsModel::FillTargets()
{
    const dialog& d = m_app.dlg();
    m_targets.clear();
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i)
        if (d.nodes[i])
            m_targets.push_back(d.nodes[i]->name.str());
    for (int32_t i = 0; i < d.float_node_count && i < kMaxFloatNodes; ++i)
        if (d.float_nodes[i])
            m_targets.push_back(d.float_nodes[i]->name.str());
}

void StartConditionsModel::FillRows()
{
    const dialog& d = m_app.dlg();
    m_rows.clear();
    for (int32_t i = 0; i < std::clamp(d.start_condition_count, 0, kMaxStartConditions); ++i) {
        const starting_condition* s = d.start_conditions[i];
        m_rows.push_back(
            { std::to_string(i + 1), std::to_string(s ? s->line_count : 0), s ? s->target_node.str() : std::string() });
    }
    if (!InRange(m_selected, m_rows.size()))
        m_selected = -1;
}

void StartConditionsModel::FillLines()
{
    m_lines.clear();
    if (const starting_condition* s = Selected())
        for (int32_t i = 0; i < std::clamp(s->line_count, 0, kMaxStartConditionLines); ++i)
            m_lines.push_back(s->lines[i] ? s->lines[i]->ssl.str() : std::string());
    if (!InRange(m_line, m_lines.size()))
        m_line = -1;
}

int StartConditionsModel::defaultCondition() const
{
    return m_app.dlg().default_condition;
}

void StartConditionsModel::ShowPreview()
{
    std::string preview;
    if (StartTargetPreview(m_app.dlg(), m_target, preview))
        m_preview = std::move(preview);
}

void StartConditionsModel::SelectRow(int row)
{
    m_line = -1;
    if (!InRange(row, m_rows.size()) || !m_app.dlg().start_conditions[row]) {
        m_selected = -1;
        m_selector = -1;
        m_value.clear();
        m_code.clear();
        m_link = 0;
        m_lines.clear();
        m_preview.clear();
        m_target.clear();
        changed.Emit();
        return;
    }
    m_selected = row;
    FillLines();
    m_target = Selected()->target_node.str();
    ShowPreview();
    changed.Emit();
}

void StartConditionsModel::SetTarget(std::string target)
{
    m_target = std::move(target);
    ShowPreview();
    changed.Emit();
}

void StartConditionsModel::Changed()
{
    m_app.DialogueChanged();
}

bool StartConditionsModel::AddStartCondition()
{
    dialog& d = m_app.dlg();
    if (TableFull(d.start_conditions, d.start_condition_count)) {
        m_app.dialogs().Warning("The dialogue already holds " + std::to_string(kMaxStartConditions)
            + " start conditions, as many as it can hold.\r\nNo start condition was added.");
        return false;
    }
    if (!zev::AddStartCondition(d, m_target, m_makeDefault))
        return false;
    Changed();
    FillRows();
    // The new one is selected, ready for its lines.
    SelectRow(static_cast<int>(m_rows.size()) - 1);
    return true;
}

bool StartConditionsModel::ApplyChanges()
{
    starting_condition* s = Selected();
    if (!s)
        return false;
    s->target_node = m_target;
    if (m_makeDefault)
        m_app.dlg().default_condition = m_selected;
    Changed();
    FillRows();
    changed.Emit();
    return true;
}

bool StartConditionsModel::DeleteStartCondition()
{
    if (!Selected())
        return false;
    FreeStartCondition(RemoveStartConditionAt(m_app.dlg(), m_selected));
    Changed();
    FillRows();
    SelectRow(-1);
    return true;
}

void StartConditionsModel::ResetType()
{
    m_type = -1;
    m_hasEval = true;
    m_hideValue = false;
    m_makeDefault = false;
    m_selectorKind.clear();
    m_selectorCaption.clear();
    m_choiceSection.clear();
    m_selectorItems.clear();
    m_selector = -1;
}

void StartConditionsModel::ChooseType(int position)
{
    if (!InRange(position, m_types.size()))
        return; // no type text: nothing happens
    m_type = position;
    const std::string& section = m_types[m_type];
    m_hideValue = m_ini.ReadBool(section, "hide_data_entry", false);
    m_hasEval = m_ini.ReadBool(section, "haseval", true);
    m_makeDefault = m_ini.ReadBool(section, "do_setdefault", false);
    FillSelector(Read("selector"));
    Rebuild();
}

void StartConditionsModel::FillSelector(std::string_view kind)
{
    m_selectorKind = kind;
    m_selectorCaption = kind.empty() ? std::string() : Read("selectorcaption");
    m_choiceSection = kind == kIniSect ? Read("inisect") : std::string();
    m_selectorItems.clear();
    m_selector = -1;
    if (kind == kIniSect) {
        const int count = std::clamp(m_ini.ReadInteger(m_choiceSection, "count", 0), 0, kMaxDefinitionItems);
        for (int j = 1; j <= count; ++j)
            m_selectorItems.push_back(m_ini.ReadString(m_choiceSection, "itemdisplay" + std::to_string(j), ""));
        return;
    }
    const int32_t scope = kind == kScriptVars ? SCOPE_NONE : kind == kLocalVars ? SCOPE_LOCAL : -1;
    const dialog& d = m_app.dlg();
    for (int32_t i = 0; scope >= 0 && i < d.variable_count && i < kMaxVariables; ++i)
        if (const TVariable* v = d.variables[i]; v && v->scope == scope)
            m_selectorItems.push_back(v->name.str());
}

std::string StartConditionsModel::SelectorText() const
{
    return InRange(m_selector, m_selectorItems.size()) ? m_selectorItems[m_selector] : std::string();
}

std::string StartConditionsModel::SelectionText() const
{
    if (m_selectorKind != kIniSect)
        return SelectorText();
    return m_selector < 0 ? std::string()
                          : m_ini.ReadString(m_choiceSection, "item" + std::to_string(m_selector + 1), "");
}

void StartConditionsModel::Rebuild()
{
    m_code = ResolveStartConditionCode(Read("data", kNoData), OperatorSymbol(m_eval), m_value, SelectionText());
    changed.Emit();
}

void StartConditionsModel::ChooseSelector(int position)
{
    m_selector = InRange(position, m_selectorItems.size()) ? position : -1;
    Rebuild();
}

void StartConditionsModel::ChooseEval(int position)
{
    m_eval = ClampPosition(position, kOperatorItems.size());
    Rebuild();
}

void StartConditionsModel::SetValue(std::string value)
{
    m_value = std::move(value);
    Rebuild();
}

void StartConditionsModel::ChooseLinkage(int position)
{
    m_link = ClampPosition(position, kLinkageItems.size());
    changed.Emit();
}

void StartConditionsModel::SelectLine(int line)
{
    const starting_condition* s = Selected();
    const cond_data* c = s && InRange(line, m_lines.size()) ? s->lines[line] : nullptr;
    if (!c) {
        m_line = -1;
        changed.Emit();
        return;
    }
    m_line = line;
    m_value = c->value_to_check.str();
    m_eval = ClampPosition(c->eval, kOperatorItems.size());
    // A line of a type the definition file no longer has keeps no type: Modify then asks for one
    // rather than storing another type's position.
    if (InRange(c->ini_index, m_types.size()))
        ChooseType(c->ini_index);
    else
        ResetType();
    m_selector = PositionIn(m_selectorItems, c->var_param.view());
    m_link = ClampPosition(c->link, kLinkageItems.size());
    Rebuild();
}

bool StartConditionsModel::CanStoreLine()
{
    if (m_type >= 0)
        return true;
    m_app.dialogs().Warning(kNoType);
    return false;
}

bool StartConditionsModel::AddLine()
{
    starting_condition* s = Selected();
    if (!s || !CanStoreLine())
        return false;
    if (TableFull(s->lines, s->line_count)) {
        m_app.dialogs().Warning("This start condition already holds " + std::to_string(kMaxStartConditionLines)
            + " condition lines, as many as it can hold.\r\nNo line was added.");
        return false;
    }
    if (!AddStartConditionLine(m_app.dlg(), m_selected, m_code, SelectorText(), m_eval, m_value, m_type, m_link))
        return false;
    Changed();
    FillRows();
    FillLines();
    changed.Emit();
    return true;
}

bool StartConditionsModel::ModifyLine()
{
    if (!Selected() || m_line < 0 || !CanStoreLine())
        return false;
    if (!SetStartConditionLine(
            m_app.dlg(), m_selected, m_line, m_code, SelectorText(), m_eval, m_value, m_type, m_link))
        return false;
    Changed();
    FillLines();
    changed.Emit();
    return true;
}

bool StartConditionsModel::DeleteLine()
{
    if (!Selected() || m_line < 0)
        return false;
    cond_data* c = RemoveStartConditionLineAt(m_app.dlg(), m_selected, m_line);
    if (!c)
        return false;
    delete c;
    m_line = -1;
    Changed();
    FillRows(); // its line count
    FillLines();
    changed.Emit();
    return true;
}

} // namespace zev
