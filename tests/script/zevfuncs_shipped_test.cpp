#include <filesystem>

#include "base/paths.h"
#include "completion/parse_include.h"
#include "zevfuncs_fixture.h"

namespace zev::test {
namespace {

namespace fs = std::filesystem;

// The shipped data copied into a program folder of its own.
struct Shipped : ::testing::Test {
    TempDir dir;
    std::string home = [this] {
        fs::copy(fs::path(ZEV_SOURCE_DIR) / "data", dir.path(), fs::copy_options::recursive);
        return dir.path();
    }();
    ScriptedDialogs dialogs;
    App app { dialogs, home };
    ScriptHost host { app };
    ConsoleCapture console;
    DefinitionTable definitions;
    TParseInclude definitionReader { definitions };
    std::unique_ptr<ZEVFuncs> funcs;

    void SetUp() override
    {
        InstallScriptHost(app, host);
        app.SetWindows(&windows);
        funcs = std::make_unique<ZEVFuncs>(app, host, ScriptTables { &definitionReader, nullptr });
        funcs->Register();
        host.SetOutputControl(&console);
        ASSERT_TRUE(host.ExecuteScriptConsole("LoadDialogue('" + home + "/dialogue/sample.zev')"));
        ASSERT_GT(app.dlg().node_count, 0);
    }
    std::vector<std::string> inserted;
    struct Windows : CoreWindows {
        std::vector<std::string>& inserted;
        explicit Windows(std::vector<std::string>& into)
            : inserted(into)
        {
        }
        bool Has(CoreWindow w) const override
        {
            return w == CoreWindow::ListPicker || w == CoreWindow::TimeEventCodeEditor;
        }
        std::optional<int> SelectItem(
            const std::string&, const std::string&, const std::vector<std::string>& items) override
        {
            return items.empty() ? std::optional<int>() : std::optional<int>(0);
        }
        void InsertTimeEventCode(const std::string& line) override { inserted.push_back(line); }
    } windows { inserted };
};

TEST_F(Shipped, HelperScriptsRegisterAndRunCleanOnTheSample)
{
    ASSERT_TRUE(host.LoadScript(home + "/helperscripts/helpermain.dws")) << host.LastMessages().size();
    const auto& table = host.helpers().table();
    ASSERT_GE(table.size(), 5u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].FileName);
        EXPECT_TRUE(FileExists(table[i].FileName));
        if (table[i].FileName.find("add_numbered") != std::string::npos) {
            dialogs.PushText("Test");
            dialogs.PushText("3");
        } else if (table[i].FileName.find("prefix") != std::string::npos) {
            dialogs.PushText("P_");
        }
        console.lines.clear();
        EXPECT_TRUE(host.LoadScript(table[i].FileName));
        for (const std::string& m : host.LastMessages())
            ADD_FAILURE() << m;
        EXPECT_FALSE(console.lines.empty()); // every helper reports what it did
    }
    // The numbered-node and prefix helpers changed the sample as asked.
    EXPECT_EQ(dialogs.PendingAnswers(), 0u);
    EXPECT_GE(FindNodeIndex(app.dlg(), "P_Test003"), 0);
    EXPECT_EQ(FindNodeIndex(app.dlg(), "Start"), -1);
    EXPECT_GE(FindNodeIndex(app.dlg(), "P_Start"), 0);
    EXPECT_EQ(app.dlg().nodes[0]->name, "P_Again"); // sorted last
}

TEST_F(Shipped, TimedEventCommandsInsertCode)
{
    ASSERT_TRUE(host.LoadScript(home + "/helperscripts/TE_Commands.dws"));
    const auto& commands = host.helpers().timeEventCommands();
    ASSERT_EQ(commands.size(), 3u);
    for (std::size_t i = 0; i < commands.size(); ++i) {
        EXPECT_TRUE(FileExists(commands[i].Script)) << commands[i].Script;
        host.TE_ScriptClick(static_cast<int>(i));
        EXPECT_TRUE(host.LastMessages().empty()) << commands[i].Script;
    }
    ASSERT_EQ(inserted.size(), 3u);
    EXPECT_EQ(inserted[0], "float_msg(self_obj, mstr(Hawking), FLOAT_MSG_NORMAL);");
    EXPECT_EQ(inserted[1].rfind("flush_add_timer_event_sec(self_obj, random(30, 90),hawk_wares);", 0), 0u);
}

TEST_F(Shipped, DefinitionListLoadsEveryFileWithoutErrors)
{
    ASSERT_TRUE(host.LoadScript(home + "/def/def_list.dws"));
    EXPECT_GT(definitions.count(), 80);
    EXPECT_TRUE(definitionReader.Errors().empty());
    EXPECT_FALSE(host.ExecuteScriptConsole("LoadDef('" + home + "/def/missing.h')"));
}

} // namespace
} // namespace zev::test
