#include "editors/gui/custom_proc_editor_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"
#include "editors/gui/code_editor.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = CustomProcEditorModel;

CustomProcEditorWindow::CustomProcEditorWindow(CustomProcEditorModel& model, TextEncoding encoding,
    const CompletionLists* lists, const DefinitionTable* definitions, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("customProcEditor"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    QWidget* list = BuildList();
    QWidget* editor = BuildEditor();
    m_binding.Bind(m_code, lists, definitions);
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        PushFields();
        accept();
    });
    // Enter belongs to the code editor.
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);

    auto* columns = new QHBoxLayout;
    columns->addWidget(list, 1);
    columns->addWidget(editor, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(buttons);
    setMinimumSize(760, 520);
    resize(880, 600);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

CustomProcEditorWindow::~CustomProcEditorWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* CustomProcEditorWindow::BuildList()
{
    auto* box = new QWidget(this);
    m_procs = new QListWidget(box);
    m_procs->setObjectName(QStringLiteral("procedureList"));
    m_procs->viewport()->installEventFilter(this);
    auto* label = LabelFor(Model::kListLabel, m_procs, box, &m_mnemonics, 'p');
    connect(m_procs, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        const QList<QListWidgetItem*> chosen = m_procs->selectedItems();
        PushFields();
        m_model.SelectProcedure(chosen.isEmpty() ? -1 : m_procs->row(chosen.front()));
    });
    m_add = MakeButton(Model::kAdd, box, &m_mnemonics, 'a');
    m_delete = MakeButton(Model::kDelete, box, &m_mnemonics, 'd');
    const std::pair<QPushButton*, void (Model::*)()> actions[]
        = { { m_add, &Model::Add }, { m_delete, &Model::Delete } };
    for (const auto& [button, action] : actions) {
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, a = action] { Action(a); });
    }
    auto* row = new QHBoxLayout;
    row->addWidget(m_add);
    row->addWidget(m_delete);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(m_procs, 1);
    layout->addLayout(row);
    return box;
}

QWidget* CustomProcEditorWindow::BuildEditor()
{
    auto* box = new QWidget(this);
    m_name = new QLineEdit(box);
    m_name->setObjectName(QStringLiteral("procedureName"));
    auto* nameLabel = LabelFor(Model::kNameLabel, m_name, box, &m_mnemonics, 'n');
    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString& t) { m_model.SetName(FromQString(t, m_encoding)); });
    m_nodes = new QComboBox(box);
    m_nodes->setObjectName(QStringLiteral("associatedNode"));
    auto* nodeLabel = LabelFor(Model::kNodeLabel, m_nodes, box, &m_mnemonics, 's');
    connect(m_nodes, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_redrawing)
            return;
        PushFields();
        m_model.ChooseNode(i);
    });
    m_code = new CodeEditor(m_encoding, box);
    m_code->setObjectName(QStringLiteral("procedureCode"));
    auto* codeLabel = LabelFor(Model::kCodeLabel, m_code, box, &m_mnemonics, 'c');
    m_presets = new QComboBox(box);
    m_presets->setObjectName(QStringLiteral("codeTemplate"));
    auto* presetLabel = LabelFor(Model::kPresetLabel, m_presets, box, &m_mnemonics, 't');
    connect(m_presets, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.ChoosePreset(i);
    });
    m_generate = MakeButton(Model::kGenerate, box, &m_mnemonics, 'g');
    m_generate->setAutoDefault(false);
    m_generate->setToolTip(Caption(Model::kGenerateHint).trimmed());
    connect(m_generate, &QPushButton::clicked, this, [this] { Action(&Model::Generate); });

    auto* top = new QHBoxLayout;
    top->addWidget(nameLabel);
    top->addWidget(m_name, 1);
    top->addWidget(nodeLabel);
    top->addWidget(m_nodes, 1);
    auto* presetRow = new QHBoxLayout;
    presetRow->addWidget(presetLabel);
    presetRow->addWidget(m_presets, 1);
    presetRow->addWidget(m_generate);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(codeLabel);
    layout->addWidget(m_code, 1);
    layout->addLayout(presetRow);
    return box;
}

bool CustomProcEditorWindow::exec(CustomProcEditorModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    m_binding.Begin();
    Redraw();
    m_procs->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void CustomProcEditorWindow::Redraw()
{
    m_redrawing = true;
    SetListItems(m_procs, m_model.procedures(), m_model.selected(), m_encoding);
    SetLineText(m_name, m_model.name(), m_encoding);
    SetComboItems(m_nodes, m_model.nodes(), m_model.node(), m_encoding);
    SetComboItems(m_presets, m_model.presets(), m_model.preset(), m_encoding);
    m_binding.Show(m_model.code());
    m_delete->setEnabled(m_model.selected() >= 0);
    m_redrawing = false;
}

void CustomProcEditorWindow::PushFields()
{
    // Only an edited text: untouched code keeps its bytes.
    if (std::optional<std::string> code = m_binding.Edited())
        m_model.SetCode(std::move(*code));
}

void CustomProcEditorWindow::Action(void (CustomProcEditorModel::*action)())
{
    PushFields();
    (m_model.*action)();
}

bool CustomProcEditorWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_procs->viewport() && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (!m_procs->itemAt(at)) {
            // The empty part of the list: the edits go back into the procedure, then none is
            // selected.
            Action(&Model::ClickEmpty);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zev
