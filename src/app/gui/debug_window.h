#pragma once

#include <QWidget>

#include "base/codepage.h"

class QListWidget;

namespace zev {

class DebugWindowModel;

// "debugwindow": a small tool window on top of the others, one list of log messages that follows
// the newest line. A view of DebugWindowModel; showing and hiding it switches the model's growth.
class DebugWindow : public QWidget {
    Q_OBJECT
public:
    DebugWindow(DebugWindowModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~DebugWindow() override;

    QListWidget* list() const { return m_list; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void Refresh();

    DebugWindowModel& m_model;
    TextEncoding m_encoding;
    QListWidget* m_list;
};

} // namespace zev
