#include "editors/gui/script_variables_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/gui/qt_text.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = ScriptVariablesModel;

ScriptVariablesWindow::ScriptVariablesWindow(ScriptVariablesModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("scriptVariables"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);

    m_list = MakeList(Model::kColumns, Model::kCaption, this);
    m_list->setObjectName(QStringLiteral("variableList"));
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->header()->resizeSection(0, 220);
    m_list->header()->resizeSection(1, 160);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        std::vector<int> rows;
        for (const QModelIndex& i : m_list->selectionModel()->selectedRows())
            rows.push_back(i.row());
        m_model.SetSelection(std::move(rows));
    });
    QWidget* fields = BuildFields();
    QLayout* buttons = BuildButtons();
    QDialogButtonBox* okCancel = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* lower = new QHBoxLayout;
    lower->addWidget(fields, 1);
    lower->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 3);
    layout->addLayout(lower, 2);
    layout->addWidget(okCancel);
    setMinimumSize(600, 540);
    resize(700, 620);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

ScriptVariablesWindow::~ScriptVariablesWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* ScriptVariablesWindow::BuildFields()
{
    auto* box = new QWidget(this);
    m_name = new QLineEdit(box);
    m_name->setObjectName(QStringLiteral("variableName"));
    m_scope = new QComboBox(box);
    m_scope->setObjectName(QStringLiteral("variableFlags"));
    for (std::string_view s : Model::kScopes)
        m_scope->addItem(Caption(s));
    m_hasDefault = MakeCheck(Model::kHasDefault, box, m_mnemonics, 'h');
    m_type = new QComboBox(box);
    m_type->setObjectName(QStringLiteral("variableType"));
    for (std::string_view t : Model::kTypes)
        m_type->addItem(Caption(t));
    m_value = new QLineEdit(box);
    m_value->setObjectName(QStringLiteral("initialValue"));
    m_notes = MakeMemo("variableNotes", false, box);

    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(LabelFor(Model::kNameLabel, m_name, box, &m_mnemonics, 'n'), m_name);
    form->addRow(LabelFor(Model::kFlagsLabel, m_scope, box, &m_mnemonics, 'f'), m_scope);
    form->addRow(QString(), m_hasDefault);
    form->addRow(LabelFor(Model::kTypeLabel, m_type, box, &m_mnemonics, 't'), m_type);
    form->addRow(LabelFor(Model::kValueLabel, m_value, box, &m_mnemonics, 'i'), m_value);
    form->addRow(LabelFor(Model::kNotesLabel, m_notes, box, &m_mnemonics, 's'), m_notes);

    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString& t) { m_model.SetName(FromQString(t, m_encoding)); });
    connect(m_value, &QLineEdit::textEdited, this,
        [this](const QString& t) { m_model.SetValue(FromQString(t, m_encoding)); });
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_redrawing)
            m_model.SetNotes(FromMemo(m_notes->toPlainText(), m_encoding));
    });
    connect(m_scope, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.SetScope(i);
    });
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.SetType(i);
    });
    connect(m_hasDefault, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_redrawing)
            m_model.SetHasDefault(on);
    });
    return box;
}

QLayout* ScriptVariablesWindow::BuildButtons()
{
    m_add = MakeButton(Model::kAdd, this, &m_mnemonics, 'a');
    m_delete = MakeButton(Model::kDelete, this, &m_mnemonics, 'd');
    m_apply = MakeButton(Model::kApply, this, &m_mnemonics, 'p');
    m_moveUp = MakeButton(Model::kMoveUp, this, &m_mnemonics, 'u');
    m_moveDown = MakeButton(Model::kMoveDown, this, &m_mnemonics, 'w');
    m_rearrange = MakeButton(Model::kRearrange, this, &m_mnemonics, 'r');
    const std::pair<QPushButton*, void (Model::*)()> actions[]
        = { { m_add, &Model::Add }, { m_delete, &Model::Delete }, { m_apply, &Model::Apply },
              { m_moveUp, &Model::MoveUp }, { m_moveDown, &Model::MoveDown }, { m_rearrange, &Model::Rearrange } };
    for (const auto& [button, action] : actions) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, a = action] { Action(a); });
    }
    return ButtonColumn({ m_add, m_delete, m_apply, m_moveUp, m_moveDown, m_rearrange }, 6);
}

bool ScriptVariablesWindow::exec(ScriptVariablesModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    m_shownRows.clear();
    Redraw();
    m_list->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void ScriptVariablesWindow::Redraw()
{
    m_redrawing = true;
    Cells rows;
    for (const VariableRow& r : m_model.rows())
        rows.push_back({ r.name, r.type, r.value });
    if (rows != m_shownRows) {
        FillList(m_list, rows, m_encoding);
        m_shownRows = std::move(rows);
    }
    const std::vector<int>& selected = m_model.selection();
    QItemSelection wanted;
    for (int r : selected)
        if (QTreeWidgetItem* item = m_list->topLevelItem(r))
            wanted.select(m_list->indexFromItem(item, 0), m_list->indexFromItem(item, m_list->columnCount() - 1));
    if (m_list->selectionModel()->selection() != wanted)
        m_list->selectionModel()->select(wanted, QItemSelectionModel::ClearAndSelect);
    if (selected.size() == 1)
        m_list->scrollToItem(m_list->topLevelItem(selected.front()));

    SetLineText(m_name, m_model.name(), m_encoding);
    m_scope->setCurrentIndex(m_model.scope());
    m_hasDefault->setChecked(m_model.hasDefault());
    m_type->setCurrentIndex(m_model.type());
    m_type->setPlaceholderText(Caption(m_model.typeText()));
    SetLineText(m_value, m_model.value(), m_encoding);
    SetMemo(m_notes, m_model.notes(), m_encoding);
    m_apply->setEnabled(m_model.applyEnabled());
    const bool any = !selected.empty();
    for (QPushButton* b : { m_delete, m_moveUp, m_moveDown })
        b->setEnabled(any);
    m_redrawing = false;
}

void ScriptVariablesWindow::Action(void (ScriptVariablesModel::*action)())
{
    (m_model.*action)();
    if (action == &Model::MoveUp || action == &Model::MoveDown)
        m_list->setFocus();
}

} // namespace zev
