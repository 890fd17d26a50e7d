#pragma once

#include <QDialog>

#include <array>

#include "base/codepage.h"
#include "editors/gui/editor_widgets.h"
#include "editors/npc_properties.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace zev {

// "NPC Properties": the six texts of the NPC in two groups. Built once; every exec fills it from the
// model, and OK hands over only the texts that were typed in.
class NpcPropertiesWindow : public QDialog, public NpcPropertiesView {
    Q_OBJECT
public:
    NpcPropertiesWindow(NpcPropertiesModel& model, TextEncoding encoding, QWidget* parent = nullptr);

    using QDialog::exec;
    // Modal; true when closed with OK (the model stores the texts).
    bool exec(NpcPropertiesModel& model) override;

    // The control of a field: a QLineEdit for the two single lines, a QPlainTextEdit otherwise.
    QWidget* field(NpcField f) const { return m_fields[static_cast<std::size_t>(f)]; }
    QPushButton* okButton() const { return m_ok; }

private:
    QWidget* BuildGroup(bool lookGroup);
    void Fill();
    void PushFields();

    NpcPropertiesModel& m_model;
    TextEncoding m_encoding;
    editor_gui::Mnemonics m_mnemonics;
    std::array<QWidget*, NpcPropertiesModel::kFieldCount> m_fields {};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace zev
