#include "editors/gui/npc_properties_window.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

using namespace editor_gui;
using Model = NpcPropertiesModel;

namespace {

// Alt+letters in the order of the fields.
constexpr char kLetters[Model::kFieldCount] = { 'n', 'l', 't', 'u', 'k', 'd' };

} // namespace

NpcPropertiesWindow::NpcPropertiesWindow(NpcPropertiesModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("npcPropertiesWindow"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    QWidget* header = BuildGroup(false);
    QWidget* look = BuildGroup(true);
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        PushFields();
        accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header, 1);
    layout->addWidget(look, 1);
    layout->addWidget(buttons);
    setMinimumSize(480, 520);
    resize(560, 620);
    Fill();
}

QWidget* NpcPropertiesWindow::BuildGroup(bool lookGroup)
{
    const std::string_view title = lookGroup ? Model::kLookGroup : Model::kHeaderGroup;
    auto* group = new QGroupBox(Caption(title), this);
    group->setAccessibleName(SpokenName(title));
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const Model::FieldInfo& f : Model::kFields) {
        if (f.lookGroup != lookGroup)
            continue;
        const auto at = static_cast<std::size_t>(f.field);
        QWidget* control = nullptr;
        if (f.multiLine) {
            control = MakeMemo("npcMemo", false, group);
        } else {
            auto* line = new QLineEdit(group);
            control = line;
        }
        control->setObjectName(QStringLiteral("npcField%1").arg(at));
        QLabel* label = LabelFor(f.label, control, group, &m_mnemonics, kLetters[at]);
        // A memo's label stands above it; a line's beside it.
        if (f.multiLine) {
            grid->addWidget(label, row++, 0, 1, 2);
            grid->addWidget(control, row, 0, 1, 2);
            grid->setRowStretch(row, 1);
        } else {
            grid->addWidget(label, row, 0);
            grid->addWidget(control, row, 1);
        }
        ++row;
        m_fields[at] = control;
    }
    grid->setColumnStretch(1, 1);
    return group;
}

bool NpcPropertiesWindow::exec(NpcPropertiesModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Fill();
    m_fields.front()->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void NpcPropertiesWindow::Fill()
{
    for (const Model::FieldInfo& f : Model::kFields) {
        QWidget* control = field(f.field);
        if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
            memo->setPlainText(MemoText(m_model.text(f.field), m_encoding));
            memo->document()->setModified(false);
        } else if (auto* line = qobject_cast<QLineEdit*>(control)) {
            line->setText(ToQString(m_model.text(f.field), m_encoding));
            line->setModified(false);
        }
    }
}

void NpcPropertiesWindow::PushFields()
{
    // Only what was typed in: an untouched text stays byte for byte as it was.
    for (const Model::FieldInfo& f : Model::kFields) {
        QWidget* control = field(f.field);
        if (auto* memo = qobject_cast<QPlainTextEdit*>(control); memo && memo->document()->isModified())
            m_model.SetText(f.field, FromMemo(memo->toPlainText(), m_encoding));
        else if (auto* line = qobject_cast<QLineEdit*>(control); line && line->isModified())
            m_model.SetText(f.field, FromQString(line->text(), m_encoding));
    }
}

} // namespace zev
