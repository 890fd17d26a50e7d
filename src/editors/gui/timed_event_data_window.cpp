#include "editors/gui/timed_event_data_window.h"

#include <QAction>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"
#include "editors/gui/code_editor.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = TimedEventDataModel;

namespace {

QGroupBox* Group(std::string_view title, QWidget* parent)
{
    auto* group = new QGroupBox(Caption(title), parent);
    group->setAccessibleName(SpokenName(title));
    return group;
}

QSpinBox* Spin(const char* objectName, int maximum, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(objectName));
    spin->setRange(0, maximum);
    return spin;
}

// A shortcut the user can press: one key chord, every key known.
QKeySequence ReadShortcut(const QString& text)
{
    const QKeySequence sequence = QKeySequence::fromString(text.trimmed(), QKeySequence::PortableText);
    for (int i = 0; i < sequence.count(); ++i)
        if (sequence[i].key() == Qt::Key_unknown)
            return {};
    return sequence.count() == 1 ? sequence : QKeySequence();
}

} // namespace

TimedEventDataWindow::TimedEventDataWindow(TimedEventDataModel& model, TextEncoding encoding,
    const CompletionLists* lists, const DefinitionTable* definitions, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("timedEventDataEditor"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);
    QWidget* fields = BuildFields();
    m_code = new CodeEditor(m_encoding, this);
    m_binding.Bind(m_code, lists, definitions);
    m_code->setObjectName(QStringLiteral("timedEventCode"));
    QLabel* codeLabel = LabelFor(Model::kCodeLabel, m_code, this, &m_mnemonics, 'c');
    m_insertMenu = new QMenu(Caption(Model::kInsertCommand), this);
    m_insertMenu->setObjectName(QStringLiteral("insertCommandMenu"));
    m_code->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_code, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = CreateContextMenu();
        menu->exec(m_code->viewport()->mapToGlobal(at));
        delete menu;
    });
    // Made last, so Tab reaches them last.
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, [this] {
        PushCode();
        // Code longer than an event holds is refused in a box; the editor stays open.
        if (m_model.Accept())
            accept();
    });
    // Enter belongs to the code editor.
    m_ok->setDefault(false);
    m_ok->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addWidget(codeLabel);
    layout->addWidget(m_code, 1);
    layout->addWidget(buttons);
    setMinimumSize(560, 480);
    resize(640, 560);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

TimedEventDataWindow::~TimedEventDataWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* TimedEventDataWindow::BuildFields()
{
    auto* box = new QWidget(this);
    m_name = new QLineEdit(box);
    m_name->setObjectName(QStringLiteral("timedEventName"));
    QLabel* nameLabel = LabelFor(Model::kNameLabel, m_name, box, &m_mnemonics, 't');
    connect(m_name, &QLineEdit::textEdited, this,
        [this](const QString& text) { m_model.SetName(FromQString(text, m_encoding)); });
    m_enum = Spin("enumValue", Model::kMaxEnumValue, box);
    QLabel* enumLabel = LabelFor(Model::kEnumLabel, m_enum, box, &m_mnemonics, 'e');
    connect(m_enum, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_redrawing)
            m_model.SetEnumValue(value);
    });

    auto* type = Group(Model::kIntervalTypeLabel, box);
    auto* types = new QButtonGroup(type);
    m_static = new QRadioButton(m_mnemonics.Mark(Model::kIntervalTypes[0], 's'), type);
    m_random = new QRadioButton(m_mnemonics.Mark(Model::kIntervalTypes[1], 'r'), type);
    auto* typeLayout = new QVBoxLayout(type);
    for (int i = 0; i < 2; ++i) {
        QRadioButton* radio = intervalTypeRadio(i);
        radio->setAccessibleName(SpokenName(Model::kIntervalTypes[static_cast<std::size_t>(i)]));
        types->addButton(radio, i);
        typeLayout->addWidget(radio);
    }
    connect(types, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (!m_redrawing && on)
            m_model.ChooseIntervalType(id);
    });

    auto* row = new QHBoxLayout;
    row->addWidget(nameLabel);
    row->addWidget(m_name, 1);
    row->addWidget(enumLabel);
    row->addWidget(m_enum);
    auto* groups = new QHBoxLayout;
    groups->addWidget(type);
    groups->addWidget(BuildInterval(box), 1);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addLayout(groups);
    return box;
}

