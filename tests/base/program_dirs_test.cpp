#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include <sys/stat.h>

#include "base/program_dirs.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

namespace fs = std::filesystem;

// A fake environment and a temporary tree: <root>/bin beside <root>/share/zevdlg, a home folder.
struct DirsFixture : ::testing::Test {
    test::TempDir dir;
    std::string root = dir.path();
    std::string bin = root + "/bin";
    std::string share = root + "/share/zevdlg";
    std::string home = root + "/home";
    std::map<std::string, std::string, std::less<>> env { { "HOME", home } };

    DirsFixture()
    {
        fs::create_directories(bin);
        fs::create_directories(share);
        fs::create_directories(home);
    }
    EnvLookup Env() const
    {
        return [this](std::string_view name) -> std::optional<std::string> {
            auto it = env.find(name);
            return it == env.end() ? std::nullopt : std::optional<std::string>(it->second);
        };
    }
    ProgramDirs Decide(std::string_view exe, std::string_view homeOption = {}) const
    {
        return DecideProgramDirs(exe, homeOption, Env());
    }
    static unsigned Mode(const std::string& path)
    {
        struct stat st { };
        return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
    }
};

void ExpectPortable(const ProgramDirs& d, const std::string& folder)
{
    EXPECT_EQ(d.layout, ProgramLayout::Portable);
    EXPECT_EQ(d.dataFolder, folder);
    EXPECT_EQ(d.ConfigFile(), folder + "/ZEVDlg.ini");
    EXPECT_EQ(d.LogFile(), folder + "/debug.log");
    EXPECT_EQ(d.TranscriptFolder(), folder + "/dialogue/history");
    EXPECT_EQ(d.FuncDescFile(), folder + "/func_desc.ini");
    EXPECT_EQ(d.DownloadsFolder(), folder + "/downloads");
    EXPECT_EQ(d.PluginFolders(), std::vector<std::string> { folder + "/plugins/" });
}

// ---- The decision.

TEST_F(DirsFixture, AFolderWithItsDataBesideTheExecutableKeepsEverythingInIt)
{
    const std::string dist = root + "/build/dist";
    fs::create_directories(dist);
    ExpectPortable(Decide(dist), dist);
    // A folder named bin without share/zevdlg beside it is portable too.
    fs::remove_all(root + "/share");
    ExpectPortable(Decide(bin), bin);
}

TEST_F(DirsFixture, HomeOptionThenZevdlgHomeWinOverTheInstalledLayout)
{
    env["ZEVDLG_HOME"] = root + "/from-env";
    ExpectPortable(Decide(bin, root + "/from-option"), root + "/from-option");
    ExpectPortable(Decide(bin), root + "/from-env");
    env["ZEVDLG_HOME"] = "";
    EXPECT_EQ(Decide(bin).layout, ProgramLayout::Installed) << "an empty ZEVDLG_HOME counts as unset";
}

TEST_F(DirsFixture, InstalledLayoutReadsShareAndWritesTheUsersXdgDefaults)
{
    for (const std::string& exe : { bin, bin + "/", root + "/./bin" }) {
        SCOPED_TRACE(exe);
        const ProgramDirs d = Decide(exe);
        EXPECT_EQ(d.layout, ProgramLayout::Installed);
        EXPECT_EQ(fs::path(d.dataFolder), fs::path(share));
        EXPECT_EQ(d.DataPath("\\def\\def_list.dws"), share + "/def/def_list.dws");
        EXPECT_EQ(d.ConfigFile(), home + "/.config/zevdlg/ZEVDlg.ini");
        EXPECT_EQ(d.LogFile(), home + "/.local/state/zevdlg/debug.log");
        EXPECT_EQ(d.TranscriptFolder(), home + "/.local/state/zevdlg/transcripts");
        EXPECT_EQ(d.FuncDescFile(), home + "/.local/share/zevdlg/func_desc.ini");
        EXPECT_EQ(d.DownloadsFolder(), home + "/.local/share/zevdlg/downloads");
        EXPECT_EQ(d.PluginFolders(),
            (std::vector<std::string> { share + "/plugins/", home + "/.local/share/zevdlg/plugins/" }));
    }
}

TEST_F(DirsFixture, AbsoluteXdgVariablesCountRelativeAndEmptyOnesAreIgnored)
{
    env["XDG_CONFIG_HOME"] = "/xdg/config";
    env["XDG_STATE_HOME"] = "/xdg/state/";
    env["XDG_DATA_HOME"] = "/xdg/data";
    ProgramDirs d = Decide(bin);
    EXPECT_EQ(d.configFolder, "/xdg/config/zevdlg");
    EXPECT_EQ(d.stateFolder, "/xdg/state/zevdlg");
    EXPECT_EQ(d.userFolder, "/xdg/data/zevdlg");

    env["XDG_CONFIG_HOME"] = "relative/config";
    env["XDG_STATE_HOME"] = "";
    env["XDG_DATA_HOME"] = "~/data";
    d = Decide(bin);
    EXPECT_EQ(d.configFolder, home + "/.config/zevdlg");
    EXPECT_EQ(d.stateFolder, home + "/.local/state/zevdlg");
    EXPECT_EQ(d.userFolder, home + "/.local/share/zevdlg");
}

