#pragma once

#include "app/main_menu.h"
#include "base/codepage.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QSet>

class QAction;
class QLabel;
class QMenu;

namespace zev {

class App;
class AboutPluginsModel;

// The caption with an Alt+letter mnemonic on a letter not in taken (then taken); its own
// ampersands stay literal.
QString WithMnemonic(const QString& caption, QSet<QChar>& taken);

// The exact texts of the close request.
inline constexpr std::string_view kCannotCloseWhileStartingUp
    = "Cannot close program while starting up!\r\n\r\n\"Patience, young padawan...\"";
// "Save changes to dialogue '" + name + "'" CR LF "before closing ZEV Dialogue Tool?"
std::string CloseSaveQueryText(std::string_view currentFileName);

// The main window: the menus of MainMenuModel, a one-text status bar, the title of the App, and
// the close request's checks. Commands reach the subsystems through handlers registered per
// command; Quit and About are built in.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(App& app, MainMenuModel& menus, TextEncoding encoding = TextEncoding::Cp1252, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What a command does when picked. A command also needs to be available in the menu model.
    void SetCommandHandler(MenuCommand command, std::function<void()> handler);
    // Runs a command as the menu would; false when it cannot be picked now.
    bool Trigger(MenuCommand command);

    QAction* ActionFor(MenuCommand command) const;
    QMenu* MenuFor(MenuId id) const;
    // The menu's entries as built, separators included, in order.
    QList<QAction*> MenuActions(MenuId id) const;

    void SetStatusText(std::string_view text);
    QString StatusText() const;

    // The close request's checks: refused while starting up; unsaved changes asked about.
    bool QueryClose();

    void ShowAbout();

    // Entries that plug-ins and scripts add at run time: caption, shortcut text, and the tag
    // handed back when one is picked.
    struct DynamicEntry {
        std::string caption;
        std::string shortcut;
        int tag = 0;
    };
    using PickHandler = std::function<void(int tag)>;
    // The entries of a submenu item (Import, Export) or of a whole menu (Plugins), replacing
    // what it held.
    void SetSubmenuEntries(MenuCommand submenu, const std::vector<DynamicEntry>& entries, PickHandler onPick);
    void SetMenuEntries(MenuId menu, const std::vector<DynamicEntry>& entries, PickHandler onPick);
    // Entries placed right after a command's item (update plug-ins after "Check for updates...").
    void SetEntriesAfter(MenuCommand anchor, const std::vector<DynamicEntry>& entries, PickHandler onPick);
    // The "Helper Scripts" menu: one submenu per category.
    struct DynamicSubmenu {
        std::string caption;
        std::vector<DynamicEntry> entries;
    };
    void SetSubmenus(MenuId menu, const std::vector<DynamicSubmenu>& submenus, PickHandler onPick);
    // The About box's counts: script functions and loaded plug-ins.
    void SetAboutCounts(std::function<std::pair<int, int>()> counts) { m_aboutCounts = std::move(counts); }
    // The About box's plug-in page.
    void SetAboutPlugins(AboutPluginsModel* plugins) { m_aboutPlugins = plugins; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A text field of this window (the start-node box, the console's line) would take the keys of
    // the menus' shortcuts as its own editing keys (Ctrl+E: end of line on X11): the menus get them.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct BuiltMenu {
        MenuId id;
        QMenu* menu;
        std::vector<QAction*> actions; // parallel to the model's items
    };

    QString SummaryText() const;
    QAction* MakeEntry(QMenu* menu, const DynamicEntry& entry, const PickHandler& onPick);
    void BuildMenus();
    void SyncMenus();
    void CenterOnScreen();

    App& m_app;
    MainMenuModel& m_menus;
    TextEncoding m_encoding;
    std::vector<BuiltMenu> m_built;
    std::map<MenuCommand, std::function<void()>> m_handlers;
    QLabel* m_status = nullptr;
    std::size_t m_titleConnection = 0;
    std::size_t m_modifiedConnection = 0;
    std::size_t m_menuConnection = 0;
    std::function<std::pair<int, int>()> m_aboutCounts;
    AboutPluginsModel* m_aboutPlugins = nullptr;
    std::map<int, std::vector<QAction*>> m_afterEntries;
};

} // namespace zev
