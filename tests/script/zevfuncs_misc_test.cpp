#include <chrono>
#include <filesystem>
#include <thread>

#include "base/paths.h"
#include "script/func_desc.h"
#include "zevfuncs_fixture.h"

namespace zev::test {
namespace {

using Misc = ZevFuncsFixture;

TEST_F(Misc, TheUnitDeclaresItsTableInOrder)
{
    const script::HostUnit* unit = host.engine().FindUnit("ZEVFuncs");
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->functions().size(), 73u);
    ASSERT_EQ(unit->constants().size(), 24u);
    EXPECT_EQ(unit->functions().front().name, "AddNode");
    EXPECT_EQ(unit->functions()[36].name, "cd");
    EXPECT_EQ(unit->functions().back().name, "SetNodeCustomCode");
    EXPECT_EQ(unit->constants()[10].name, "FIELD_NODE_NAME");
    EXPECT_EQ(unit->constants()[10].value, 16);
    EXPECT_EQ(host.engine().Declaration("AddNode"),
        "procedure AddNode(nodename : String; npctext : String; notes : String; npctext_female : String = '');");
    EXPECT_EQ(host.engine().Declaration("StringReplace"),
        "function StringReplace(srcString : String; oldString : String; newString : String; "
        "ReplaceAll : Boolean = True) : String;");
    EXPECT_EQ(host.engine().Declaration("GetNodeCount"), "function GetNodeCount : Integer;");
    EXPECT_EQ(Run("Print(basepath)"), L(dir.path()));
}

TEST_F(Misc, StringReplaceReplacesTheFirstOrEveryOccurrence)
{
    EXPECT_EQ(Run("Print(StringReplace('aXbX', 'X', '-', False)); Print(StringReplace('aXbX', 'X', '-'));"
                  "Print(StringReplace('axbX', 'X', '-')); Print(StringReplace('abc', '', '-'))"),
        L("a-bX", "a-b-", "axb-", "abc"));
}

TEST_F(Misc, PrintWithoutOutputControlGoesToTheLogAndHelpIsSilent)
{
    host.UnsetOutputControl();
    EXPECT_TRUE(host.ExecuteScriptConsole("Print('hi'); Help; GetHelp('AddNode'); ListNodes"));
    EXPECT_TRUE(console.lines.empty());
    EXPECT_EQ(log.Messages().back(), "Print: hi");
    EXPECT_TRUE(host.ExecuteScriptConsole("DebugMsg('dbg')"));
    EXPECT_EQ(log.lines.back(), std::make_pair(std::string("dbg"), std::string("MainApp")));
}

TEST_F(Misc, ConsoleUtilities)
{
    Run("Print('x'); Cls");
    EXPECT_TRUE(console.lines.empty());
    EXPECT_EQ(Run("GetProgramVersion")[0].rfind("ZEV Dialogue tool 0.25.4-stable, Compiled on [", 0), 0u);
    app.config().WriteString("Global Config", "DefaultSSLPath", "/g/ssl");
    EXPECT_EQ(Run("Print(GetSSLPath); GetMSGPath"), L("SSL Path = /g/ssl", "/g/ssl", "MSG Path = "));

    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::create_directory(dir.File("sub"));
    dir.Write("sub/file.txt", "x");
    auto cdLines = Run("cd('" + dir.File("sub") + "')");
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.File("sub")));
    EXPECT_EQ(cdLines, L("Path is now: " + std::filesystem::current_path().string()));
    EXPECT_EQ(Run("Dir"), L(".", "..", "file.txt"));
    EXPECT_EQ(Run("ShowCurrentDir"), L("Current directory is \"" + std::filesystem::current_path().string() + "\""));
    EXPECT_EQ(Run("cd('no/such/dir')"), L("no/such/dir: no such directory."));
    std::filesystem::current_path(before);
}

TEST_F(Misc, ConfirmAndSaveConfirmAskAndAnswer)
{
    dialogs.PushButton(MsgResult::Yes);
    dialogs.PushButton(MsgResult::No);
    EXPECT_EQ(Run("if Confirm('Sure?') then Print('yes'); if not Confirm('Sure?') then Print('no')"), L("yes", "no"));
    EXPECT_EQ(dialogs.Last()->buttons, MsgButtons::YesNo);
    EXPECT_EQ(Run("if SaveConfirm then Print('go')"), L("go")); // not modified: no question
    EXPECT_EQ(dialogs.History().size(), 2u);
    app.DialogueChanged();
    dialogs.PushButton(MsgResult::Cancel);
    EXPECT_TRUE(Run("if SaveConfirm then Print('go')").empty());
    EXPECT_EQ(dialogs.Last()->text, "Save changes to dialogue 'untitled'\r\nbefore proceeding?");
    dialogs.PushButton(MsgResult::No);
    EXPECT_EQ(Run("if SaveConfirm then Print('go')"), L("go"));
}

