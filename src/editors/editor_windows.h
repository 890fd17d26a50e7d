#pragma once

// The editor windows' models in one place, and the windows of them that the core opens on its own
// (a test run's "Edit this node" and open link, the script functions EditNode and EditPlayerOption).
// A front end with windows gives it their views; without them nothing is shown.

#include <string>
#include <string_view>

#include "app/core_windows.h"
#include "completion/completion_list.h"
#include "completion/completion_records.h"
#include <functional>

#include "editors/conditions_editor.h"
#include "editors/custom_procs.h"
#include "editors/dialogue_editor.h"
#include "editors/float_node_editor.h"
#include "editors/list_picker.h"
#include "editors/node_code.h"
#include "editors/node_dialog.h"
#include "editors/npc_properties.h"
#include "editors/option_dialog.h"
#include "editors/parameter_input.h"
#include "editors/preferences.h"
#include "editors/script_variables.h"
#include "editors/skill_check_editor.h"
#include "editors/start_conditions.h"
#include "editors/timed_events.h"

namespace zev {

class App;

// What the code windows read: the code presets, the definitions and the completion lists, owned by
// the workbench. Missing ones read as empty tables.
struct CodeTables {
    const CodeSnippetTable* presets = nullptr;
    const DefinitionTable* definitions = nullptr;
    const CompletionLists* completion = nullptr;
};

// The views of the code windows.
struct CodeViews {
    ScriptVariablesView* variables = nullptr;
    CustomProcEditorView* procedures = nullptr;
    NodeCodeEditorView* nodeCode = nullptr;
    ParameterInputView* parameters = nullptr;
};

// The views of the other editors and dialogs; a missing one leaves the buttons that open it
// disabled.
struct DialogViews {
    ConditionsEditorView* conditions = nullptr;
    StartConditionsView* startConditions = nullptr;
    SkillCheckEditorView* skillChecks = nullptr;
    FloatNodeEditorView* floatNodes = nullptr;
    TimedEventsView* timedEvents = nullptr;
    TimedEventDataView* timedEventData = nullptr;
    ListPickerView* picker = nullptr;
    NpcPropertiesView* npcProperties = nullptr;
    PreferencesView* preferences = nullptr;
};

// The timed-event data editor's code box: code inserted at its caret (AddTimeEventCode) and the
// entries of its "Insert command" menu (AddTimeEventCommand).
struct TimeEventCodeBox {
    std::function<void(const std::string& code)> insert;
    std::function<void(const std::string& caption, const std::string& shortcut, int tag)> addCommand;
};

class EditorWindows : public CoreWindows {
public:
    explicit EditorWindows(App& app, CodeTables tables = {});

    OptionDialogModel& optionDialog() { return m_option; }
    NodeDialogModel& nodeDialog() { return m_node; }
    DialogueEditorModel& dialogueEditor() { return m_editor; }
    ParameterInputModel& parameterInput() { return m_params; }
    ScriptVariablesModel& scriptVariables() { return m_variables; }
    CustomProcEditorModel& customProcedures() { return m_procedures; }
    NodeCodeEditorModel& nodeCode() { return m_nodeCode; }
    ConditionsEditorModel& conditions() { return m_conditions; }
    StartConditionsModel& startConditions() { return m_startConditions; }
    SkillCheckEditorModel& skillChecks() { return m_skillChecks; }
    FloatNodeEditorModel& floatNodes() { return m_floatNodes; }
    TimedEventsModel& timedEvents() { return m_timedEvents; }
    ListPickerModel& picker() { return m_picker; }
    NpcPropertiesModel& npcProperties() { return m_npc; }
    PreferencesModel& preferences() { return m_preferences; }
    const CodeTables& tables() const { return m_tables; }

    void SetViews(DialogueEditorView* editor, NodeDialogView* node, OptionDialogView* option);
    void SetCodeViews(const CodeViews& views);
    void SetDialogViews(const DialogViews& views);
    void SetTimeEventCodeBox(TimeEventCodeBox box) { m_codeBox = std::move(box); }

    // "Edit dialogue" and "Dialogue editor...".
    void OpenDialogueEditor();
    // "Custom procedures..." of the main menu.
    void OpenCustomProcedures();
    // "NPC properties" and "Preferences..." of the main menu.
    void OpenNpcProperties() { m_npc.Open(); }
    void OpenPreferences() { m_preferences.Open(); }

    bool Has(CoreWindow w) const override;
    bool EditNodeAt(int nodeIndex) override { return m_editor.EditNodeAt(nodeIndex); }
    bool AddNode(std::string_view presetName) override { return m_editor.AddNodeNamed(std::string(presetName)); }
    std::string LastAcceptedNodeName() const override { return m_node.lastAcceptedName(); }
    void EditPlayerOption(const std::string& node, int optionNum) override { m_node.EditPlayerOption(node, optionNum); }
    bool EditFloatNode(int index) override { return m_floatNodes.Edit(index); }
    std::optional<int> SelectItem(
        const std::string& caption, const std::string& label, const std::vector<std::string>& items) override
    {
        return m_picker.Select(caption, label, items);
    }
    void InsertTimeEventCode(const std::string& code) override;
    void AddTimeEventMenuItem(const std::string& caption, const std::string& shortcut, int tag) override;

private:
    static CodeTables Complete(CodeTables tables);
    void WireCodeWindows();

    CodeTables m_tables;
    OptionDialogModel m_option;
    NodeDialogModel m_node;
    DialogueEditorModel m_editor;
    ParameterInputModel m_params;
    ScriptVariablesModel m_variables;
    CustomProcEditorModel m_procedures;
    NodeCodeEditorModel m_nodeCode;
    ConditionsEditorModel m_conditions;
    StartConditionsModel m_startConditions;
    SkillCheckEditorModel m_skillChecks;
    FloatNodeEditorModel m_floatNodes;
    TimedEventsModel m_timedEvents;
    ListPickerModel m_picker;
    NpcPropertiesModel m_npc;
    PreferencesModel m_preferences;
    DialogueEditorView* m_editorView = nullptr;
    CodeViews m_codeViews;
    DialogViews m_views;
    TimeEventCodeBox m_codeBox;
};

} // namespace zev
