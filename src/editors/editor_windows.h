#pragma once

// The editor windows' models in one place, and the windows of them that the core opens on its own
// (a test run's "Edit this node" and open link, the script functions EditNode and EditPlayerOption).
// A front end with windows gives it their views; without them nothing is shown.

#include <string>
#include <string_view>

#include "app/core_windows.h"
#include "completion/completion_list.h"
#include "completion/completion_records.h"
#include "editors/custom_procs.h"
#include "editors/dialogue_editor.h"
#include "editors/node_code.h"
#include "editors/node_dialog.h"
#include "editors/option_dialog.h"
#include "editors/parameter_input.h"
#include "editors/script_variables.h"

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
    const CodeTables& tables() const { return m_tables; }

    void SetViews(DialogueEditorView* editor, NodeDialogView* node, OptionDialogView* option);
    void SetCodeViews(const CodeViews& views);

    // "Edit dialogue" and "Dialogue editor...".
    void OpenDialogueEditor();
    // "Custom procedures..." of the main menu.
    void OpenCustomProcedures();

    bool Has(CoreWindow w) const override;
    bool EditNodeAt(int nodeIndex) override { return m_editor.EditNodeAt(nodeIndex); }
    bool AddNode(std::string_view presetName) override { return m_editor.AddNodeNamed(std::string(presetName)); }
    std::string LastAcceptedNodeName() const override { return m_node.lastAcceptedName(); }
    void EditPlayerOption(const std::string& node, int optionNum) override { m_node.EditPlayerOption(node, optionNum); }

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
    DialogueEditorView* m_editorView = nullptr;
    CodeViews m_codeViews;
};

} // namespace zev
