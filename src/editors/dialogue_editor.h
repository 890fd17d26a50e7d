#pragma once

// The "Dialogue Editor": the lists of regular nodes (with their filter), float nodes and skill
// checks, and the node-level operations (add, edit, rename in place, delete, clone, move, sort,
// hide). It opens the node dialog; the other editors it reaches come later and their buttons say
// so.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "editors/node_dialog.h"

namespace zev {

class App;
class DialogueEditorModel;
class FloatNodeEditorModel;
class SkillCheckEditorModel;
class StartConditionsModel;
class TimedEventsModel;

// The editors the Dialogue Editor's other buttons open; a missing one leaves its buttons disabled.
struct DialogueSubEditors {
    StartConditionsModel* startConditions = nullptr;
    FloatNodeEditorModel* floatNodes = nullptr;
    TimedEventsModel* timedEvents = nullptr;
    SkillCheckEditorModel* skillChecks = nullptr;
};

// Shows the editor modally until "Exit" or the close box.
class DialogueEditorView {
public:
    virtual ~DialogueEditorView() = default;
    virtual void exec(DialogueEditorModel& model) = 0;
};

enum class EditorTab { RegularNodes, FloaterNodes, CustomMessages, SkillChecks };

// The filter list's entries, in their order (the stored mode is the position, from 1).
enum class NodeFilter { All = 1, StartNodes, NonStartNodes, NoNpcText, NoPlayerOptions, ByName };

struct NodeRow {
    std::string name;
    std::string npcText;
    int nodeIndex = -1;
};

struct FloatNodeRow {
    std::string name;
    std::string lines; // the number of its random lines
    std::string description;
};

struct SkillCheckRow {
    std::string name;
    std::string skill;
    std::string modifier;
    std::string onSuccess;
    std::string onFailure;
};

// A button's state: enabled, and the hint it shows.
struct ButtonState {
    bool enabled = true;
    std::string hint;
};

class DialogueEditorModel {
public:
    static constexpr std::string_view kCaption = "Dialogue Editor";
    static constexpr std::array<std::string_view, 4> kTabs
        = { "Regular nodes", "Floater nodes", "Custom Messages", "Skill Checks" };
    static constexpr std::string_view kFilterLabel = "Node filter";
    static constexpr std::array<std::string_view, 6> kFilters = { "All nodes", "Only start nodes",
        "Only non-start nodes", "Only nodes with no npc text", "Only nodes with no player options", "Nodes by name" };
    static constexpr std::string_view kSearchLabel = "Search string:";
    static constexpr std::string_view kSearch = "Search";
    static constexpr std::array<std::string_view, 2> kNodeColumns = { "NodeName", "NPC text" };
    static constexpr std::array<std::string_view, 3> kFloatColumns
        = { "Node name", "Number of random lines", "Description" };
    static constexpr std::string_view kSkillListLabel = "Skill check list:";
    static constexpr std::array<std::string_view, 5> kSkillColumns
        = { "Check name", "Skill", "Modifier", "OnSuccess", "OnFailure" };
    static constexpr std::string_view kExit = "Exit";

    // The buttons of the three tabs.
    enum class Button {
        Add,
        Edit,
        Delete,
        Clone,
        Rearrange,
        MoveUp,
        MoveDown,
        HideSelected,
        UnhideAll,
        ScriptVariables,
        StartConditions,
        FloatAdd,
        FloatEdit,
        FloatDelete,
        TimedEvents,
        SkillAdd,
        SkillEdit,
        SkillDelete,
    };
    static constexpr std::size_t kButtonCount = 18;
    static std::string_view Caption(Button b);

    DialogueEditorModel(App& app, NodeDialogModel& nodeDialog);
    ~DialogueEditorModel();
    DialogueEditorModel(const DialogueEditorModel&) = delete;
    DialogueEditorModel& operator=(const DialogueEditorModel&) = delete;

    void SetNodeDialogView(NodeDialogView* view) { m_nodeView = view; }
    NodeDialogModel& nodeDialog() { return m_nodeDialog; }

    // The main window's "Edit dialogue" and "Dialogue editor...": links resolved, the lists
    // refreshed (with their log lines), the editor shown; afterwards a running test shows its node
    // again (through the caller) and the plug-ins are told.
    void Open(DialogueEditorView& view);
    // The editor's part of RefreshEditorLists: every list rebuilt from the dialogue.
    void Refresh();

