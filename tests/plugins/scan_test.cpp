#include "plugin_fixture.h"

#include "app/main_menu.h"
#include "app/settings.h"

namespace zev::test {
namespace {

using Scan = PluginFixture;

TEST_F(Scan, VersionsAreCheckedOnTheMinorPartAndRejectedOnesStayListedWithoutEntry)
{
    for (const char* f : { "Utility_v024.so", "Utility_v025.so", "Utility_v0x.so", "Utility_v10.so", "Utility_v130.so",
             "Utility_vempty.so" })
        Add(f);
    host.ScanAll();

    ASSERT_EQ(host.plugins().size(), 6u);
    EXPECT_EQ(Captions(PluginMenu::Plugins), (std::vector<std::string> { "v025", "v130", "vempty" }));
    EXPECT_EQ(host.plugins()[5].InterfaceVersion, "0.25"); // the empty answer
    EXPECT_TRUE(Logged("Loading generic plugins..."));
    EXPECT_TRUE(Logged(" --> v024"));
    EXPECT_TRUE(
        Logged(PluginsFolder() + "/Utility_v024.so has incompatible interface version (0.24), plugin not loaded."));
    EXPECT_TRUE(
        Logged(PluginsFolder() + "/Utility_v10.so has incompatible interface version (1.0), plugin not loaded."));

    auto boxes = BoxTexts();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0],
        "The plugin '" + PluginsFolder()
            + "/Utility_v024.so' is not compatible with this\r\nversion of the dialogue tool. \r\n"
              "The plugin has not been loaded.\r\n\r\nExpected minimum interface version is 0.25\r\n"
              "Interface version returned by the plugin was 0.24\r\n\r\nThe plugin should be recompiled "
              "with the\r\nmost current plugin API version.");
    EXPECT_EQ(boxes[1],
        "Plugin \"" + PluginsFolder() + "/Utility_v0x.so\" returned a blank string for version, plugin rejected.");
    EXPECT_NE(boxes[2].find("Utility_v10.so' is not compatible"), std::string::npos);
    EXPECT_EQ(dialogs.History()[1].icon, MsgIcon::Warning);
}

TEST(InterfaceVersion, MinorPartDecides)
{
    EXPECT_TRUE(CheckInterfaceVersion("0.25").accepted);
    EXPECT_TRUE(CheckInterfaceVersion("7.99").accepted);
    EXPECT_TRUE(CheckInterfaceVersion("25").accepted); // no point: the whole text
    EXPECT_FALSE(CheckInterfaceVersion("1.0").accepted);
    EXPECT_FALSE(CheckInterfaceVersion("0.x").isNumber);
    EXPECT_FALSE(CheckInterfaceVersion("0.25.1").isNumber);
    EXPECT_FALSE(CheckInterfaceVersion("0.").isNumber);
    EXPECT_FALSE(CheckInterfaceVersion("0.99999999999999999999").isNumber);
}

TEST_F(Scan, NoVersionAsksWhenWarningsAreOnAndAcceptsSilentlyWhenOff)
{
    const std::string path = Add("Utility_noversion.so");
    dialogs.PushButton(MsgResult::No);
    host.ScanAll();
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.History()[0].text,
        path
            + " contains no interface version. Plugin is probably unsafe.\r\n"
              "Do you wish to allow loading of this plugin?");
    EXPECT_EQ(dialogs.History()[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(Logged(path + " contains no interface version. Plugin is probably unsafe!"));
    EXPECT_TRUE(Captions(PluginMenu::Plugins).empty());

    dialogs.PushButton(MsgResult::Yes);
    host.ScanAll();
    EXPECT_EQ(Captions(PluginMenu::Plugins), std::vector<std::string> { "noversion" });

    ASSERT_TRUE(app.config().WriteBool(kSectionGlobalConfig, kKeyPluginCompatibilityWarnings, false));
    dialogs.ClearHistory();
    host.ScanAll();
    EXPECT_TRUE(dialogs.History().empty());
    EXPECT_EQ(Captions(PluginMenu::Plugins), std::vector<std::string> { "noversion" }); // cleared, then added again
    EXPECT_EQ(host.plugins().size(), 3u); // the table only grows
}

TEST_F(Scan, MissingNameOrDescriptionKeepsThePluginOut)
{
    Add("Utility_nodesc.so");
    Add("Utility_noname.so");
    host.ScanAll();
    EXPECT_TRUE(host.plugins().empty());
    EXPECT_EQ(BoxTexts(),
        (std::vector<std::string> { "GetPluginDescription not found!", "Did not find needed procedures!",
            "GetPluginName not found!", "Did not find needed procedures!" }));
    const auto lines = capture.Messages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "DLL Handle released."), 2);
}

