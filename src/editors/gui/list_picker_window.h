#pragma once

#include <QDialog>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/list_picker.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace zev {

// The list picker of the script functions that let the user choose a float node or a timed event:
// caption, label and items come from the caller through the model. Built once; every exec fills
// it anew. A double click on an entry is OK.
class ListPickerWindow : public QDialog, public ListPickerView {
    Q_OBJECT
public:
    ListPickerWindow(ListPickerModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~ListPickerWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK (the caller reads the model's choice).
    bool exec(ListPickerModel& model) override;
    void Redraw();

    QLabel* label() const { return m_label; }
    QListWidget* list() const { return m_list; }
    QPushButton* okButton() const { return m_ok; }

private:
    ListPickerModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;

    QLabel* m_label = nullptr;
    QListWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
