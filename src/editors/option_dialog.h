#pragma once

// The player option dialog ("Add player option", "Edit player option"): one option's text, link,
// reaction, gender flag, intelligence check, notes and conditions, with the rules of its controls.
// The node dialog opens it and stores what it holds into the model on OK.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "model/records.h"

namespace zev {

class App;
class ConditionsEditorModel;
class SkillCheckEditorModel;

enum class LinkKind { None, Procedure, Node, SkillCheck };

class OptionDialogModel {
public:
    static constexpr std::string_view kAddCaption = "Add player option";
    static constexpr std::string_view kEditCaption = "Edit player option";
    static constexpr std::string_view kScriptEditCaption = "Edit playeroption";
    static constexpr std::string_view kTextLabel = "Player option text:";
    static constexpr std::string_view kLinkToProcedure = "Link to procedure";
    static constexpr std::string_view kLinkToNode = "Link to node";
    static constexpr std::string_view kLinkToSkillCheck = "Link to skill check";
    static constexpr std::string_view kLinkToNewNode = "Link to a new node";
    static constexpr std::string_view kNewNodeLabel = "Name for new node";
    static constexpr std::string_view kCreateNode = "Create node";
    static constexpr std::string_view kTerminates = "Terminates dialogue";
    static constexpr std::string_view kCombat = "Enter combat (set critter to hostile)";
    static constexpr std::string_view kDumb = "Dumb player option";
    static constexpr std::string_view kPreviewLabel = "NPC Text\r\nfor the selected\r\nnode:";
    static constexpr std::string_view kReactionLabel = "Reaction:";
    static constexpr std::array<std::string_view, 3> kReactions = { "Neutral", "Good", "Bad" };
    static constexpr std::string_view kGenderLabel = "Gender:";
    static constexpr std::array<std::string_view, 3> kGenders = { "Option is visible for both genders",
        "Option is visible for male PC only", "Option is visible for female PC only" };
    static constexpr std::string_view kIntelligenceLabel = "Intelligence check:";
    static constexpr std::string_view kNotesLabel = "Designer notes for this option:";
    static constexpr std::string_view kConditionsLabel = "Condition list:";
    static constexpr std::string_view kNoConditions = "No conditions set for this option.";
    static constexpr std::string_view kSetUpConditions = "Set up conditions...";
    static constexpr std::string_view kNewSkillCheck = "New skill check...";
    static constexpr std::string_view kEditSkillCheck = "edit";
    static constexpr std::string_view kCustomProcedures = "Custom procedures";
    static constexpr std::string_view kNodePickerHint
        = "This is the node to link the option to.\r\n\r\nNote that the current node is never visible here\r\nto "
          "avoid self-linking (which could cause an endless\r\nloop)\r\n";
    static constexpr std::string_view kIntelligenceHint
        = "This sets the int requirement for the option.\r\n\r\nNegative values mean int should be less than the "
          "value\r\nand positive means equal or more than the value";
    static constexpr std::string_view kTerminatesHint = "This sets the option link to end dialogue";
    static constexpr std::string_view kCombatHint
        = "This setting will override 'terminates dialogue'\r\nAfter dialogue terminates, the critter "
          "becomes\r\nhostile and combat starts.";
    static constexpr std::string_view kNewSkillCheckHint
        = "This button opens the skill check editor which allows you to specify a conditional node link path. "
          "This will override the currently set node link.";
    static constexpr std::string_view kCustomProceduresHint
        = "This button invokes a code editor to add a new procedure. \r\nFor example, this can be used when you "
          "need a new procedure \r\nthat performs some tasks such as sets variable values, \r\ntransfers items, "
          "determines where to go\r\nbased on a condition and many other tasks.";
    // The preview shows this many characters of a longer NPC text, then "...".
    static constexpr std::size_t kPreviewLength = 160;
    static constexpr int kMinIntelligence = -10;
    static constexpr int kMaxIntelligence = 10;

    explicit OptionDialogModel(App& app);
    ~OptionDialogModel();
    OptionDialogModel(const OptionDialogModel&) = delete;
    OptionDialogModel& operator=(const OptionDialogModel&) = delete;

    // ---- The flows of the node dialog.
    // "Add option": a new, not yet counted option record for the node (the conditions editor can
    // attach conditions to it); the defaults of a new option. False when the node holds 513 options
    // (refused in a box).
    bool BeginAdd(int nodeIndex);
    // "Edit option": the controls filled from the option at optionIndex of the node.
    bool BeginEdit(int nodeIndex, int optionIndex, std::string_view caption = kEditCaption);
    // OK: the controls written to the option (an added one is counted now). True when stored.
    bool Apply();
    // Cancel, and after either: an added record that was not stored is dropped; fields cleared.
    void End();

    // The option the dialog edits (the pending record of an Add), for the conditions editor.
    option* editedOption();
    bool adding() const { return m_pending != nullptr; }
    int editedNode() const { return m_node; }

    // `RefreshNodelist`: the node picker (every named node but the edited one, in array order), the
    // skill check picker (every skill check of every node, sorted) and the procedure picker; the
    // first node name is selected.
    void RefreshNodelist();

