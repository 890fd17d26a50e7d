#pragma once

#include <QDialog>

#include <string>

#include "base/codepage.h"
#include "completion/completion_list.h"
#include "editors/gui/code_widgets.h"
#include "editors/gui/editor_widgets.h"
#include "editors/node_code.h"

class QComboBox;
class QPushButton;

namespace zev {

class CodeEditor;

// "Node-specific code editor": the code run at the start of one node, with code made from a
// preset. Built once; every exec fills it from the model.
class NodeCodeEditorWindow : public QDialog, public NodeCodeEditorView {
    Q_OBJECT
public:
    NodeCodeEditorWindow(NodeCodeEditorModel& model, TextEncoding encoding, const CompletionLists* lists,
        const DefinitionTable* definitions, QWidget* parent = nullptr);
    ~NodeCodeEditorWindow() override;

    using QDialog::exec;
    bool exec(NodeCodeEditorModel& model) override;
    void Redraw();

    CodeEditor* codeEditor() const { return m_code; }
    QComboBox* presetBox() const { return m_presets; }
    QPushButton* createButton() const { return m_create; }
    QPushButton* okButton() const { return m_ok; }

private:
    void PushCode();

    NodeCodeEditorModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    // The model's code last put into the editor, and what the editor gave for it.
    editor_gui::CodeBinding m_binding;

    CodeEditor* m_code = nullptr;
    QComboBox* m_presets = nullptr;
    QPushButton* m_create = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
