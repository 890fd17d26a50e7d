#include "editors/gui/node_dialog_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

using namespace editor_gui;
using Model = NodeDialogModel;

namespace {

QVBoxLayout* Stacked(QWidget* label, QWidget* control)
{
    auto* column = new QVBoxLayout;
    column->setSpacing(3);
    column->addWidget(label);
    column->addWidget(control, 1);
    return column;
}

} // namespace

NodeDialog::NodeDialog(NodeDialogModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("nodeDialog"));
    setWindowTitle(Caption(Model::kEditCaption));
    setSizeGripEnabled(true);
    QWidget* texts = BuildTexts();
    QWidget* options = BuildOptions();
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(texts, 3);
    layout->addWidget(options, 2);
    layout->addWidget(buttons);
    setMinimumSize(640, 560);
    resize(780, 660);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Fill();
}

NodeDialog::~NodeDialog()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* NodeDialog::BuildTexts()
{
    auto* box = new QWidget(this);
    m_name = new QLineEdit(box);
    m_name->setObjectName(QStringLiteral("nodeName"));
    m_name->setToolTip(Caption(Model::kNameHint));
    auto* nameLabel = LabelFor(Model::kNameLabel, m_name, box, &m_mnemonics, 'n');
    m_npcText = MakeMemo("npcText", false, box);
    auto* npcLabel = LabelFor(Model::kNpcTextLabel, m_npcText, box, &m_mnemonics, 't');
    m_female = MakeCheck(Model::kFemaleCheck, box, m_mnemonics, 'f');
    m_female->setObjectName(QStringLiteral("femaleCheck"));
    m_femaleText = MakeMemo("femaleText", false, box);
    m_femaleText->setToolTip(Caption(Model::kFemaleHint));
    auto* femaleLabel = LabelFor(Model::kFemaleTextLabel, m_femaleText, box, &m_mnemonics, 'l');
    m_notes = MakeMemo("nodeNotes", false, box);
    auto* notesLabel = LabelFor(Model::kNotesLabel, m_notes, box, &m_mnemonics, 'g');

    connect(m_name, &QLineEdit::textEdited, this, [this] { PushFields(); });
    for (QPlainTextEdit* memo : { m_npcText, m_femaleText, m_notes })
        connect(memo, &QPlainTextEdit::textChanged, this, [this] {
            if (!m_redrawing)
                PushFields();
        });
    connect(m_female, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_redrawing)
            m_model.SetFemaleChecked(on);
    });

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_name, 1);
    auto* npc = Stacked(npcLabel, m_npcText);
    npc->addSpacing(4);
    npc->addWidget(m_female);
    npc->addLayout(Stacked(femaleLabel, m_femaleText), 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(npc, 3);
    columns->addLayout(Stacked(notesLabel, m_notes), 2);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(nameRow);
    layout->addLayout(columns, 1);
    return box;
}

QWidget* NodeDialog::BuildOptions()
{
    auto* box = new QWidget(this);
    m_options = MakeList(Model::kOptionColumns, Model::kOptionsLabel, box);
    m_options->setObjectName(QStringLiteral("optionList"));
    QHeaderView* header = m_options->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->resizeSection(2, 150);
    m_options->installEventFilter(this);
    m_options->viewport()->installEventFilter(this);
    auto* label = LabelFor(Model::kOptionsLabel, m_options, box, &m_mnemonics, 'p');
    connect(m_options, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        const QModelIndexList rows = m_options->selectionModel()->selectedRows();
        m_model.SelectRow(rows.isEmpty() ? -1 : rows.front().row());
    });

    m_addOption = MakeButton(Model::kAddOption, box, &m_mnemonics, 'a');
    m_editOption = MakeButton(Model::kEditOption, box, &m_mnemonics, 'e');
    m_deleteOption = MakeButton(Model::kDeleteOption, box, &m_mnemonics, 'd');
    m_moveUp = MakeButton(Model::kMoveUp, box, &m_mnemonics, 'u');
    m_moveDown = MakeButton(Model::kMoveDown, box, &m_mnemonics, 'w');
    m_customCode = MakeButton(Model::kCustomCode, box, &m_mnemonics, 'c');
    m_customCode->setAutoDefault(false);
    connect(m_customCode, &QPushButton::clicked, this, [this] {
        PushFields();
        m_model.CustomCode();
    });
    const std::pair<QPushButton*, void (Model::*)()> actions[] = { { m_addOption, &Model::AddOption },
        { m_editOption, &Model::EditOption }, { m_deleteOption, &Model::DeleteOption }, { m_moveUp, &Model::MoveUp },
        { m_moveDown, &Model::MoveDown } };
    for (const auto& [button, action] : actions) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, a = action] { OptionAction(a); });
    }

    auto* column = new QVBoxLayout;
    for (QPushButton* b : { m_addOption, m_editOption, m_deleteOption, m_moveUp, m_moveDown })
        column->addWidget(b);
    column->addStretch(1);
    column->addWidget(m_customCode);
    auto* row = new QHBoxLayout;
    row->addWidget(m_options, 1);
    row->addLayout(column);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    layout->addWidget(label);
    layout->addLayout(row, 1);
    return box;
}

