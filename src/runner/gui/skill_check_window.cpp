#include "runner/gui/skill_check_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QString Caption(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SkillCheckWindow::SkillCheckWindow(SkillCheckWindowModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_text(new QLabel(this))
{
    setObjectName(QStringLiteral("skillCheckWindow"));
    setWindowTitle(Caption(SkillCheckWindowModel::kCaption));
    m_text->setObjectName(QStringLiteral("skillCheckText"));
    m_text->setTextFormat(Qt::RichText);
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_text->setWordWrap(true);
    m_text->setText(ToQString(model.text(), encoding));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    const std::pair<std::string_view, SkillCheckChoice> choices[] = {
        { SkillCheckWindowModel::kSuccessCaption, SkillCheckChoice::Success },
        { SkillCheckWindowModel::kEvaluateCaption, SkillCheckChoice::Evaluate },
        { SkillCheckWindowModel::kFailureCaption, SkillCheckChoice::Failure },
    };
    for (const auto& [caption, choice] : choices) {
        auto* b = new QPushButton(Caption(caption), this);
        b->setAutoDefault(false);
        // Enter rolls the check as a run without this window would; Escape leaves the run where it is.
        if (choice == SkillCheckChoice::Evaluate) {
            b->setDefault(true);
            b->setFocus();
        }
        connect(b, &QPushButton::clicked, this, [this, c = choice] {
            m_model.Choose(c);
            accept();
        });
        buttons->addWidget(b);
    }
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    layout->addWidget(m_text, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setMinimumWidth(480);
}

std::optional<SkillCheckChoice> QtSkillCheckView::exec(SkillCheckWindowModel& model)
{
    SkillCheckWindow window(model, m_encoding, m_parent);
    if (window.exec() != QDialog::Accepted)
        return std::nullopt;
    return model.choice();
}

} // namespace zev
