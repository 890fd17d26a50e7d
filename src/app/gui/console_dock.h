#pragma once

#include <QDockWidget>

#include "app/console_window.h"
#include "base/codepage.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zev {

// The script console as a dock of the main window: the output, and a line to run script lines in.
class ConsoleDock : public QDockWidget {
    Q_OBJECT
public:
    ConsoleDock(ConsoleWindowModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~ConsoleDock() override;

    QPlainTextEdit* output() const { return m_output; }
    QLineEdit* input() const { return m_input; }
    QPushButton* runButton() const { return m_run; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunInput();
    void Recall(int step);

    ConsoleWindowModel& m_model;
    TextEncoding m_encoding;
    QPlainTextEdit* m_output;
    QLineEdit* m_input;
    QPushButton* m_run;
    int m_recall = -1; // history index shown in the input, -1 when typing
    std::size_t m_appendedId = 0;
    std::size_t m_clearedId = 0;
    std::size_t m_visibleId = 0;
};

} // namespace zev
