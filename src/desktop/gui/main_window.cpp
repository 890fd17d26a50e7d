#include "desktop/gui/main_window.h"

#include "app/shell_commands.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QSet>
#include <QStatusBar>

#include "app/app.h"
#include "app/gui/qt_text.h"
#include "desktop/gui/about_dialog.h"

namespace zev {

namespace {

// A caption shown literally: an ampersand of its own is not a mnemonic.
QString Literal(const QString& caption)
{
    QString out = caption;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

QString WithMnemonic(const QString& caption, QSet<QChar>& taken)
{
    // The first letter of a word if it is still free, else any free letter: Alt+letter for every
    // entry of a menu, the way desktop menus are reached from the keyboard.
    QString text = Literal(caption);
    auto mark = [&](qsizetype at) {
        taken.insert(text[at].toLower());
        return text.left(at) + QLatin1Char('&') + text.mid(at);
    };
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && (i == 0 || text[i - 1] == QLatin1Char(' ')) && !taken.contains(text[i].toLower()))
            return mark(i);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && !taken.contains(text[i].toLower()))
            return mark(i);
    return text;
}

std::string CloseSaveQueryText(std::string_view currentFileName)
{
    std::string text = "Save changes to dialogue '";
    text += currentFileName;
    text += "'\r\nbefore closing ZEV Dialogue Tool?";
    return text;
}

MainWindow::MainWindow(App& app, MainMenuModel& menus, TextEncoding encoding, QWidget* parent)
    : QMainWindow(parent)
    , m_app(app)
    , m_menus(menus)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("mainWindow"));
    auto* placeholder = new QLabel(QStringLiteral("No dialogue loaded"), this);
    placeholder->setObjectName(QStringLiteral("placeholder"));
    placeholder->setAlignment(Qt::AlignCenter);
    placeholder->setEnabled(false); // drawn greyed: nothing to act on
    setCentralWidget(placeholder);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusText"));
    m_status->setContentsMargins(4, 0, 4, 0);
    statusBar()->addWidget(m_status, 1);

    BuildMenus();
    m_menuConnection = m_menus.changed.Connect([this] { SyncMenus(); });
    qApp->installEventFilter(this);

    setWindowTitle(ToQString(m_app.title(), m_encoding));
    // The test-run panel may replace the placeholder as the central widget, deleting it.
    m_titleConnection
        = m_app.titleChanged.Connect([this, summary = QPointer<QLabel>(placeholder)](const std::string& title) {
              setWindowTitle(ToQString(title, m_encoding));
              if (summary)
                  summary->setText(SummaryText());
          });
    // A change makes the dialogue worth saving again, even after a save disabled the item.
    m_modifiedConnection = m_app.modifiedChanged.Connect([this](bool modified) {
        if (modified)
            m_menus.SetEnabled(MenuCommand::SaveDialogue, true);
    });

    resize(900, 620);
    CenterOnScreen();
}

// While the placeholder holds the centre: what is loaded.
QString MainWindow::SummaryText() const
{
    const dialog& d = m_app.dlg();
    if (d.node_count == 0 && d.npc_name.empty())
        return QStringLiteral("No dialogue loaded");
    QString npc = d.npc_name.empty() ? QStringLiteral("(no NPC name)") : ToQString(d.npc_name.view(), m_encoding);
    return QStringLiteral("%1\n%2 nodes, %3 float nodes, %4 timed events, %5 start conditions")
        .arg(npc)
        .arg(d.node_count)
        .arg(d.float_node_count)
        .arg(d.timed_event_count)
        .arg(d.start_condition_count);
}

MainWindow::~MainWindow()
{
    m_app.titleChanged.Disconnect(m_titleConnection);
    m_app.modifiedChanged.Disconnect(m_modifiedConnection);
    m_menus.changed.Disconnect(m_menuConnection);
}

void MainWindow::BuildMenus()
{
    // File and Help keep the letters every desktop program gives them.
    QSet<QChar> menuLetters;
    std::map<MenuId, QString> titles;
    for (MenuId first : { MenuId::File, MenuId::Help })
        titles[first] = WithMnemonic(QString::fromStdString(m_menus.GetMenu(first).caption), menuLetters);
    for (const Menu& menu : m_menus.Menus())
        if (!titles.count(menu.id))
            titles[menu.id] = WithMnemonic(QString::fromStdString(menu.caption), menuLetters);
    for (const Menu& menu : m_menus.Menus()) {
        QMenu* qmenu = menuBar()->addMenu(titles[menu.id]);
        qmenu->setToolTipsVisible(true);
        BuiltMenu built { menu.id, qmenu, {} };
        QSet<QChar> itemLetters;
        for (const MenuItem& item : menu.items) {
            QAction* action = nullptr;
            if (item.separator) {
                action = qmenu->addSeparator();
            } else if (item.submenu) {
                QMenu* sub = qmenu->addMenu(WithMnemonic(QString::fromStdString(item.caption), itemLetters));
                sub->setToolTipsVisible(true);
                action = sub->menuAction();
            } else {
                action = qmenu->addAction(WithMnemonic(QString::fromStdString(item.caption), itemLetters));
                if (!item.shortcut.empty())
                    action->setShortcut(QKeySequence(QString::fromStdString(item.shortcut)));
                MenuCommand command = item.command;
                connect(action, &QAction::triggered, this, [this, command] { Trigger(command); });
            }
            built.actions.push_back(action);
        }
        m_built.push_back(std::move(built));
    }
    SyncMenus();
}

