#pragma once

#include <QDialog>

#include "script/script_run_watch.h"

class QPushButton;

namespace zev {

// "Script running..." with its Stop button: shown over every window of the program while a script
// runs long, so nothing else can be started meanwhile; Stop ends the script.
class ScriptRunningWindow : public QDialog {
    Q_OBJECT
public:
    ScriptRunningWindow(ScriptRunWatch& watch, QWidget* parent = nullptr);
    ~ScriptRunningWindow() override;

    QPushButton* stopButton() const { return m_stop; }

protected:
    // Escape, the close button and any other way of closing stop the script, as Stop does; the
    // window goes when the script has ended.
    void done(int result) override;

private:
    ScriptRunWatch& m_watch;
    QPushButton* m_stop;
    std::size_t m_changedId = 0;
};

} // namespace zev
