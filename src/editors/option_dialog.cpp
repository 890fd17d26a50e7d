#include "editors/option_dialog.h"

#include <algorithm>

#include "app/app.h"
#include "app/settings.h"
#include "editors/conditions_editor.h"
#include "editors/skill_check_editor.h"
#include "editors/value_text.h"
#include "model/codes.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

// The skill check picker's items: every check of every node, sorted.
std::vector<std::string> SkillCheckNames(const dialog& d)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i)
        for (int32_t k = 0; d.nodes[i] && k < d.nodes[i]->skill_check_count && k < kMaxSkillChecks; ++k)
            if (const skillcheck* s = d.nodes[i]->skill_checks[k])
                names.push_back(s->name.str());
    std::sort(names.begin(), names.end());
    return names;
}

bool Contains(const std::vector<std::string>& items, const std::string& text)
{
    return std::find(items.begin(), items.end(), text) != items.end();
}

} // namespace

std::string NpcTextPreview(std::string_view text)
{
    if (text.size() <= OptionDialogModel::kPreviewLength)
        return std::string(text);
    return std::string(text.substr(0, OptionDialogModel::kPreviewLength)) + "...";
}

std::string ConditionSummary(const option& o)
{
    if (o.condition_count <= 0)
        return std::string(OptionDialogModel::kNoConditions);
    std::string out;
    const int32_t count = std::min(o.condition_count, kMaxConditions);
    for (int32_t i = 0; i < count; ++i) {
        const condition* c = o.conditions[i];
        if (!c)
            continue;
        out += c->script_expr.str();
        if (i + 1 < count) {
            if (c->link_next == 1)
                out += " AND";
            else if (c->link_next == 2)
                out += " OR";
            out += "\r\n";
        }
    }
    return out;
}

OptionDialogModel::OptionDialogModel(App& app)
    : m_app(app)
{
    Reset();
}

OptionDialogModel::~OptionDialogModel()
{
    End();
}

const dlgnode* OptionDialogModel::Node() const
{
    const dialog& d = m_app.dlg();
    return m_node >= 0 && m_node < d.node_count ? d.nodes[m_node] : nullptr;
}

option* OptionDialogModel::editedOption()
{
    if (m_pending)
        return m_pending.get();
    const dlgnode* n = Node();
    return n && m_optionIndex >= 0 && m_optionIndex < n->option_count ? n->options[m_optionIndex] : nullptr;
}

void OptionDialogModel::Reset()
{
    m_caption.clear();
    m_text.clear();
    m_kind = LinkKind::None;
    m_nodeText.clear();
    m_skillText.clear();
    m_procText.clear();
    m_previewShown = false;
    m_preview.clear();
    m_newNode = false;
    m_newNodeName.clear();
    m_terminates = false;
    m_combat = false;
    m_reaction = 0;
    m_gender = 0;
    m_intelligence = 0;
    m_dumb = false;
    m_notes.clear();
    m_conditions = std::string(kNoConditions);
}

void OptionDialogModel::RefreshNodelist()
{
    const dialog& d = m_app.dlg();
    m_nodeItems.clear();
    m_skillItems.clear();
    m_procItems.clear();
    for (int32_t i = 0; i < d.node_count && i < kMaxNodes; ++i) {
        const dlgnode* n = d.nodes[i];
        // The edited node is never offered: an option cannot link to its own node.
        if (n && i != m_node && !n->name.empty())
            m_nodeItems.push_back(n->name.str());
    }
    m_skillItems = SkillCheckNames(d);
    for (int32_t i = 0; i < d.custom_proc_count && i < kMaxCustomProcs; ++i)
        if (d.custom_procs[i])
            m_procItems.push_back(d.custom_procs[i]->name.str());
    ChooseNode(m_nodeItems.empty() ? std::string() : m_nodeItems.front());
}

void OptionDialogModel::CustomProcedures()
{
    if (!m_editProcedures)
        return;
    m_editProcedures(m_node);
    const std::string node = m_nodeText;
    const std::string procedure = m_procText;
    RefreshNodelist();
    // A designer who picked a node before adding a procedure keeps that pick.
    auto listed = [](const std::vector<std::string>& items, const std::string& name) {
        return std::find(items.begin(), items.end(), name) != items.end();
    };
    if (listed(m_nodeItems, node))
        ChooseNode(node);
    if (listed(m_procItems, procedure))
        ChooseProcedure(procedure);
    changed.Emit();
}

