#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/node_dialog.h" // OptionDialogView, beside the dialog that opens it

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zev {

// "Add player option" / "Edit player option": one option's text, link, flags and notes. Built
// once; every exec fills it from the model, and the model's rules show, hide and enable the
// controls on every change.
class OptionDialog : public QDialog, public OptionDialogView {
    Q_OBJECT
public:
    OptionDialog(OptionDialogModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~OptionDialog() override;

    using QDialog::exec;
    // Modal; true when closed with OK (the caller applies the model).
    bool exec(OptionDialogModel& model) override;
    void Redraw();

    QPlainTextEdit* textMemo() const { return m_text; }
    QRadioButton* linkRadio(LinkKind kind) const;
    QComboBox* picker(LinkKind kind) const;
    QPlainTextEdit* preview() const { return m_preview; }
    QCheckBox* newNodeCheck() const { return m_newNode; }
    QLineEdit* newNodeName() const { return m_newNodeName; }
    QPushButton* createNodeButton() const { return m_createNode; }
    QCheckBox* terminatesCheck() const { return m_terminates; }
    QCheckBox* combatCheck() const { return m_combat; }
    QCheckBox* dumbCheck() const { return m_dumb; }
    QSpinBox* intelligenceSpin() const { return m_intelligence; }
    QPushButton* okButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildLink();
    QHBoxLayout* BuildNewNodeRow(QWidget* box);
    QWidget* BuildChecks();
    QWidget* BuildNotes();
    void Fill();
    void PushFields();
    void Act(void (OptionDialogModel::*action)());
    void CreateNode();
    void RedrawPicker(QComboBox* box, const std::vector<std::string>& items, std::vector<std::string>& shown,
        const std::string& current);
    void RedrawIntelligence();

    OptionDialogModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    std::vector<std::string> m_shownNodes, m_shownSkills, m_shownProcs;

    QPlainTextEdit* m_text = nullptr;
    QWidget* m_linkBox = nullptr;
    QButtonGroup* m_kinds = nullptr;
    QRadioButton* m_toProc = nullptr;
    QRadioButton* m_toNode = nullptr;
    QRadioButton* m_toSkill = nullptr;
    QComboBox* m_procs = nullptr;
    QComboBox* m_nodes = nullptr;
    QComboBox* m_skills = nullptr;
    QPushButton* m_editSkill = nullptr;
    QLabel* m_previewLabel = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QCheckBox* m_newNode = nullptr;
    QWidget* m_newNodeBox = nullptr;
    QLineEdit* m_newNodeName = nullptr;
    QPushButton* m_createNode = nullptr;
    QPushButton* m_customProcs = nullptr;
    QPushButton* m_newSkill = nullptr;
    QPushButton* m_setUpConditions = nullptr;
    QCheckBox* m_terminates = nullptr;
    QCheckBox* m_combat = nullptr;
    QCheckBox* m_dumb = nullptr;
    QComboBox* m_reaction = nullptr;
    QComboBox* m_gender = nullptr;
    QSpinBox* m_intelligence = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QPlainTextEdit* m_conditions = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
