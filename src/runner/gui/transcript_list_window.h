#pragma once

#include "base/codepage.h"
#include "runner/transcript_windows.h"

#include <QDialog>

class QTreeWidget;

namespace zev {

// "List of dialogue transcripts", modeless: a double click on a row shows that transcript.
class TranscriptListWindow : public QDialog {
public:
    TranscriptListWindow(TranscriptListModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~TranscriptListWindow() override;

    QTreeWidget* list() const { return m_list; }
    void Redraw();

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TranscriptListModel& m_model;
    TextEncoding m_encoding;
    QTreeWidget* m_list;
    std::size_t m_changedConnection = 0;
};

} // namespace zev