    // "Custom procedures": the custom procedure editor on the edited node, then the pickers again;
    // the node and procedure chosen before stay chosen while they exist.
    void CustomProcedures();
    bool customProceduresEnabled() const { return static_cast<bool>(m_editProcedures); }
    // Opens the custom procedure editor with the edited node preselected.
    void SetCustomProcedureEditor(std::function<void(int nodeIndex)> open) { m_editProcedures = std::move(open); }

    // "Set up conditions...": the conditions editor on the edited option (an added one too), then
    // the summary again.
    void SetUpConditions();
    bool conditionsEnabled() const { return m_conditionsEditor != nullptr; }
    // "New skill check...": the skill check editor with the edited node as the owner; the new
    // check is chosen and "Link to skill check" set. "edit": the editor on the chosen check.
    void NewSkillCheck();
    void EditSkillCheck();
    bool skillChecksEnabled() const { return m_skillEditor != nullptr; }
    void SetSubEditors(ConditionsEditorModel* conditions, SkillCheckEditorModel* skillChecks)
    {
        m_conditionsEditor = conditions;
        m_skillEditor = skillChecks;
    }

    // ---- The controls.
    const std::string& caption() const { return m_caption; }
    const std::string& text() const { return m_text; }
    void SetText(std::string text);
    LinkKind linkKind() const { return m_kind; }
    void SetLinkKind(LinkKind kind);
    const std::vector<std::string>& nodeItems() const { return m_nodeItems; }
    const std::vector<std::string>& skillCheckItems() const { return m_skillItems; }
    const std::vector<std::string>& procedureItems() const { return m_procItems; }
    const std::string& nodeText() const { return m_nodeText; }
    const std::string& skillCheckText() const { return m_skillText; }
    const std::string& procedureText() const { return m_procText; }
    // Choosing a node shows its NPC text in the preview (a name that names no node hides it).
    void ChooseNode(std::string name);
    void ChooseSkillCheck(std::string name);
    void ChooseProcedure(std::string name);
    bool previewShown() const { return m_previewShown; }
    const std::string& preview() const { return m_preview; }

    bool linkToNewNode() const { return m_newNode; }
    void SetLinkToNewNode(bool on);
    const std::string& newNodeName() const { return m_newNodeName; }
    void SetNewNodeName(std::string name);
    // "Create node": a new node of that name (its NPC text asked for), linked to at once.
    void CreateNode();

    bool terminates() const { return m_terminates; }
    void SetTerminates(bool on);
    bool combat() const { return m_combat; }
    void SetCombat(bool on);

    // Which controls show and which are enabled, by the rules of the check boxes.
    bool linkControlsVisible() const { return !m_newNode && !m_terminates && !m_combat; }
    bool newNodeControlsVisible() const { return m_newNode; }
    bool createNodeEnabled() const { return !m_terminates && !m_combat; }
    bool pickerEnabled(LinkKind kind) const { return m_kind == kind; }

    int reaction() const { return m_reaction; }
    void SetReaction(int reaction);
    int gender() const { return m_gender; }
    void SetGender(int gender);
    int intelligence() const { return m_intelligence; }
    void SetIntelligence(int value);
    // Checking sets the intelligence check to the dumb-player default, unchecking to the smart one.
    bool dumb() const { return m_dumb; }
    void SetDumb(bool on);
    const std::string& notes() const { return m_notes; }
    void SetNotes(std::string notes);
    const std::string& conditionSummary() const { return m_conditions; }
    // The summary again, after the conditions editor changed them.
    void RefreshConditions();

    Signal<> changed;

private:
    const dlgnode* Node() const;
    void Reset();
    void ShowPreview(const std::string& name);
    void LinkToNewNodeName(option& o);

    App& m_app;
    int m_node = -1;
    int m_optionIndex = -1;
    std::unique_ptr<option> m_pending; // an Add's record until OK
    std::string m_caption;
    std::string m_text;
    LinkKind m_kind = LinkKind::None;
    std::vector<std::string> m_nodeItems, m_skillItems, m_procItems;
    std::string m_nodeText, m_skillText, m_procText;
    bool m_previewShown = false;
    std::string m_preview;
    bool m_newNode = false;
    std::string m_newNodeName;
    bool m_terminates = false;
    bool m_combat = false;
    int m_reaction = 0;
    int m_gender = 0;
    int m_intelligence = 0;
    bool m_dumb = false;
    std::string m_notes;
    std::string m_conditions;
    void RefillSkillChecks(const std::string& choose);

    std::function<void(int)> m_editProcedures;
    ConditionsEditorModel* m_conditionsEditor = nullptr;
    SkillCheckEditorModel* m_skillEditor = nullptr;
};

// The preview of a node's NPC text: whole up to 160 characters, else the first 160 and "...".
std::string NpcTextPreview(std::string_view text);
// The condition summary of an option: one line per condition, its script expression and, on every
// line but the last, its chaining word ("AND", "OR").
std::string ConditionSummary(const option& o);

} // namespace zev