bool OptionDialogModel::BeginAdd(int nodeIndex)
{
    End();
    m_node = nodeIndex;
    const dlgnode* n = Node();
    if (!n)
        return false;
    if (n->option_count >= kMaxOptions) {
        m_app.dialogs().Warning("This node already holds " + std::to_string(kMaxOptions)
            + " player options, as many as a node can hold.\r\nNo option was added.");
        m_node = -1;
        return false;
    }
    Reset();
    m_caption = std::string(kAddCaption);
    m_pending = std::make_unique<option>();
    m_optionIndex = n->option_count;
    RefreshNodelist();
    m_newNode = true;
    m_intelligence = std::clamp(m_app.settings().defaultIntForSmartPlayer, kMinIntelligence, kMaxIntelligence);
    changed.Emit();
    return true;
}

bool OptionDialogModel::BeginEdit(int nodeIndex, int optionIndex, std::string_view caption)
{
    End();
    m_node = nodeIndex;
    const dlgnode* n = Node();
    if (!n || optionIndex < 0 || optionIndex >= n->option_count || !n->options[optionIndex]) {
        m_node = -1;
        return false;
    }
    Reset();
    m_optionIndex = optionIndex;
    const option& o = *n->options[optionIndex];
    m_caption = std::string(caption);
    RefreshNodelist();
    m_text = o.text.str();
    m_gender = std::clamp(o.gender, 0, 2);
    m_reaction = std::clamp(o.reaction, 0, 2);
    // The stored value is shown as it is; the box only says whether it is the dumb default.
    m_intelligence = o.intelligence;
    m_dumb = o.intelligence == m_app.settings().defaultIntForDumbPlayer;
    // Stored notes may write a line break as the two characters backslash and n.
    m_notes = BackslashNToBreaks(o.notes.view());
    const std::string target = o.link_target.str();
    if (o.to_custom_proc) {
        m_kind = LinkKind::Procedure;
        m_procText = target;
    } else if (o.to_skill_check) {
        m_kind = LinkKind::SkillCheck;
        m_skillText = target;
    } else {
        m_kind = LinkKind::Node;
        ChooseNode(target);
        if (!Contains(m_nodeItems, target) && target != kLinkDone && target != kLinkCombat) {
            m_newNode = true;
            m_newNodeName = target;
        }
    }
    m_terminates = target == kLinkDone;
    m_combat = target == kLinkCombat;
    m_conditions = ConditionSummary(o);
    changed.Emit();
    return true;
}

bool OptionDialogModel::Apply()
{
    option* o = editedOption();
    dlgnode* node = const_cast<dlgnode*>(Node());
    if (!o || !node)
        return false;
    const bool adding = m_pending != nullptr;
    if (adding) {
        m_app.DialogueChanged();
        m_app.log().Log("Adding player option to NODE: " + std::to_string(m_node));
    }
    o->text = m_text;
    switch (m_kind) {
    case LinkKind::Procedure:
        o->link_target = m_procText;
        o->to_custom_proc = 1;
        o->to_skill_check = 0;
        break;
    case LinkKind::SkillCheck:
        o->link_target = m_skillText;
        o->to_skill_check = 1;
        o->to_custom_proc = 0;
        break;
    case LinkKind::Node:
        o->link_target = m_nodeText;
        o->to_custom_proc = 0;
        o->to_skill_check = 0;
        break;
    case LinkKind::None:
        // A name typed for a new node without "Create node": the option links to that node (made
        // now, when there is none), rather than the name being dropped and the link left empty.
        if (m_newNode && !m_newNodeName.empty())
            LinkToNewNodeName(*o);
        break;
    }
    if (m_terminates || m_combat) {
        o->link_target = m_terminates ? kLinkDone : kLinkCombat;
        o->to_custom_proc = 0;
        o->to_skill_check = 0;
    }
    o->notes = m_notes;
    o->intelligence = m_intelligence;
    o->reaction = m_reaction;
    o->gender = m_gender;
    if (adding) {
        if (TableFull(node->options, node->option_count))
            return false; // BeginAdd checked; a script may have filled the node meanwhile
        node->options[node->option_count++] = m_pending.release();
    }
    return true;
}

void OptionDialogModel::LinkToNewNodeName(option& o)
{
    dialog& d = m_app.dlg();
    if (FindNodeIndex(d, m_newNodeName) < 0) {
        Added<dlgnode> added = TryAddNode(d, m_newNodeName);
        if (!added) {
            m_app.dialogs().Warning(RefusalText(added.result));
            return;
        }
        m_app.log().Log("Created node " + m_newNodeName + " for the option's link.");
    }
    o.link_target = m_newNodeName;
    o.to_custom_proc = 0;
    o.to_skill_check = 0;
}

void OptionDialogModel::End()
{
    if (m_pending)
        FreeOption(m_pending.release());
    Reset();
    m_nodeItems.clear();
    m_skillItems.clear();
    m_procItems.clear();
    m_node = -1;
    m_optionIndex = -1;
}

void OptionDialogModel::SetText(std::string text)
{
    m_text = std::move(text);
}

void OptionDialogModel::SetNotes(std::string notes)
{
    m_notes = std::move(notes);
}

