#include "editors/gui/node_code_editor_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/gui/code_editor.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = NodeCodeEditorModel;

NodeCodeEditorWindow::NodeCodeEditorWindow(NodeCodeEditorModel& model, TextEncoding encoding,
    const CompletionLists* lists, const DefinitionTable* definitions, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("nodeCodeEditor"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);

    auto* explanation = new QLabel(Caption(Model::kExplanation).trimmed(), this);
    explanation->setObjectName(QStringLiteral("explanation"));
    explanation->setTextFormat(Qt::PlainText);
    m_code = new CodeEditor(m_encoding, this);
    m_binding.Bind(m_code, lists, definitions);
    m_code->setObjectName(QStringLiteral("nodeCode"));
    auto* codeLabel = LabelFor(Model::kCodeLabel, m_code, this, &m_mnemonics, 'c');
    m_presets = new QComboBox(this);
    m_presets->setObjectName(QStringLiteral("codeTemplate"));
    auto* presetLabel = LabelFor(Model::kPresetLabel, m_presets, this, &m_mnemonics, 't');
    connect(m_presets, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.ChoosePreset(i);
    });
    m_create = MakeButton(Model::kCreate, this, &m_mnemonics, 'r');
    m_create->setAutoDefault(false);
    connect(m_create, &QPushButton::clicked, this, [this] {
        PushCode();
        m_model.Create();
    });
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        PushCode();
        accept();
    });
    // Enter belongs to the code editor.
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);

    auto* presetRow = new QHBoxLayout;
    presetRow->addWidget(presetLabel);
    presetRow->addWidget(m_presets, 1);
    presetRow->addWidget(m_create);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(explanation);
    layout->addWidget(codeLabel);
    layout->addWidget(m_code, 1);
    layout->addLayout(presetRow);
    layout->addWidget(buttons);
    setMinimumSize(640, 420);
    resize(720, 500);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

NodeCodeEditorWindow::~NodeCodeEditorWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

bool NodeCodeEditorWindow::exec(NodeCodeEditorModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    m_binding.Begin();
    Redraw();
    m_code->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void NodeCodeEditorWindow::Redraw()
{
    m_redrawing = true;
    SetComboItems(m_presets, m_model.presets(), m_model.preset(), m_encoding);
    m_binding.Show(m_model.code());
    m_redrawing = false;
}

void NodeCodeEditorWindow::PushCode()
{
    // Only an edited text: untouched code keeps its bytes.
    if (std::optional<std::string> code = m_binding.Edited())
        m_model.SetCode(std::move(*code));
}

} // namespace zev
