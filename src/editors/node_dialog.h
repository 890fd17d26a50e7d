#pragma once

// The node dialog ("Add node", "Edit node"): a node's name, NPC texts and notes, and its player
// option list with the buttons that open the option dialog. Option changes are written to the
// model as soon as the option dialog closes with OK, so cancelling this dialog keeps them.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "editors/option_dialog.h"

namespace zev {

class App;
class NodeDialogModel;

// Shows the option dialog modally; true when it was closed with OK.
class OptionDialogView {
public:
    virtual ~OptionDialogView() = default;
    virtual bool exec(OptionDialogModel& model) = 0;
};

// Shows the node dialog modally; its OK button asks NodeDialogModel::Accept and closes only when
// that accepts. True when it was closed with OK.
class NodeDialogView {
public:
    virtual ~NodeDialogView() = default;
    virtual bool exec(NodeDialogModel& model) = 0;
};

// One row of the node dialog's option list.
struct OptionListRow {
    std::string index; // position + 1
    std::string text;
    std::string target;
};

class NodeDialogModel {
public:
    static constexpr std::string_view kAddCaption = "Add node";
    static constexpr std::string_view kEditCaption = "Edit node";
    static constexpr std::string_view kNameLabel = "Node name";
    static constexpr std::string_view kNpcTextLabel = "NPC Text for the node:";
    static constexpr std::string_view kFemaleCheck = "Display different npc text for female player";
    static constexpr std::string_view kFemaleTextLabel = "NPC text for female player (optional)";
    static constexpr std::string_view kNotesLabel = "Designer notes for this node:";
    static constexpr std::string_view kOptionsLabel = "Player options";
    static constexpr std::array<std::string_view, 3> kOptionColumns = { "Index", "Option text", "Target node" };
    static constexpr std::string_view kAddOption = "Add option";
    static constexpr std::string_view kEditOption = "Edit option";
    static constexpr std::string_view kDeleteOption = "Delete option";
    static constexpr std::string_view kMoveUp = "Move Up";
    static constexpr std::string_view kMoveDown = "Move Down";
    static constexpr std::string_view kCustomCode = "Custom code";
    static constexpr std::string_view kNameHint
        = "This is the name for the node. It will become the procedure name\r\nin the exported SSL "
          "script.\r\nAccepted characters: 0-9,A-Z,a-z\r\nNo whitespace is allowed. (No check is made here "
          "but\r\nthe script compiler might complain)";
    static constexpr std::string_view kFemaleHint
        = "This is the text for the NPC line when the player\r\nis female. If this is empty, the one in "
          "the\r\nNPC text field is used.";
    static constexpr std::string_view kEmptyName
        = "Please specify a name for this node!\r\nEmpty node names will cause trouble.";

    NodeDialogModel(App& app, OptionDialogModel& options);
    NodeDialogModel(const NodeDialogModel&) = delete;
    NodeDialogModel& operator=(const NodeDialogModel&) = delete;

    void SetOptionView(OptionDialogView* view) { m_optionView = view; }
    OptionDialogModel& optionDialog() { return m_options; }

    // ---- The flows of the Dialogue Editor.
    // Fills the dialog for the node at nodeIndex: empty fields for an Add (the name preset), the
    // node's own for an Edit.
    void BeginAdd(int nodeIndex, std::string presetName);
    void BeginEdit(int nodeIndex);
    // OK: the name checks; true when the name is accepted (the dialog then closes). A rename of an
    // existing node remaps the links to it (and with AutoRemapNodes its mentions in notes).
    bool Accept();
    // After OK: the texts, notes and female text stored into the node.
    void Store();
    // Every field cleared after each use.
    void Clear();
    int editedNode() const { return m_node; }
    // The name the name checks accepted last (the test run follows it).
    const std::string& lastAcceptedName() const { return m_lastAccepted; }

    // ---- The controls.
    const std::string& caption() const { return m_caption; }
    const std::string& name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    const std::string& npcText() const { return m_npcText; }
    void SetNpcText(std::string text) { m_npcText = std::move(text); }
    bool femaleChecked() const { return m_female; }
    void SetFemaleChecked(bool on);
    bool femaleTextEnabled() const { return m_female; }
    const std::string& femaleText() const { return m_femaleText; }
    void SetFemaleText(std::string text) { m_femaleText = std::move(text); }
    const std::string& notes() const { return m_notes; }
    void SetNotes(std::string notes) { m_notes = std::move(notes); }

    const std::vector<OptionListRow>& rows() const { return m_rows; }
    int selectedRow() const { return m_selected; }
    void SelectRow(int row);
    bool rowButtonsEnabled() const { return m_selected >= 0 && m_selected < static_cast<int>(m_rows.size()); }

    // ---- The buttons of the option list.
    void AddOption();
    void EditOption();
    // A double click: edits that row; with no row selected it adds an option.
    void DoubleClick(int row);
    void DeleteOption();
    void MoveUp();
    void MoveDown();

    // "Custom code": the node code editor on the node's custom code; OK stores its text into the
    // node and marks the dialogue modified.
    void CustomCode();
    bool customCodeEnabled() const { return static_cast<bool>(m_editCode) && Node() != nullptr; }
    // Shows the node code editor on a text; the edited text when closed with OK.
    using CodeEditorFn = std::function<std::optional<std::string>(const std::string& code)>;
    void SetCustomCodeEditor(CodeEditorFn edit) { m_editCode = std::move(edit); }

    // The script function EditPlayerOption: the option dialog on option optionNum of the named
    // node ("Edit playeroption"), an error box when no node has that name.
    void EditPlayerOption(const std::string& nodeName, int optionNum);

    Signal<> changed;

private:
    dlgnode* Node() const;
    void FillRows();
    // The option dialog over a prepared model; stores on OK and refills the list.
    bool RunOptionDialog();
    void Move(int step);

    App& m_app;
    OptionDialogModel& m_options;
    OptionDialogView* m_optionView = nullptr;
    int m_node = -1;
    std::string m_oldName;
    std::string m_lastAccepted;
    std::string m_caption;
    std::string m_name;
    std::string m_npcText;
    bool m_female = false;
    std::string m_femaleText;
    std::string m_notes;
    std::vector<OptionListRow> m_rows;
    int m_selected = -1;
    CodeEditorFn m_editCode;
};

} // namespace zev