bool NodeDialog::exec(NodeDialogModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Fill();
    m_name->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void NodeDialog::Fill()
{
    // Everything from the model, as if nothing had been shown before.
    m_redrawing = true;
    m_name->clear();
    for (QPlainTextEdit* memo : { m_npcText, m_femaleText, m_notes })
        memo->clear();
    m_options->clear();
    m_shownRows.clear();
    m_redrawing = false;
    Redraw();
}

void NodeDialog::Redraw()
{
    m_redrawing = true;
    setWindowTitle(Caption(m_model.caption().empty() ? Model::kEditCaption : m_model.caption()));
    const QString name = ToQString(m_model.name(), m_encoding);
    if (m_name->text() != name)
        m_name->setText(name);
    SetMemo(m_npcText, m_model.npcText(), m_encoding);
    SetMemo(m_femaleText, m_model.femaleText(), m_encoding);
    SetMemo(m_notes, m_model.notes(), m_encoding);
    m_female->setChecked(m_model.femaleChecked());
    m_femaleText->setEnabled(m_model.femaleTextEnabled());
    m_customCode->setEnabled(m_model.customCodeEnabled());

    Cells rows;
    for (const OptionListRow& r : m_model.rows())
        rows.push_back({ r.index, r.text, r.target });
    if (rows != m_shownRows) {
        FillList(m_options, rows, m_encoding);
        m_shownRows = std::move(rows);
    }
    const int selected = m_model.selectedRow();
    if (selected >= 0 && selected < m_options->topLevelItemCount()) {
        m_options->setCurrentItem(m_options->topLevelItem(selected));
        m_options->scrollToItem(m_options->currentItem());
    } else {
        m_options->clearSelection();
    }
    const bool rowButtons = m_model.rowButtonsEnabled();
    for (QPushButton* b : { m_editOption, m_deleteOption, m_moveUp, m_moveDown })
        b->setEnabled(rowButtons);
    m_redrawing = false;
}

void NodeDialog::PushFields()
{
    if (m_name->isModified())
        m_model.SetName(FromQString(m_name->text(), m_encoding));
    // Only what was typed in: an untouched text stays byte for byte as it was.
    if (m_npcText->document()->isModified())
        m_model.SetNpcText(FromMemo(m_npcText->toPlainText(), m_encoding));
    if (m_femaleText->document()->isModified())
        m_model.SetFemaleText(FromMemo(m_femaleText->toPlainText(), m_encoding));
    if (m_notes->document()->isModified())
        m_model.SetNotes(FromMemo(m_notes->toPlainText(), m_encoding));
}

void NodeDialog::OptionAction(void (NodeDialogModel::*action)())
{
    PushFields();
    (m_model.*action)();
    m_options->setFocus();
}

void NodeDialog::Ok()
{
    PushFields();
    if (m_model.Accept())
        accept();
}

bool NodeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_options && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            OptionAction(&Model::EditOption);
            return true;
        }
        if (key == Qt::Key_Delete) {
            OptionAction(&Model::DeleteOption);
            return true;
        }
    }
    if (watched == m_options->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // On a row it edits that option; on the empty space below the rows it adds one.
        const QModelIndex at = m_options->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        PushFields();
        m_model.DoubleClick(at.isValid() ? at.row() : -1);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zev
