#include "app/main_menu.h"

#include <stdexcept>

namespace zev {

namespace {

MenuItem Command(MenuCommand command, std::string caption, std::string shortcut, std::string hint, bool submenu = false)
{
    MenuItem item;
    item.command = command;
    item.caption = std::move(caption);
    item.shortcut = std::move(shortcut);
    item.hint = std::move(hint);
    item.submenu = submenu;
    return item;
}

MenuItem Separator()
{
    MenuItem item;
    item.separator = true;
    return item;
}

std::vector<Menu> BuildMenus()
{
    using C = MenuCommand;
    std::vector<Menu> menus;
    menus.push_back({ MenuId::File, "File", true,
        {
            Command(C::NewDialogue, "New dialogue", "Ctrl+N", "Start a new, empty dialogue"),
            Command(C::LoadDialogue, "Load dialogue", "Ctrl+L", "Open a dialogue file"),
            Command(C::SaveDialogue, "Save dialogue", "Ctrl+S", "Save the dialogue to its file"),
            Command(C::SaveDialogueAs, "Save dialogue as...", "", "Save the dialogue under a new name"),
            Separator(),
            Command(C::Import, "Import", "", "Read a dialogue through an import plug-in", true),
            Command(C::Export, "Export", "", "Write the dialogue through an export plug-in", true),
            Separator(),
            Command(C::Preferences, "Preferences...", "", "Change the program's settings"),
            Separator(),
            Command(C::Quit, "Quit", "", "Close the program"),
        } });
    menus.push_back({ MenuId::Global, "Global", true,
        {
            Command(C::NpcProperties, "NPC properties", "", "Edit the NPC's name, location and descriptions"),
            Command(C::SetupPlayerCharacter, "Setup Player Character", "", "Set up the player character of test runs"),
        } });
    menus.push_back({ MenuId::Dialogue, "Dialogue", true,
        {
            Command(C::DialogueTranscripts, "Dialogue transcripts...", "", "Show the transcripts of the test runs"),
            Command(C::SaveAllTranscripts, "Save all transcripts", "", "Save the transcripts of all test runs"),
            Separator(),
            Command(C::DialogueEditor, "Dialogue editor...", "Ctrl+E", "Edit the nodes and player options"),
            Command(C::CustomProcedures, "Custom procedures...", "Ctrl+F1", "Edit the dialogue's custom procedures"),
        } });
    menus.push_back({ MenuId::View, "View", true,
        {
            Command(C::ScriptConsole, "Script console", "",
                "Show the script console: what scripts print, and a line to run"),
        } });
    menus.push_back({ MenuId::Plugins, "Plugins", false, {} });
    menus.push_back({ MenuId::DeveloperStuff, "Developer stuff", false,
        {
            Command(C::DumpScriptCommands, "Dump script commands", "", "Write the list of script functions"),
            Command(C::EditFunctionDescriptions, "Edit function descriptions", "",
                "Edit the descriptions of the script functions"),
        } });
    menus.push_back({ MenuId::HelperScripts, "Helper Scripts", false, {} });
    menus.push_back({ MenuId::Help, "Help", true,
        {
            Command(C::DialogueToolHelp, "Dialogue Tool Help", "F1", "Open the help file"),
            Command(C::CheckForUpdates, "Check for updates...", "", "Look for a newer version"),
            Separator(),
            Command(C::About, "About", "", "Show the program version"),
        } });
    return menus;
}

} // namespace

MainMenuModel::MainMenuModel()
    : m_menus(BuildMenus())
{
    // Hidden until a plug-in of their kind is loaded.
    MutableItem(MenuCommand::Import).visible = false;
    MutableItem(MenuCommand::Export).visible = false;
    MutableItem(MenuCommand::Quit).available = true;
    MutableItem(MenuCommand::About).available = true;
    UpdateSeparators();
}

const Menu& MainMenuModel::GetMenu(MenuId id) const
{
    for (const Menu& m : m_menus)
        if (m.id == id)
            return m;
    throw std::logic_error("menu missing from the main menu table");
}

Menu& MainMenuModel::MutableMenu(MenuId id)
{
    return const_cast<Menu&>(GetMenu(id));
}

const MenuItem& MainMenuModel::Item(MenuCommand command) const
{
    for (const Menu& m : m_menus)
        for (const MenuItem& item : m.items)
            if (!item.separator && item.command == command)
                return item;
    throw std::logic_error("command missing from the main menu table");
}

MenuItem& MainMenuModel::MutableItem(MenuCommand command)
{
    return const_cast<MenuItem&>(Item(command));
}

MenuId MainMenuModel::MenuOf(MenuCommand command) const
{
    for (const Menu& m : m_menus)
        for (const MenuItem& item : m.items)
            if (!item.separator && item.command == command)
                return m.id;
    throw std::logic_error("command missing from the main menu table");
}

bool MainMenuModel::CanTrigger(MenuCommand command) const
{
    const MenuItem& item = Item(command);
    return item.visible && item.Usable() && GetMenu(MenuOf(command)).visible;
}

void MainMenuModel::SetImportPluginsLoaded(bool loaded)
{
    SetItemVisible(MenuCommand::Import, loaded);
}
void MainMenuModel::SetExportPluginsLoaded(bool loaded)
{
    SetItemVisible(MenuCommand::Export, loaded);
}
void MainMenuModel::SetToolPluginsLoaded(bool loaded)
{
    SetMenuVisible(MenuId::Plugins, loaded);
}
void MainMenuModel::SetDeveloperMode(bool on)
{
    SetMenuVisible(MenuId::DeveloperStuff, on);
}
void MainMenuModel::SetHelperScriptsFound(bool found)
{
    SetMenuVisible(MenuId::HelperScripts, found);
}

void MainMenuModel::SetAvailable(MenuCommand command, bool available)
{
    MenuItem& item = MutableItem(command);
    if (item.available == available)
        return;
    item.available = available;
    changed.Emit();
}

void MainMenuModel::SetEnabled(MenuCommand command, bool enabled)
{
    MenuItem& item = MutableItem(command);
    if (item.enabled == enabled)
        return;
    item.enabled = enabled;
    changed.Emit();
}

void MainMenuModel::SetItemVisible(MenuCommand command, bool visible)
{
    MenuItem& item = MutableItem(command);
    if (item.visible == visible)
        return;
    item.visible = visible;
    UpdateSeparators();
    changed.Emit();
}

void MainMenuModel::SetMenuVisible(MenuId id, bool visible)
{
    Menu& menu = MutableMenu(id);
    if (menu.visible == visible)
        return;
    menu.visible = visible;
    changed.Emit();
}

void MainMenuModel::UpdateSeparators()
{
    // A separator shows only between two visible commands, so hiding Import and Export leaves one
    // separator between "Save dialogue as..." and "Preferences...", not two.
    for (Menu& menu : m_menus) {
        MenuItem* pending = nullptr;
        bool sawCommand = false;
        for (MenuItem& item : menu.items) {
            if (item.separator) {
                item.visible = false;
                if (sawCommand && !pending)
                    pending = &item;
            } else if (item.visible) {
                if (pending)
                    pending->visible = true;
                pending = nullptr;
                sawCommand = true;
            }
        }
    }
}

} // namespace zev
