#include "editors/gui/conditions_editor_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <span>

#include "app/gui/qt_text.h"
#include "editors/condition_code.h"

namespace zev {

using namespace editor_gui;
using Model = ConditionsEditorModel;

void ShowItems(QComboBox* box, const std::vector<std::string>& items, std::vector<std::string>& shown, int current,
    TextEncoding encoding)
{
    if (items != shown) {
        box->clear();
        for (const std::string& item : items)
            box->addItem(ToQString(item, encoding));
        shown = items;
    }
    box->setCurrentIndex(current >= 0 && current < box->count() ? current : -1);
}

void ShowItems(QListWidget* list, const std::vector<std::string>& items, std::vector<std::string>& shown, int current,
    TextEncoding encoding)
{
    if (items != shown) {
        list->clear();
        for (const std::string& item : items)
            list->addItem(MemoText(item, encoding).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        shown = items;
    }
    // An invalid current row too, so a click on any row is a change the list reports.
    list->setCurrentRow(current >= 0 && current < list->count() ? current : -1);
}

QComboBox* FixedList(std::span<const std::string_view> items, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    for (std::string_view item : items)
        box->addItem(Caption(item));
    return box;
}

namespace {

// A label that shows a value the model computes: selectable, reachable from the keyboard, named.
QLabel* ValueLabel(std::string_view name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setAccessibleName(SpokenName(name));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

ConditionsEditorWindow::ConditionsEditorWindow(ConditionsEditorModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("conditionsEditorWindow"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    QWidget* controls = BuildControls();
    QWidget* list = BuildList();
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(controls, 1);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    setMinimumSize(600, 520);
    resize(680, 600);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Fill();
}

ConditionsEditorWindow::~ConditionsEditorWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* ConditionsEditorWindow::BuildControls()
{
    auto* box = new QWidget(this);
    m_types = new QComboBox(box);
    QLabel* typeLabel = LabelFor(Model::kCheckTypeLabel, m_types, box, &m_mnemonics, 't');
    connect(m_types, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.ChooseCheckType(i);
    });
    m_fields = new QListWidget(box);
    m_fields->setObjectName(QStringLiteral("fieldList"));
    QLabel* fieldsLabel = LabelFor(Model::kFieldsLabel, m_fields, box, &m_mnemonics, 'f');
    connect(m_fields, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_redrawing)
            m_model.SelectField(row);
    });
    m_chosen = ValueLabel(Model::kChosenFieldLabel, box);
    QLabel* chosenLabel = LabelFor(Model::kChosenFieldLabel, m_chosen, box);
    m_eval = FixedList(kOperatorItems, box);
    QLabel* evalLabel = LabelFor(Model::kEvalLabel, m_eval, box, &m_mnemonics, 'e');
    connect(m_eval, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.ChooseEval(i);
    });
    m_value = new QLineEdit(box);
    m_value->setObjectName(QStringLiteral("valueToCheck"));
    QLabel* valueLabel = LabelFor(Model::kValueLabel, m_value, box, &m_mnemonics, 'v');
    connect(m_value, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.SetValue(FromQString(text, m_encoding)); });
    m_linkage = FixedList(kLinkageItems, box);
    QLabel* linkageLabel = LabelFor(Model::kLinkageLabel, m_linkage, box, &m_mnemonics, 'l');
    connect(m_linkage, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.ChooseLinkage(i);
    });
    m_resolved = ValueLabel(Model::kResolvedLabel, box);
    m_resolved->setWordWrap(true);
    m_resolved->setMinimumHeight(m_resolved->fontMetrics().lineSpacing() * 3);
    m_resolved->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QLabel* resolvedLabel = LabelFor(Model::kResolvedLabel, m_resolved, box);

    // The field list on the left; what is made of it on the right.
    auto* right = new QGridLayout;
    int row = 0;
    for (auto [label, control] : { std::pair<QWidget*, QWidget*> { typeLabel, m_types }, { chosenLabel, m_chosen },
             { evalLabel, m_eval }, { valueLabel, m_value }, { linkageLabel, m_linkage } }) {
        right->addWidget(label, row, 0);
        right->addWidget(control, row++, 1);
    }
    right->addWidget(resolvedLabel, row++, 0, 1, 2);
    right->addWidget(m_resolved, row++, 0, 1, 2);
    right->setRowStretch(row, 1);
    right->setColumnStretch(1, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(fieldsLabel);
    left->addWidget(m_fields, 1);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
    return box;
}

QWidget* ConditionsEditorWindow::BuildList()
{
    auto* box = new QWidget(this);
    m_lines = new QListWidget(box);
    m_lines->setObjectName(QStringLiteral("conditionList"));
    QLabel* label = LabelFor(Model::kListLabel, m_lines, box, &m_mnemonics, 'n');
    connect(m_lines, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_redrawing)
            m_model.SelectLine(row);
    });
    m_add = MakeButton(Model::kAdd, box, &m_mnemonics, 'a');
    m_delete = MakeButton(Model::kDelete, box, &m_mnemonics, 'd');
    m_apply = MakeButton(Model::kApply, box, &m_mnemonics, 'p');
    const std::pair<QPushButton*, bool (Model::*)()> actions[]
        = { { m_add, &Model::Add }, { m_delete, &Model::Delete }, { m_apply, &Model::ApplyChanges } };
    for (const auto& [button, action] : actions) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, a = action] { (m_model.*a)(); });
    }
    auto* row = new QHBoxLayout;
    row->addWidget(m_lines, 1);
    row->addLayout(ButtonColumn({ m_add, m_delete, m_apply }, 3));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addLayout(row, 1);
    return box;
}

bool ConditionsEditorWindow::exec(ConditionsEditorModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Fill();
    m_types->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void ConditionsEditorWindow::Fill()
{
    // Emptying the lists must not reach the model as the user's choice of nothing.
    m_redrawing = true;
    m_shownTypes.clear();
    m_shownFields.clear();
    m_shownLines.clear();
    m_types->clear();
    m_fields->clear();
    m_lines->clear();
    m_redrawing = false;
    Redraw();
}

void ConditionsEditorWindow::Redraw()
{
    m_redrawing = true;
    ShowItems(m_types, m_model.checkTypes(), m_shownTypes, m_model.checkType(), m_encoding);
    ShowItems(m_fields, m_model.fields(), m_shownFields, m_model.field(), m_encoding);
    m_chosen->setText(ToQString(m_model.chosenField(), m_encoding));
    m_eval->setCurrentIndex(m_model.evalType());
    const QString value = ToQString(m_model.value(), m_encoding);
    if (m_value->text() != value)
        m_value->setText(value);
    m_linkage->setCurrentIndex(m_model.linkage());
    m_resolved->setText(MemoText(m_model.resolvedCode(), m_encoding));
    ShowItems(m_lines, m_model.lines(), m_shownLines, m_model.selectedLine(), m_encoding);
    m_apply->setEnabled(m_model.applyEnabled());
    m_delete->setEnabled(m_model.selectedLine() >= 0);
    m_redrawing = false;
}

} // namespace zev
