#include "runner/gui/run_panel.h"

#include "app/main_menu.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QString Caption(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QPushButton* MakeButton(std::string_view caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(Caption(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QPlainTextEdit* MakeTextBox(const char* name, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    // Read-only, yet reachable with Tab and scrollable and copyable from the keyboard.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

// A caption above its box, bound to it as its buddy; lighter than a frame around a framed box.
QWidget* Captioned(std::string_view caption, QWidget* content, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    auto* label = new QLabel(Caption(caption), box);
    label->setBuddy(content);
    content->setAccessibleName(Caption(caption));
    layout->addWidget(label);
    layout->addWidget(content, 1);
    return box;
}

void Apply(QPushButton* button, const ControlState& state)
{
    button->setEnabled(state.enabled);
    button->setVisible(state.visible);
}

bool SameRows(const std::vector<OptionRow>& a, const std::vector<OptionRow>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].index != b[i].index || a[i].text != b[i].text || a[i].target != b[i].target)
            return false;
    return true;
}

// Replaces a read-only box's text only when it differs, so its scroll position survives redraws.
void SetBoxText(QPlainTextEdit* box, const QString& text)
{
    if (box->toPlainText() != text)
        box->setPlainText(text);
}

} // namespace

RunPanelWidget::RunPanelWidget(RunPanelModel& runner, TextEncoding encoding, QWidget* parent)
    : QWidget(parent)
    , m_runner(runner)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("runPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildButtonRow());

    auto* split = new QSplitter(Qt::Vertical, this);
    split->setChildrenCollapsible(false);
    split->addWidget(BuildTexts());
    split->addWidget(BuildOptions());
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    split->setSizes({ 220, 330 }); // the option list gets the larger share
    layout->addWidget(split, 1);

    m_changedConnection = m_runner.changed.Connect([this] { Redraw(); });
    Redraw();
}

RunPanelWidget::~RunPanelWidget()
{
    m_runner.changed.Disconnect(m_changedConnection);
}

