#include "editors/gui/timed_events_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = TimedEventsModel;

TimedEventsWindow::TimedEventsWindow(TimedEventsModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("timedEventsEditor"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    m_events = MakeList(Model::kColumns, Model::kListLabel, this);
    m_events->setObjectName(QStringLiteral("timedEventList"));
    m_events->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_events->header()->setStretchLastSection(false);
    for (int column = 1; column < static_cast<int>(Model::kColumns.size()); ++column)
        m_events->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    QLabel* listLabel = LabelFor(Model::kListLabel, m_events, this, &m_mnemonics, 't');
    connect(m_events, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* item) { m_model.Edit(m_events->indexOfTopLevelItem(item)); });

    m_default = new QComboBox(this);
    m_default->setObjectName(QStringLiteral("defaultEvent"));
    QLabel* defaultLabel = LabelFor(Model::kDefaultLabel, m_default, this, &m_mnemonics, 's');
    connect(m_default, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.ChooseDefault(i);
    });

    m_add = MakeButton(Model::kAdd, this, &m_mnemonics, 'a');
    m_edit = MakeButton(Model::kEdit, this, &m_mnemonics, 'e');
    m_delete = MakeButton(Model::kDelete, this, &m_mnemonics, 'd');
    m_ok = MakeButton("OK", this, &m_mnemonics, 'o');
    m_ok->setObjectName(QStringLiteral("okButton"));
    for (QPushButton* b : { m_add, m_edit, m_delete })
        b->setAutoDefault(false);
    m_ok->setDefault(true);
    connect(m_add, &QPushButton::clicked, this, [this] { m_model.Add(); });
    connect(m_edit, &QPushButton::clicked, this, [this] { Act(&Model::Edit); });
    connect(m_delete, &QPushButton::clicked, this, [this] { Act(&Model::Delete); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* defaultRow = new QHBoxLayout;
    defaultRow->addWidget(defaultLabel);
    defaultRow->addWidget(m_default, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_edit);
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listLabel);
    layout->addWidget(m_events, 1);
    layout->addLayout(defaultRow);
    layout->addLayout(buttons);
    setMinimumSize(560, 400);
    resize(640, 460);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

TimedEventsWindow::~TimedEventsWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

int TimedEventsWindow::SelectedRow() const
{
    const QList<QTreeWidgetItem*> chosen = m_events->selectedItems();
    return chosen.isEmpty() ? -1 : m_events->indexOfTopLevelItem(chosen.front());
}

void TimedEventsWindow::Act(bool (TimedEventsModel::*action)(int row))
{
    // Without a selected row the model does nothing.
    (m_model.*action)(SelectedRow());
}

bool TimedEventsWindow::exec(TimedEventsModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Redraw();
    m_events->clearSelection();
    m_events->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void TimedEventsWindow::Redraw()
{
    m_redrawing = true;
    Cells rows;
    rows.reserve(m_model.rows().size());
    for (const TimedEventRow& r : m_model.rows())
        rows.push_back({ r.name, r.actions, r.random, r.interval });
    if (rows != m_shownRows) {
        // The selection stays on its row, or on the last row when its row went.
        const int selected = SelectedRow();
        FillList(m_events, rows, m_encoding);
        m_shownRows = std::move(rows);
        const int count = m_events->topLevelItemCount();
        if (QTreeWidgetItem* item = selected < 0 ? nullptr : m_events->topLevelItem(std::min(selected, count - 1))) {
            m_events->setCurrentItem(item);
            item->setSelected(true);
        }
    }
    SetComboItems(m_default, m_model.defaultItems(), m_model.defaultChoice(), m_encoding);
    m_redrawing = false;
}

} // namespace zev