TEST_F(DirsFixture, AnUnusableHomeLeavesOnlyTheFoldersXdgNames)
{
    for (const char* bad : { "", "relative/home", "/", "//" }) {
        SCOPED_TRACE(bad);
        env["HOME"] = bad;
        env["XDG_STATE_HOME"] = "/xdg/state";
        const ProgramDirs d = Decide(bin);
        EXPECT_EQ(d.layout, ProgramLayout::Installed);
        EXPECT_EQ(d.configFolder, "");
        EXPECT_EQ(d.stateFolder, "/xdg/state/zevdlg");
        EXPECT_EQ(d.userFolder, "");
    }
    env.clear();
    EXPECT_EQ(Decide(bin).configFolder, "");
}

// ---- Preparing the folders.

TEST_F(DirsFixture, PreparingMakesPrivateFoldersAndSeedsTheShippedDefaultsOnce)
{
    dir.Write("share/zevdlg/ZEVDlg.ini", "[Global Config]\r\nDebugMode=0\r\n");
    dir.Write("share/zevdlg/func_desc.ini", "[Functions]\r\nPrint=shipped\r\n");
    ::chmod((share + "/ZEVDlg.ini").c_str(), 0444); // as a package may ship it
    ProgramDirs d = Decide(bin);
    std::string error;
    ASSERT_TRUE(PrepareProgramDirs(d, error)) << error;
    EXPECT_TRUE(d.warning.empty());
    EXPECT_EQ(test::ReadFileBytes(d.ConfigFile()), "[Global Config]\r\nDebugMode=0\r\n");
    EXPECT_EQ(test::ReadFileBytes(d.FuncDescFile()), "[Functions]\r\nPrint=shipped\r\n");
    EXPECT_EQ(Mode(d.ConfigFile()) & 0600, 0600u) << "the user's copy is writable";
    for (const std::string& f : { d.configFolder, d.stateFolder, d.userFolder, d.userFolder + "/plugins" }) {
        SCOPED_TRACE(f);
        EXPECT_EQ(Mode(f), 0700u);
    }
    ASSERT_FALSE(d.notes.empty());
    EXPECT_NE(d.notes.front().find(d.stateFolder), std::string::npos) << d.notes.front();
    for (const auto& e : fs::directory_iterator(d.configFolder))
        EXPECT_EQ(e.path().filename(), "ZEVDlg.ini") << "no temporary file left";

    // The user's own edits survive the next start.
    dir.Write("home/.config/zevdlg/ZEVDlg.ini", "edited");
    ProgramDirs again = Decide(bin);
    ASSERT_TRUE(PrepareProgramDirs(again, error));
    EXPECT_EQ(test::ReadFileBytes(again.ConfigFile()), "edited");
    EXPECT_EQ(test::ReadFileBytes(share + "/func_desc.ini"), "[Functions]\r\nPrint=shipped\r\n");
}

TEST_F(DirsFixture, AMissingShippedFileOrAFolderThatCannotBeMadeIsANoteNotAFailure)
{
    dir.Write("blocker", "a file where a folder should be");
    env["XDG_CONFIG_HOME"] = root + "/blocker";
    ProgramDirs d = Decide(bin);
    std::string error;
    ASSERT_TRUE(PrepareProgramDirs(d, error));
    EXPECT_FALSE(fs::exists(d.FuncDescFile()));
    auto noted = [&](std::string_view part) {
        return std::any_of(d.notes.begin(), d.notes.end(), [&](const auto& n) { return n.find(part) != n.npos; });
    };
    EXPECT_TRUE(noted("Cannot create folder " + root + "/blocker")) << ::testing::PrintToString(d.notes);
    EXPECT_TRUE(noted("No shipped " + share + "/func_desc.ini"));
    EXPECT_EQ(test::ReadFileBytes(root + "/blocker"), "a file where a folder should be");
}

TEST_F(DirsFixture, WithoutAHomeTheFilesGoToAFreshTemporaryFolderWithAWarning)
{
    const char* before = std::getenv("TMPDIR");
    const std::string saved = before ? before : "";
    const std::string tmp = root + "/tmp";
    fs::create_directories(tmp);
    ::setenv("TMPDIR", tmp.c_str(), 1);
    env.erase("HOME");
    ProgramDirs d = Decide(bin);
    std::string error;
    const bool ok = PrepareProgramDirs(d, error);
    before ? ::setenv("TMPDIR", saved.c_str(), 1) : ::unsetenv("TMPDIR");
    ASSERT_TRUE(ok) << error;

    EXPECT_NE(d.warning.find("HOME is not set"), std::string::npos);
    for (const std::string& f : { d.configFolder, d.stateFolder, d.userFolder }) {
        SCOPED_TRACE(f);
        EXPECT_EQ(f.rfind(tmp + "/zevdlg-", 0), 0u);
        EXPECT_TRUE(fs::is_directory(f));
    }
    EXPECT_EQ(Mode(fs::path(d.configFolder).parent_path().string()), 0700u);
    EXPECT_NE(d.configFolder, d.stateFolder);
}

TEST_F(DirsFixture, APortableFolderIsLeftAsItIs)
{
    ProgramDirs d = PortableProgramDirs(root + "/portable");
    std::string error;
    ASSERT_TRUE(PrepareProgramDirs(d, error));
    EXPECT_FALSE(fs::exists(root + "/portable"));
    EXPECT_TRUE(d.notes.empty());
}

} // namespace
} // namespace zev
