#include "editors/gui/skill_check_editor_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <tuple>

#include "app/gui/qt_text.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = SkillCheckEditorModel;

namespace {

// A preview shows a node's text; four lines are enough to recognise it.
QPlainTextEdit* MakePreview(const char* objectName, QWidget* parent)
{
    QPlainTextEdit* memo = MakeMemo(objectName, true, parent);
    // Four lines to begin with; a taller window gives the previews the room.
    memo->setMinimumHeight(memo->fontMetrics().lineSpacing() * 4 + 12);
    return memo;
}

} // namespace

SkillCheckEditorWindow::SkillCheckEditorWindow(SkillCheckEditorModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("skillCheckEditor"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    QWidget* check = BuildCheck();
    QWidget* targets = BuildTargets();
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        // The model reports what is missing and keeps the editor open.
        if (m_model.Accept())
            accept();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(check);
    layout->addWidget(targets, 1);
    layout->addWidget(buttons);
    setMinimumSize(520, 560);
    resize(560, 600);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

SkillCheckEditorWindow::~SkillCheckEditorWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* SkillCheckEditorWindow::BuildCheck()
{
    auto* box = new QWidget(this);
    m_name = new QLineEdit(box);
    m_name->setObjectName(QStringLiteral("skillCheckName"));
    QLabel* nameLabel = LabelFor(Model::kNameLabel, m_name, box, &m_mnemonics, 'n');
    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.SetName(FromQString(text, m_encoding)); });
    m_generate = MakeButton(Model::kGenerate, box, &m_mnemonics, 'g');
    m_generate->setAutoDefault(false);
    m_generate->setToolTip(Caption(Model::kGenerateHint));
    connect(m_generate, &QPushButton::clicked, this, [this] { m_model.Generate(); });

    m_skill = new QComboBox(box);
    m_skill->setObjectName(QStringLiteral("skill"));
    for (std::string_view skill : Model::kSkills)
        m_skill->addItem(Caption(skill));
    QLabel* skillLabel = LabelFor(Model::kSkillLabel, m_skill, box, &m_mnemonics, 's');
    connect(m_skill, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.ChooseSkill(i);
    });

    m_modifier = new QSpinBox(box);
    m_modifier->setObjectName(QStringLiteral("difficultyModifier"));
    m_modifier->setRange(Model::kMinModifier, Model::kMaxModifier);
    QLabel* modifierLabel = LabelFor(Model::kModifierLabel, m_modifier, box, &m_mnemonics, 'd');
    connect(m_modifier, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_redrawing)
            m_model.SetModifier(value);
    });
    auto* note = new QLabel(Caption(Model::kModifierNote), box);
    note->setObjectName(QStringLiteral("modifierNote"));

    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(m_generate, 0, 2);
    grid->addWidget(skillLabel, 1, 0);
    grid->addWidget(m_skill, 1, 1, 1, 2);
    grid->addWidget(modifierLabel, 2, 0);
    grid->addWidget(m_modifier, 2, 1, Qt::AlignLeft);
    grid->addWidget(note, 3, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    return box;
}

QComboBox* SkillCheckEditorWindow::MakeNodePicker(
    const char* objectName, void (SkillCheckEditorModel::*choose)(int), QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setMinimumContentsLength(24);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(box, &QComboBox::currentIndexChanged, this, [this, choose](int i) {
        if (!m_redrawing)
            (m_model.*choose)(i);
    });
    return box;
}

QWidget* SkillCheckEditorWindow::BuildTargets()
{
    auto* box = new QWidget(this);
    m_success = MakeNodePicker("successNode", &Model::ChooseSuccess, box);
    QLabel* successLabel = LabelFor(Model::kSuccessLabel, m_success, box, &m_mnemonics, 'u');
    m_successPreview = MakePreview("successPreview", box);
    QLabel* successPreviewLabel = LabelFor(Model::kSuccessPreviewLabel, m_successPreview, box);
    m_failure = MakeNodePicker("failureNode", &Model::ChooseFailure, box);
    QLabel* failureLabel = LabelFor(Model::kFailureLabel, m_failure, box, &m_mnemonics, 'f');
    m_failurePreview = MakePreview("failurePreview", box);
    QLabel* failurePreviewLabel = LabelFor(Model::kFailurePreviewLabel, m_failurePreview, box);
    m_owner = MakeNodePicker("ownerNode", &Model::ChooseOwner, box);
    QLabel* ownerLabel = LabelFor(Model::kOwnerLabel, m_owner, box, &m_mnemonics, 'a');

    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 8, 0, 0);
    int row = 0;
    for (const auto& [label, picker, previewLabel, preview] :
        { std::tuple { successLabel, m_success, successPreviewLabel, m_successPreview },
            std::tuple { failureLabel, m_failure, failurePreviewLabel, m_failurePreview } }) {
        grid->addWidget(label, row, 0);
        grid->addWidget(picker, row++, 1);
        grid->addWidget(previewLabel, row++, 0, 1, 2);
        grid->setRowStretch(row, 1); // the previews take the height, the labels stay by their controls
        grid->addWidget(preview, row++, 0, 1, 2);
    }
    grid->addWidget(ownerLabel, row, 0);
    grid->addWidget(m_owner, row, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

bool SkillCheckEditorWindow::exec(SkillCheckEditorModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Redraw();
    m_name->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void SkillCheckEditorWindow::Redraw()
{
    m_redrawing = true;
    SetLineText(m_name, m_model.name(), m_encoding);
    {
        const QSignalBlocker quiet(m_skill);
        m_skill->setCurrentIndex(m_model.skill());
    }
    if (m_modifier->value() != m_model.modifier())
        m_modifier->setValue(m_model.modifier());
    SetComboItems(m_success, m_model.nodeItems(), m_model.successNode(), m_encoding);
    SetComboItems(m_failure, m_model.nodeItems(), m_model.failureNode(), m_encoding);
    SetComboItems(m_owner, m_model.nodeItems(), m_model.owner(), m_encoding);
    SetMemo(m_successPreview, m_model.successPreview(), m_encoding);
    SetMemo(m_failurePreview, m_model.failurePreview(), m_encoding);
    m_ok->setEnabled(m_model.okEnabled());
    m_redrawing = false;
}

} // namespace zev
