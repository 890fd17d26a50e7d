#include "editors/gui/float_node_editor_window.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

#include "app/gui/qt_text.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = FloatNodeEditorModel;

FloatNodeEditorWindow::FloatNodeEditorWindow(FloatNodeEditorModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("floatNodeEditor"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    QWidget* node = BuildNode();
    QWidget* messages = BuildMessages();
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        // A name that a regular node has is refused in a box; the editor stays open.
        if (m_model.Accept())
            accept();
    });
    // Enter belongs to the memos.
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(node);
    layout->addWidget(messages, 1);
    layout->addWidget(buttons);
    setMinimumSize(560, 560);
    resize(620, 620);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

FloatNodeEditorWindow::~FloatNodeEditorWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* FloatNodeEditorWindow::BuildNode()
{
    auto* box = new QWidget(this);
    m_name = new QLineEdit(box);
    m_name->setObjectName(QStringLiteral("floatNodeName"));
    QLabel* nameLabel = LabelFor(Model::kNameLabel, m_name, box, &m_mnemonics, 'n');
    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.SetName(FromQString(text, m_encoding)); });
    m_description = MakeMemo("floatNodeDescription", false, box);
    m_description->setMaximumHeight(m_description->fontMetrics().lineSpacing() * 4 + 12);
    QLabel* descriptionLabel = LabelFor(Model::kDescriptionLabel, m_description, box, &m_mnemonics, 'e');
    connect(m_description, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_redrawing)
            m_model.SetDescription(FromMemo(m_description->toPlainText(), m_encoding));
    });
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_name, 1);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(nameRow);
    layout->addWidget(descriptionLabel);
    layout->addWidget(m_description);
    return box;
}

QWidget* FloatNodeEditorWindow::BuildMessages()
{
    auto* box = new QWidget(this);
    m_messages = MakeList(Model::kColumns, Model::kMessagesLabel, box);
    m_messages->setObjectName(QStringLiteral("messageList"));
    m_messages->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_messages->viewport()->installEventFilter(this);
    QLabel* messagesLabel = LabelFor(Model::kMessagesLabel, m_messages, box, &m_mnemonics, 'r');
    connect(m_messages, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        const QModelIndexList rows = m_messages->selectionModel()->selectedRows();
        m_model.SelectMessage(rows.isEmpty() ? -1 : rows.front().row());
    });
    m_text = MakeMemo("messageText", false, box);
    m_text->setMaximumHeight(m_text->fontMetrics().lineSpacing() * 3 + 12);
    QLabel* textLabel = LabelFor(Model::kTextLabel, m_text, box, &m_mnemonics, 't');
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_redrawing)
            m_model.SetText(FromMemo(m_text->toPlainText(), m_encoding));
    });
    m_add = MakeButton(Model::kAdd, box, &m_mnemonics, 'a');
    m_delete = MakeButton(Model::kDelete, box, &m_mnemonics, 'd');
    m_modify = MakeButton(Model::kModify, box, &m_mnemonics, 'm');
    const std::pair<QPushButton*, bool (Model::*)()> actions[]
        = { { m_add, &Model::AddMessage }, { m_delete, &Model::DeleteMessage }, { m_modify, &Model::ModifyMessage } };
    for (const auto& [button, action] : actions) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, a = action] { (m_model.*a)(); });
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_add);
    buttons->addWidget(m_delete);
    buttons->addWidget(m_modify);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 8, 0, 0);
    layout->addWidget(messagesLabel);
    layout->addWidget(m_messages, 1);
    layout->addWidget(textLabel);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    return box;
}

bool FloatNodeEditorWindow::exec(FloatNodeEditorModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Redraw();
    m_name->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void FloatNodeEditorWindow::Redraw()
{
    m_redrawing = true;
    SetLineText(m_name, m_model.name(), m_encoding);
    SetMemo(m_description, m_model.description(), m_encoding);
    Cells rows;
    rows.reserve(m_model.rows().size());
    for (const FloatMessageRow& r : m_model.rows())
        rows.push_back({ r.index, r.text });
    if (rows != m_shownRows) {
        FillList(m_messages, rows, m_encoding);
        m_shownRows = std::move(rows);
    }
    const int selected = m_model.selectedMessage();
    if (QTreeWidgetItem* item = m_messages->topLevelItem(selected)) {
        m_messages->setCurrentItem(item);
        item->setSelected(true);
    } else {
        m_messages->clearSelection();
    }
    SetMemo(m_text, m_model.text(), m_encoding);
    m_modify->setEnabled(m_model.modifyEnabled());
    m_redrawing = false;
}

bool FloatNodeEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_messages->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!m_messages->itemAt(at)) {
            // The empty part of the list selects no message.
            m_model.SelectMessage(-1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zev
