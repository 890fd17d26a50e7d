#pragma once

#include <QDialog>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "editors/conditions_editor.h"
#include "editors/gui/editor_widgets.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace zev {

// "Additional player option conditions": the conditions of one player option. Every control
// reaches the model as it changes, and the model writes Add, Apply changes and Delete to the
// option at once; OK and Cancel only close.
class ConditionsEditorWindow : public QDialog, public ConditionsEditorView {
    Q_OBJECT
public:
    ConditionsEditorWindow(ConditionsEditorModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~ConditionsEditorWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK.
    bool exec(ConditionsEditorModel& model) override;
    void Redraw();

    QComboBox* checkTypeBox() const { return m_types; }
    QListWidget* fieldList() const { return m_fields; }
    QLabel* chosenField() const { return m_chosen; }
    QComboBox* evalBox() const { return m_eval; }
    QLineEdit* valueField() const { return m_value; }
    QComboBox* linkageBox() const { return m_linkage; }
    QLabel* resolvedCode() const { return m_resolved; }
    QListWidget* conditionList() const { return m_lines; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* okButton() const { return m_ok; }

private:
    QWidget* BuildControls();
    QWidget* BuildList();
    void Fill();

    ConditionsEditorModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    std::vector<std::string> m_shownTypes, m_shownFields, m_shownLines;

    QComboBox* m_types = nullptr;
    QListWidget* m_fields = nullptr;
    QLabel* m_chosen = nullptr;
    QComboBox* m_eval = nullptr;
    QLineEdit* m_value = nullptr;
    QComboBox* m_linkage = nullptr;
    QLabel* m_resolved = nullptr;
    QListWidget* m_lines = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Shared by the two condition windows. A drop-down list of fixed captions (the operators, the
// linkage words).
QComboBox* FixedList(std::span<const std::string_view> items, QWidget* parent);
// A list's items replaced only when they changed, then the
// model's choice made current (-1: none).
void ShowItems(QComboBox* box, const std::vector<std::string>& items, std::vector<std::string>& shown, int current,
    TextEncoding encoding);
void ShowItems(QListWidget* list, const std::vector<std::string>& items, std::vector<std::string>& shown, int current,
    TextEncoding encoding);

} // namespace zev