TEST_F(Misc, FloatNodesAndTimedEvents)
{
    EXPECT_EQ(Run("AddFloatNode('Hawk', 'shouts'); AddFloatNode('Hawk', 'again'); AddMSGToFloatNode('Hawk', 'Buy!');"
                  "AddMSGToFloatNode('none', 'x')"),
        L("Added floatnode \"Hawk\" (shouts)", "The specified float node already exists at index 0"));
    ASSERT_EQ(app.dlg().float_node_count, 1);
    EXPECT_EQ(app.dlg().float_nodes[0]->message_count, 1);
    EXPECT_EQ(app.dlg().float_nodes[0]->messages[0], "Buy!");

    EXPECT_EQ(Run("AddTimedEvent('t1', 10, 20); AddCodeToEvent('t1', 'a := 1;'); AddCodeToEvent('none', 'x');"
                  "Print(GetTimedEventData('t1')); Print('[' + GetTimedEventData('none') + ']')"),
        L("Added Timed Event: t1 ( index=0 )",
            "Added code line (currentdlg.timedevents[te_ind].actioncnt) to timed event \"t1\" ( index=0 )",
            "flush_add_timer_event_sec(self_obj, random(10, 20),t1);", "[]"));
    app.dlg().timed_events[0]->is_random = 0;
    app.dlg().timed_events[0]->interval = 15;
    EXPECT_EQ(Run("Print(GetTimedEventData('t1'))"), L("flush_add_timer_event_sec(self_obj, 15,t1);"));
    EXPECT_EQ(Run("EditFloatNode('Hawk'); SelectFloatNode; SelectTimedEvent; AddTimeEventCode('x')"),
        L("EditFloatNode: this feature is not available here.", "SelectFloatNode: this feature is not available here.",
            "SelectTimedEvent: this feature is not available here.",
            "AddTimeEventCode: this feature is not available here."));
    EXPECT_EQ(Run("AddTimeEventCommand('Say hello', 'hello.dws', 'Ctrl+H')"), L("Added item: Say hello"));
    ASSERT_EQ(host.helpers().timeEventCommands().size(), 1u);
    EXPECT_EQ(host.helpers().timeEventCommands()[0].Script, "hello.dws");
}

TEST_F(Misc, PluginFunctionsWithoutThePluginHostSaySo)
{
    EXPECT_EQ(Run("ListPlugins; StartPlugin('x'); DoLink_ShowExports('x'); RequestPluginRefresh"),
        L("ListPlugins: this feature is not available here.", "StartPlugin: this feature is not available here.",
            "DoLink_ShowExports: this feature is not available here."));
    EXPECT_EQ(broadcasts, 1);
}

TEST_F(Misc, DialogueFilesLoadSaveAndFlush)
{
    std::string sample = std::string(ZEV_SOURCE_DIR) + "/data/dialogue/sample.zev";
    std::string copy = dir.File("copy.zev");
    auto lines = Run("LoadDialogue('" + sample + "'); SetDialogGlobals(0, 'Renamed'); SaveDialogue('" + copy + "')");
    EXPECT_EQ(lines.front(), sample + " loaded.");
    EXPECT_EQ(lines.back(), "Dialogue saved to " + copy);
    // A copy: the next Save still writes the loaded file, and the title says so.
    EXPECT_EQ(app.currentFileName(), sample);
    EXPECT_EQ(app.dlg().file_name, sample);
    EXPECT_EQ(app.title(), App::TitleFor(sample));
    EXPECT_GT(app.dlg().node_count, 0);
    EXPECT_EQ(Run("FlushDialogue"), L("Flushing dialogue table.", "Finished."));
    EXPECT_EQ(app.dlg().node_count, 0);
    Run("LoadDialogue('" + copy + "')");
    EXPECT_EQ(app.dlg().npc_name, "Renamed");
    EXPECT_EQ(Run("SaveDialogue('" + dir.File("no/such/folder/x.zev") + "')"),
        L("Dialogue could not be saved to " + dir.File("no/such/folder/x.zev")));
}

struct Launching : ZevFuncsFixture {
    std::vector<LaunchRequest> launched;
    struct Windows : CoreWindows {
        Launching& f;
        explicit Windows(Launching& fixture)
            : f(fixture)
        {
        }
        bool Has(CoreWindow w) const override { return w == CoreWindow::ListPicker; }
        bool Launch(const LaunchRequest& r) override
        {
            f.launched.push_back(r);
            return r.app != "missing";
        }
        std::optional<int> SelectItem(
            const std::string&, const std::string&, const std::vector<std::string>& items) override
        {
            return items.empty() ? std::optional<int>() : std::optional<int>(static_cast<int>(items.size()) - 1);
        }
    } windows { *this };
    struct ListedPlugins : PluginBus {
        bool Attached() const override { return true; }
        std::vector<PluginListing> ListPlugins() const override
        {
            return { { "p/Utility_x.so", "X", "2", "b", "c", "desc", true },
                { "p/Utility_y.so", "Y", "0.25", "b", "c", "broken", true, true } };
        }
        std::optional<std::vector<std::string>> PluginExports(const std::string&) const override
        {
            return std::vector<std::string> { "GetInfo", "Run" };
        }
    } listed;
    void Attach() override
    {
        app.SetWindows(&windows);
        app.SetPluginBus(&listed);
    }
};

