#include "editors/parameter_input.h"

#include <algorithm>

#include "app/app.h"
#include "base/text_replace.h"
#include "completion/code_snippets.h"
#include "editors/name_mask.h"
#include "editors/value_text.h"

namespace zev {

namespace {

// conditions.ini is the designer's file: a wild ItemCount must not run for ever.
constexpr int32_t kMaxSkillItems = 4096;

} // namespace

ParameterInputModel::ParameterInputModel(App& app, const DefinitionTable& definitions)
    : m_app(app)
    , m_definitions(definitions)
{
}

std::optional<std::string> ParameterInputModel::Run(const CodeSnippet& snippet, ParameterInputView* view)
{
    if (!view || !Begin(snippet))
        return std::nullopt;
    const bool ok = view->exec(*this);
    std::optional<std::string> out;
    if (ok && m_done)
        out = m_code;
    m_snippet = nullptr;
    return out;
}

bool ParameterInputModel::Begin(const CodeSnippet& snippet)
{
    m_snippet = &snippet;
    m_code = snippet.code;
    m_index = 0;
    m_count = std::clamp(snippet.param_count, 0, kMaxSnippetParams);
    m_done = false;
    m_memo.clear();
    m_freeText.clear();
    m_spin = 0;
    const bool ok = PreparePage();
    changed.Emit();
    return ok;
}

bool ParameterInputModel::PreparePage()
{
    m_items.clear();
    m_chosen = -1;
    m_preview.clear();
    m_label.clear();
    m_prompt.clear();
    m_page = ParamPage::None;
    m_type = PARAM_NONE;
    if (m_index >= m_count)
        return true;
    const Param& p = m_snippet->params[static_cast<std::size_t>(m_index)];
    m_type = p.param_type;
    m_prompt = p.prompt;
    m_app.log().Log("PARAM TYPE: " + std::string(ParamTypeName(m_type)));
    if (m_type < PARAM_INTEGER || m_type > PARAM_MAP_VAR) {
        // Only a hand-written preset file can hold such a code.
        m_app.dialogs().Warning("ERROR!\r\n\r\nCurrent_param=" + std::to_string(m_index));
        return false;
    }
    FillPage();
    return true;
}

void ParameterInputModel::FillPage()
{
    const dialog& d = m_app.dlg();
    switch (m_type) {
    case PARAM_INTEGER:
        m_page = ParamPage::Spin;
        m_label = kIntegerLabel;
        break;
    case PARAM_NODE:
        m_page = ParamPage::NodeChoice;
        m_label = kNodeLabel;
        for (int32_t i = 0; i < std::min(d.node_count, kMaxNodes); ++i)
            m_items.push_back(d.nodes[i] ? d.nodes[i]->name.str() : std::string());
        break;
    case PARAM_BOOLEAN:
        m_page = ParamPage::List;
        m_label = kBooleanLabel;
        m_items.assign(kBooleans.begin(), kBooleans.end());
        break;
    case PARAM_FLOATNODE:
        m_page = ParamPage::DropDown;
        m_label = kFloatNodeLabel;
        for (int32_t i = 0; i < std::min(d.float_node_count, kMaxFloatNodes); ++i)
            m_items.push_back(d.float_nodes[i] ? d.float_nodes[i]->name.str() : std::string());
        break;
    case PARAM_STRING:
        m_page = ParamPage::Memo;
        m_label = kStringLabel;
        break;
    case PARAM_SKILL:
        m_label = kSkillLabel;
        FillSkillItems("Skill");
        break;
    case PARAM_STAT:
        m_label = kStatLabel;
        FillSkillItems("Stat");
        break;
    case PARAM_LOCAL_VAR:
    case PARAM_SCRIPT_VAR: {
        m_page = ParamPage::List;
        m_label = kVariableLabel;
        const int32_t scope = m_type == PARAM_LOCAL_VAR ? SCOPE_LOCAL : SCOPE_NONE;
        for (int32_t i = 0; i < std::min(d.variable_count, kMaxVariables); ++i)
            if (const TVariable* v = d.variables[i]; v && v->scope == scope)
                m_items.push_back((scope == SCOPE_LOCAL ? "LVAR_" : "") + v->name.str());
        break;
    }
    case PARAM_PID: {
        m_page = ParamPage::List;
        m_label = kPidLabel;
        std::string error;
        const std::optional<NameMask> mask = NameMask::Parse("PID_*", error);
        for (const IncEntry& e : m_definitions)
            if (mask && mask->Matches(e.name))
                m_items.push_back(e.name);
        break;
    }
    default: // Global Var and Map Var: nothing to list, so the value is typed
        m_page = ParamPage::FreeText;
        m_label = kFreeTextLabel;
        break;
    }
    // A drop-down and the two-way list always show a choice; the other lists wait for one.
    if (!m_items.empty()
        && (m_page == ParamPage::NodeChoice || m_page == ParamPage::DropDown || m_type == PARAM_BOOLEAN))
        Choose(0);
}

void ParameterInputModel::FillSkillItems(std::string_view section)
{
    m_page = ParamPage::List;
    const IniFile& ini = m_app.conditions();
    const int32_t count = std::clamp(ini.ReadInteger(section, "ItemCount", 0), 0, kMaxSkillItems);
    for (int32_t k = 1; k <= count; ++k)
        m_items.push_back(ini.ReadString(section, "Item" + std::to_string(k), ""));
}

void ParameterInputModel::Choose(int item)
{
    m_chosen = item >= 0 && item < static_cast<int>(m_items.size()) ? item : -1;
    m_preview.clear();
    if (m_page == ParamPage::NodeChoice && m_chosen >= 0) {
        const dialog& d = m_app.dlg();
        if (m_chosen < d.node_count && d.nodes[m_chosen])
            m_preview = d.nodes[m_chosen]->npc_text.str();
    }
    changed.Emit();
}

void ParameterInputModel::SetSpinValue(int value)
{
    m_spin = std::clamp(value, kMinInteger, kMaxInteger);
}

std::string ParameterInputModel::ListValue() const
{
    return m_chosen >= 0 ? m_items[static_cast<std::size_t>(m_chosen)] : std::string();
}

std::optional<std::string> ParameterInputModel::PageValue()
{
    std::string_view refusal;
    switch (m_type) {
    case PARAM_INTEGER:
        return std::to_string(m_spin);
    case PARAM_NODE:
    case PARAM_FLOATNODE:
    case PARAM_BOOLEAN:
        return ListValue();
    case PARAM_STRING:
        return BreaksToBackslashN(m_memo);
    case PARAM_SKILL:
    case PARAM_STAT: {
        if (m_chosen < 0) {
            refusal = m_type == PARAM_SKILL ? kNoSkill : kNoStat;
            break;
        }
        const std::string_view section = m_type == PARAM_SKILL ? "Skill" : "Stat";
        return m_app.conditions().ReadString(section, "Item" + std::to_string(m_chosen + 1) + "SSLEnum", "");
    }
    case PARAM_LOCAL_VAR:
    case PARAM_SCRIPT_VAR:
    case PARAM_PID:
        if (m_chosen < 0) {
            refusal = m_type == PARAM_PID ? kNoPid : kNoVariable;
            break;
        }
        return ListValue();
    default:
        return m_freeText;
    }
    m_app.dialogs().Warning(refusal);
    return std::nullopt;
}

ParameterInputModel::Step ParameterInputModel::Next()
{
    if (!m_snippet || m_done)
        return Step::Done;
    if (m_index < m_count) {
        const std::optional<std::string> value = PageValue();
        if (!value)
            return Step::Stay;
        const Param& p = m_snippet->params[static_cast<std::size_t>(m_index)];
        m_code = ReplaceAll(m_code, "%" + p.name + "%", *value);
        ++m_index;
        m_memo.clear();
        m_freeText.clear();
        m_spin = 0;
    }
    if (m_index >= m_count) {
        m_done = true;
        PreparePage();
        changed.Emit();
        return Step::Done;
    }
    const bool prepared = PreparePage();
    changed.Emit();
    return prepared ? Step::Advanced : Step::Failed;
}

} // namespace zev
