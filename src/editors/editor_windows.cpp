#include "editors/editor_windows.h"

namespace zev {

EditorWindows::EditorWindows(App& app)
    : m_option(app)
    , m_node(app, m_option)
    , m_editor(app, m_node)
{
}

void EditorWindows::SetViews(DialogueEditorView* editor, NodeDialogView* node, OptionDialogView* option)
{
    m_editorView = editor;
    m_editor.SetNodeDialogView(node);
    m_node.SetOptionView(option);
}

void EditorWindows::OpenDialogueEditor()
{
    if (m_editorView)
        m_editor.Open(*m_editorView);
}

bool EditorWindows::Has(CoreWindow w) const
{
    return m_editorView && (w == CoreWindow::NodeEditor || w == CoreWindow::PlayerOptionEditor);
}

} // namespace zev