TEST_F(Scan, FiltersAreNumberedFromTwoAndChoosingOneRunsItsImport)
{
    const std::string a = Add("Import_a.so");
    const std::string b = Add("Import_b.so");
    Add("Import_old.so");
    MainMenuModel menu;
    host.SetMainMenu(&menu);
    EXPECT_FALSE(menu.GetMenu(MenuId::File).items.empty());
    host.ScanAll();

    ASSERT_EQ(host.plugins().size(), 3u);
    EXPECT_EQ(host.plugins()[0].FilterIndex, 2);
    EXPECT_EQ(host.plugins()[1].FilterIndex, 3);
    EXPECT_EQ(host.plugins()[2].FilterIndex, -1); // rejected: no way to run it through the box
    EXPECT_EQ(host.OpenDialogueFilter(), "ZEV Dialogue File format (*.zev)|*.zev|A files (*.a)|*.a|B files (*.b)|*.b");
    ASSERT_EQ(host.ImportFilters().size(), 2u);
    EXPECT_EQ(host.ImportFilters()[1].patterns, "*.b");
    EXPECT_EQ(Captions(PluginMenu::Import), (std::vector<std::string> { "importA", "importB" }));
    EXPECT_TRUE(Logged("Loading import plugins..."));

    EXPECT_EQ(host.ImportFilter(3, "/data/x.b"), PluginCallResult::Done);
    EXPECT_TRUE(Logged("plugin: 1: " + b));
    EXPECT_TRUE(Logged("importB import: /data/x.b"));
    EXPECT_EQ(host.ImportFilter(4, "/data/x.c"), PluginCallResult::UnknownPlugin);
    EXPECT_FALSE(host.IsRunning(1)); // released after the call
}

TEST_F(Scan, ShortcutsMenuFlagsAndHelpOrder)
{
    Add("Utility_shortcut.so");
    Add("Utility_nomenu.so");
    Add("Utility_menufalse.so");
    Add("Update_one.so");
    Add("Update_two.so");
    MainMenuModel menu;
    host.SetMainMenu(&menu);
    host.ScanAll();

    auto& tools = host.MenuEntries(PluginMenu::Plugins);
    ASSERT_EQ(tools.size(), 1u);
    EXPECT_EQ(tools[0].caption, "shortcut");
    EXPECT_EQ(tools[0].shortcut, "Ctrl+R");
    EXPECT_EQ(host.plugins()[static_cast<std::size_t>(tools[0].tag)].Name, "shortcut");
    EXPECT_TRUE(host.plugins()[static_cast<std::size_t>(tools[0].tag)].HasConfig);
    EXPECT_EQ(Captions(PluginMenu::Help), (std::vector<std::string> { "updateTwo", "updateOne" }));
    EXPECT_TRUE(menu.GetMenu(MenuId::Plugins).visible);

    EXPECT_EQ(host.PluginExec(tools[0].tag), PluginCallResult::Done);
    EXPECT_TRUE(Logged("shortcut run: " + dir.path()));
    EXPECT_EQ(host.PluginExec(99), PluginCallResult::UnknownPlugin);
}

TEST_F(Scan, NoMenuBeforeAPluginArrives)
{
    MainMenuModel menu;
    host.SetMainMenu(&menu);
    host.ScanAll();
    EXPECT_FALSE(menu.GetMenu(MenuId::Plugins).visible);
    EXPECT_TRUE(host.plugins().empty());
    EXPECT_TRUE(Logged("Loading update plugins..."));
    EXPECT_TRUE(Logged("Loading export plugins..."));
}

TEST_F(Scan, AFileThatIsNoLibraryIsSkippedSilently)
{
    dir.Write("plugins/Utility_broken.so", "not a library");
    host.ScanAll();
    EXPECT_TRUE(host.plugins().empty());
    EXPECT_TRUE(dialogs.History().empty());
    EXPECT_EQ(host.RunPlugin(PluginsFolder() + "/Utility_broken.so"), PluginCallResult::UnknownPlugin);
}

} // namespace
} // namespace zev::test
