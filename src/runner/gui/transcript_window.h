#pragma once

#include "base/codepage.h"
#include "runner/transcript_windows.h"

#include <QDialog>

class QTextEdit;

namespace zev {

// "Dialogue transcript", modeless: shown and hidden as the model says, its lines drawn with the
// model's fonts and colours.
class TranscriptWindow : public QDialog {
public:
    TranscriptWindow(TranscriptWindowModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~TranscriptWindow() override;

    QTextEdit* textBox() const { return m_text; }
    void Redraw();

protected:
    // Closing the window is "Ok": the model must know it is hidden.
    void done(int result) override;

private:
    TranscriptWindowModel& m_model;
    TextEncoding m_encoding;
    QTextEdit* m_text;
    std::size_t m_changedConnection = 0;
};

} // namespace zev
