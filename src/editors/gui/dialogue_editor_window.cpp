#include "editors/gui/dialogue_editor_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/gui/qt_text.h"

namespace zev {

using namespace editor_gui;
using Model = DialogueEditorModel;

namespace {

// The tabs the window shows, in their order; "Custom Messages" is never shown.
constexpr std::array<EditorTab, 3> kShownTabs
    = { EditorTab::RegularNodes, EditorTab::FloaterNodes, EditorTab::SkillChecks };

int TabIndex(EditorTab tab)
{
    auto at = std::find(kShownTabs.begin(), kShownTabs.end(), tab);
    return at == kShownTabs.end() ? 0 : static_cast<int>(at - kShownTabs.begin());
}

std::string_view TabCaption(EditorTab tab)
{
    return Model::kTabs[static_cast<std::size_t>(tab)];
}

} // namespace

DialogueEditorWindow::DialogueEditorWindow(DialogueEditorModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("dialogueEditor"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("editorTabs"));
    m_tabs->addTab(BuildNodesTab(), Caption(TabCaption(kShownTabs[0])));
    m_tabs->addTab(BuildFloatersTab(), Caption(TabCaption(kShownTabs[1])));
    m_tabs->addTab(BuildSkillsTab(), Caption(TabCaption(kShownTabs[2])));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0 && i < static_cast<int>(kShownTabs.size()))
            m_model.SetTab(kShownTabs[static_cast<std::size_t>(i)]);
    });

    m_exit = MakeButton(Model::kExit, this, &m_mnemonics, 'x');
    m_exit->setObjectName(QStringLiteral("exitButton"));
    m_exit->setDefault(true);
    connect(m_exit, &QPushButton::clicked, this, [this] {
        m_model.Exit();
        accept();
    });
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);
    setMinimumSize(680, 460);
    resize(860, 600);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

DialogueEditorWindow::~DialogueEditorWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* DialogueEditorWindow::BuildNodesTab()
{
    auto* page = new QWidget(this);
    m_filter = new QComboBox(page);
    m_filter->setObjectName(QStringLiteral("nodeFilter"));
    for (std::string_view f : Model::kFilters)
        m_filter->addItem(Caption(f));
    m_filter->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* filterLabel = LabelFor(Model::kFilterLabel, m_filter, page, &m_mnemonics, 'f');
    connect(m_filter, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing && i >= 0)
            m_model.SetFilter(static_cast<NodeFilter>(i + 1));
    });

    m_searchRow = BuildSearchRow(page);

    m_maskError = new QLabel(page);
    m_maskError->setObjectName(QStringLiteral("maskError"));
    m_maskError->setWordWrap(true);
    m_maskError->setTextFormat(Qt::PlainText);
    m_maskError->setStyleSheet(QStringLiteral("color: #b00000;"));
    QFont small = m_maskError->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_maskError->setFont(small);

    m_nodes = MakeList(Model::kNodeColumns, TabCaption(EditorTab::RegularNodes), page);
    m_nodes->setObjectName(QStringLiteral("nodeList"));
    m_nodes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_nodes->header()->resizeSection(0, 190);
    m_nodes->installEventFilter(this);
    connect(m_nodes, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        std::vector<int> rows;
        for (const QModelIndex& index : m_nodes->selectionModel()->selectedRows())
            rows.push_back(index.row());
        m_model.Select(std::move(rows));
    });
    connect(m_nodes, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* item) { m_model.EditRow(RowOf(item)); });
    connect(m_nodes, &QTreeWidget::itemChanged, this, &DialogueEditorWindow::NodeEdited);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter);
    filterRow->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addLayout(filterRow);
    left->addWidget(m_searchRow);
    left->addWidget(m_maskError);
    left->addWidget(m_nodes, 1);

    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(NodeButtons(page));
    return page;
}