    // ---- Tabs and the filter.
    EditorTab tab() const { return m_tab; }
    void SetTab(EditorTab tab);
    NodeFilter filter() const { return m_filter; }
    void SetFilter(NodeFilter filter);
    bool searchVisible() const { return m_filter == NodeFilter::ByName; }
    const std::string& searchText() const { return m_search; }
    void SetSearchText(std::string text) { m_search = std::move(text); }
    // "Search": the list again with the current pattern; a malformed one is said in a box.
    void Search();
    // Why the search mask lists nothing (an unclosed "["); empty when it is fine.
    const std::string& maskError() const { return m_maskError; }

    // ---- The lists.
    const std::vector<NodeRow>& nodeRows() const { return m_rows; }
    const std::vector<FloatNodeRow>& floatRows() const { return m_floatRows; }
    const std::vector<SkillCheckRow>& skillRows() const { return m_skillRows; }
    const std::vector<int>& selectedRows() const { return m_selected; }
    // Rows of the node list, in any order; rows out of range are dropped.
    void Select(std::vector<int> rows);
    // The row the list shows as current (the first selected), -1 without one.
    int currentRow() const { return m_selected.empty() ? -1 : m_selected.front(); }

    ButtonState button(Button b) const;

    // ---- The operations.
    void Add();
    // "Add node" with its name field preset (the test run's open link). True when closed with OK.
    bool AddNodeNamed(std::string presetName);
    void Edit();
    void EditRow(int row);
    // The node dialog on the node at that index; the selection stays. True when closed with OK.
    bool EditNodeAt(int nodeIndex);
    void Delete();
    void Clone();
    void MoveUp();
    void MoveDown();
    void Rearrange();
    void HideSelected();
    void UnhideAll();
    // "Script variables": the variable manager; on OK the dialogue is marked modified and the
    // completion lists follow the variables.
    void ScriptVariables();
    // Shows the script variable manager; true when closed with OK.
    void SetScriptVariableManager(std::function<bool()> open) { m_openVariables = std::move(open); }
    void SetSubEditors(const DialogueSubEditors& sub) { m_sub = sub; }

    // ---- The other editors. "Start conditions": on OK the dialogue is marked modified.
    void StartConditions();
    // The Floater tab; its list shows every float node in table order, so a row is an index.
    int floatRow() const { return m_floatRow; }
    void SelectFloatRow(int row);
    void FloatAdd();
    void FloatEdit();
    void FloatEditRow(int row); // a double click
    void FloatDelete();
    void TimedEvents();
    // The Skill Checks tab.
    int skillRow() const { return m_skillRow; }
    void SelectSkillRow(int row);
    void SkillAdd();
    void SkillEdit();
    void SkillEditRow(int row); // a double click
    void SkillDelete();
    // The name cell edited in place; false (the row keeps its name) when refused.
    bool RenameInPlace(int row, const std::string& newName);
    // "Exit": links resolved when there are nodes; the view closes.
    void Exit();

    // After every change of what the window shows.
    Signal<> changed;

private:
    bool Passes(const dlgnode& node, int index) const;
    bool RunNodeDialog(bool adding);
    void Move(int step);
    void SelectNode(int nodeIndex);
    bool NodeTableFull();

    App& m_app;
    NodeDialogModel& m_nodeDialog;
    NodeDialogView* m_nodeView = nullptr;
    EditorTab m_tab = EditorTab::RegularNodes;
    NodeFilter m_filter = NodeFilter::All;
    std::string m_search;
    std::string m_maskError;
    std::vector<NodeRow> m_rows;
    std::vector<FloatNodeRow> m_floatRows;
    std::vector<SkillCheckRow> m_skillRows;
    std::vector<int> m_selected;
    std::vector<std::string> m_linked; // every link target, sorted, while the list is rebuilt
    std::size_t m_refreshId = 0;
    int RowOfSkill(const std::string& name) const;

    std::function<bool()> m_openVariables;
    DialogueSubEditors m_sub;
    int m_floatRow = -1;
    int m_skillRow = -1;
};

} // namespace zev
