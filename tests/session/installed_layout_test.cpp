// An installed program (bin/ beside share/zevdlg/) in a temporary root: started, used and shut
// down through the workbench and through zevdlg-cli, it writes only into the user's XDG folders;
// the package's folders stay byte for byte as they were.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "app/scripted_dialogs.h"
#include "app/settings.h"
#include "session/workbench.h"
#include "support/run_tool.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

namespace fs = std::filesystem;

using Snapshot = std::map<std::string, std::string>;

struct InstalledTree : ::testing::Test {
    test::TempDir dir;
    std::string root = dir.path() + "/usr";
    std::string bin = root + "/bin";
    std::string share = root + "/share/zevdlg";
    std::string home = dir.path() + "/home";
    std::string userPlugin = home + "/.local/share/zevdlg/plugins/Utility_userplug.so";

    InstalledTree()
    {
        fs::create_directories(bin);
        fs::create_directories(home);
        fs::create_directories(share);
        for (const auto& e : fs::directory_iterator(ZEV_DIST_DIR)) {
            const std::string name = e.path().filename().string();
            if (name != "zevdlg" && name != "zevdlg-cli")
                fs::copy(e.path(), share + "/" + name, fs::copy_options::recursive);
        }
        // Whatever earlier runs of the build left in dist/ is not part of a package.
        for (const char* left : { "debug.log", "downloads", "dialogue/history" })
            fs::remove_all(share + "/" + left);
        fs::create_directories(fs::path(userPlugin).parent_path());
        fs::copy_file(share + "/plugins/Utility_relabelplug.so", userPlugin);
    }
    EnvLookup Env() const
    {
        return [this](std::string_view name) -> std::optional<std::string> {
            if (name == "HOME")
                return home;
            return std::nullopt;
        };
    }
    // Every file and folder under the root with its bytes.
    Snapshot Take() const
    {
        Snapshot s;
        for (const auto& e : fs::recursive_directory_iterator(root)) {
            const std::string rel = fs::relative(e.path(), root).string();
            s[rel] = e.is_regular_file() ? test::ReadFileBytes(e.path().string()) : std::string("<dir>");
        }
        return s;
    }
    // The built command-line tool in bin/: linked when the file system allows, it is large.
    void InstallCli() const
    {
        std::error_code ec;
        fs::create_hard_link(ZEV_DIST_DIR "/zevdlg-cli", bin + "/zevdlg-cli", ec);
        if (ec)
            fs::copy_file(ZEV_DIST_DIR "/zevdlg-cli", bin + "/zevdlg-cli");
    }
    std::string HomeFile(const std::string& rel) const { return test::ReadFileBytes(home + "/" + rel); }
};

bool Contains(const std::string& text, std::string_view part)
{
    return text.find(part) != std::string::npos;
}

