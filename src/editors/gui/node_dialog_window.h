#pragma once

#include <QDialog>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/node_dialog.h"

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace zev {

// "Add node" / "Edit node": a node's name and texts and its player options. Built once; every exec
// fills it from the model. The typed texts reach the model as they are typed, so an option dialog
// run in between, and the list refill after it, keep them.
class NodeDialog : public QDialog, public NodeDialogView {
    Q_OBJECT
public:
    NodeDialog(NodeDialogModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~NodeDialog() override;

    using QDialog::exec;
    // Modal; OK closes only when the model accepts the name. True when closed with OK.
    bool exec(NodeDialogModel& model) override;
    void Redraw();

    QLineEdit* nameField() const { return m_name; }
    QPlainTextEdit* npcTextMemo() const { return m_npcText; }
    QCheckBox* femaleCheck() const { return m_female; }
    QPlainTextEdit* femaleMemo() const { return m_femaleText; }
    QPlainTextEdit* notesMemo() const { return m_notes; }
    QTreeWidget* optionList() const { return m_options; }
    QPushButton* okButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildTexts();
    QWidget* BuildOptions();
    void Fill();
    // The typed texts into the model: before OK and before any option button.
    void PushFields();
    void OptionAction(void (NodeDialogModel::*action)());
    void Ok();

    NodeDialogModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    editor_gui::Cells m_shownRows;

    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_npcText = nullptr;
    QCheckBox* m_female = nullptr;
    QPlainTextEdit* m_femaleText = nullptr;
    QPlainTextEdit* m_notes = nullptr;
    QTreeWidget* m_options = nullptr;
    QPushButton* m_addOption = nullptr;
    QPushButton* m_editOption = nullptr;
    QPushButton* m_deleteOption = nullptr;
    QPushButton* m_moveUp = nullptr;
    QPushButton* m_moveDown = nullptr;
    QPushButton* m_customCode = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