QWidget* RunPanelWidget::BuildButtonRow()
{
    auto* box = new QWidget(this);
    auto* grid = new QVBoxLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* top = new QHBoxLayout;
    auto* startCaption = new QLabel(Caption(RunPanel::kStartNodeCaption), box);
    m_startNode = new QComboBox(box);
    m_startNode->setObjectName(QStringLiteral("startNode"));
    m_startNode->setEditable(true);
    m_startNode->setInsertPolicy(QComboBox::NoInsert);
    m_startNode->setMinimumContentsLength(24);
    m_startNode->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    startCaption->setBuddy(m_startNode);
    m_startNode->setAccessibleName(Caption(RunPanel::kStartNodeCaption));
    m_startNode->lineEdit()->setAccessibleName(Caption(RunPanel::kStartNodeCaption));
    // Enter in the box runs from the node typed or picked, as "Run dialogue" would.
    connect(m_startNode->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (m_run->isEnabled())
            m_runner.StartTestRun();
    });
    connect(m_startNode, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!m_redrawing)
            m_runner.SetStartNodeText(FromQString(text, m_encoding));
    });
    m_run = MakeButton(RunPanel::kRunCaption, "runButton", box);
    m_stop = MakeButton(RunPanel::kStopCaption, "stopButton", box);
    m_back = MakeButton(RunPanel::kBackCaption, "backButton", box);
    m_forward = MakeButton(RunPanel::kForwardCaption, "forwardButton", box);
    m_edit = MakeButton(RunPanel::kEditCaption, "editButton", box);
    m_editDialogue = MakeButton(RunPanel::kEditDialogueCaption, "editDialogueButton", box);
    m_editDialogue->setEnabled(false);
    m_editDialogue->setToolTip(QStringLiteral("Opens the Dialogue Editor (Ctrl+E)"));
    connect(m_editDialogue, &QPushButton::clicked, this, [this] {
        if (m_editDialogueHandler)
            m_editDialogueHandler();
    });
    // Browser-like keys for the node history.
    m_back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    m_forward->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Right));
    m_back->setToolTip(m_back->shortcut().toString(QKeySequence::NativeText));
    m_forward->setToolTip(m_forward->shortcut().toString(QKeySequence::NativeText));
    connect(m_run, &QPushButton::clicked, this, [this] { m_runner.StartTestRun(); });
    connect(m_stop, &QPushButton::clicked, this, [this] { m_runner.StopTestRun(); });
    connect(m_back, &QPushButton::clicked, this, [this] { m_runner.GoBack(); });
    connect(m_forward, &QPushButton::clicked, this, [this] { m_runner.GoForward(); });
    connect(m_edit, &QPushButton::clicked, this, [this] { m_runner.EditThisNode(); });
    top->addWidget(startCaption);
    top->addWidget(m_startNode);
    top->addWidget(m_run);
    top->addWidget(m_stop);
    top->addSpacing(12);
    top->addWidget(m_back);
    top->addWidget(m_forward);
    top->addSpacing(12);
    top->addWidget(m_edit);
    top->addStretch(1);
    top->addWidget(m_editDialogue);
    grid->addLayout(top);

    auto* second = new QHBoxLayout;
    m_currentNodeCaption = new QLabel(Caption(RunPanel::kCurrentNodeCaption), box);
    m_currentNodeCaption->setObjectName(QStringLiteral("currentNodeCaption"));
    m_nodeLabel = new QLineEdit(box);
    m_nodeLabel->setObjectName(QStringLiteral("nodelabel"));
    m_nodeLabel->setReadOnly(true);
    m_currentNodeCaption->setBuddy(m_nodeLabel);
    m_nodeLabel->setAccessibleName(Caption(RunPanel::kCurrentNodeCaption).chopped(1)); // without the colon
    QFont bold = m_nodeLabel->font();
    bold.setBold(true);
    m_nodeLabel->setFont(bold);
    second->addWidget(m_currentNodeCaption);
    second->addWidget(m_nodeLabel, 1);
    // Keeps the row's height while both are hidden, so the panel does not jump when a run starts.
    auto* keeper = new QWidget(box);
    keeper->setFixedSize(0, m_nodeLabel->sizeHint().height());
    second->addWidget(keeper);
    grid->addLayout(second);
    return box;
}

QWidget* RunPanelWidget::BuildTexts()
{
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setChildrenCollapsible(false);
    m_npcLine = MakeTextBox("npcLine", split);
    QFont larger = m_npcLine->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.25);
    m_npcLine->setFont(larger);
    split->addWidget(Captioned(RunPanel::kNpcLineCaption, m_npcLine, split));

    auto* notes = new QWidget(split);
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    m_nodeNotes = MakeTextBox("nodeNotes", notes);
    m_optionNotes = MakeTextBox("optionNotes", notes);
    notesLayout->addWidget(Captioned(RunPanel::kNodeNotesCaption, m_nodeNotes, notes));
    notesLayout->addWidget(Captioned(RunPanel::kOptionNotesCaption, m_optionNotes, notes));
    split->addWidget(notes);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    return split;
}

QWidget* RunPanelWidget::BuildOptions()
{
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    m_options = new QTreeWidget(box);
    m_options->setObjectName(QStringLiteral("playerOptions"));
    m_options->setColumnCount(3);
    m_options->setHeaderLabels({ Caption(RunPanel::kOptionColumns[0]), Caption(RunPanel::kOptionColumns[1]),
        Caption(RunPanel::kOptionColumns[2]) });
    m_options->setRootIsDecorated(false);
    m_options->setUniformRowHeights(true);
    m_options->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_options->setSelectionMode(QAbstractItemView::SingleSelection);
    m_options->setAlternatingRowColors(true);
    QHeaderView* header = m_options->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    header->setSectionResizeMode(2, QHeaderView::Interactive);
    header->resizeSection(2, 180);
    connect(m_options, &QTreeWidget::itemClicked, this,
        [this](QTreeWidgetItem* item) { m_runner.DescribeOption(RowOf(item)); });
    connect(m_options, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* item) { m_runner.ChooseOption(RowOf(item)); });
    // The keyboard's single and double click: moving to a row describes it, Enter chooses it.
    connect(m_options, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!m_redrawing && item && m_options->hasFocus())
            m_runner.DescribeOption(RowOf(item));
    });
    m_options->installEventFilter(this);

    m_hiddenOptions = new QLabel(box);
    m_hiddenOptions->setObjectName(QStringLiteral("hiddenopts"));
    m_hiddenOptions->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = m_hiddenOptions->font();
    bold.setBold(true);
    m_hiddenOptions->setFont(bold);

    layout->addWidget(Captioned(RunPanel::kOptionsCaption, m_options, box), 1);
    layout->addWidget(m_hiddenOptions);
    return box;
}