QWidget* DialogueEditorWindow::BuildSearchRow(QWidget* parent)
{
    auto* row = new QWidget(parent);
    m_search = new QLineEdit(row);
    m_search->setObjectName(QStringLiteral("searchField"));
    m_search->installEventFilter(this);
    auto* searchLabel = LabelFor(Model::kSearchLabel, m_search, row, &m_mnemonics, 'g');
    auto* search = MakeButton(Model::kSearch, row, &m_mnemonics, 's');
    search->setObjectName(QStringLiteral("searchButton"));
    search->setAutoDefault(false);
    connect(m_search, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.SetSearchText(FromQString(text, m_encoding)); });
    connect(search, &QPushButton::clicked, this, [this] { m_model.Search(); });
    auto* searchLayout = new QHBoxLayout(row);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(m_search, 1);
    searchLayout->addWidget(search);
    return row;
}

QVBoxLayout* DialogueEditorWindow::NodeButtons(QWidget* page)
{
    const std::array<std::pair<Button, char>, 11> buttons = { { { Button::Add, 'a' }, { Button::Edit, 'e' },
        { Button::Delete, 'd' }, { Button::Clone, 'c' }, { Button::Rearrange, 'r' }, { Button::MoveUp, 'u' },
        { Button::MoveDown, 'w' }, { Button::HideSelected, 'h' }, { Button::UnhideAll, 'n' },
        { Button::ScriptVariables, 'v' }, { Button::StartConditions, 't' } } };
    std::vector<QPushButton*> column;
    for (const auto& [b, letter] : buttons)
        column.push_back(AddButton(b, page, letter));
    return ButtonColumn(column, 9); // the editors still to come at the foot
}

QPushButton* DialogueEditorWindow::AddButton(Button b, QWidget* page, char letter)
{
    QPushButton* button = MakeButton(Model::Caption(b), page, letter ? &m_mnemonics : nullptr, letter);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, b] { Act(b); });
    m_buttons[static_cast<std::size_t>(b)] = button;
    return button;
}

QWidget* DialogueEditorWindow::BuildFloatersTab()
{
    auto* page = new QWidget(this);
    m_floats = MakeList(Model::kFloatColumns, TabCaption(EditorTab::FloaterNodes), page);
    m_floats->setObjectName(QStringLiteral("floatList"));
    m_floats->header()->resizeSection(0, 170);
    m_floats->header()->resizeSection(1, 170);
    ConnectRows(m_floats, &Model::SelectFloatRow, &Model::FloatEditRow);
    std::vector<QPushButton*> column;
    for (Button b : { Button::FloatAdd, Button::FloatEdit, Button::FloatDelete, Button::TimedEvents })
        column.push_back(AddButton(b, page));
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_floats, 1);
    layout->addLayout(ButtonColumn(column, column.size()));
    return page;
}

