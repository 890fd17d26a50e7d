#include <gtest/gtest.h>

#include "app/main_menu.h"

namespace zev {
namespace {

// The menu as a user sees it: visible captions, separators as "-".
std::vector<std::string> Shown(const MainMenuModel& model, MenuId id)
{
    std::vector<std::string> out;
    for (const MenuItem& item : model.GetMenu(id).items)
        if (item.visible)
            out.push_back(item.separator ? "-" : item.caption);
    return out;
}

std::vector<std::string> ShownMenus(const MainMenuModel& model)
{
    std::vector<std::string> out;
    for (const Menu& m : model.Menus())
        if (m.visible)
            out.push_back(m.caption);
    return out;
}

using Strings = std::vector<std::string>;

TEST(MainMenu, MenusAndItemsInOrderWithAllPartsShown)
{
    MainMenuModel m;
    m.SetImportPluginsLoaded(true);
    m.SetExportPluginsLoaded(true);
    m.SetToolPluginsLoaded(true);
    m.SetDeveloperMode(true);
    m.SetHelperScriptsFound(true);
    EXPECT_EQ(ShownMenus(m),
        (Strings { "File", "Global", "Dialogue", "View", "Plugins", "Developer stuff", "Helper Scripts", "Help" }));
    EXPECT_EQ(Shown(m, MenuId::File),
        (Strings { "New dialogue", "Load dialogue", "Save dialogue", "Save dialogue as...", "-", "Import", "Export",
            "-", "Preferences...", "-", "Quit" }));
    EXPECT_EQ(Shown(m, MenuId::Global), (Strings { "NPC properties", "Setup Player Character" }));
    EXPECT_EQ(Shown(m, MenuId::Dialogue),
        (Strings {
            "Dialogue transcripts...", "Save all transcripts", "-", "Dialogue editor...", "Custom procedures..." }));
    EXPECT_EQ(Shown(m, MenuId::View), (Strings { "Script console" }));
    EXPECT_EQ(Shown(m, MenuId::DeveloperStuff), (Strings { "Dump script commands", "Edit function descriptions" }));
    EXPECT_EQ(Shown(m, MenuId::Help), (Strings { "Dialogue Tool Help", "Check for updates...", "-", "About" }));
}

TEST(MainMenu, ShortcutsAndSubmenus)
{
    MainMenuModel m;
    EXPECT_EQ(m.Item(MenuCommand::NewDialogue).shortcut, "Ctrl+N");
    EXPECT_EQ(m.Item(MenuCommand::LoadDialogue).shortcut, "Ctrl+L");
    EXPECT_EQ(m.Item(MenuCommand::SaveDialogue).shortcut, "Ctrl+S");
    EXPECT_EQ(m.Item(MenuCommand::DialogueEditor).shortcut, "Ctrl+E");
    EXPECT_EQ(m.Item(MenuCommand::CustomProcedures).shortcut, "Ctrl+F1");
    EXPECT_EQ(m.Item(MenuCommand::DialogueToolHelp).shortcut, "F1");
    int withShortcut = 0, submenus = 0;
    for (const Menu& menu : m.Menus())
        for (const MenuItem& item : menu.items) {
            withShortcut += !item.shortcut.empty();
            submenus += item.submenu;
        }
    EXPECT_EQ(withShortcut, 6);
    EXPECT_EQ(submenus, 2);
    EXPECT_TRUE(m.Item(MenuCommand::Import).submenu);
    EXPECT_TRUE(m.Item(MenuCommand::Export).submenu);
    EXPECT_EQ(m.MenuOf(MenuCommand::About), MenuId::Help);
}

TEST(MainMenu, AtStartOnlyTheFixedMenusShowAndSeparatorsNeverDouble)
{
    MainMenuModel m;
    EXPECT_EQ(ShownMenus(m), (Strings { "File", "Global", "Dialogue", "View", "Help" }));
    // Import and Export hidden: their two separators collapse into one.
    EXPECT_EQ(Shown(m, MenuId::File),
        (Strings { "New dialogue", "Load dialogue", "Save dialogue", "Save dialogue as...", "-", "Preferences...", "-",
            "Quit" }));
    m.SetExportPluginsLoaded(true);
    EXPECT_EQ(Shown(m, MenuId::File),
        (Strings { "New dialogue", "Load dialogue", "Save dialogue", "Save dialogue as...", "-", "Export", "-",
            "Preferences...", "-", "Quit" }));
    m.SetExportPluginsLoaded(false);
    m.SetImportPluginsLoaded(true);
    EXPECT_EQ(Shown(m, MenuId::File)[5], "Import");
    EXPECT_EQ(Shown(m, MenuId::File)[6], "-");
}

TEST(MainMenu, VisibilityRulesAnnounceTheirChanges)
{
    MainMenuModel m;
    int changes = 0;
    m.changed.Connect([&] { ++changes; });
    m.SetDeveloperMode(true);
    EXPECT_TRUE(m.GetMenu(MenuId::DeveloperStuff).visible);
    m.SetDeveloperMode(true); // no change, no redraw
    EXPECT_EQ(changes, 1);
    m.SetHelperScriptsFound(true);
    m.SetHelperScriptsFound(false);
    EXPECT_FALSE(m.GetMenu(MenuId::HelperScripts).visible);
    m.SetToolPluginsLoaded(true);
    EXPECT_TRUE(m.GetMenu(MenuId::Plugins).visible);
    EXPECT_EQ(changes, 4);
}

TEST(MainMenu, UnbuiltCommandsAreDisabledWithTheNotAvailableTooltip)
{
    MainMenuModel m;
    for (const Menu& menu : m.Menus())
        for (const MenuItem& item : menu.items) {
            if (item.separator)
                continue;
            bool built = item.command == MenuCommand::Quit || item.command == MenuCommand::About;
            EXPECT_EQ(item.Usable(), built) << item.caption;
            EXPECT_EQ(item.Tooltip() == kNotAvailableYet, !built) << item.caption;
            EXPECT_FALSE(item.hint.empty()) << item.caption;
        }
    EXPECT_TRUE(m.CanTrigger(MenuCommand::Quit));
    EXPECT_FALSE(m.CanTrigger(MenuCommand::NewDialogue));
}

TEST(MainMenu, ACommandBecomesUsableWhenItsSubsystemArrives)
{
    MainMenuModel m;
    m.SetAvailable(MenuCommand::SaveDialogue);
    EXPECT_TRUE(m.CanTrigger(MenuCommand::SaveDialogue));
    EXPECT_EQ(m.Item(MenuCommand::SaveDialogue).Tooltip(), m.Item(MenuCommand::SaveDialogue).hint);
    // Its own state still counts: Save is off after a save until the next change.
    m.SetEnabled(MenuCommand::SaveDialogue, false);
    EXPECT_FALSE(m.CanTrigger(MenuCommand::SaveDialogue));
    m.SetEnabled(MenuCommand::SaveDialogue, true);
    EXPECT_TRUE(m.CanTrigger(MenuCommand::SaveDialogue));
    // Available but in a hidden menu or hidden itself: not reachable.
    m.SetAvailable(MenuCommand::DumpScriptCommands);
    EXPECT_FALSE(m.CanTrigger(MenuCommand::DumpScriptCommands));
    m.SetDeveloperMode(true);
    EXPECT_TRUE(m.CanTrigger(MenuCommand::DumpScriptCommands));
    m.SetAvailable(MenuCommand::Export);
    EXPECT_FALSE(m.CanTrigger(MenuCommand::Export));
}

} // namespace
} // namespace zev
