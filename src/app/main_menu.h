#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"

namespace zev {

// The fixed commands of the main window's menus. Entries that plug-ins and helper scripts add at run
// time are not commands of this list.
enum class MenuCommand {
    NewDialogue,
    LoadDialogue,
    SaveDialogue,
    SaveDialogueAs,
    Import,
    Export,
    Preferences,
    Quit,
    NpcProperties,
    SetupPlayerCharacter,
    DialogueTranscripts,
    SaveAllTranscripts,
    DialogueEditor,
    CustomProcedures,
    ScriptConsole,
    DumpScriptCommands,
    EditFunctionDescriptions,
    DialogueToolHelp,
    CheckForUpdates,
    About,
};

enum class MenuId { File, Global, Dialogue, View, Plugins, DeveloperStuff, HelperScripts, Help };

inline constexpr std::string_view kNotAvailableYet = "Not available yet.";

// One entry of a menu: a command or a separator.
struct MenuItem {
    bool separator = false;
    MenuCommand command = MenuCommand::Quit; // meaningless for a separator
    std::string caption;
    std::string shortcut; // "Ctrl+N"; empty when none
    std::string hint; // what the command does: status bar hint and tooltip
    bool submenu = false; // Import and Export hold the entries of their plug-ins
    bool visible = true; // for separators: computed, so no two stand together or at an end
    bool available = false; // the subsystem behind the command exists
    bool enabled = true; // the command's own state (Save dialogue after a save)

    bool Usable() const { return available && enabled; }
    // The hint, or "Not available yet." while the subsystem is missing.
    std::string_view Tooltip() const { return available ? std::string_view(hint) : kNotAvailableYet; }
};

struct Menu {
    MenuId id;
    std::string caption;
    bool visible = true;
    std::vector<MenuItem> items;
};

// The main window's menus as data: captions, shortcuts, separators, and the rules that show and hide
// them. The window builds its menu bar from it and redraws on `changed`.
class MainMenuModel {
public:
    MainMenuModel();

    const std::vector<Menu>& Menus() const { return m_menus; }
    const Menu& GetMenu(MenuId id) const;
    // The item of a command (never null: every command has exactly one item).
    const MenuItem& Item(MenuCommand command) const;
    MenuId MenuOf(MenuCommand command) const;

    // Visible and enabled, in a visible menu: what a user can actually pick.
    bool CanTrigger(MenuCommand command) const;

    // Import/Export submenus show once a plug-in of that kind is loaded.
    void SetImportPluginsLoaded(bool loaded);
    void SetExportPluginsLoaded(bool loaded);
    // The Plugins menu shows once a utility or development plug-in is loaded.
    void SetToolPluginsLoaded(bool loaded);
    // "Developer stuff" shows only in developer mode.
    void SetDeveloperMode(bool on);
    // "Helper Scripts" shows only when at least one helper script was registered.
    void SetHelperScriptsFound(bool found);

    // A subsystem announces that its command works now.
    void SetAvailable(MenuCommand command, bool available = true);
    void SetEnabled(MenuCommand command, bool enabled);

    // After any change of a flag.
    Signal<> changed;

private:
    MenuItem& MutableItem(MenuCommand command);
    Menu& MutableMenu(MenuId id);
    void SetItemVisible(MenuCommand command, bool visible);
    void SetMenuVisible(MenuId id, bool visible);
    void UpdateSeparators();

    std::vector<Menu> m_menus;
};

} // namespace zev