TEST_F(InstalledTree, TheWorkbenchWritesItsFilesIntoTheUsersFoldersOnly)
{
    const Snapshot before = Take();
    ProgramDirs dirs = DecideProgramDirs(bin, {}, Env());
    ASSERT_EQ(dirs.layout, ProgramLayout::Installed);
    std::string error;
    ASSERT_TRUE(PrepareProgramDirs(dirs, error)) << error;
    {
        ScriptedDialogs dialogs;
        Workbench bench(dialogs, std::move(dirs));
        App& app = bench.app();
        app.log().SetFilePath(app.dirs().LogFile());
        bench.Start();
        ASSERT_TRUE(bench.scripts().ExecuteScriptConsole("LoadDialogue(basepath + '/dialogue/sample.zev')"));
        EXPECT_EQ(app.dlg().node_count, 12);

        // The shipped plug-in and the user's own were both scanned.
        std::vector<std::string> files;
        for (const TPluginRec& p : bench.plugins().plugins())
            files.push_back(p.FileName);
        EXPECT_NE(std::find(files.begin(), files.end(), share + "/plugins/Utility_relabelplug.so"), files.end());
        EXPECT_NE(std::find(files.begin(), files.end(), userPlugin), files.end());

        // Every writer: the configuration, a function description, a transcript.
        app.player().name = "Installed Tester";
        EXPECT_TRUE(WritePlayerCharacter(app.config(), app.player()));
        bench.descriptions().SetDescription("Print", "edited by the user");
        bench.run().transcripts().RecordTranscript({});
        bench.run().transcripts().SaveAllTranscripts();
        bench.Shutdown();
        EXPECT_TRUE(dialogs.History().empty()) << dialogs.History().front().text;
    }

    EXPECT_EQ(Take(), before) << "nothing written into the program's folders";
    EXPECT_TRUE(Contains(HomeFile(".local/state/zevdlg/debug.log"), "Init complete."));
    EXPECT_TRUE(Contains(HomeFile(".local/state/zevdlg/debug.log"), "Installed program: shipped data in " + share));
    EXPECT_TRUE(Contains(HomeFile(".config/zevdlg/ZEVDlg.ini"), "Installed Tester"));
    // The seeded copy of the shipped configuration keeps its other sections.
    EXPECT_TRUE(Contains(HomeFile(".config/zevdlg/ZEVDlg.ini"), "[Global Config]"));
    EXPECT_TRUE(Contains(HomeFile(".local/share/zevdlg/func_desc.ini"), "edited by the user"));
    int transcripts = 0;
    for (const auto& e : fs::directory_iterator(home + "/.local/state/zevdlg/transcripts"))
        transcripts += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(transcripts, 1);
}

TEST_F(InstalledTree, TheCommandLineToolReadsShareAndWritesNothingBesideItself)
{
    InstallCli();
    const Snapshot before = Take();
    const test::EnvChanges env { { "HOME", home }, { "ZEVDLG_HOME", std::nullopt }, { "XDG_CONFIG_HOME", std::nullopt },
        { "XDG_STATE_HOME", std::nullopt }, { "XDG_DATA_HOME", std::nullopt } };

    test::Result listed = test::RunProgram(bin + "/zevdlg-cli", { "plugins" }, env);
    ASSERT_EQ(listed.code, 0) << listed.err;
    EXPECT_TRUE(Contains(listed.out, share + "/plugins/Utility_relabelplug.so")) << listed.out;
    EXPECT_TRUE(Contains(listed.out, userPlugin)) << listed.out;

    test::Result printed = test::RunProgram(bin + "/zevdlg-cli", { "exec", "Print(basepath)" }, env);
    ASSERT_EQ(printed.code, 0) << printed.err;
    EXPECT_EQ(fs::path(printed.out.substr(0, printed.out.find_last_not_of("\r\n") + 1)), fs::path(share));

    test::Result checked = test::RunProgram(bin + "/zevdlg-cli", { "check", share + "/dialogue/sample.zev" }, env);
    EXPECT_EQ(checked.code, 0) << checked.out << checked.err;

    EXPECT_EQ(Take(), before);
    EXPECT_TRUE(fs::exists(home + "/.config/zevdlg/ZEVDlg.ini")) << "seeded on the first start";
    EXPECT_FALSE(fs::exists(home + "/.local/state/zevdlg/debug.log")) << "no debug.log without --log";
}

TEST_F(InstalledTree, WithoutAHomeTheCommandLineToolWarnsAndStillWritesNothingBesideItself)
{
    InstallCli();
    const Snapshot before = Take();
    const test::EnvChanges env { { "HOME", std::nullopt }, { "ZEVDLG_HOME", std::nullopt },
        { "XDG_CONFIG_HOME", std::nullopt }, { "XDG_STATE_HOME", std::nullopt }, { "XDG_DATA_HOME", std::nullopt },
        { "TMPDIR", dir.path() } };
    test::Result r = test::RunProgram(bin + "/zevdlg-cli", { "exec", "Print('hello')" }, env);
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 5), "hello");
    EXPECT_TRUE(Contains(r.err, "warning: HOME is not set")) << r.err;
    EXPECT_EQ(Take(), before);
    int temp = 0;
    for (const auto& e : fs::directory_iterator(dir.path()))
        temp += e.path().filename().string().rfind("zevdlg-", 0) == 0 ? 1 : 0;
    EXPECT_EQ(temp, 1);
}

} // namespace
} // namespace zev
