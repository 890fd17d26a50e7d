#include "editors/gui/option_dialog_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <span>
#include <tuple>

#include "app/gui/qt_text.h"

namespace zev {

using namespace editor_gui;
using Model = OptionDialogModel;

OptionDialog::OptionDialog(OptionDialogModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("optionDialog"));
    setWindowTitle(Caption(Model::kEditCaption));
    setSizeGripEnabled(true);

    m_text = MakeMemo("optionText", false, this);
    auto* textLabel = LabelFor(Model::kTextLabel, m_text, this, &m_mnemonics, 'p');
    connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_redrawing)
            PushFields();
    });
    QWidget* link = BuildLink();
    QWidget* checks = BuildChecks();
    QWidget* notes = BuildNotes();

    m_newSkill = MakeButton(Model::kNewSkillCheck, this, &m_mnemonics, 'k');
    m_newSkill->setAutoDefault(false);
    m_newSkill->setToolTip(Caption(Model::kNewSkillCheckHint));
    connect(m_newSkill, &QPushButton::clicked, this, [this] { Act(&Model::NewSkillCheck); });
    m_customProcs = MakeButton(Model::kCustomProcedures, this, &m_mnemonics, 'p');
    m_customProcs->setAutoDefault(false);
    m_customProcs->setToolTip(Caption(Model::kCustomProceduresHint));
    connect(m_customProcs, &QPushButton::clicked, this, [this] { Act(&Model::CustomProcedures); });
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        PushFields();
        accept();
    });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_newSkill);
    bottom->addWidget(m_customProcs);
    bottom->addStretch(1);
    bottom->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->addWidget(textLabel);
    layout->addWidget(m_text, 1);
    layout->addWidget(link);
    layout->addWidget(checks);
    layout->addWidget(notes, 1);
    layout->addLayout(bottom);
    setMinimumSize(660, 600);
    resize(740, 640);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Fill();
}

OptionDialog::~OptionDialog()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* OptionDialog::BuildLink()
{
    auto* box = new QWidget(this);
    m_linkBox = new QWidget(box);
    KeepRoom(m_linkBox);
    auto* grid = new QGridLayout(m_linkBox);
    grid->setContentsMargins(0, 0, 0, 0);
    m_kinds = new QButtonGroup(this);
    const std::tuple<LinkKind, std::string_view, char, QRadioButton**, QComboBox**> rows[] = {
        { LinkKind::Procedure, Model::kLinkToProcedure, 'r', &m_toProc, &m_procs },
        { LinkKind::Node, Model::kLinkToNode, 'n', &m_toNode, &m_nodes },
        { LinkKind::SkillCheck, Model::kLinkToSkillCheck, 'k', &m_toSkill, &m_skills },
    };
    int row = 0;
    for (const auto& [kind, caption, letter, radio, picker] : rows) {
        *radio = new QRadioButton(m_mnemonics.Mark(caption, letter), m_linkBox);
        (*radio)->setAccessibleName(SpokenName(caption));
        m_kinds->addButton(*radio, static_cast<int>(kind));
        *picker = new QComboBox(m_linkBox);
        (*picker)->setAccessibleName(SpokenName(caption)); // named by the radio button beside it
        (*picker)->setMinimumContentsLength(24);
        (*picker)->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        connect(*picker, &QComboBox::currentIndexChanged, this, [this, k = kind, box = *picker](int i) {
            if (m_redrawing || i < 0)
                return;
            std::string name = FromQString(box->itemText(i), m_encoding);
            k == LinkKind::Node             ? m_model.ChooseNode(std::move(name))
                : k == LinkKind::SkillCheck ? m_model.ChooseSkillCheck(std::move(name))
                                            : m_model.ChooseProcedure(std::move(name));
        });
        grid->addWidget(*radio, row, 0);
        grid->addWidget(*picker, row, 1);
        ++row;
    }
    m_nodes->setToolTip(Caption(Model::kNodePickerHint).trimmed());
    m_editSkill = MakeButton(Model::kEditSkillCheck, m_linkBox);
    m_editSkill->setAutoDefault(false);
    // The caption alone ("edit") says nothing beside the picker.
    m_editSkill->setAccessibleDescription(QStringLiteral("Edit the chosen skill check"));
    connect(m_editSkill, &QPushButton::clicked, this, [this] { Act(&Model::EditSkillCheck); });
    grid->addWidget(m_editSkill, 2, 2);
    connect(m_kinds, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!m_redrawing && on)
            m_model.SetLinkKind(static_cast<LinkKind>(id));
    });
    m_preview = MakeMemo("preview", true, m_linkBox);
    m_preview->setMaximumHeight(m_preview->fontMetrics().lineSpacing() * 4 + 12);
    KeepRoom(m_preview);
    m_previewLabel = LabelFor(Model::kPreviewLabel, m_preview, m_linkBox);
    KeepRoom(m_previewLabel);
    grid->addWidget(m_previewLabel, 3, 0, Qt::AlignTop);
    grid->addWidget(m_preview, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addWidget(m_linkBox);
    layout->addLayout(BuildNewNodeRow(box));
    return box;
}

