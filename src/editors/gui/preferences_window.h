#pragma once

#include <QDialog>

#include <array>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/preferences.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QVBoxLayout;

namespace zev {

// "Preferences": the configuration keys on three tabs. Built once; every exec fills it from the
// model and opens on the first tab. Each change reaches the model as it is made; the model decides
// what OK and Cancel do. Every control offers context help (What's This), which the model logs.
class PreferencesWindow : public QDialog, public PreferencesView {
    Q_OBJECT
public:
    PreferencesWindow(PreferencesModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    ~PreferencesWindow() override;

    using QDialog::exec;
    // Modal; true when closed with OK.
    bool exec(PreferencesModel& model) override;
    void Redraw();

    QTabWidget* tabs() const { return m_tabs; }
    QCheckBox* check(PrefCheck c) const { return m_checks[static_cast<std::size_t>(c)]; }
    QLineEdit* folderField(PrefFolder f) const { return m_folders[static_cast<std::size_t>(f)]; }
    QPushButton* folderButton(PrefFolder f) const { return m_folderButtons[static_cast<std::size_t>(f)]; }
    QLineEdit* clonedNodeField() const { return m_clonedFormat; }
    QSpinBox* smartSpin() const { return m_smart; }
    QSpinBox* dumbSpin() const { return m_dumb; }
    QPushButton* okButton() const { return m_ok; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildGeneral();
    QWidget* BuildEditing();
    QWidget* BuildEngine();
    // The tab's check boxes, as the model's table places them.
    void AddChecks(PrefTab tab, QWidget* page, QVBoxLayout* layout);
    QSpinBox* MakeSpin(QWidget* page, void (PreferencesModel::*set)(int32_t));
    // Context help on the control: its hint, else its caption.
    void OfferHelp(QWidget* control, std::string_view hint);

    PreferencesModel& m_model;
    TextEncoding m_encoding;
    std::size_t m_changedId = 0;
    bool m_redrawing = false;
    editor_gui::Mnemonics m_mnemonics;

    QTabWidget* m_tabs = nullptr;
    std::array<QCheckBox*, kPrefCheckCount> m_checks {};
    std::array<QLineEdit*, kPrefFolderCount> m_folders {};
    std::array<QPushButton*, kPrefFolderCount> m_folderButtons {};
    QLineEdit* m_clonedFormat = nullptr;
    QSpinBox* m_smart = nullptr;
    QSpinBox* m_dumb = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
