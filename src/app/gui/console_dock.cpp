#include "app/gui/console_dock.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QString Text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

ConsoleDock::ConsoleDock(ConsoleWindowModel& model, TextEncoding encoding, QWidget* parent)
    : QDockWidget(Text(ConsoleWindowModel::kCaption), parent)
    , m_model(model)
    , m_encoding(encoding)
    , m_output(new QPlainTextEdit)
    , m_input(new QLineEdit)
    , m_run(new QPushButton(Text(ConsoleWindowModel::kRunCaption)))
{
    setObjectName(QStringLiteral("ScriptConsole"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea | Qt::RightDockWidgetArea);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(6, 4, 6, 6);

    m_output->setReadOnly(true);
    m_output->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_output->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_output->setMaximumBlockCount(static_cast<int>(ConsoleWindowModel::kMaxLines));
    m_output->setAccessibleName(Text(ConsoleWindowModel::kCaption));
    layout->addWidget(m_output, 1);

    auto* row = new QHBoxLayout;
    auto* label = new QLabel(Text(ConsoleWindowModel::kInputLabel), body);
    label->setBuddy(m_input);
    m_input->setAccessibleName(QStringLiteral("Script line"));
    m_input->setFont(m_output->font());
    m_input->setPlaceholderText(QStringLiteral("Help; ListNodes; Print('...')"));
    m_input->installEventFilter(this);
    auto* clear = new QPushButton(Text(ConsoleWindowModel::kClearCaption), body);
    row->addWidget(label);
    row->addWidget(m_input, 1);
    row->addWidget(m_run);
    row->addWidget(clear);
    layout->addLayout(row);
    setWidget(body);
    setMinimumHeight(110);

    for (const std::string& line : model.lines())
        m_output->appendPlainText(ToQString(line, encoding));
    connect(m_input, &QLineEdit::returnPressed, this, [this] { RunInput(); });
    connect(m_run, &QPushButton::clicked, this, [this] { RunInput(); });
    connect(clear, &QPushButton::clicked, this, [this] { m_model.Clear(); });
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool on) {
        // A dock hidden behind a tab is not closed: only the close button hides the console.
        if (on || isHidden())
            m_model.SetVisible(on);
    });

    m_appendedId = model.appended.Connect([this](const std::string& line) {
        m_output->appendPlainText(ToQString(line, m_encoding));
        m_output->verticalScrollBar()->setValue(m_output->verticalScrollBar()->maximum());
    });
    m_clearedId = model.cleared.Connect([this] { m_output->clear(); });
    m_visibleId = model.visibilityChanged.Connect([this](bool on) { setVisible(on); });
    setVisible(model.visible());
}

ConsoleDock::~ConsoleDock()
{
    m_model.appended.Disconnect(m_appendedId);
    m_model.cleared.Disconnect(m_clearedId);
    m_model.visibilityChanged.Disconnect(m_visibleId);
}

void ConsoleDock::RunInput()
{
    const std::string line = FromQString(m_input->text(), m_encoding);
    m_input->clear();
    m_recall = -1;
    m_model.Run(line);
}

void ConsoleDock::Recall(int step)
{
    const auto& history = m_model.history();
    if (history.empty())
        return;
    const int count = static_cast<int>(history.size());
    int next = m_recall < 0 ? (step < 0 ? count - 1 : -1) : m_recall + step;
    if (next >= count) {
        m_recall = -1;
        m_input->clear();
        return;
    }
    if (next < 0)
        return;
    m_recall = next;
    m_input->setText(ToQString(history[static_cast<std::size_t>(next)], m_encoding));
}

bool ConsoleDock::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_input && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Recall(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

} // namespace zev
