#pragma once

// The editor windows' models in one place, and the windows of them that the core opens on its own
// (a test run's "Edit this node" and open link, the script functions EditNode and EditPlayerOption).
// A front end with windows gives it their views; without them nothing is shown.

#include <string>
#include <string_view>

#include "app/core_windows.h"
#include "editors/dialogue_editor.h"
#include "editors/node_dialog.h"
#include "editors/option_dialog.h"

namespace zev {

class App;

class EditorWindows : public CoreWindows {
public:
    explicit EditorWindows(App& app);

    OptionDialogModel& optionDialog() { return m_option; }
    NodeDialogModel& nodeDialog() { return m_node; }
    DialogueEditorModel& dialogueEditor() { return m_editor; }

    void SetViews(DialogueEditorView* editor, NodeDialogView* node, OptionDialogView* option);

    // "Edit dialogue" and "Dialogue editor...".
    void OpenDialogueEditor();

    bool Has(CoreWindow w) const override;
    bool EditNodeAt(int nodeIndex) override { return m_editor.EditNodeAt(nodeIndex); }
    bool AddNode(std::string_view presetName) override { return m_editor.AddNodeNamed(std::string(presetName)); }
    std::string LastAcceptedNodeName() const override { return m_node.lastAcceptedName(); }
    void EditPlayerOption(const std::string& node, int optionNum) override { m_node.EditPlayerOption(node, optionNum); }

private:
    OptionDialogModel m_option;
    NodeDialogModel m_node;
    DialogueEditorModel m_editor;
    DialogueEditorView* m_editorView = nullptr;
};

} // namespace zev
