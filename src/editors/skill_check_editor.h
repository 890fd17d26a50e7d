#pragma once

// The "Skill check editor": one named skill check (skill, difficulty modifier, success and failure
// node) and the node it is stored in. Adding, editing and deleting skill checks from the Dialogue
// Editor's tab "Skill Checks" and from the player option dialog go through this model.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "model/codes.h"
#include "model/records.h"

namespace zev {

class App;
class SkillCheckEditorModel;

// Shows the editor modally; true when it was closed with OK (after Accept said yes).
class SkillCheckEditorView {
public:
    virtual ~SkillCheckEditorView() = default;
    virtual bool exec(SkillCheckEditorModel& model) = 0;
};

class SkillCheckEditorModel {
public:
    static constexpr std::string_view kCaption = "Skill check editor";
    static constexpr std::string_view kNameLabel = "Name for skill check procedure:";
    static constexpr std::string_view kGenerate = "Generate";
    static constexpr std::string_view kGenerateHint
        = "This button automatically assigns a unique name for the skill check.";
    static constexpr std::string_view kSkillLabel = "Skill to check:";
    // The stored skill code is the position + 1.
    static constexpr const std::array<std::string_view, kSkillCount>& kSkills = kSkillTitles;
    // The name of a stored skill code; empty for a code outside the list.
    static constexpr std::string_view SkillName(int32_t code)
    {
        return code >= 1 && code <= kSkillCount ? kSkills[static_cast<std::size_t>(code - 1)] : std::string_view();
    }
    static constexpr std::string_view kModifierLabel = "Difficulty modifier";
    static constexpr std::string_view kModifierNote
        = "Note: A negative modifier makes the skill check more difficult\r\nwhereas a modifier with a value more "
          "than 0 makes it\r\neasier. Even skill checks with a modifier of 0 may fail.";
    static constexpr std::string_view kSuccessLabel = "On success, go to:";
    static constexpr std::string_view kFailureLabel = "On failure, go to:";
    static constexpr std::string_view kSuccessPreviewLabel = "Success node preview:";
    static constexpr std::string_view kFailurePreviewLabel = "Failure node preview:";
    static constexpr std::string_view kOwnerLabel = "Associated with node:";
    static constexpr int kMinModifier = -9999;
    static constexpr int kMaxModifier = 9999;

    static constexpr std::string_view kNoSelection = "No skill check selected!";
    static constexpr std::string_view kEmptyName = "The skill check name is empty.";
    static constexpr std::string_view kNoOwner = "Node association not specified.";
    static constexpr std::string_view kNoSuccess = "Success node not specified.";
    static constexpr std::string_view kNoFailure = "Failure node not specified.";

    explicit SkillCheckEditorModel(App& app);
    SkillCheckEditorModel(const SkillCheckEditorModel&) = delete;
    SkillCheckEditorModel& operator=(const SkillCheckEditorModel&) = delete;

    void SetView(SkillCheckEditorView* view) { m_view = view; }

    // ---- The flows. Each returns whether the dialogue changed.
    // "Add" of the tab (ownerPreset -1) and "New skill check..." of the option dialog (the edited
    // node preset as the owner): on OK a new check in the chosen node, the editor lists refreshed.
    bool Add(int ownerPreset = -1);
    // "Edit": the check of that name (the first over all nodes). An empty or unknown name is the
    // error box "No skill check selected!". On OK the check takes the fields; a changed owner moves
    // it to the end of the new owner's checks. The editor lists are refreshed after a stored edit
    // from the option dialog too: they show the check.
    bool Edit(const std::string& name);
    // "Delete" of the tab: options linking to the check are listed and, on Yes, relinked to its
    // success node as plain node links. An empty or unknown name changes nothing.
    bool Delete(const std::string& name);
    // The name the last Add or Edit stored (the option dialog reselects it).
    const std::string& storedName() const { return m_storedName; }

    // Fills the editor without showing it: Add's empty fields, or Edit's from the check (false for
    // an unknown name). Store writes them after Accept.
    void BeginAdd(int ownerPreset = -1);
    bool BeginEdit(const std::string& name);
    // OK: the validation lines in one warning, and the owner's capacity. True when the editor may
    // close.
    bool Accept();
    bool Store();

    // ---- The controls. The three node pickers share the items: every node in array order, so a
    // position is a node index; -1 is no entry.
    const std::vector<std::string>& nodeItems() const { return m_nodeItems; }
    const std::string& name() const { return m_name; }
    void SetName(std::string name);
    // "Generate": "Skill_Check_%03d_<skill>" from the number of checks in the dialogue, counted up
    // until no other check has the name.
    void Generate();
    int skill() const { return m_skill; }
    void ChooseSkill(int position);
    int modifier() const { return m_modifier; }
    void SetModifier(int value);
    int successNode() const { return m_success; }
    int failureNode() const { return m_failure; }
    int owner() const { return m_owner; }
    void ChooseSuccess(int position);
    void ChooseFailure(int position);
    void ChooseOwner(int position);
    const std::string& successPreview() const { return m_successPreview; }
    const std::string& failurePreview() const { return m_failurePreview; }
    bool okEnabled() const { return !m_name.empty(); }
    bool editing() const { return m_editing != nullptr; }

    Signal<> changed;

private:
    void Prepare();
    int Pick(int position) const;
    std::string Preview(int position) const;
    bool NameTaken(const std::string& name) const;
    bool Run();
    bool StoreNew();
    bool StoreEdit();

    App& m_app;
    SkillCheckEditorView* m_view = nullptr;
    skillcheck* m_editing = nullptr; // the check Edit opened, in node m_editOwner
    int m_editOwner = -1;
    std::vector<std::string> m_nodeItems;
    std::string m_name;
    int m_skill = 0;
    int m_modifier = 0;
    int m_success = -1;
    int m_failure = -1;
    int m_owner = -1;
    std::string m_successPreview;
    std::string m_failurePreview;
    std::string m_storedName;
};

// The skill checks that option links name: "Node <node>, option <position>" + CR LF per option
// whose link_target is name exactly.
std::string SkillCheckLinkLines(const dialog& d, std::string_view name);

} // namespace zev