QWidget* DialogueEditorWindow::BuildSkillsTab()
{
    auto* page = new QWidget(this);
    m_skills = MakeList(Model::kSkillColumns, Model::kSkillListLabel, page);
    m_skills->setObjectName(QStringLiteral("skillList"));
    for (int c = 0; c < 4; ++c)
        m_skills->header()->resizeSection(c, c == 0 ? 150 : 110);
    ConnectRows(m_skills, &Model::SelectSkillRow, &Model::SkillEditRow);
    auto* label = LabelFor(Model::kSkillListLabel, m_skills, page);
    std::vector<QPushButton*> column;
    for (Button b : { Button::SkillAdd, Button::SkillEdit, Button::SkillDelete })
        column.push_back(AddButton(b, page));
    auto* left = new QVBoxLayout;
    left->addWidget(label);
    left->addWidget(m_skills, 1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addLayout(ButtonColumn(column, column.size()));
    return page;
}

void DialogueEditorWindow::Act(Button b)
{
    using Op = void (Model::*)();
    static constexpr std::pair<Button, Op> kOps[] = { { Button::Add, &Model::Add }, { Button::Edit, &Model::Edit },
        { Button::Delete, &Model::Delete }, { Button::Clone, &Model::Clone }, { Button::Rearrange, &Model::Rearrange },
        { Button::MoveUp, &Model::MoveUp }, { Button::MoveDown, &Model::MoveDown },
        { Button::HideSelected, &Model::HideSelected }, { Button::UnhideAll, &Model::UnhideAll },
        { Button::ScriptVariables, &Model::ScriptVariables }, { Button::StartConditions, &Model::StartConditions },
        { Button::FloatAdd, &Model::FloatAdd }, { Button::FloatEdit, &Model::FloatEdit },
        { Button::FloatDelete, &Model::FloatDelete }, { Button::TimedEvents, &Model::TimedEvents },
        { Button::SkillAdd, &Model::SkillAdd }, { Button::SkillEdit, &Model::SkillEdit },
        { Button::SkillDelete, &Model::SkillDelete } };
    // The editors of the other buttons come later; the model keeps those disabled.
    auto op = std::find_if(std::begin(kOps), std::end(kOps), [b](const auto& o) { return o.first == b; });
    if (op == std::end(kOps))
        return;
    (m_model.*(op->second))();
    const bool onList
        = b == Button::Add || b == Button::Edit || b == Button::Clone || b == Button::MoveUp || b == Button::MoveDown;
    if (b == Button::FloatAdd || b == Button::FloatEdit || b == Button::FloatDelete)
        m_floats->setFocus();
    if (b == Button::SkillAdd || b == Button::SkillEdit || b == Button::SkillDelete)
        m_skills->setFocus();
    if (onList) {
        // Back on the list at the node added, edited, cloned or moved: F2, Enter and the arrows act
        // on it next, and a button pressed repeatedly keeps the row in view.
        m_nodes->setFocus();
        if (QTreeWidgetItem* current = m_nodes->currentItem())
            m_nodes->scrollToItem(current);
    }
}

void DialogueEditorWindow::exec(DialogueEditorModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Redraw();
    if (m_model.tab() == EditorTab::RegularNodes)
        m_nodes->setFocus();
    QDialog::exec();
}

int DialogueEditorWindow::RowOf(QTreeWidgetItem* item) const
{
    return item ? m_nodes->indexOfTopLevelItem(item) : -1;
}

bool DialogueEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == m_search && enter) {
        // Enter searches; it must not reach the default button and close the editor.
        m_model.Search();
        return true;
    }
    // Keys the name cell's editor passes on (its Enter commits the name) are not the list's.
    const bool editing = m_nodes->currentItem() && m_nodes->itemWidget(m_nodes->currentItem(), 0);
    if (watched == m_nodes && !editing) {
        QTreeWidgetItem* current = m_nodes->currentItem();
        if (enter) {
            m_model.EditRow(RowOf(current));
            return true;
        }
        if (key == Qt::Key_Delete) {
            m_model.Delete();
            return true;
        }
        if (key == Qt::Key_F2 && current) {
            m_nodes->editItem(current, 0);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// The name cell's editor committed. The rename runs once the editor has closed: it may show a box
// and rebuilds the list the editor belongs to.
void DialogueEditorWindow::NodeEdited(QTreeWidgetItem* item, int column)
{
    const int row = RowOf(item);
    if (m_redrawing || column != 0 || row < 0 || row >= static_cast<int>(m_shownNodes.size()))
        return;
    const std::string oldName = m_shownNodes[static_cast<std::size_t>(row)][0];
    const std::string newName = FromQString(item->text(0), m_encoding);
    QTimer::singleShot(0, this, [this, row, oldName, newName] {
        const auto& rows = m_model.nodeRows();
        if (row >= static_cast<int>(rows.size()) || rows[static_cast<std::size_t>(row)].name != oldName)
            return; // the list changed meanwhile
        if (m_model.RenameInPlace(row, newName) || row >= m_nodes->topLevelItemCount())
            return;
        m_redrawing = true;
        m_nodes->topLevelItem(row)->setText(0, ToQString(oldName, m_encoding));
        m_redrawing = false;
    });
}

void DialogueEditorWindow::Redraw()
{
    m_redrawing = true;
    m_tabs->setCurrentIndex(TabIndex(m_model.tab()));
    m_filter->setCurrentIndex(static_cast<int>(m_model.filter()) - 1);
    m_searchRow->setVisible(m_model.searchVisible());
    const QString search = ToQString(m_model.searchText(), m_encoding);
    if (m_search->text() != search)
        m_search->setText(search);
    m_maskError->setText(ToQString(m_model.maskError(), m_encoding));
    m_maskError->setVisible(m_model.searchVisible() && !m_model.maskError().empty());
    RedrawNodes();

    Cells floats;
    for (const FloatNodeRow& r : m_model.floatRows())
        floats.push_back({ r.name, r.lines, r.description });
    Redraw(m_floats, std::move(floats), m_shownFloats);
    SelectRow(m_floats, m_model.floatRow());
    Cells skills;
    for (const SkillCheckRow& r : m_model.skillRows())
        skills.push_back({ r.name, r.skill, r.modifier, r.onSuccess, r.onFailure });
    Redraw(m_skills, std::move(skills), m_shownSkills);
    SelectRow(m_skills, m_model.skillRow());

    for (std::size_t i = 0; i < m_buttons.size(); ++i) {
        const ButtonState state = m_model.button(static_cast<Button>(i));
        m_buttons[i]->setEnabled(state.enabled);
        m_buttons[i]->setToolTip(Caption(state.hint));
    }
    m_redrawing = false;
}

// Rebuilt only when the rows changed, keeping the scroll position.
void DialogueEditorWindow::Redraw(QTreeWidget* list, Cells cells, Cells& shown)
{
    if (cells == shown)
        return;
    const int scroll = list->verticalScrollBar()->value();
    const bool editable = list == m_nodes;
    FillList(list, cells, m_encoding,
        Qt::ItemIsSelectable | Qt::ItemIsEnabled | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags));
    list->verticalScrollBar()->setValue(scroll);
    shown = std::move(cells);
}

void DialogueEditorWindow::RedrawNodes()
{
    Cells cells;
    cells.reserve(m_model.nodeRows().size());
    for (const NodeRow& r : m_model.nodeRows())
        cells.push_back({ r.name, r.npcText });
    const bool rebuilt = cells != m_shownNodes;
    Redraw(m_nodes, std::move(cells), m_shownNodes);

    QItemSelectionModel* selection = m_nodes->selectionModel();
    std::vector<int> shownRows;
    for (const QModelIndex& index : selection->selectedRows())
        shownRows.push_back(index.row());
    std::sort(shownRows.begin(), shownRows.end());
    const std::vector<int>& wanted = m_model.selectedRows();
    if (shownRows != wanted) {
        QItemSelection rows;
        const int last = m_nodes->columnCount() - 1;
        for (int r : wanted)
            rows.select(m_nodes->model()->index(r, 0), m_nodes->model()->index(r, last));
        selection->select(rows, QItemSelectionModel::ClearAndSelect);
    }
    // The keyboard's current row stays where the user put it while it is selected (Shift+arrows
    // extend from there); a selection made by the model brings its first row into view.
    const int current = m_nodes->currentIndex().row();
    const bool inside = std::binary_search(wanted.begin(), wanted.end(), current);
    if (!wanted.empty() && !inside) {
        const QModelIndex index = m_nodes->model()->index(m_model.currentRow(), 0);
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        m_nodes->scrollTo(index);
    } else if (rebuilt && inside) {
        m_nodes->scrollTo(m_nodes->currentIndex());
    }
}

// A list of one selected row whose double click edits.
void DialogueEditorWindow::ConnectRows(QTreeWidget* list, void (Model::*select)(int), void (Model::*edit)(int))
{
    connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list, select] {
        if (m_redrawing)
            return;
        const QModelIndexList rows = list->selectionModel()->selectedRows();
        (m_model.*select)(rows.isEmpty() ? -1 : rows.front().row());
    });
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this, list, edit](QTreeWidgetItem* item) {
        (m_model.*edit)(list->indexOfTopLevelItem(item));
        list->setFocus();
    });
}

void DialogueEditorWindow::SelectRow(QTreeWidget* list, int row)
{
    QTreeWidgetItem* item = row >= 0 && row < list->topLevelItemCount() ? list->topLevelItem(row) : nullptr;
    if (item == list->currentItem() && (!item || item->isSelected()))
        return;
    if (item)
        list->setCurrentItem(item);
    else
        list->clearSelection();
}

} // namespace zev