TEST_F(Launching, ExecuteFileRefusesLongTextsAndPassesTheRest)
{
    std::string longText(80, 'a');
    EXPECT_EQ(Run("ExecuteFile('" + longText + "', '', '', SW_SHOW)"),
        L("ExecuteFile: app is longer than 79 characters; nothing was started."));
    EXPECT_EQ(Run("ExecuteFile('a', '" + longText + "', '', SW_SHOW)"),
        L("ExecuteFile: params is longer than 79 characters; nothing was started."));
    EXPECT_TRUE(launched.empty());
    EXPECT_TRUE(Run("ExecuteFile('" + std::string(79, 'b') + "', 'x; rm -rf /', '/tmp', SW_SHOW)").empty());
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0].params, "x; rm -rf /");
    EXPECT_EQ(launched[0].folder, "/tmp");
    EXPECT_EQ(launched[0].displayCmd, 5);
    EXPECT_EQ(Run("ExecuteFile('missing', '', '', 5)"), L("ExecuteFile: missing could not be started."));
}

TEST_F(Launching, ServicesAnswerTheWindowAndPluginFunctions)
{
    Run("AddFloatNode('f1', ''); AddFloatNode('f2', ''); AddTimedEvent('t', 1, 2)");
    EXPECT_EQ(Run("Print(SelectFloatNode); Print(SelectTimedEvent)"),
        L("f2", "flush_add_timer_event_sec(self_obj, random(1, 2),t);"));
    EXPECT_EQ(Run("ListPlugins"),
        L("Valid plugins:",
            "1: p/Utility_x.so (X)\r\nInterface Version: 2\r\nBuild date:    "
            "b\r\nCreation date: c\r\ndesc\r\n >> Plugin is currently loaded "
            "into memory\r\n",
            "2: p/Utility_y.so (Y)\r\nInterface Version: 0.25\r\nBuild date:    b\r\nCreation date: c\r\nbroken\r\n >> "
            "Plugin is currently loaded into memory\r\n >> Plugin crashed in this session and is not called "
            "again\r\n"));
    Run("DoLink_ShowExports('p/Utility_x.so')");
    EXPECT_EQ(dialogs.Last()->text, "Plugin exports 2 functions:\r\nGetInfo\r\nRun");
}

TEST(LaunchFile, StartsAProgramWithoutAShell)
{
    TempDir dir;
    std::string marker = dir.File("made");
    EXPECT_TRUE(LaunchFile({ "/usr/bin/touch", marker, dir.path(), 5 }));
    for (int i = 0; i < 200 && !FileExists(marker); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(FileExists(marker));
}

} // namespace
} // namespace zev::test

namespace zev::test {
namespace {

// The shipped description store matches the unit: names in declaration order, declarations as
// the engine prints them, a real description for each.
TEST_F(Misc, TheShippedDescriptionsMatchTheUnit)
{
    FuncDescStore store(std::string(ZEV_SOURCE_DIR) + "/data/func_desc.ini");
    const script::HostUnit* unit = host.engine().FindUnit("ZEVFuncs");
    std::vector<std::string> names = store.Names();
    ASSERT_EQ(names.size(), unit->functions().size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        const script::HostFunction& f = unit->functions()[i];
        EXPECT_EQ(names[i], f.name);
        EXPECT_EQ(store.Declaration(f.name), f.Declaration());
        EXPECT_EQ(store.Description(f.name).find("<insert description here>"), std::string::npos) << f.name;
        EXPECT_NE(store.Description(f.name).find("Example:"), std::string::npos) << f.name;
    }
}

struct WithStore : ZevFuncsFixture {
    std::unique_ptr<FuncDescStore> store;
    ScriptTables Tables() override
    {
        store = std::make_unique<FuncDescStore>(dir.File("func_desc.ini"));
        return { nullptr, store.get() };
    }
};

TEST_F(WithStore, HelpListsTheStoreInRowsAndGetHelpShowsOneCommand)
{
    EXPECT_EQ(Run("Help"),
        L("Valid script commands are:", "", "Type \"help <command>\" to get more help on a specific command."));
    EXPECT_EQ(Run("GetHelp('AddNode')"), L("Unknown command AddNode"));
    Logger quiet;
    store->Dump(*host.engine().FindUnit("ZEVFuncs"), {}, quiet);
    auto lines = Run("Help");
    ASSERT_EQ(lines.size(), 2u + 25u + 1u); // 73 names in rows of three
    EXPECT_EQ(lines[2].rfind("AddNode                      AddPlayerOption              SetNodeName", 0), 0u);
    EXPECT_EQ(Run("GetHelp('GetNodeCount')"),
        L("Syntax: function GetNodeCount : Integer;", "",
            "function GetNodeCount : Integer;\r\n\r\n<insert description here>"));
}

} // namespace
} // namespace zev::test