bool RunPanelWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_options && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && m_options->currentItem()) {
            m_runner.ChooseOption(RowOf(m_options->currentItem()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

int RunPanelWidget::RowOf(const void* item) const
{
    for (int i = 0; i < m_options->topLevelItemCount(); ++i)
        if (m_options->topLevelItem(i) == item)
            return i;
    return -1;
}

QString RunPanelWidget::Text(std::string_view bytes) const
{
    return ToDisplayText(bytes, m_encoding);
}

void RunPanelWidget::SetEditDialogueHandler(std::function<void()> handler)
{
    m_editDialogueHandler = std::move(handler);
    m_editDialogue->setEnabled(static_cast<bool>(m_editDialogueHandler));
}

void RunPanelWidget::SetNodeEditorAvailable(bool available)
{
    m_editorAvailable = available;
    Redraw();
}

void RunPanelWidget::Redraw()
{
    const RunPanel& p = m_runner.panel();
    m_redrawing = true;
    RedrawStartNodeBox(p);
    Apply(m_run, p.runButton);
    Apply(m_stop, p.stopButton);
    Apply(m_back, p.backButton);
    Apply(m_forward, p.forwardButton);
    Apply(m_edit, p.editButton);
    if (!m_editorAvailable) {
        m_edit->setEnabled(false);
        m_edit->setToolTip(Caption(kNotAvailableYet));
    } else {
        m_edit->setToolTip(QString());
    }
    m_currentNodeCaption->setVisible(p.currentNodeCaptionVisible);
    m_nodeLabel->setVisible(p.nodeLabelVisible);
    m_nodeLabel->setText(ToQString(p.nodeLabel, m_encoding));
    SetBoxText(m_npcLine, Text(p.npcLine));
    SetBoxText(m_nodeNotes, Text(p.nodeNotes));
    SetBoxText(m_optionNotes, Text(p.optionNotes));
    RedrawOptions(p);
    m_hiddenOptions->setText(ToQString(p.hiddenOptions, m_encoding));
    m_redrawing = false;
}

void RunPanelWidget::RedrawStartNodeBox(const RunPanel& p)
{
    if (p.startNodeItems != m_shownItems) {
        m_startNode->clear();
        for (const std::string& name : p.startNodeItems)
            m_startNode->addItem(ToQString(name, m_encoding));
        m_shownItems = p.startNodeItems;
    }
    QString text = ToQString(p.startNodeText, m_encoding);
    if (m_startNode->currentText() != text) {
        int found = m_startNode->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found >= 0)
            m_startNode->setCurrentIndex(found);
        m_startNode->setEditText(text);
    }
}

// Rebuilt only when the rows changed: a single click redraws the notes and must keep the selection.
void RunPanelWidget::RedrawOptions(const RunPanel& p)
{
    if (SameRows(p.options, m_shownOptions))
        return;
    m_options->clear();
    QList<QTreeWidgetItem*> items;
    for (const OptionRow& row : p.options) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, QString::number(row.index));
        item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(1, ToQString(row.text, m_encoding));
        item->setToolTip(1, ToDisplayText(row.text, m_encoding));
        item->setText(2, ToQString(row.target, m_encoding));
        items << item;
    }
    m_options->addTopLevelItems(items);
    // Rebuilt from inside the list's own double-click handling: make sure all of it repaints.
    m_options->viewport()->update();
    m_shownOptions = p.options;
}

} // namespace zev
