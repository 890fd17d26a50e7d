#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <utility>

#include "base/codepage.h"
#include "editors/dialogue_editor.h"
#include "editors/gui/editor_widgets.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace zev {

// "Dialogue Editor": the tabs of regular nodes, floater nodes and skill checks over the editor's
// model. Built once and shown modally again for every opening; it redraws on the model's changed.
class DialogueEditorWindow : public QDialog, public DialogueEditorView {
    Q_OBJECT
public:
    DialogueEditorWindow(DialogueEditorModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~DialogueEditorWindow() override;

    using QDialog::exec;
    // Modal until "Exit" (the model's Exit, then closed) or the close box (closed as it is).
    void exec(DialogueEditorModel& model) override;
    void Redraw();

    QTabWidget* tabs() const { return m_tabs; }
    QTreeWidget* nodeList() const { return m_nodes; }
    QTreeWidget* floatList() const { return m_floats; }
    QTreeWidget* skillList() const { return m_skills; }
    QComboBox* filterBox() const { return m_filter; }
    QLineEdit* searchField() const { return m_search; }
    QPushButton* button(DialogueEditorModel::Button b) const { return m_buttons[static_cast<std::size_t>(b)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Button = DialogueEditorModel::Button;

    QWidget* BuildNodesTab();
    QWidget* BuildSearchRow(QWidget* parent);
    QVBoxLayout* NodeButtons(QWidget* page);
    // A button of the model's, acting through Act; with a mnemonic when a letter is given.
    QPushButton* AddButton(Button b, QWidget* page, char letter = 0);
    QWidget* BuildFloatersTab();
    QWidget* BuildSkillsTab();
    void Act(Button b);
    void RedrawNodes();
    void Redraw(QTreeWidget* list, editor_gui::Cells cells, editor_gui::Cells& shown);
    void ConnectRows(
        QTreeWidget* list, void (DialogueEditorModel::*select)(int), void (DialogueEditorModel::*edit)(int));
    void SelectRow(QTreeWidget* list, int row);
    void NodeEdited(QTreeWidgetItem* item, int column);
    int RowOf(QTreeWidgetItem* item) const;

    DialogueEditorModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    editor_gui::Cells m_shownNodes, m_shownFloats, m_shownSkills;

    QTabWidget* m_tabs = nullptr;
    QComboBox* m_filter = nullptr;
    QWidget* m_searchRow = nullptr;
    QLineEdit* m_search = nullptr;
    QLabel* m_maskError = nullptr;
    QTreeWidget* m_nodes = nullptr;
    QTreeWidget* m_floats = nullptr;
    QTreeWidget* m_skills = nullptr;
    QPushButton* m_exit = nullptr;
    std::array<QPushButton*, DialogueEditorModel::kButtonCount> m_buttons {};
};

} // namespace zev
