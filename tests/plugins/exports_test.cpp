#include "plugin_fixture.h"

#include "model/dialog_ops.h"
#include "runner/run_session.h"
#include "support/fakes.h"

namespace zev::test {
namespace {

class Exports : public PluginFixture {
protected:
    Exports()
    {
        for (const char* name : { "start", "a", "b" })
            AddNode(app.dlg(), name)->name = name;
        app.SetScriptLines(&scripts);
        app.console().SetFrontEndHolder(&ownConsole);
    }
    // A stand-in script host: "rename" renames the first node, Print writes a console line.
    struct Scripts : ScriptLines {
        Exports& f;
        explicit Scripts(Exports& fixture)
            : f(fixture)
        {
        }
        bool ExecuteScriptConsole(std::string_view line) override
        {
            f.lines.emplace_back(line);
            if (line == "rename")
                f.app.dlg().nodes[0]->name = "renamed";
            else if (line.starts_with("Print('"))
                f.app.WriteConsoleLine(line.substr(7, line.size() - 9));
            else if (line == "fail")
                throw std::runtime_error("bad line");
            return true;
        }
    } scripts { *this };
    ConsoleCapture ownConsole;
    std::vector<std::string> lines;
    std::vector<std::string>& console = ownConsole.lines;
};

TEST_F(Exports, APluginSeesTheProgramThroughItsExports)
{
    app.player().name = "Chosen";
    ASSERT_TRUE(app.config().WriteString(kSectionGlobalConfig, kKeyDefaultSSLPath, "/ssl"));
    const std::string path = Add("Utility_exports.so");
    host.ScanAll();
    ASSERT_EQ(host.RunPlugin(path), PluginCallResult::Done);

    EXPECT_TRUE(Logged("version: 13 0.25.4-stable"));
    EXPECT_TRUE(Logged("current node length: 0"));
    EXPECT_TRUE(Logged("ssl: /ssl"));
    EXPECT_TRUE(Logged("dialogue: untitled"));
    EXPECT_TRUE(Logged("player: Chosen"));
    EXPECT_TRUE(Logged("Sending dialogue to plugin..."));
    EXPECT_TRUE(Logged("copy: 3 start")); // its own node copy kept the old name
    EXPECT_TRUE(Logged("shared: 3 renamed")); // the new format's nodes are the live ones
    EXPECT_TRUE(Logged("Getting output control, name == Memo1"));
    EXPECT_TRUE(Logged("Releasing output control."));
    EXPECT_TRUE(Logged("control: x;")); // y came after the release
    EXPECT_EQ(console, std::vector<std::string> { "y" });
    EXPECT_EQ(app.dlg().nodes[0]->name, "renamed");
}

TEST_F(Exports, CurrentNodeFollowsTheTestRun)
{
    RunSession runner(app);
    app.SetRunControl(&runner);
    ShortString out {};
    SetCurrentNode(ToShortString("b").data()); // no run: nothing
    GetCurrentNode(out.data());
    EXPECT_EQ(out[0], 0);

    option* o = AddOption(*app.dlg().nodes[0]); // a node without options would end the run at once
    o->text = "go";
    o->link_target = "a";
    runner.StartAt("start");
    ASSERT_TRUE(runner.running());
    GetCurrentNode(out.data());
    EXPECT_EQ(FromShortString(out.data()), "start");
    SetCurrentNode(ToShortString("b").data());
    EXPECT_EQ(runner.currentNode(), 2);
    SetCurrentNode(ToShortString("nowhere").data());
    EXPECT_EQ(runner.currentNode(), 2);
    runner.StopRun();
    app.SetRunControl(nullptr);
}

TEST_F(Exports, WithoutAHostTheExportsHandOutNothing)
{
    SetExportTarget(nullptr);
    ShortString out = ToShortString("stale");
    GetProgramVer(out.data());
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(GetDLG(), nullptr);
    EXPECT_EQ(GetPlayer(), nullptr);
    ExecuteScriptLines("rename");
    EXPECT_TRUE(lines.empty());
    FreeDLG(nullptr);
    FreePlayer(nullptr);
}

TEST_F(Exports, AFailingConsoleLineDoesNotEscapeIntoThePlugin)
{
    ExecuteScriptLines("fail");
    EXPECT_TRUE(Logged("ExecuteScriptLines failed: bad line"));
}

TEST(ShortStrings, CutAt255)
{
    const std::string longText(300, 'q');
    ShortString s = ToShortString(longText);
    EXPECT_EQ(s[0], 255);
    EXPECT_EQ(FromShortString(s.data()), std::string(255, 'q'));
}

class Relabel : public PluginFixture {
protected:
    Relabel()
    {
        app.SetScriptLines(&scripts);
        std::filesystem::copy_file(
            std::string(ZEV_DIST_DIR) + "/plugins/Utility_relabelplug.so", PluginsFolder() + "/Utility_relabelplug.so");
        host.ScanAll();
    }
    RecordingScripts scripts;
    std::vector<std::string>& sent = scripts.lines;
};

TEST_F(Relabel, SendsOneRenameLinePerNodeThenTheClosingLines)
{
    for (const char* name : { "start", "a", "b" })
        AddNode(app.dlg(), name)->name = name;
    ASSERT_EQ(Captions(PluginMenu::Plugins), std::vector<std::string> { "Rename dialogue nodes to NodeXXX" });
    EXPECT_EQ(host.plugins()[0].Description, "Node renaming tool");
    EXPECT_EQ(host.plugins()[0].InterfaceVersion, "0.25");
    EXPECT_FALSE(host.plugins()[0].HasConfig);
    ASSERT_EQ(host.PluginExec(0), PluginCallResult::Done);
    EXPECT_EQ(sent,
        (std::vector<std::string> { "SetNodeName('start','Node001');", "SetNodeName('a','Node002');",
            "SetNodeName('b','Node003');", "RefreshAll;", "DialogueChangeNotify;" }));
    EXPECT_FALSE(host.IsRunning(0));
}

TEST_F(Relabel, AnEmptyDialogueGetsOnlyTheClosingLines)
{
    ASSERT_EQ(host.PluginExec(0), PluginCallResult::Done);
    EXPECT_EQ(sent, (std::vector<std::string> { "RefreshAll;", "DialogueChangeNotify;" }));
}

TEST_F(Relabel, LongNamesAreCutTo255)
{
    AddNode(app.dlg(), std::string(300, 'n'))->name = std::string(300, 'n');
    host.PluginExec(0);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], "SetNodeName('" + std::string(255, 'n') + "','Node001');");
}

} // namespace
} // namespace zev::test
