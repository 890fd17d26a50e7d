#include "runner/gui/player_setup_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QString Caption(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
// Hints carry CR LF line breaks.
QString Hint(std::string_view text)
{
    return Caption(text).remove(QLatin1Char('\r'));
}

QSpinBox* MakeSpin(const SpinField& field, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setRange(field.minimum, field.maximum);
    spin->setValue(field.value);
    spin->setToolTip(Hint(field.hint));
    return spin;
}

// The field's caption without a trailing colon, for a form row that adds its own.
QString RowCaption(std::string_view caption)
{
    QString text = Caption(caption);
    return text.endsWith(QLatin1Char(':')) ? text : text + QLatin1Char(':');
}

} // namespace

PlayerSetupWindow::PlayerSetupWindow(PlayerSetupModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("playerSetup"));
    setWindowTitle(Caption(PlayerSetupModel::kCaption));
    m_filling = true;
    auto* columns = new QHBoxLayout;
    columns->addWidget(BuildCharacter());
    columns->addWidget(BuildSkills(), 1);
    m_filling = false;

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // Enter anywhere but in the grid's editor confirms; the grid keeps Enter for its cells.
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
    m_name->setFocus();
}

QWidget* PlayerSetupWindow::BuildCharacter()
{
    auto* box = new QWidget(this);
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);

    m_name = new QLineEdit(ToQString(m_model.name(), m_encoding), box);
    m_name->setObjectName(QStringLiteral("playerName"));
    m_name->setToolTip(Hint(PlayerSetupModel::kNameHint));
    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.SetName(FromQString(text, m_encoding)); });
    form->addRow(Caption(PlayerSetupModel::kNameCaption), m_name);

    m_gender = new QComboBox(box);
    m_gender->setObjectName(QStringLiteral("gender"));
    for (std::string_view item : PlayerSetupModel::kGenderItems)
        m_gender->addItem(Caption(item));
    m_gender->setCurrentIndex(m_model.genderItem()); // -1 leaves it blank: the record's gender is neither
    m_gender->setToolTip(Hint(PlayerSetupModel::kGenderHint));
    m_gender->setAccessibleName(Caption(PlayerSetupModel::kGenderCaption));
    connect(m_gender, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!m_filling)
            m_model.SetGenderItem(item);
    });
    form->addRow(RowCaption(PlayerSetupModel::kGenderCaption), m_gender);

    m_age = MakeSpin(m_model.age(), box);
    m_age->setObjectName(QStringLiteral("age"));
    connect(m_age, &QSpinBox::valueChanged, this, [this](int v) { m_model.SetAge(v); });
    form->addRow(RowCaption(m_model.age().caption), m_age);

    auto* special = new QGroupBox(QStringLiteral("S.P.E.C.I.A.L."), box);
    auto* specialForm = new QFormLayout(special);
    for (int i = 0; i < PlayerSetupModel::kAttributeCount; ++i) {
        QSpinBox* spin = MakeSpin(m_model.attribute(i), special);
        spin->setObjectName(QStringLiteral("attribute%1").arg(i));
        connect(spin, &QSpinBox::valueChanged, this, [this, i](int v) { m_model.SetAttribute(i, v); });
        specialForm->addRow(RowCaption(m_model.attribute(i).caption), spin);
        m_attributes[static_cast<std::size_t>(i)] = spin;
    }
    form->addRow(special);

    m_money = MakeSpin(m_model.money(), box);
    m_money->setObjectName(QStringLiteral("money"));
    connect(m_money, &QSpinBox::valueChanged, this, [this](int v) { m_model.SetMoney(v); });
    form->addRow(Caption(m_model.money().caption), m_money);
    // Short fields: the numbers are at most five digits, the labels carry the width.
    for (QSpinBox* spin : box->findChildren<QSpinBox*>())
        spin->setMaximumWidth(spin->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 48);
    auto* column = new QWidget(this);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    columnLayout->addWidget(box);
    columnLayout->addStretch(1);
    return column;
}

QWidget* PlayerSetupWindow::BuildSkills()
{
    auto* group = new QGroupBox(Caption(PlayerSetupModel::kSkillsCaption), this);
    group->setToolTip(Hint(PlayerSetupModel::kSkillsHint));
    auto* layout = new QVBoxLayout(group);
    const std::vector<SkillRow>& rows = m_model.skills();
    m_skills = new QTableWidget(static_cast<int>(rows.size()), 2, group);
    m_skills->setObjectName(QStringLiteral("skills"));
    m_skills->setToolTip(Hint(PlayerSetupModel::kSkillsHint));
    m_skills->setAccessibleName(Caption(PlayerSetupModel::kSkillsCaption));
    m_skills->setHorizontalHeaderLabels(
        { Caption(PlayerSetupModel::kSkillColumns[0]), Caption(PlayerSetupModel::kSkillColumns[1]) });
    m_skills->verticalHeader()->setVisible(false);
    m_skills->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_skills->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_skills->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Compact rows: all eighteen skills in view without scrolling.
    m_skills->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_skills->verticalHeader()->setDefaultSectionSize(m_skills->fontMetrics().height() + 8);
    m_skills->setTabKeyNavigation(false); // Tab leaves the grid for the buttons
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const SkillRow& row = rows[static_cast<std::size_t>(r)];
        auto* name = new QTableWidgetItem(ToQString(row.name, m_encoding));
        name->setFlags(Qt::ItemIsEnabled);
        auto* value = new QTableWidgetItem(ToQString(row.value, m_encoding));
        value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_skills->setItem(r, 0, name);
        m_skills->setItem(r, 1, value);
    }
    // Typing in the grid edits a value, not a name; nothing is highlighted before the grid is used.
    m_skills->setCurrentCell(0, 1);
    m_skills->clearSelection();
    connect(m_skills, &QTableWidget::cellChanged, this, [this](int row, int column) { SkillEdited(row, column); });

    m_gridMessage = new QLabel(group);
    m_gridMessage->setObjectName(QStringLiteral("gridMessage"));
    m_gridMessage->setWordWrap(true);
    m_gridMessage->setStyleSheet(QStringLiteral("color: #a00000;"));
    layout->addWidget(m_skills, 1);
    layout->addWidget(m_gridMessage);
    m_gridMessage->hide(); // shown only while it says something
    int rowsHeight = m_skills->verticalHeader()->defaultSectionSize() * m_skills->rowCount();
    m_skills->setMinimumHeight(
        rowsHeight + m_skills->horizontalHeader()->sizeHint().height() + 2 * m_skills->frameWidth());
    m_skills->setMinimumWidth(m_skills->fontMetrics().horizontalAdvance(QStringLiteral("Energy Weapons")) * 2);
    return group;
}

// A value that is not a whole number is refused: the cell shows the kept value again and the
// message below the grid says why.
void PlayerSetupWindow::SkillEdited(int row, int column)
{
    if (m_filling || column != 1)
        return;
    QTableWidgetItem* item = m_skills->item(row, column);
    if (!item)
        return;
    m_model.SetSkillValue(row, FromQString(item->text().trimmed(), m_encoding));
    m_filling = true;
    item->setText(ToQString(m_model.skills()[static_cast<std::size_t>(row)].value, m_encoding));
    m_filling = false;
    m_gridMessage->setText(ToQString(m_model.gridMessage(), m_encoding));
    m_gridMessage->setVisible(!m_gridMessage->text().isEmpty());
}

bool QtPlayerSetupView::exec(PlayerSetupModel& model)
{
    PlayerSetupWindow window(model, m_encoding, m_parent);
    return window.exec() == QDialog::Accepted;
}

} // namespace zev
