#pragma once

#include "update/update_checker.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTextBrowser;

namespace zev {

// "Web Update": the release notes page in a text browser, OK, Cancel and the check box for future
// checks; modal, centred on the screen, without title-bar buttons. The page's links open in the
// desktop's browser (http and https only); it loads nothing by itself.
class ReleaseNotesWindow : public QDialog {
    Q_OBJECT

public:
    explicit ReleaseNotesWindow(ReleaseNotesModel& model, QWidget* parent = nullptr);

    QTextBrowser* browser() const { return m_browser; }
    QCheckBox* checkBox() const { return m_check; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    void done(int result) override;

private:
    ReleaseNotesModel& m_model;
    QTextBrowser* m_browser;
    QCheckBox* m_check;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};

// The view the update checker opens the window through.
class QtReleaseNotesView final : public ReleaseNotesView {
public:
    explicit QtReleaseNotesView(QWidget* parent)
        : m_parent(parent)
    {
    }
    bool exec(ReleaseNotesModel& model) override;

private:
    QWidget* m_parent;
};

} // namespace zev
