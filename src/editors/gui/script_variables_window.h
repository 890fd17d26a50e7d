#pragma once

#include <QDialog>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/script_variables.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace zev {

// "Script variable manager": the variable list (several rows can be selected) and the fields and
// buttons that edit it. Built once; every exec fills it from the model. The fields reach the model
// as they are typed.
class ScriptVariablesWindow : public QDialog, public ScriptVariablesView {
    Q_OBJECT
public:
    ScriptVariablesWindow(ScriptVariablesModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~ScriptVariablesWindow() override;

    using QDialog::exec;
    bool exec(ScriptVariablesModel& model) override;
    void Redraw();

    QTreeWidget* variableList() const { return m_list; }
    QLineEdit* nameField() const { return m_name; }
    QComboBox* scopeBox() const { return m_scope; }
    QCheckBox* hasDefaultCheck() const { return m_hasDefault; }
    QComboBox* typeBox() const { return m_type; }
    QLineEdit* valueField() const { return m_value; }
    QPlainTextEdit* notesMemo() const { return m_notes; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* okButton() const { return m_ok; }

private:
    QWidget* BuildFields();
    QLayout* BuildButtons();
    void Action(void (ScriptVariablesModel::*action)());

    ScriptVariablesModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    editor_gui::Cells m_shownRows;

    QTreeWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QComboBox* m_scope = nullptr;
    QCheckBox* m_hasDefault = nullptr;
    QComboBox* m_type = nullptr;
    QLineEdit* m_value = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_moveUp = nullptr;
    QPushButton* m_moveDown = nullptr;
    QPushButton* m_rearrange = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