QGroupBox* TimedEventDataWindow::BuildInterval(QWidget* parent)
{
    auto* group = Group(Model::kIntervalGroup, parent);
    m_minimum = Spin("minimumTime", Model::kMaxTime, group);
    QLabel* minimumLabel = LabelFor(Model::kMinimumLabel, m_minimum, group, &m_mnemonics, 'm');
    m_maximum = Spin("maximumTime", Model::kMaxTime, group);
    QLabel* maximumLabel = LabelFor(Model::kMaximumLabel, m_maximum, group, &m_mnemonics, 'x');
    connect(m_minimum, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_redrawing)
            m_model.SetMinimum(value);
    });
    connect(m_maximum, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_redrawing)
            m_model.SetMaximum(value);
    });
    auto* grid = new QGridLayout(group);
    grid->addWidget(minimumLabel, 0, 0);
    grid->addWidget(m_minimum, 0, 1);
    grid->addWidget(maximumLabel, 1, 0);
    grid->addWidget(m_maximum, 1, 1);
    grid->setColumnStretch(2, 1);
    return group;
}

bool TimedEventDataWindow::exec(TimedEventDataModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    m_binding.Begin();
    Redraw();
    m_name->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void TimedEventDataWindow::Redraw()
{
    m_redrawing = true;
    SetLineText(m_name, m_model.name(), m_encoding);
    m_enum->setValue(m_model.enumValue());
    intervalTypeRadio(m_model.intervalType())->setChecked(true);
    m_minimum->setValue(m_model.minimum());
    m_maximum->setValue(m_model.maximum());
    // A static event has one interval, in "Minimum time:".
    m_maximum->setEnabled(m_model.random());
    m_binding.Show(m_model.code());
    m_redrawing = false;
}

void TimedEventDataWindow::PushCode()
{
    // Only an edited text: untouched code keeps its bytes.
    if (std::optional<std::string> code = m_binding.Edited())
        m_model.SetCode(std::move(*code));
}

bool TimedEventDataWindow::AddInsertCommand(const QString& caption, const QString& shortcut, int tag)
{
    const QList<QAction*> entries = m_insertMenu->actions();
    if (entries.size() >= kMaxInsertCommands)
        return false;
    auto* action = new QAction(caption, m_insertMenu);
    QKeySequence keys = ReadShortcut(shortcut);
    for (const QAction* earlier : entries)
        if (!keys.isEmpty() && earlier->shortcut() == keys)
            keys = QKeySequence(); // two entries on one key would leave the key doing nothing
    if (!keys.isEmpty()) {
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    }
    connect(action, &QAction::triggered, this, [this, tag] {
        if (m_handler)
            m_handler(tag);
    });
    m_insertMenu->addAction(action);
    // The shortcut is live where the code editor has the focus.
    m_code->addAction(action);
    return true;
}

QMenu* TimedEventDataWindow::CreateContextMenu()
{
    QMenu* menu = m_code->createStandardContextMenu();
    if (!menu)
        menu = new QMenu(m_code);
    menu->addSeparator();
    menu->addMenu(m_insertMenu);
    return menu;
}

void TimedEventDataWindow::InsertAtCaret(std::string_view bytes)
{
    QString text = ToQString(bytes, m_encoding);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const long caret = m_code->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
    m_code->SendScintilla(QsciScintillaBase::SCI_SETEMPTYSELECTION, static_cast<unsigned long>(caret));
    m_code->replaceSelectedText(text);
    m_code->ensureCursorVisible();
}

} // namespace zev
