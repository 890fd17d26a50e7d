#pragma once

#include <QWidget>

#include "base/codepage.h"
#include "runner/run_panel_model.h"

#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace zev {

// The main window's test-run panel: shows the runner's RunPanel and forwards the user's actions.
class RunPanelWidget : public QWidget {
    Q_OBJECT
public:
    RunPanelWidget(RunPanelModel& runner, TextEncoding encoding, QWidget* parent = nullptr);
    ~RunPanelWidget() override;

    // Whether a node editor exists; until then "Edit this node" stays disabled with a hint.
    void SetNodeEditorAvailable(bool available);
    // What "Edit dialogue" opens (the Dialogue Editor); without one the button is disabled.
    void SetEditDialogueHandler(std::function<void()> handler);

    // The panel redrawn from the model; runs on every RunPanelModel::changed.
    void Redraw();

    QComboBox* startNodeBox() const { return m_startNode; }
    QTreeWidget* optionList() const { return m_options; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildButtonRow();
    QWidget* BuildTexts();
    QWidget* BuildOptions();
    void RedrawOptions(const RunPanel& p);
    void RedrawStartNodeBox(const RunPanel& p);
    // The row under the item, or -1.
    int RowOf(const void* item) const;
    QString Text(std::string_view bytes) const;

    RunPanelModel& m_runner;
    TextEncoding m_encoding;
    std::size_t m_changedConnection = 0;
    bool m_redrawing = false;
    bool m_editorAvailable = false;
    std::vector<std::string> m_shownItems; // the start-node box's items as last drawn
    std::vector<OptionRow> m_shownOptions; // the option list as last drawn

    QComboBox* m_startNode = nullptr;
    QPushButton* m_run = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_editDialogue = nullptr;
    std::function<void()> m_editDialogueHandler;
    QLabel* m_currentNodeCaption = nullptr;
    QLineEdit* m_nodeLabel = nullptr;
    QPlainTextEdit* m_npcLine = nullptr;
    QPlainTextEdit* m_nodeNotes = nullptr;
    QPlainTextEdit* m_optionNotes = nullptr;
    QTreeWidget* m_options = nullptr;
    QLabel* m_hiddenOptions = nullptr;
};

} // namespace zev
