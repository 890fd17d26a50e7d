// The same workbench under both front ends: a script run through the desktop program (offscreen) and
// through zevdlg-cli gives the same console lines, and a console plug-in started by it gets the
// same lines in its control.

#include "gui_support.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "app/gui/console_dock.h"
#include "app/gui/exception_report_window.h"
#include "desktop/gui/desktop_program.h"
#include "desktop/gui/main_window.h"
#include "script/gui/script_running_window.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// A copy of the built program folder with the console plug-in in its plugins/.
struct ProgramFolder {
    test::TempDir dir;
    ProgramFolder()
    {
        fs::copy(ZEV_DIST_DIR, dir.path(), fs::copy_options::recursive);
        fs::copy_file(std::string(ZEV_TEST_PLUGIN_DIR) + "/Utility_console.so", dir.File("plugins/Utility_console.so"));
    }
};

class FrontEnds : public test::GuiTest {
protected:
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    Workbench bench { dialogs, folder.dir.path() };
    std::unique_ptr<DesktopProgram> program;

    FrontEnds()
    {
        bench.app().log().SetFilePath(folder.dir.File("debug.log"));
        program = std::make_unique<DesktopProgram>(bench, TextEncoding::Cp1252);
        program->Start({});
    }
    std::vector<std::string> Dock() const
    {
        const auto& lines = program->console().lines();
        return { lines.begin(), lines.end() };
    }
};

TEST_F(FrontEnds, AScriptPrintsTheSameLinesThroughTheDesktopProgramAndTheCommandLineTool)
{
    const std::string script = folder.dir.Write("same.dws",
        "Print('Plug-ins:');\nListPlugins;\nLoadDialogue(basepath + '/dialogue/sample.zev');\nListNodes;\n"
        "StartPlugin(basepath + '/plugins/Utility_console.so');\nPrint('done');\n");

    const std::string desktopFile = folder.dir.File("desktop-console.txt");
    setenv("ZEV_TEST_CONSOLE_FILE", desktopFile.c_str(), 1);
    ASSERT_TRUE(program->scripts().LoadScript(script));
    const std::vector<std::string> desktop = Dock();

    const std::string cliFile = folder.dir.File("cli-console.txt");
    setenv("ZEV_TEST_CONSOLE_FILE", cliFile.c_str(), 1);
    test::Result cli = test::RunTool({ "run-script", script }, folder.dir.path().c_str());
    unsetenv("ZEV_TEST_CONSOLE_FILE");
    ASSERT_EQ(cli.code, 0) << cli.err;

    EXPECT_EQ(desktop, Lines(cli.out));
    ASSERT_GE(desktop.size(), 4u);
    EXPECT_EQ(desktop[0], "Plug-ins:");
    EXPECT_EQ(desktop[1], "Valid plugins:");
    EXPECT_NE(std::find(desktop.begin(), desktop.end(), "Dialogue has 12 nodes:"), desktop.end());
    EXPECT_EQ(desktop.back(), "done");
    // The line after the plug-in gave its control back is the program's own again.
    EXPECT_NE(std::find(desktop.begin(), desktop.end(), "after the control went back"), desktop.end());

    // While the plug-in held the console, everything went to its control, Cls included.
    const std::string lent = test::ReadFileBytes(desktopFile);
    EXPECT_EQ(lent, test::ReadFileBytes(cliFile));
    const std::vector<std::string> held = Lines(lent);
    ASSERT_GE(held.size(), 4u);
    EXPECT_EQ(held[0], "hello from the console");
    EXPECT_NE(std::find(held.begin(), held.end(), "Dialogue has 12 nodes:"), held.end());
    EXPECT_NE(std::find(held.begin(), held.end(), "[cls]"), held.end());
    EXPECT_NE(std::find(held.begin(), held.end(), "Syntax: procedure Print(text : String);"), held.end());
    EXPECT_NE(lent.find("Error executing command: "), std::string::npos) << lent;
    EXPECT_EQ(lent.find("after the control went back"), std::string::npos);
    EXPECT_EQ(std::count(desktop.begin(), desktop.end(), "hello from the console"), 0);
    EXPECT_TRUE(dialogs.History().empty()) << "the script's error went to the console, not a box";
}

