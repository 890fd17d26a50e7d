#pragma once

#include <QDialog>

#include "base/codepage.h"
#include "editors/float_node_editor.h"
#include "editors/gui/editor_widgets.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace zev {

// "Float node strings editor": a float node's name, description and random messages. Built once;
// every exec fills it from the model. The message buttons change the float node at once; name and
// description are the model's on every keystroke and stored by it on OK.
class FloatNodeEditorWindow : public QDialog, public FloatNodeEditorView {
    Q_OBJECT
public:
    FloatNodeEditorWindow(FloatNodeEditorModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~FloatNodeEditorWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK after the model accepted the name.
    bool exec(FloatNodeEditorModel& model) override;
    void Redraw();

    QLineEdit* nameField() const { return m_name; }
    QPlainTextEdit* descriptionMemo() const { return m_description; }
    QTreeWidget* messageList() const { return m_messages; }
    QPlainTextEdit* textMemo() const { return m_text; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* modifyButton() const { return m_modify; }
    QPushButton* okButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildNode();
    QWidget* BuildMessages();

    FloatNodeEditorModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    editor_gui::Cells m_shownRows;

    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QTreeWidget* m_messages = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
