#pragma once

#include <QDialog>

#include <string>

#include "base/codepage.h"
#include "completion/completion_list.h"
#include "editors/custom_procs.h"
#include "editors/gui/code_widgets.h"
#include "editors/gui/editor_widgets.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zev {

class CodeEditor;

// "Custom procedure editor": the procedure list, the edited procedure's name, node and code, and
// code made from a preset. Built once; every exec fills it from the model. The code editor's text
// reaches the model before every action, and only when it was edited, so an untouched procedure
// keeps its bytes.
class CustomProcEditorWindow : public QDialog, public CustomProcEditorView {
    Q_OBJECT
public:
    CustomProcEditorWindow(CustomProcEditorModel& model, TextEncoding encoding, const CompletionLists* lists,
        const DefinitionTable* definitions, QWidget* parent = nullptr);
    ~CustomProcEditorWindow() override;

    using QDialog::exec;
    bool exec(CustomProcEditorModel& model) override;
    void Redraw();

    QListWidget* procedureList() const { return m_procs; }
    QLineEdit* nameField() const { return m_name; }
    QComboBox* nodeBox() const { return m_nodes; }
    CodeEditor* codeEditor() const { return m_code; }
    QComboBox* presetBox() const { return m_presets; }
    QPushButton* generateButton() const { return m_generate; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* okButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildList();
    QWidget* BuildEditor();
    void PushFields();
    void Action(void (CustomProcEditorModel::*action)());

    CustomProcEditorModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    // The model's code last put into the editor, and what the editor gave for it.
    editor_gui::CodeBinding m_binding;

    QListWidget* m_procs = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_nodes = nullptr;
    CodeEditor* m_code = nullptr;
    QComboBox* m_presets = nullptr;
    QPushButton* m_generate = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