void OptionDialogModel::SetLinkKind(LinkKind kind)
{
    m_kind = kind;
    changed.Emit();
}

void OptionDialogModel::ShowPreview(const std::string& name)
{
    const dialog& d = m_app.dlg();
    const int i = FindNodeIndex(d, name);
    m_previewShown = i >= 0;
    m_preview = i >= 0 ? NpcTextPreview(d.nodes[i]->npc_text.view()) : std::string();
}

void OptionDialogModel::ChooseNode(std::string name)
{
    m_nodeText = std::move(name);
    ShowPreview(m_nodeText);
    changed.Emit();
}

void OptionDialogModel::ChooseSkillCheck(std::string name)
{
    m_skillText = std::move(name);
    changed.Emit();
}

void OptionDialogModel::ChooseProcedure(std::string name)
{
    m_procText = std::move(name);
    changed.Emit();
}

void OptionDialogModel::SetLinkToNewNode(bool on)
{
    m_newNode = on;
    if (on) {
        m_terminates = false;
        m_combat = false;
    }
    changed.Emit();
}

void OptionDialogModel::SetNewNodeName(std::string name)
{
    m_newNodeName = std::move(name);
}

void OptionDialogModel::CreateNode()
{
    dialog& d = m_app.dlg();
    if (m_newNodeName.empty()) {
        m_app.dialogs().Information("Enter a name for the new node.");
        return;
    }
    if (int at = FindNodeIndex(d, m_newNodeName); at >= 0) {
        m_app.dialogs().Warning("This node already exists at\r\nindex [" + std::to_string(at) + "]");
        return;
    }
    if (TableFull(d.nodes, d.node_count)) {
        m_app.dialogs().Warning(RefusalText(TryAddNode(d, m_newNodeName).result));
        return;
    }
    m_app.log().Log("Attempting to create node at slot " + std::to_string(d.node_count)
        + " - NodeIND (edited node) == " + std::to_string(m_node));
    const std::string text
        = m_app.dialogs().InputBox("Enter text", "Enter npc text for new node", "").value_or(std::string());
    Added<dlgnode> added = TryAddNode(d, m_newNodeName);
    if (!added) {
        m_app.log().Log("Error occured!");
        m_app.dialogs().Warning(RefusalText(added.result));
        return;
    }
    added.record->npc_text = text;
    m_app.log().Log("Attempting to refresh node list.");
    const std::string name = m_newNodeName;
    RefreshNodelist();
    m_newNode = false;
    m_kind = LinkKind::Node;
    m_newNodeName.clear();
    ChooseNode(name);
}

void OptionDialogModel::SetTerminates(bool on)
{
    m_terminates = on;
    if (on) {
        m_newNode = false;
        m_combat = false;
    }
    changed.Emit();
}

void OptionDialogModel::SetCombat(bool on)
{
    m_combat = on;
    if (on) {
        m_notes.clear();
        m_newNode = false;
        m_terminates = false;
    }
    changed.Emit();
}

void OptionDialogModel::SetReaction(int reaction)
{
    m_reaction = std::clamp(reaction, 0, 2);
}

void OptionDialogModel::SetGender(int gender)
{
    m_gender = std::clamp(gender, 0, 2);
}

void OptionDialogModel::SetIntelligence(int value)
{
    m_intelligence = std::clamp(value, kMinIntelligence, kMaxIntelligence);
}

void OptionDialogModel::SetDumb(bool on)
{
    m_dumb = on;
    const Settings& s = m_app.settings();
    SetIntelligence(on ? s.defaultIntForDumbPlayer : s.defaultIntForSmartPlayer);
    changed.Emit();
}

void OptionDialogModel::SetUpConditions()
{
    option* o = editedOption();
    if (!m_conditionsEditor || !o)
        return;
    m_conditionsEditor->Open(*o);
    RefreshConditions();
}

void OptionDialogModel::NewSkillCheck()
{
    if (!m_skillEditor || !m_skillEditor->Add(m_node))
        return;
    RefillSkillChecks(m_skillEditor->storedName());
    SetLinkKind(LinkKind::SkillCheck);
}

void OptionDialogModel::EditSkillCheck()
{
    // Without a chosen check the editor says "No skill check selected!".
    if (!m_skillEditor || !m_skillEditor->Edit(m_skillText))
        return;
    RefillSkillChecks(m_skillEditor->storedName());
}

// The skill check picker again, with one chosen.
void OptionDialogModel::RefillSkillChecks(const std::string& choose)
{
    m_skillItems = SkillCheckNames(m_app.dlg());
    ChooseSkillCheck(choose);
}

void OptionDialogModel::RefreshConditions()
{
    if (const option* o = editedOption())
        m_conditions = ConditionSummary(*o);
    changed.Emit();
}

} // namespace zev
