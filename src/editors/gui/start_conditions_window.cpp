#include "editors/gui/start_conditions_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"
#include "editors/condition_code.h"
#include "editors/gui/conditions_editor_window.h"

namespace zev {

using namespace editor_gui;
using Model = StartConditionsModel;

namespace {

constexpr std::string_view kListName = "Start conditions";
constexpr std::string_view kDelete = "Delete";
constexpr std::string_view kAdd = "Add";
constexpr std::string_view kModify = "Modify";
// The selector's label when its type gives no caption.
constexpr std::string_view kSelectorName = "Selection";

QGroupBox* Group(std::string_view title, QWidget* parent)
{
    auto* group = new QGroupBox(Caption(title), parent);
    group->setAccessibleName(SpokenName(title));
    return group;
}

} // namespace

StartConditionsWindow::StartConditionsWindow(StartConditionsModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("startConditionsWindow"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    QWidget* starts = BuildStartConditions();
    QWidget* lines = BuildLines();
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(starts, 1);
    layout->addWidget(lines, 1);
    layout->addWidget(buttons);
    setMinimumSize(700, 640);
    resize(780, 720);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Fill();
}

StartConditionsWindow::~StartConditionsWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* StartConditionsWindow::BuildStartConditions()
{
    auto* box = new QWidget(this);
    m_rows = MakeList(Model::kColumns, kListName, box);
    m_rows->setObjectName(QStringLiteral("startConditionList"));
    m_rows->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    connect(m_rows, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        const QModelIndexList rows = m_rows->selectionModel()->selectedRows();
        m_model.SelectRow(rows.isEmpty() ? -1 : rows.front().row());
    });
    m_deleteStart = MakeButton(kDelete, box, &m_mnemonics, 'd');
    m_deleteStart->setAccessibleDescription(QStringLiteral("Deletes the selected start condition"));

    QGroupBox* global = Group(Model::kGlobalGroup, box);
    m_target = new QComboBox(global);
    m_target->setEditable(true); // the target is taken as typed or chosen
    m_target->setInsertPolicy(QComboBox::NoInsert);
    QLabel* targetLabel = LabelFor(Model::kTargetLabel, m_target, global, &m_mnemonics, 't');
    // The typing field inside the box is what a screen reader reaches: it carries the same name.
    m_target->lineEdit()->setAccessibleName(m_target->accessibleName());
    connect(m_target, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        if (!m_redrawing)
            m_model.SetTarget(FromQString(text, m_encoding));
    });
    m_preview = MakeMemo("nodePreview", true, global);
    QLabel* previewLabel = LabelFor(Model::kPreviewLabel, m_preview, global);
    m_addStart = MakeButton(Model::kAddStartCondition, global, &m_mnemonics, 's');
    m_apply = MakeButton(Model::kApply, global, &m_mnemonics, 'p');
    const std::pair<QPushButton*, bool (Model::*)()> actions[] = { { m_deleteStart, &Model::DeleteStartCondition },
        { m_addStart, &Model::AddStartCondition }, { m_apply, &Model::ApplyChanges } };
    for (const auto& [button, action] : actions) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, a = action] { (m_model.*a)(); });
    }

    auto* grid = new QGridLayout(global);
    grid->addWidget(targetLabel, 0, 0);
    grid->addWidget(m_target, 0, 1);
    grid->addWidget(previewLabel, 1, 0, 1, 2);
    grid->addWidget(m_preview, 2, 0, 1, 2);
    auto* globalButtons = new QHBoxLayout;
    globalButtons->addStretch(1);
    globalButtons->addWidget(m_addStart);
    globalButtons->addWidget(m_apply);
    grid->addLayout(globalButtons, 3, 0, 1, 2);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(m_rows, 1);
    left->addWidget(m_deleteStart, 0, Qt::AlignLeft);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 1);
    layout->addWidget(global, 1);
    return box;
}

QWidget* StartConditionsWindow::BuildLines()
{
    QGroupBox* group = Group(Model::kConditionsGroup, this);
    m_types = new QComboBox(group);
    QLabel* typeLabel = LabelFor(Model::kTypeLabel, m_types, group, &m_mnemonics, 'y');
    connect(m_types, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.ChooseType(i);
    });
    m_selector = new QComboBox(group);
    // Its caption changes with the type: no Alt+letter to keep track of.
    m_selectorLabel = LabelFor(kSelectorName, m_selector, group);
    connect(m_selector, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.ChooseSelector(i);
    });
    m_eval = FixedList(kOperatorItems, group);
    m_evalLabel = LabelFor(Model::kEvalLabel, m_eval, group, &m_mnemonics, 'e');
    connect(m_eval, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.ChooseEval(i);
    });
    m_value = new QLineEdit(group);
    m_value->setObjectName(QStringLiteral("valueToCheck"));
    m_valueLabel = LabelFor(Model::kValueLabel, m_value, group, &m_mnemonics, 'v');
    connect(m_value, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.SetValue(FromQString(text, m_encoding)); });
    m_linkage = FixedList(kLinkageItems, group);
    QLabel* linkageLabel = LabelFor(Model::kLinkageLabel, m_linkage, group, &m_mnemonics, 'o');
    connect(m_linkage, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.ChooseLinkage(i);
    });
    m_code = new QLineEdit(group);
    m_code->setObjectName(QStringLiteral("resultingCode"));
    m_code->setReadOnly(true);
    QLabel* codeLabel = LabelFor(Model::kCodeLabel, m_code, group, &m_mnemonics, 'r');
    for (QWidget* w :
        std::initializer_list<QWidget*> { m_selectorLabel, m_selector, m_evalLabel, m_eval, m_valueLabel, m_value })
        KeepRoom(w);

    auto* grid = new QGridLayout;
    int row = 0;
    for (auto [label, control] :
        { std::pair<QWidget*, QWidget*> { typeLabel, m_types }, { m_selectorLabel, m_selector },
            { m_evalLabel, m_eval }, { m_valueLabel, m_value }, { linkageLabel, m_linkage }, { codeLabel, m_code } }) {
        grid->addWidget(label, row, 0);
        grid->addWidget(control, row++, 1);
    }
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QHBoxLayout(group);
    layout->addLayout(grid, 1);
    layout->addLayout(BuildLineList(group), 1);
    return group;
}

