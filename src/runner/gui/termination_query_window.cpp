#include "runner/gui/termination_query_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

// The fixed captions carry CR LF line breaks; Qt wants LF.
QString Caption(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).remove(QLatin1Char('\r'));
}

} // namespace

TerminationQueryWindow::TerminationQueryWindow(
    const TerminationQueryModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_target(new QLabel(this))
    , m_notes(new QPlainTextEdit(this))
    , m_edit(new QPushButton(ToQString(model.editButtonCaption(), encoding), this))
    , m_exit(new QPushButton(Caption(TerminationQueryModel::kExitCaption), this))
{
    setObjectName(QStringLiteral("terminationQuery"));
    setWindowTitle(Caption(TerminationQueryModel::kCaption));
    auto* text = new QLabel(Caption(TerminationQueryModel::kText), this);
    text->setWordWrap(true);

    m_target->setObjectName(QStringLiteral("targetNode"));
    m_target->setText(ToQString(model.targetNode(), encoding));
    m_target->setTextFormat(Qt::PlainText);
    QFont bold = m_target->font();
    bold.setBold(true);
    m_target->setFont(bold);
    m_notes->setObjectName(QStringLiteral("notes"));
    m_notes->setReadOnly(true);
    m_notes->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_notes->setPlainText(ToDisplayText(model.notes(), encoding));

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(Caption(TerminationQueryModel::kTargetCaption), this), 0, 0, Qt::AlignTop);
    grid->addWidget(m_target, 0, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(Caption(TerminationQueryModel::kNotesCaption), this), 1, 0, Qt::AlignTop);
    grid->addWidget(m_notes, 1, 1);
    grid->setColumnStretch(1, 1);

    m_edit->setObjectName(QStringLiteral("editNodeButton"));
    m_edit->setEnabled(model.editButtonEnabled());
    m_edit->setDefault(true);
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_exit->setAutoDefault(false);
    connect(m_edit, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_exit);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addSpacing(6);
    layout->addLayout(grid, 1);
    layout->addLayout(buttons);
    resize(480, 280);
    m_edit->setFocus();
}

TerminationChoice QtTerminationQueryView::exec(TerminationQueryModel& model)
{
    TerminationQueryWindow window(model, m_encoding, m_parent);
    return window.exec() == QDialog::Accepted ? TerminationChoice::EditNode : TerminationChoice::Exit;
}

} // namespace zev
