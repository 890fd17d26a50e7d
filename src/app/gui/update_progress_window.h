#pragma once

#include "app/update_progress.h"
#include "base/codepage.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace zev {

// "Update progress": a fixed dialog with the bar and two centred labels, shown and hidden by its
// model and centred on its parent each time it appears.
class UpdateProgressWindow : public QDialog {
    Q_OBJECT

public:
    UpdateProgressWindow(UpdateProgressModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~UpdateProgressWindow() override;

    QProgressBar* bar() const { return m_bar; }
    QLabel* bytesLabel() const { return m_bytes; }
    QLabel* fileLabel() const { return m_file; }

private:
    void Refresh();

    UpdateProgressModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_connection = 0;
    QProgressBar* m_bar;
    QLabel* m_bytes;
    QLabel* m_file;
};

} // namespace zev