QVBoxLayout* StartConditionsWindow::BuildLineList(QWidget* group)
{
    m_lines = new QListWidget(group);
    m_lines->setObjectName(QStringLiteral("lineList"));
    QLabel* linesLabel = LabelFor(Model::kLinesLabel, m_lines, group, &m_mnemonics, 'n');
    connect(m_lines, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_redrawing)
            m_model.SelectLine(row);
    });
    m_addLine = MakeButton(kAdd, group, &m_mnemonics, 'a');
    m_deleteLine = MakeButton(kDelete, group, &m_mnemonics, 'i');
    m_deleteLine->setAccessibleDescription(QStringLiteral("Deletes the selected condition line"));
    m_modify = MakeButton(kModify, group, &m_mnemonics, 'm');
    const std::pair<QPushButton*, bool (Model::*)()> actions[]
        = { { m_addLine, &Model::AddLine }, { m_deleteLine, &Model::DeleteLine }, { m_modify, &Model::ModifyLine } };
    for (const auto& [button, action] : actions) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, a = action] { (m_model.*a)(); });
    }

    auto* list = new QVBoxLayout;
    list->addWidget(linesLabel);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_lines, 1);
    listRow->addLayout(ButtonColumn({ m_addLine, m_deleteLine, m_modify }, 3));
    list->addLayout(listRow, 1);
    return list;
}

bool StartConditionsWindow::exec(StartConditionsModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Fill();
    m_rows->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void StartConditionsWindow::Fill()
{
    m_redrawing = true;
    m_shownRows.clear();
    m_shownTargets.clear();
    m_shownTypes.clear();
    m_shownSelector.clear();
    m_shownLines.clear();
    m_rows->clear();
    m_target->clear();
    m_types->clear();
    m_selector->clear();
    m_lines->clear();
    m_redrawing = false;
    Redraw();
}

void StartConditionsWindow::Redraw()
{
    m_redrawing = true;
    RedrawRows();
    RedrawLineControls();
    m_redrawing = false;
}

void StartConditionsWindow::RedrawRows()
{
    Cells rows;
    for (const StartConditionRow& r : m_model.rows())
        rows.push_back({ r.index, r.lines, r.target });
    if (rows != m_shownRows) {
        FillList(m_rows, rows, m_encoding);
        m_shownRows = std::move(rows);
    }
    const int selected = m_model.selectedRow();
    if (selected >= 0 && selected < m_rows->topLevelItemCount())
        m_rows->setCurrentItem(m_rows->topLevelItem(selected));
    else
        m_rows->clearSelection();

    if (m_model.targets() != m_shownTargets) {
        m_target->clear();
        for (const std::string& t : m_model.targets())
            m_target->addItem(ToQString(t, m_encoding));
        m_shownTargets = m_model.targets();
    }
    // Typed text stays as typed: the list entry is chosen only when the text names one.
    const QString target = ToQString(m_model.target(), m_encoding);
    if (m_target->currentText() != target) {
        const int at = m_target->findText(target, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (at >= 0)
            m_target->setCurrentIndex(at);
        else
            m_target->setEditText(target);
    }
    SetMemo(m_preview, m_model.preview(), m_encoding);
    m_apply->setEnabled(m_model.applyEnabled());
}

void StartConditionsWindow::RedrawLineControls()
{
    ShowItems(m_types, m_model.types(), m_shownTypes, m_model.type(), m_encoding);
    const bool selector = m_model.selectorVisible();
    const std::string_view caption = m_model.selectorCaption().empty() ? kSelectorName : m_model.selectorCaption();
    m_selectorLabel->setText(Caption(caption).replace(QLatin1Char('&'), QStringLiteral("&&")));
    m_selector->setAccessibleName(SpokenName(caption));
    m_selectorLabel->setVisible(selector);
    m_selector->setVisible(selector);
    ShowItems(m_selector, m_model.selectorItems(), m_shownSelector, m_model.selector(), m_encoding);
    m_evalLabel->setVisible(m_model.evalVisible());
    m_eval->setVisible(m_model.evalVisible());
    m_eval->setCurrentIndex(m_model.evalType());
    m_valueLabel->setVisible(m_model.valueVisible());
    m_value->setVisible(m_model.valueVisible());
    const QString value = ToQString(m_model.value(), m_encoding);
    if (m_value->text() != value)
        m_value->setText(value);
    m_linkage->setCurrentIndex(m_model.linkage());
    const QString code = ToQString(m_model.code(), m_encoding);
    if (m_code->text() != code)
        m_code->setText(code);
    ShowItems(m_lines, m_model.lines(), m_shownLines, m_model.selectedLine(), m_encoding);
}

} // namespace zev
