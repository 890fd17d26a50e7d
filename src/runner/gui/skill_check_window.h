#pragma once

#include "base/codepage.h"
#include "runner/skill_checks.h"

#include <QDialog>

class QLabel;

namespace zev {

// "Skill Check": the check's text and the three buttons, each closing with its choice. The model's
// markup ("<br>", "<b>", "<i>", its fields already escaped) is shown as rich text.
class SkillCheckWindow : public QDialog {
    Q_OBJECT

public:
    SkillCheckWindow(SkillCheckWindowModel& model, TextEncoding encoding, QWidget* parent = nullptr);
    QLabel* textLabel() const { return m_text; }

private:
    SkillCheckWindowModel& m_model;
    QLabel* m_text;
};

// The runner's modal view: a fresh window per check, centred on the parent.
class QtSkillCheckView : public SkillCheckView {
public:
    QtSkillCheckView(TextEncoding encoding, QWidget* parent)
        : m_encoding(encoding)
        , m_parent(parent)
    {
    }
    std::optional<SkillCheckChoice> exec(SkillCheckWindowModel& model) override;

private:
    TextEncoding m_encoding;
    QWidget* m_parent;
};

} // namespace zev
