#pragma once

#include <QDialog>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/gui/timed_event_data_window.h" // the data editor the list opens
#include "editors/timed_events.h"

class QComboBox;
class QPushButton;
class QTreeWidget;

namespace zev {

// "Timed events editor": the dialogue's timed events and the one the 'start' procedure starts.
// Add, Edit and Delete go through the model, which writes to the dialogue at once and opens the
// data editor; OK stores the drop-down's choice. Built once; every exec fills it from the model.
class TimedEventsWindow : public QDialog, public TimedEventsView {
    Q_OBJECT
public:
    TimedEventsWindow(TimedEventsModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~TimedEventsWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK.
    bool exec(TimedEventsModel& model) override;
    void Redraw();

    QTreeWidget* eventList() const { return m_events; }
    QComboBox* defaultBox() const { return m_default; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* deleteButton() const { return m_delete; }
    QPushButton* okButton() const { return m_ok; }

private:
    int SelectedRow() const;
    void Act(bool (TimedEventsModel::*action)(int row));

    TimedEventsModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;
    editor_gui::Cells m_shownRows;

    QTreeWidget* m_events = nullptr;
    QComboBox* m_default = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPushButton* m_ok = nullptr;
};

} // namespace zev