void MainWindow::SyncMenus()
{
    for (BuiltMenu& built : m_built) {
        const Menu& menu = m_menus.GetMenu(built.id);
        built.menu->menuAction()->setVisible(menu.visible);
        for (std::size_t i = 0; i < menu.items.size() && i < built.actions.size(); ++i) {
            const MenuItem& item = menu.items[i];
            QAction* action = built.actions[i];
            action->setVisible(item.visible);
            if (item.separator)
                continue;
            action->setEnabled(item.Usable());
            QString tip = QString::fromUtf8(item.Tooltip().data(), static_cast<qsizetype>(item.Tooltip().size()));
            action->setToolTip(tip);
            action->setStatusTip(tip);
        }
    }
}

void MainWindow::CenterOnScreen()
{
    if (QScreen* s = screen()) {
        QRect area = s->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void MainWindow::SetCommandHandler(MenuCommand command, std::function<void()> handler)
{
    m_handlers[command] = std::move(handler);
}

bool MainWindow::Trigger(MenuCommand command)
{
    if (!m_menus.CanTrigger(command))
        return false;
    if (auto it = m_handlers.find(command); it != m_handlers.end() && it->second) {
        it->second();
        return true;
    }
    switch (command) {
    case MenuCommand::Quit:
        close();
        return true;
    case MenuCommand::About:
        ShowAbout();
        return true;
    default:
        return false;
    }
}

QAction* MainWindow::ActionFor(MenuCommand command) const
{
    for (const BuiltMenu& built : m_built) {
        const Menu& menu = m_menus.GetMenu(built.id);
        for (std::size_t i = 0; i < menu.items.size(); ++i)
            if (!menu.items[i].separator && menu.items[i].command == command)
                return built.actions[i];
    }
    return nullptr;
}

QMenu* MainWindow::MenuFor(MenuId id) const
{
    for (const BuiltMenu& built : m_built)
        if (built.id == id)
            return built.menu;
    return nullptr;
}

QList<QAction*> MainWindow::MenuActions(MenuId id) const
{
    QMenu* menu = MenuFor(id);
    return menu ? menu->actions() : QList<QAction*> {};
}

void MainWindow::SetStatusText(std::string_view text)
{
    m_status->setText(ToQString(text, m_encoding));
}

QString MainWindow::StatusText() const
{
    return m_status->text();
}

bool MainWindow::QueryClose()
{
    return CloseQuery(m_app);
}

QAction* MainWindow::MakeEntry(QMenu* menu, const DynamicEntry& entry, const PickHandler& onPick)
{
    auto* action = new QAction(Literal(ToQString(entry.caption, m_encoding)), menu);
    if (!entry.shortcut.empty())
        action->setShortcut(QKeySequence(QString::fromStdString(entry.shortcut)));
    int tag = entry.tag;
    connect(action, &QAction::triggered, this, [onPick, tag] {
        if (onPick)
            onPick(tag);
    });
    return action;
}

void MainWindow::SetSubmenuEntries(MenuCommand submenu, const std::vector<DynamicEntry>& entries, PickHandler onPick)
{
    QAction* item = ActionFor(submenu);
    QMenu* menu = item ? item->menu() : nullptr;
    if (!menu)
        return;
    menu->clear();
    for (const DynamicEntry& e : entries)
        menu->addAction(MakeEntry(menu, e, onPick));
}

void MainWindow::SetMenuEntries(MenuId id, const std::vector<DynamicEntry>& entries, PickHandler onPick)
{
    QMenu* menu = MenuFor(id);
    if (!menu)
        return;
    menu->clear();
    for (const DynamicEntry& e : entries)
        menu->addAction(MakeEntry(menu, e, onPick));
}

void MainWindow::SetSubmenus(MenuId id, const std::vector<DynamicSubmenu>& submenus, PickHandler onPick)
{
    QMenu* menu = MenuFor(id);
    if (!menu)
        return;
    menu->clear();
    for (const DynamicSubmenu& s : submenus) {
        QMenu* sub = menu->addMenu(Literal(ToQString(s.caption, m_encoding)));
        for (const DynamicEntry& e : s.entries)
            sub->addAction(MakeEntry(sub, e, onPick));
    }
}

void MainWindow::SetEntriesAfter(MenuCommand anchor, const std::vector<DynamicEntry>& entries, PickHandler onPick)
{
    QAction* after = ActionFor(anchor);
    QMenu* menu = MenuFor(m_menus.MenuOf(anchor));
    if (!after || !menu)
        return;
    auto& previous = m_afterEntries[static_cast<int>(anchor)];
    for (QAction* a : previous) {
        menu->removeAction(a);
        a->deleteLater();
    }
    previous.clear();
    QList<QAction*> actions = menu->actions();
    qsizetype at = actions.indexOf(after);
    QAction* before = (at >= 0 && at + 1 < actions.size()) ? actions[at + 1] : nullptr;
    for (const DynamicEntry& e : entries) {
        QAction* a = MakeEntry(menu, e, onPick);
        menu->insertAction(before, a);
        previous.push_back(a);
    }
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    for (const BuiltMenu& built : m_built)
        for (QAction* action : built.actions)
            if (action && action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == pressed)
                return true; // not taken as an editing key by the field: the shortcut runs
    return false;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (QueryClose())
        event->accept();
    else
        event->ignore();
}

void MainWindow::ShowAbout()
{
    AboutInfo info { ZEV_VERSION_TEXT, m_app.buildDateText(), m_aboutCounts ? m_aboutCounts().first : 0,
        m_aboutCounts ? m_aboutCounts().second : 0 };
    AboutDialog about(info, this, m_aboutPlugins);
    about.exec();
}

} // namespace zev