TEST_F(FrontEnds, TheScriptConsoleOpensWhenAHelperScriptPrintsAndRunsTypedLines)
{
    ConsoleDock& dock = program->consoleDock();
    EXPECT_FALSE(dock.isVisible());
    ASSERT_TRUE(program->scripts().ExecuteScriptConsole("LoadDialogue(basepath + '/dialogue/sample.zev'); Cls;"));
    // Helper Scripts > Checks > "Dialogue statistics": its Print lines reach the console.
    const auto& table = program->scripts().helpers().table();
    auto stats = std::find_if(
        table.begin(), table.end(), [](const templatescript& t) { return t.Description == "Dialogue statistics"; });
    ASSERT_NE(stats, table.end());
    program->scripts().ScriptClick(static_cast<int>(stats - table.begin()));
    EXPECT_TRUE(dock.isVisible());
    ASSERT_FALSE(Dock().empty());

    // A typed line runs; its error is shown in the console, not in a box.
    dock.input()->setText("Print(IntToStr(GetNodeCount));");
    dock.runButton()->click();
    EXPECT_EQ(Dock().back(), "12");
    EXPECT_EQ(dock.input()->text(), "");
    dock.input()->setText("nonsense here");
    dock.runButton()->click();
    const std::vector<std::string> lines = Dock();
    auto typed = std::find(lines.begin(), lines.end(), "> nonsense here");
    ASSERT_NE(typed, lines.end());
    ASSERT_NE(typed + 1, lines.end());
    EXPECT_TRUE(typed[1].starts_with("Error executing command:")) << typed[1];
    EXPECT_TRUE(dialogs.History().empty());

    // Closed, it comes back through View > Script console.
    dock.close();
    EXPECT_FALSE(program->console().visible());
    ASSERT_TRUE(program->window().Trigger(MenuCommand::ScriptConsole));
    EXPECT_TRUE(dock.isVisible());
}

TEST_F(FrontEnds, AHelperScriptRegisteredLaterGetsItsMenuEntry)
{
    const std::string script = folder.dir.Write("later.dws", "Print('later');");
    QMenu* menu = program->window().MenuFor(MenuId::HelperScripts);
    const auto before = menu->actions().size();
    ASSERT_TRUE(
        program->scripts().ExecuteScriptConsole("AddHelperScript('" + script + "', 'Added later', 'Late ones');"));
    ASSERT_EQ(menu->actions().size(), before + 1);
    EXPECT_EQ(menu->actions().back()->text().remove('&'), "Late ones");
}

TEST_F(FrontEnds, AScriptThatNeverEndsCanBeStoppedFromTheIndicator)
{
    bench.runWatch().SetDelay(std::chrono::milliseconds(100));
    ScriptRunningWindow& indicator = program->runningWindow();
    bool sawIndicator = false;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (indicator.isVisible()) {
            sawIndicator = true;
            indicator.stopButton()->click();
        }
    });
    stopper.start(20);
    EXPECT_FALSE(program->scripts().ExecuteScriptConsole("while true do ;"));
    stopper.stop();
    EXPECT_TRUE(sawIndicator);
    EXPECT_FALSE(indicator.isVisible());
    EXPECT_EQ(Dock().back(), "Script stopped by the user.");
    EXPECT_TRUE(dialogs.History().empty()) << "a stop asked for is no error";
    // The next script runs as usual.
    EXPECT_TRUE(program->scripts().ExecuteScriptConsole("Print('again');"));
    EXPECT_EQ(Dock().back(), "again");
}

} // namespace
} // namespace zev

namespace zev {
namespace {

TEST_F(FrontEnds, LoadDialogueOfAFileThatCannotBeReadReachesTheErrorDisplay)
{
    const std::string missing = folder.dir.File("dialogue/gone.zev");
    QString details;
    test::WhenModal<ExceptionReportWindow>([&](ExceptionReportWindow* w) {
        details = w->DetailsText();
        w->accept();
    });
    EXPECT_TRUE(program->scripts().ExecuteScriptConsole("LoadDialogue('" + missing + "');"));
    EXPECT_NE(details.toStdString().find("Cannot read the dialogue file " + missing), std::string::npos)
        << details.toStdString();
}

TEST_F(FrontEnds, TheManualThatCannotBeOpenedIsSaidToBeWhereItIs)
{
    const std::string manual = folder.dir.File("doc/index.html");
    // No program to show it: Qt finds no xdg-open on an empty PATH.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "");
    ASSERT_TRUE(program->window().Trigger(MenuCommand::DialogueToolHelp));
    qputenv("PATH", path);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);
    EXPECT_NE(dialogs.Last()->text.find("You can open it yourself: " + manual), std::string::npos)
        << dialogs.Last()->text;

    fs::remove(manual);
    ASSERT_TRUE(program->window().Trigger(MenuCommand::DialogueToolHelp));
    EXPECT_EQ(dialogs.Last()->text, "The manual is missing: " + manual);
}

// A dialogue named on the command line with a relative path: the title and the status bar name the
// file with its absolute path, as every other load does.
TEST(CommandLine, ARelativeDialogueArgumentIsShownWithItsAbsolutePath)
{
    test::GuiApp();
    ProgramFolder folder;
    ScriptedDialogs dialogs;
    Workbench bench(dialogs, folder.dir.path());
    const fs::path before = fs::current_path();
    fs::current_path(folder.dir.path());
    {
        DesktopProgram program(bench, TextEncoding::Cp1252);
        program.Start("dialogue/../dialogue/sample.zev");
        const std::string absolute = folder.dir.File("dialogue/sample.zev");
        EXPECT_EQ(program.window().windowTitle().toStdString(), "ZEV Dialogue Tool - [" + absolute + "]");
        EXPECT_EQ(program.window().StatusText().toStdString(), "Dialogue " + absolute + ", 12 nodes");
        EXPECT_EQ(bench.app().currentFileName(), absolute);
    }
    fs::current_path(before);
}

} // namespace
} // namespace zev