QHBoxLayout* OptionDialog::BuildNewNodeRow(QWidget* box)
{
    m_newNode = MakeCheck(Model::kLinkToNewNode, box, m_mnemonics, 'w');
    connect(m_newNode, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_redrawing)
            m_model.SetLinkToNewNode(on);
    });
    m_newNodeBox = new QWidget(box);
    KeepRoom(m_newNodeBox);
    m_newNodeName = new QLineEdit(m_newNodeBox);
    m_newNodeName->setObjectName(QStringLiteral("newNodeName"));
    m_newNodeName->installEventFilter(this);
    auto* nameLabel = LabelFor(Model::kNewNodeLabel, m_newNodeName, m_newNodeBox, &m_mnemonics, 'a');
    connect(m_newNodeName, &QLineEdit::textEdited, this, [this] { PushFields(); });
    m_createNode = MakeButton(Model::kCreateNode, m_newNodeBox, &m_mnemonics, 'e');
    m_createNode->setAutoDefault(false);
    connect(m_createNode, &QPushButton::clicked, this, [this] { CreateNode(); });
    auto* nameRow = new QHBoxLayout(m_newNodeBox);
    nameRow->setContentsMargins(0, 0, 0, 0);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_newNodeName, 1);
    nameRow->addWidget(m_createNode);
    auto* newRow = new QHBoxLayout;
    newRow->addWidget(m_newNode);
    newRow->addWidget(m_newNodeBox, 1);

    return newRow;
}

