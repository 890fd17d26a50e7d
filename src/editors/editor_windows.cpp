#include "editors/editor_windows.h"

namespace zev {

namespace {

const CodeSnippetTable kNoPresets;
const DefinitionTable kNoDefinitions;
const CompletionLists kNoCompletion;

} // namespace

CodeTables EditorWindows::Complete(CodeTables tables)
{
    if (!tables.presets)
        tables.presets = &kNoPresets;
    if (!tables.definitions)
        tables.definitions = &kNoDefinitions;
    if (!tables.completion)
        tables.completion = &kNoCompletion;
    return tables;
}

EditorWindows::EditorWindows(App& app, CodeTables tables)
    : m_tables(Complete(tables))
    , m_option(app)
    , m_node(app, m_option)
    , m_editor(app, m_node)
    , m_params(app, *m_tables.definitions)
    , m_variables(app)
    , m_procedures(app, *m_tables.presets, m_params)
    , m_nodeCode(app, *m_tables.presets, m_params)
    , m_conditions(app)
    , m_startConditions(app)
    , m_skillChecks(app)
    , m_floatNodes(app)
    , m_timedEvents(app)
    , m_npc(app)
    , m_preferences(app)
{
}

void EditorWindows::SetDialogViews(const DialogViews& views)
{
    m_views = views;
    m_conditions.SetView(views.conditions);
    m_startConditions.SetView(views.startConditions);
    m_skillChecks.SetView(views.skillChecks);
    m_floatNodes.SetView(views.floatNodes);
    m_timedEvents.SetView(views.timedEvents);
    m_timedEvents.SetDataView(views.timedEventData);
    m_picker.SetView(views.picker);
    m_npc.SetView(views.npcProperties);
    m_preferences.SetView(views.preferences);
    DialogueSubEditors sub;
    sub.startConditions = views.startConditions ? &m_startConditions : nullptr;
    sub.floatNodes = views.floatNodes ? &m_floatNodes : nullptr;
    sub.timedEvents = views.timedEvents && views.timedEventData ? &m_timedEvents : nullptr;
    sub.skillChecks = views.skillChecks ? &m_skillChecks : nullptr;
    m_editor.SetSubEditors(sub);
    m_option.SetSubEditors(views.conditions ? &m_conditions : nullptr, sub.skillChecks);
}

void EditorWindows::InsertTimeEventCode(const std::string& code)
{
    if (m_codeBox.insert)
        m_codeBox.insert(code);
}

void EditorWindows::AddTimeEventMenuItem(const std::string& caption, const std::string& shortcut, int tag)
{
    if (m_codeBox.addCommand)
        m_codeBox.addCommand(caption, shortcut, tag);
}

void EditorWindows::SetViews(DialogueEditorView* editor, NodeDialogView* node, OptionDialogView* option)
{
    m_editorView = editor;
    m_editor.SetNodeDialogView(node);
    m_node.SetOptionView(option);
}

void EditorWindows::SetCodeViews(const CodeViews& views)
{
    m_codeViews = views;
    m_procedures.SetParameterInputView(views.parameters);
    m_nodeCode.SetParameterInputView(views.parameters);
    WireCodeWindows();
}

// The buttons of the other editors that open the code windows; a window without its view leaves
// its button disabled.
void EditorWindows::WireCodeWindows()
{
    if (ScriptVariablesView* view = m_codeViews.variables)
        m_editor.SetScriptVariableManager([this, view] { return m_variables.Open(view); });
    else
        m_editor.SetScriptVariableManager({});
    if (CustomProcEditorView* view = m_codeViews.procedures)
        m_option.SetCustomProcedureEditor(
            [this, view](int node) { m_procedures.Run(view, CustomProcEditorModel::kFromOptionDialog, node); });
    else
        m_option.SetCustomProcedureEditor({});
    if (NodeCodeEditorView* view = m_codeViews.nodeCode)
        m_node.SetCustomCodeEditor([this, view](const std::string& code) { return m_nodeCode.Run(view, code); });
    else
        m_node.SetCustomCodeEditor({});
}

void EditorWindows::OpenDialogueEditor()
{
    if (m_editorView)
        m_editor.Open(*m_editorView);
}

void EditorWindows::OpenCustomProcedures()
{
    if (m_codeViews.procedures)
        m_procedures.Run(m_codeViews.procedures, CustomProcEditorModel::kFromMainMenu, -1);
}

bool EditorWindows::Has(CoreWindow w) const
{
    switch (w) {
    case CoreWindow::NodeEditor:
    case CoreWindow::PlayerOptionEditor:
        return m_editorView != nullptr;
    case CoreWindow::FloatNodeEditor:
        return m_views.floatNodes != nullptr;
    case CoreWindow::ListPicker:
        return m_views.picker != nullptr;
    case CoreWindow::TimeEventCodeEditor:
        return static_cast<bool>(m_codeBox.insert);
    }
    return false;
}

} // namespace zev
