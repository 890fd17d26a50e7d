#pragma once

#include <QDialog>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/skill_check_editor.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace zev {

// "Skill check editor": one skill check's name, skill, modifier, success and failure node and
// owner. Built once; every exec fills it from the model. Each control reaches the model as it
// changes, so the previews and OK follow at once.
class SkillCheckEditorWindow : public QDialog, public SkillCheckEditorView {
    Q_OBJECT
public:
    SkillCheckEditorWindow(SkillCheckEditorModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~SkillCheckEditorWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK after the model accepted the fields.
    bool exec(SkillCheckEditorModel& model) override;
    void Redraw();

    QLineEdit* nameField() const { return m_name; }
    QPushButton* generateButton() const { return m_generate; }
    QComboBox* skillBox() const { return m_skill; }
    QSpinBox* modifierSpin() const { return m_modifier; }
    QComboBox* successBox() const { return m_success; }
    QComboBox* failureBox() const { return m_failure; }
    QPlainTextEdit* successPreview() const { return m_successPreview; }
    QPlainTextEdit* failurePreview() const { return m_failurePreview; }
    QComboBox* ownerBox() const { return m_owner; }
    QPushButton* okButton() const { return m_ok; }

private:
    QWidget* BuildCheck();
    QWidget* BuildTargets();
    QComboBox* MakeNodePicker(const char* objectName, void (SkillCheckEditorModel::*choose)(int), QWidget* parent);

    SkillCheckEditorModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;

    QLineEdit* m_name = nullptr;
    QPushButton* m_generate = nullptr;
    QComboBox* m_skill = nullptr;
    QSpinBox* m_modifier = nullptr;
    QComboBox* m_success = nullptr;
    QComboBox* m_failure = nullptr;
    QPlainTextEdit* m_successPreview = nullptr;
    QPlainTextEdit* m_failurePreview = nullptr;
    QComboBox* m_owner = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