QWidget* OptionDialog::BuildChecks()
{
    auto* box = new QWidget(this);
    m_terminates = MakeCheck(Model::kTerminates, box, m_mnemonics, 't');
    m_terminates->setToolTip(Caption(Model::kTerminatesHint));
    m_combat = MakeCheck(Model::kCombat, box, m_mnemonics, 'b');
    m_combat->setToolTip(Caption(Model::kCombatHint));
    m_dumb = MakeCheck(Model::kDumb, box, m_mnemonics, 'd');
    const std::pair<QCheckBox*, void (Model::*)(bool)> setters[]
        = { { m_terminates, &Model::SetTerminates }, { m_combat, &Model::SetCombat }, { m_dumb, &Model::SetDumb } };
    for (const auto& [check, set] : setters)
        connect(check, &QCheckBox::toggled, this, [this, set = set](bool on) {
            if (!m_redrawing)
                (m_model.*set)(on);
        });

    m_reaction = new QComboBox(box);
    m_gender = new QComboBox(box);
    const std::tuple<QComboBox*, std::span<const std::string_view>, void (Model::*)(int)> combos[]
        = { { m_reaction, Model::kReactions, &Model::SetReaction }, { m_gender, Model::kGenders, &Model::SetGender } };
    for (const auto& [combo, items, set] : combos) {
        for (std::string_view item : items)
            combo->addItem(Caption(item));
        connect(combo, &QComboBox::currentIndexChanged, this, [this, set = set](int i) {
            if (!m_redrawing)
                (m_model.*set)(i);
        });
    }
    m_intelligence = new QSpinBox(box);
    m_intelligence->setObjectName(QStringLiteral("intelligence"));
    m_intelligence->setToolTip(Caption(Model::kIntelligenceHint));
    m_intelligence->setMinimumWidth(m_intelligence->fontMetrics().horizontalAdvance(QStringLiteral("-000")) + 40);
    auto* reactionLabel = LabelFor(Model::kReactionLabel, m_reaction, box, &m_mnemonics, 'i');
    auto* genderLabel = LabelFor(Model::kGenderLabel, m_gender, box, &m_mnemonics, 'g');
    auto* intLabel = LabelFor(Model::kIntelligenceLabel, m_intelligence, box, &m_mnemonics, 'l');
    intLabel->setToolTip(m_intelligence->toolTip());
    connect(m_intelligence, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_redrawing)
            return;
        m_model.SetIntelligence(v);
        RedrawIntelligence(); // the model keeps it within its range
    });

    auto* flags = new QHBoxLayout;
    flags->addWidget(m_terminates);
    flags->addWidget(m_combat);
    flags->addWidget(m_dumb);
    flags->addStretch(1);
    auto* values = new QHBoxLayout;
    values->addWidget(reactionLabel);
    values->addWidget(m_reaction);
    values->addSpacing(12);
    values->addWidget(genderLabel);
    values->addWidget(m_gender, 1);
    values->addSpacing(12);
    values->addWidget(intLabel);
    values->addWidget(m_intelligence);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(flags);
    layout->addLayout(values);
    return box;
}

QWidget* OptionDialog::BuildNotes()
{
    auto* box = new QWidget(this);
    m_notes = MakeMemo("optionNotes", false, box);
    auto* notesLabel = LabelFor(Model::kNotesLabel, m_notes, box, &m_mnemonics, 's');
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_redrawing)
            PushFields();
    });
    m_conditions = MakeMemo("conditions", true, box);
    auto* conditionsLabel = LabelFor(Model::kConditionsLabel, m_conditions, box);
    m_setUpConditions = MakeButton(Model::kSetUpConditions, box, &m_mnemonics, 'u');
    QPushButton* setUp = m_setUpConditions;
    setUp->setAutoDefault(false);
    connect(setUp, &QPushButton::clicked, this, [this] { Act(&Model::SetUpConditions); });

    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    grid->addWidget(notesLabel, 0, 0);
    grid->addWidget(m_notes, 1, 0, 2, 1);
    grid->addWidget(conditionsLabel, 0, 1);
    grid->addWidget(m_conditions, 1, 1);
    grid->addWidget(setUp, 2, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    return box;
}

QRadioButton* OptionDialog::linkRadio(LinkKind kind) const
{
    return kind == LinkKind::Procedure ? m_toProc : kind == LinkKind::Node ? m_toNode : m_toSkill;
}

QComboBox* OptionDialog::picker(LinkKind kind) const
{
    return kind == LinkKind::Procedure ? m_procs : kind == LinkKind::Node ? m_nodes : m_skills;
}

