#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/start_conditions.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;

namespace zev {

// "Dialogue start conditions": the start conditions with their targets, and the condition lines of
// the selected one. Every control reaches the model as it changes; the model writes each change to
// the dialogue at once. The controls a condition type does without are hidden.
class StartConditionsWindow : public QDialog, public StartConditionsView {
    Q_OBJECT
public:
    StartConditionsWindow(StartConditionsModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~StartConditionsWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK.
    bool exec(StartConditionsModel& model) override;
    void Redraw();

    QTreeWidget* startConditionList() const { return m_rows; }
    QComboBox* targetBox() const { return m_target; }
    QPlainTextEdit* preview() const { return m_preview; }
    QPushButton* addStartConditionButton() const { return m_addStart; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* deleteStartConditionButton() const { return m_deleteStart; }
    QComboBox* typeBox() const { return m_types; }
    QLabel* selectorLabel() const { return m_selectorLabel; }
    QComboBox* selectorBox() const { return m_selector; }
    QComboBox* evalBox() const { return m_eval; }
    QLineEdit* valueField() const { return m_value; }
    QComboBox* linkageBox() const { return m_linkage; }
    QLineEdit* codeField() const { return m_code; }
    QListWidget* lineList() const { return m_lines; }
    QPushButton* addLineButton() const { return m_addLine; }
    QPushButton* deleteLineButton() const { return m_deleteLine; }
    QPushButton* modifyButton() const { return m_modify; }
    QPushButton* okButton() const { return m_ok; }

private:
    QWidget* BuildStartConditions();
    QWidget* BuildLines();
    // "Condition list:" with its three buttons; made after the line controls, so Tab reaches it after them.
    QVBoxLayout* BuildLineList(QWidget* group);
    void Fill();
    void RedrawRows();
    void RedrawLineControls();

    StartConditionsModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    editor_gui::Cells m_shownRows;
    std::vector<std::string> m_shownTargets, m_shownTypes, m_shownSelector, m_shownLines;

    QTreeWidget* m_rows = nullptr;
    QComboBox* m_target = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    QPushButton* m_addStart = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_deleteStart = nullptr;
    QComboBox* m_types = nullptr;
    QLabel* m_selectorLabel = nullptr;
    QComboBox* m_selector = nullptr;
    QLabel* m_evalLabel = nullptr;
    QComboBox* m_eval = nullptr;
    QLabel* m_valueLabel = nullptr;
    QLineEdit* m_value = nullptr;
    QComboBox* m_linkage = nullptr;
    QLineEdit* m_code = nullptr;
    QListWidget* m_lines = nullptr;
    QPushButton* m_addLine = nullptr;
    QPushButton* m_deleteLine = nullptr;
    QPushButton* m_modify = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
