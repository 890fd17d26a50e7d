#pragma once

#include "base/codepage.h"
#include "runner/termination_query.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zev {

// "Dialogue termination query": "Edit node" (the default) accepts, "Exit" or closing rejects.
class TerminationQueryWindow : public QDialog {
    Q_OBJECT

public:
    TerminationQueryWindow(const TerminationQueryModel& model, TextEncoding encoding, QWidget* parent = nullptr);

    QLabel* targetLabel() const { return m_target; }
    QPlainTextEdit* notesBox() const { return m_notes; }
    QPushButton* editButton() const { return m_edit; }
    QPushButton* exitButton() const { return m_exit; }

private:
    QLabel* m_target;
    QPlainTextEdit* m_notes;
    QPushButton* m_edit;
    QPushButton* m_exit;
};

class QtTerminationQueryView : public TerminationQueryView {
public:
    QtTerminationQueryView(TextEncoding encoding, QWidget* parent)
        : m_encoding(encoding)
        , m_parent(parent)
    {
    }
    TerminationChoice exec(TerminationQueryModel& model) override;

private:
    TextEncoding m_encoding;
    QWidget* m_parent;
};

} // namespace zev