bool OptionDialog::exec(OptionDialogModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Fill();
    m_text->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void OptionDialog::Fill()
{
    m_redrawing = true;
    for (QPlainTextEdit* memo : { m_text, m_notes, m_preview, m_conditions })
        memo->clear();
    m_newNodeName->clear();
    m_redrawing = false;
    Redraw();
}

void OptionDialog::Redraw()
{
    m_redrawing = true;
    setWindowTitle(Caption(m_model.caption().empty() ? Model::kEditCaption : m_model.caption()));
    SetMemo(m_text, m_model.text(), m_encoding);
    m_customProcs->setEnabled(m_model.customProceduresEnabled());
    m_newSkill->setEnabled(m_model.skillChecksEnabled());
    m_editSkill->setEnabled(m_model.skillChecksEnabled());
    m_setUpConditions->setEnabled(m_model.conditionsEnabled());

    // No kind chosen leaves every radio button clear, which an exclusive group would not allow.
    m_kinds->setExclusive(false);
    for (LinkKind k : { LinkKind::Procedure, LinkKind::Node, LinkKind::SkillCheck }) {
        linkRadio(k)->setChecked(m_model.linkKind() == k);
        picker(k)->setEnabled(m_model.pickerEnabled(k));
    }
    m_kinds->setExclusive(true);
    RedrawPicker(m_procs, m_model.procedureItems(), m_shownProcs, m_model.procedureText());
    RedrawPicker(m_nodes, m_model.nodeItems(), m_shownNodes, m_model.nodeText());
    RedrawPicker(m_skills, m_model.skillCheckItems(), m_shownSkills, m_model.skillCheckText());
    m_linkBox->setVisible(m_model.linkControlsVisible());
    m_previewLabel->setVisible(m_model.previewShown());
    m_preview->setVisible(m_model.previewShown());
    SetMemo(m_preview, m_model.preview(), m_encoding);

    m_newNode->setChecked(m_model.linkToNewNode());
    m_newNodeBox->setVisible(m_model.newNodeControlsVisible());
    const QString name = ToQString(m_model.newNodeName(), m_encoding);
    if (m_newNodeName->text() != name)
        m_newNodeName->setText(name);
    m_createNode->setEnabled(m_model.createNodeEnabled());

    m_terminates->setChecked(m_model.terminates());
    m_combat->setChecked(m_model.combat());
    m_dumb->setChecked(m_model.dumb());
    m_reaction->setCurrentIndex(m_model.reaction());
    m_gender->setCurrentIndex(m_model.gender());
    RedrawIntelligence();
    SetMemo(m_notes, m_model.notes(), m_encoding);
    SetMemo(m_conditions, m_model.conditionSummary(), m_encoding);
    m_redrawing = false;
}

// Items rebuilt only when they changed; a current text that is not among them shows blank.
void OptionDialog::RedrawPicker(
    QComboBox* box, const std::vector<std::string>& items, std::vector<std::string>& shown, const std::string& current)
{
    if (items != shown) {
        box->clear();
        QStringList texts;
        for (const std::string& item : items)
            texts << ToQString(item, m_encoding);
        box->addItems(texts);
        shown = items;
    }
    auto at = std::find(items.begin(), items.end(), current);
    box->setCurrentIndex(at == items.end() ? -1 : static_cast<int>(at - items.begin()));
}

// A stored value outside the usual range is shown as it is: the range widens to hold it.
void OptionDialog::RedrawIntelligence()
{
    const bool redrawing = m_redrawing;
    m_redrawing = true;
    const int value = m_model.intelligence();
    m_intelligence->setRange(std::min(Model::kMinIntelligence, value), std::max(Model::kMaxIntelligence, value));
    m_intelligence->setValue(value);
    m_redrawing = redrawing;
}

void OptionDialog::PushFields()
{
    // Only what was typed in: an untouched text stays byte for byte as it was.
    if (m_text->document()->isModified())
        m_model.SetText(FromMemo(m_text->toPlainText(), m_encoding));
    if (m_notes->document()->isModified())
        m_model.SetNotes(FromMemo(m_notes->toPlainText(), m_encoding));
    if (m_newNodeName->isModified())
        m_model.SetNewNodeName(FromQString(m_newNodeName->text(), m_encoding));
}

void OptionDialog::CreateNode()
{
    if (!m_model.createNodeEnabled())
        return;
    PushFields();
    m_model.CreateNode();
}

bool OptionDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_newNodeName && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Enter in the name creates the node; it must not close the dialog with the link unset.
            CreateNode();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// A button that opens another editor: what was typed reaches the model first.
void OptionDialog::Act(void (OptionDialogModel::*action)())
{
    PushFields();
    (m_model.*action)();
}

} // namespace zev
