#include "plugin_fixture.h"
#include "support/fakes.h"

#include "app/shell_commands.h"
#include "model/dialog_ops.h"
#include "plugins/about_plugins.h"

namespace zev::test {
namespace {

using Running = PluginFixture;

TEST_F(Running, APluginThatStaysLoadedIsRefusedASecondStartAndHearsTheHost)
{
    const std::string path = Add("Utility_stay.so");
    host.ScanAll();
    ASSERT_EQ(host.RunPlugin(path), PluginCallResult::Done);
    EXPECT_TRUE(Logged("stay started"));
    EXPECT_TRUE(host.IsRunning(0));

    capture.lines.clear();
    EXPECT_EQ(host.RunPlugin(path), PluginCallResult::AlreadyRunning);
    ASSERT_FALSE(capture.lines.empty());
    EXPECT_EQ(capture.lines[0].first, "WARNING: Plugin already running!");
    EXPECT_FALSE(Logged("stay started")); // not called again

    app.BroadcastPluginUpdate();
    EXPECT_TRUE(Logged("stay update"));
    app.log().Log("from the program");
    EXPECT_TRUE(Logged("stay intercepted: from the program"));
    app.log().Log("from a plug-in", kPluginCategory);
    EXPECT_FALSE(Logged("stay intercepted: from a plug-in"));
    ASSERT_EQ(host.ListPlugins().size(), 1u);
    EXPECT_TRUE(host.ListPlugins()[0].loaded);

    EXPECT_TRUE(CloseQuery(app));
    EXPECT_TRUE(Logged("Closing plugin " + path));
    EXPECT_TRUE(Logged("stay closing"));
    EXPECT_TRUE(Logged("Plugin lib deinit returned true."));
    EXPECT_FALSE(host.IsRunning(0)); // it dropped itself inside the call
}

TEST_F(Running, APluginWithoutPluginCloseBlocksQuittingAndOthersAreLeftOpen)
{
    const std::string stay = Add("Utility_stay.so");
    const std::string stuck = Add("Utility_stuck.so");
    host.ScanAll();
    host.RunPlugin(stay);
    host.RunPlugin(stuck);

    EXPECT_FALSE(CloseQuery(app));
    ASSERT_FALSE(dialogs.History().empty());
    EXPECT_EQ(dialogs.Last()->text,
        "The following plugins can not close by themselves: (PluginClose missing)\r\nstuck [" + stuck
            + "]\r\n\r\nClose them before quitting.");
    EXPECT_TRUE(Logged("DeInit returned false, not going to continue."));
    EXPECT_FALSE(Logged("stay closing"));
    EXPECT_TRUE(host.IsRunning(0));
}

TEST_F(Running, AnExceptionFromAPluginIsCaughtPerCallAndNamesThePlugin)
{
    const std::string stay = Add("Utility_stay.so");
    const std::string thrower = Add("Utility_throw.so");
    const std::string runThrower = Add("Utility_throwrun.so");
    host.ScanAll();
    host.RunPlugin(thrower);
    host.RunPlugin(stay);

    app.BroadcastPluginUpdate();
    EXPECT_TRUE(Logged("stay update")); // the one after the crash still hears it
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.Last()->text, "The plugin \"Thrower\" (" + thrower + ") crashed when trying to update.");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);

    EXPECT_EQ(host.RunPlugin(runThrower), PluginCallResult::Crashed);
    EXPECT_EQ(
        dialogs.Last()->text, "The plugin \"Thrower\" (" + runThrower + ") crashed in RunPlugin:\r\nrun went wrong");
}

TEST_F(Running, ExternalRegistrationAddsAnEntryWithoutMenu)
{
    const ShortString version = ToShortString("0.25");
    DoExternalRegister("/opt/ext.so", "Ext", "An outside tool", version.data());
    ASSERT_EQ(host.plugins().size(), 1u);
    const TPluginRec& p = host.plugins()[0];
    EXPECT_EQ(p.Name, "Ext");
    EXPECT_EQ(p.InterfaceVersion, "0.25");
    EXPECT_EQ(p.FilterIndex, -1);
    EXPECT_FALSE(p.HasConfig);
    EXPECT_TRUE(host.MenuEntries(PluginMenu::Plugins).empty());
    EXPECT_TRUE(Logged("Received external reg!"));
    EXPECT_TRUE(Logged("Starting external register process received from /opt/ext.so"));
    EXPECT_TRUE(Logged("Registered /opt/ext.so as a non-visible plugin."));
    EXPECT_EQ(dialogs.Last()->text, "Plugin \"/opt/ext.so\" (Ext) registered.");
}

TEST_F(Running, AboutPageShowsDetailsAndConfigures)
{
    const std::string path = Add("Utility_shortcut.so");
    Add("Utility_v025.so");
    host.ScanAll();
    AboutPluginsModel about(host);
    EXPECT_EQ(about.PluginCount(), 2);
    EXPECT_EQ(about.Rows(), (std::vector<std::string> { "Utility_shortcut.so", "Utility_v025.so" }));
    EXPECT_TRUE(about.DetailLines().empty());
    about.Select(0);
    auto lines = about.DetailLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "<b>Filename:</b> " + path);
    EXPECT_EQ(lines[4], "<b>Description:</b> A plug-in the tests build to see how the host<br>treats it");
    EXPECT_NE(lines[6].find("DoLink_ShowExports('" + path + "')"), std::string::npos);
    EXPECT_NE(lines[6].find(" total]"), std::string::npos);
    EXPECT_TRUE(about.ConfigureVisible());
    about.ConfigurePlugin();
    EXPECT_TRUE(Logged("shortcut config: " + dir.path()));
    about.Select(1);
    EXPECT_FALSE(about.ConfigureVisible());

    RecordingScripts scripts;
    app.SetScriptLines(&scripts);
    about.ClickLink("https://example.invalid/");
    EXPECT_TRUE(scripts.lines.empty());
    about.ClickLink("DoLink_ShowExports('x')");
    EXPECT_EQ(scripts.lines, std::vector<std::string> { "DoLink_ShowExports('x')" });
}

TEST(WrapText, BreaksAtSpacesWithinTheWidth)
{
    EXPECT_EQ(WrapText("aa bb cc", 5, "<br>"), "aa bb<br>cc");
    EXPECT_EQ(WrapText("averyveryverylongword x", 5, "|"), "averyveryverylongword|x");
    EXPECT_EQ(WrapText("", 5, "|"), "");
}

} // namespace
} // namespace zev::test
