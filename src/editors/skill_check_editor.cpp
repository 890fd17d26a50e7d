#include "editors/skill_check_editor.h"

#include <algorithm>
#include <cstdio>

#include "app/app.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"

namespace zev {

namespace {

constexpr std::string_view kInvalid = "Can't create skill check. The following errors\r\nwere detected:\r\n\r\n";
constexpr std::string_view kInvalidEnd = "\r\nCorrect them and try again.";
constexpr std::string_view kLinkedWarning = "Warning:\r\n\r\nThe following nodes have player options \r\nwith links "
                                            "to this skill check:'\r\n\r\n";
constexpr std::string_view kLinkedWarningEnd
    = "\r\nAre you sure you wish to delete this item?\r\n(The player option link will be reset to the\r\nsuccess "
      "node of the skill check.)";

int32_t Clamped(int32_t count, int32_t capacity)
{
    return std::clamp(count, 0, capacity);
}

dlgnode* NodeAt(dialog& d, int index)
{
    return index >= 0 && index < Clamped(d.node_count, kMaxNodes) ? d.nodes[index] : nullptr;
}

int PositionOf(const dlgnode& node, const skillcheck* check)
{
    for (int32_t k = 0; k < Clamped(node.skill_check_count, kMaxSkillChecks); ++k)
        if (node.skill_checks[k] == check)
            return k;
    return -1;
}

// The check leaves the node's table without being freed: it is moving to another node.
void TakeCheckAt(dlgnode& node, int position)
{
    const int32_t count = Clamped(node.skill_check_count, kMaxSkillChecks);
    for (int32_t k = position; k + 1 < count; ++k)
        node.skill_checks[k] = node.skill_checks[k + 1];
    node.skill_checks[count - 1] = nullptr;
    node.skill_check_count = count - 1;
}

std::string FullText(const dlgnode& node)
{
    return "Node " + node.name.str() + " already holds " + std::to_string(kMaxSkillChecks)
        + " skill checks, as many as a node can hold.\r\nChoose another node for this skill check.";
}

} // namespace

std::string SkillCheckLinkLines(const dialog& d, std::string_view name)
{
    std::string lines;
    for (int32_t i = 0; i < Clamped(d.node_count, kMaxNodes); ++i) {
        const dlgnode* n = d.nodes[i];
        for (int32_t k = 0; n && k < Clamped(n->option_count, kMaxOptions); ++k)
            if (const option* o = n->options[k]; o && o->link_target == name)
                lines += "Node " + n->name.str() + ", option " + std::to_string(k) + "\r\n";
    }
    return lines;
}

SkillCheckEditorModel::SkillCheckEditorModel(App& app)
    : m_app(app)
{
}

void SkillCheckEditorModel::Prepare()
{
    const dialog& d = m_app.dlg();
    m_nodeItems.clear();
    for (int32_t i = 0; i < Clamped(d.node_count, kMaxNodes); ++i)
        m_nodeItems.push_back(d.nodes[i] ? d.nodes[i]->name.str() : std::string());
    m_success = m_failure = m_owner = -1;
}

int SkillCheckEditorModel::Pick(int position) const
{
    return position >= 0 && static_cast<std::size_t>(position) < m_nodeItems.size() ? position : -1;
}

std::string SkillCheckEditorModel::Preview(int position) const
{
    const dialog& d = m_app.dlg();
    return position >= 0 && position < d.node_count && d.nodes[position] ? d.nodes[position]->npc_text.str()
                                                                         : std::string();
}

void SkillCheckEditorModel::BeginAdd(int ownerPreset)
{
    m_editing = nullptr;
    m_editOwner = -1;
    m_name.clear();
    m_successPreview.clear();
    m_failurePreview.clear();
    m_modifier = 0;
    Prepare();
    m_owner = Pick(ownerPreset);
    changed.Emit();
}

bool SkillCheckEditorModel::BeginEdit(const std::string& name)
{
    dialog& d = m_app.dlg();
    int owner = -1;
    const int index = name.empty() ? -1 : FindSkillCheck(d, name, owner);
    if (index < 0)
        return false;
    m_editing = d.nodes[owner]->skill_checks[index];
    m_editOwner = owner;
    Prepare();
    m_owner = owner;
    m_name = m_editing->name.str();
    const int32_t skill = m_editing->skill;
    // A code outside the list shows no skill and is kept unless another is chosen.
    m_skill = skill >= 1 && skill <= kSkillCount ? skill - 1 : -1;
    m_modifier = m_editing->difficulty_modifier;
    m_success = FindNodeIndex(d, m_editing->on_success.view());
    m_failure = FindNodeIndex(d, m_editing->on_failure.view());
    m_successPreview = Preview(m_success);
    m_failurePreview = Preview(m_failure);
    changed.Emit();
    return true;
}

bool SkillCheckEditorModel::Run()
{
    const bool ok = m_view && m_view->exec(*this) && Store();
    m_editing = nullptr;
    m_editOwner = -1;
    if (ok)
        m_app.RefreshEditorLists();
    return ok;
}

bool SkillCheckEditorModel::Add(int ownerPreset)
{
    BeginAdd(ownerPreset);
    return Run();
}

bool SkillCheckEditorModel::Edit(const std::string& name)
{
    if (!BeginEdit(name)) {
        m_app.dialogs().Error(kNoSelection);
        return false;
    }
    return Run();
}

bool SkillCheckEditorModel::Delete(const std::string& name)
{
    dialog& d = m_app.dlg();
    int owner = -1;
    const int index = name.empty() ? -1 : FindSkillCheck(d, name, owner);
    if (index < 0)
        return false;
    const std::string lines = SkillCheckLinkLines(d, name);
    if (!lines.empty()) {
        const std::string text = std::string(kLinkedWarning) + lines + std::string(kLinkedWarningEnd);
        if (m_app.dialogs().MessageBox(text, MsgIcon::Warning, MsgButtons::YesNo) != MsgResult::Yes)
            return false;
        const std::string success = d.nodes[owner]->skill_checks[index]->on_success.str();
        for (int32_t i = 0; i < Clamped(d.node_count, kMaxNodes); ++i) {
            dlgnode* n = d.nodes[i];
            for (int32_t k = 0; n && k < Clamped(n->option_count, kMaxOptions); ++k) {
                option* o = n->options[k];
                if (!o || o->link_target != name)
                    continue;
                o->link_target = success;
                o->to_skill_check = 0;
            }
        }
        ResolveLinks(d);
    }
    RemoveSkillCheck(d, name);
    // Marked modified although the editor of old did not: otherwise Save stays disabled and the
    // deletion is dropped without a question when the dialogue is closed.
    m_app.DialogueChanged();
    m_app.RefreshEditorLists();
    return true;
}

void SkillCheckEditorModel::SetName(std::string name)
{
    m_name = std::move(name);
    changed.Emit();
}

bool SkillCheckEditorModel::NameTaken(const std::string& name) const
{
    const dialog& d = m_app.dlg();
    for (int32_t i = 0; i < Clamped(d.node_count, kMaxNodes); ++i) {
        const dlgnode* n = d.nodes[i];
        for (int32_t k = 0; n && k < Clamped(n->skill_check_count, kMaxSkillChecks); ++k) {
            const skillcheck* s = n->skill_checks[k];
            // The edited check's own name is free for it.
            if (s && s != m_editing && s->name == name)
                return true;
        }
    }
    return false;
}

void SkillCheckEditorModel::Generate()
{
    const dialog& d = m_app.dlg();
    int count = 0;
    for (int32_t i = 0; i < Clamped(d.node_count, kMaxNodes); ++i)
        if (const dlgnode* n = d.nodes[i])
            count += Clamped(n->skill_check_count, kMaxSkillChecks);
    std::string skill(kSkills[m_skill >= 0 ? m_skill : 0]);
    std::replace(skill.begin(), skill.end(), ' ', '_');
    // After deletions the count can repeat a name that is still held: count on until it is free.
    // There are fewer checks than numbers, so this ends.
    for (;; ++count) {
        char number[16];
        std::snprintf(number, sizeof number, "%03d", count);
        std::string candidate = "Skill_Check_" + std::string(number) + "_" + skill;
        if (!NameTaken(candidate)) {
            SetName(std::move(candidate));
            return;
        }
    }
}

void SkillCheckEditorModel::ChooseSkill(int position)
{
    if (position >= 0 && position < kSkillCount)
        m_skill = position;
    changed.Emit();
}

void SkillCheckEditorModel::SetModifier(int value)
{
    m_modifier = std::clamp(value, kMinModifier, kMaxModifier);
    changed.Emit();
}

void SkillCheckEditorModel::ChooseSuccess(int position)
{
    m_success = Pick(position);
    m_successPreview = Preview(m_success);
    changed.Emit();
}

void SkillCheckEditorModel::ChooseFailure(int position)
{
    m_failure = Pick(position);
    m_failurePreview = Preview(m_failure);
    changed.Emit();
}

void SkillCheckEditorModel::ChooseOwner(int position)
{
    m_owner = Pick(position);
    changed.Emit();
}

bool SkillCheckEditorModel::Accept()
{
    std::string lines;
    if (m_name.empty())
        lines += std::string(kEmptyName) + "\r\n";
    if (m_owner < 0)
        lines += std::string(kNoOwner) + "\r\n";
    if (m_success < 0)
        lines += std::string(kNoSuccess) + "\r\n";
    if (m_failure < 0)
        lines += std::string(kNoFailure) + "\r\n";
    if (!lines.empty()) {
        m_app.dialogs().Warning(std::string(kInvalid) + lines + std::string(kInvalidEnd));
        return false;
    }
    const dlgnode* owner = NodeAt(m_app.dlg(), m_owner);
    if (!owner) {
        m_app.dialogs().Warning(std::string(kInvalid) + std::string(kNoOwner) + "\r\n" + std::string(kInvalidEnd));
        return false;
    }
    const bool staysInOwner = m_editing && m_owner == m_editOwner;
    if (!staysInOwner && TableFull(owner->skill_checks, owner->skill_check_count)) {
        m_app.dialogs().Warning(FullText(*owner));
        return false;
    }
    return true;
}

bool SkillCheckEditorModel::Store()
{
    dialog& d = m_app.dlg();
    if (m_name.empty() || !NodeAt(d, m_owner) || m_success < 0 || m_failure < 0)
        return false;
    if (!(m_editing ? StoreEdit() : StoreNew()))
        return false;
    m_storedName = m_name;
    m_app.DialogueChanged();
    return true;
}

bool SkillCheckEditorModel::StoreNew()
{
    dlgnode& owner = *NodeAt(m_app.dlg(), m_owner);
    Added<skillcheck> added = TryAddSkillCheck(owner);
    if (!added) {
        m_app.dialogs().Warning(FullText(owner));
        return false;
    }
    skillcheck& s = *added.record;
    s.name = m_name;
    s.skill = (m_skill >= 0 ? m_skill : 0) + 1;
    s.difficulty_modifier = m_modifier;
    s.on_success = m_nodeItems[m_success];
    s.on_failure = m_nodeItems[m_failure];
    return true;
}

bool SkillCheckEditorModel::StoreEdit()
{
    dialog& d = m_app.dlg();
    dlgnode* from = NodeAt(d, m_editOwner);
    const int position = from ? PositionOf(*from, m_editing) : -1;
    if (position < 0)
        return false; // the check went while the editor was open
    if (m_owner != m_editOwner) {
        dlgnode& to = *NodeAt(d, m_owner);
        if (TableFull(to.skill_checks, to.skill_check_count)) {
            m_app.dialogs().Warning(FullText(to));
            return false;
        }
        TakeCheckAt(*from, position);
        to.skill_checks[to.skill_check_count++] = m_editing;
    }
    skillcheck& s = *m_editing;
    s.name = m_name;
    if (m_skill >= 0)
        s.skill = m_skill + 1;
    s.difficulty_modifier = m_modifier;
    s.on_success = m_nodeItems[m_success];
    s.on_failure = m_nodeItems[m_failure];
    return true;
}

} // namespace zev
