#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <string>
#include <string_view>

#include "base/codepage.h"
#include "completion/completion_list.h"
#include "editors/gui/code_widgets.h"
#include "editors/gui/editor_widgets.h"
#include "editors/timed_events.h"

class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace zev {

class CodeEditor;

// "Timed event data editor": one timed event's name, enum value, interval and code block. Built
// once; every exec fills it from the model. The code editor's context menu carries "Insert
// command", whose entries a helper script registers at start-up; choosing one runs the handler
// with the entry's tag, and the script it runs may put code at the caret with InsertAtCaret.
class TimedEventDataWindow : public QDialog, public TimedEventDataView {
    Q_OBJECT
public:
    // Entries beyond this are refused: the menu is for a handful of commands, and a looping script
    // must not grow it without end.
    static constexpr int kMaxInsertCommands = 256;

    TimedEventDataWindow(TimedEventDataModel& model, TextEncoding encoding, const CompletionLists* lists,
        const DefinitionTable* definitions, QWidget* parent = nullptr);
    ~TimedEventDataWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK after the model accepted the code.
    bool exec(TimedEventDataModel& model) override;
    void Redraw();

    // A new entry of "Insert command": the caption as shown, a shortcut such as "Ctrl+1" that
    // works while the code editor has the focus (none when empty, unreadable or taken by an earlier
    // entry), and the tag the handler gets. False when the menu is full.
    bool AddInsertCommand(const QString& caption, const QString& shortcut, int tag);
    // What choosing an entry does; the tag is the entry's.
    void SetInsertCommandHandler(std::function<void(int tag)> handler) { m_handler = std::move(handler); }
    // Model text (8-bit, CR LF lines) put in at the caret, replacing no selection; the caret ends
    // after it.
    void InsertAtCaret(std::string_view bytes);

    QLineEdit* nameField() const { return m_name; }
    QSpinBox* enumSpin() const { return m_enum; }
    QRadioButton* intervalTypeRadio(int position) const { return position == 1 ? m_random : m_static; }
    QSpinBox* minimumSpin() const { return m_minimum; }
    QSpinBox* maximumSpin() const { return m_maximum; }
    CodeEditor* codeEditor() const { return m_code; }
    QMenu* insertCommandMenu() const { return m_insertMenu; }
    // The code editor's context menu: its standard entries and "Insert command". The caller owns it.
    QMenu* CreateContextMenu();
    QPushButton* okButton() const { return m_ok; }

private:
    QWidget* BuildFields();
    QGroupBox* BuildInterval(QWidget* parent);
    void PushCode();

    TimedEventDataModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    std::function<void(int tag)> m_handler;
    // The model's code last put into the editor, and what the editor gave for it: untouched code
    // goes back to the model byte for byte.
    editor_gui::CodeBinding m_binding;

    QLineEdit* m_name = nullptr;
    QSpinBox* m_enum = nullptr;
    QRadioButton* m_static = nullptr;
    QRadioButton* m_random = nullptr;
    QSpinBox* m_minimum = nullptr;
    QSpinBox* m_maximum = nullptr;
    CodeEditor* m_code = nullptr;
    QMenu* m_insertMenu = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
