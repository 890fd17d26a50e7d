// One check through the checker's model against the loopback server: the questions, the log, the
// release notes, the download and the start of the downloaded file.

#include "update_fixture.h"

#include <fstream>
#include <thread>

#include "support/temp_dir.h"

namespace zev::test {
namespace {

TEST_F(UpdateCheckerTest, NewerVersionIsAskedShownDownloadedAndOpenedOnlyAfterYes)
{
    std::string installer(300'000, '\0');
    for (std::size_t i = 0; i < installer.size(); ++i)
        installer[i] = static_cast<char>(i * 131 % 251);
    server.ServePage("/info.html", PageFor("0.26"));
    server.ServePage("/dl/zev.deb", installer);
    std::vector<std::pair<bool, std::int64_t>> reports; // visible, position
    progress.changed.Connect([&] { reports.emplace_back(progress.visible(), progress.position()); });
    for (MsgResult answer : { MsgResult::Yes, MsgResult::Yes, MsgResult::Yes })
        dialogs.PushButton(answer);

    checker->CheckFromMenu();
    ASSERT_TRUE(loop.RunUntil([this] { return !checker->busy(); }));

    const std::string file = DownloadPath("zev.deb");
    EXPECT_EQ(Log(),
        (std::vector<std::string> { "Checking for updates.", "New version found: 0.26, Current=0.25",
            "Request show info ...", "Showing release notes.", "GetClientFilename => " + file, "Downloading " + file,
            file + " downloaded." }));
    EXPECT_EQ(BoxTexts(),
        (std::vector<std::string> {
            NewVersionQuestion("0.25", "0.26"), std::string(kReleaseNotesQuestion), OpenDownloadQuestion(file) }));
    EXPECT_EQ(NewVersionQuestion("0.25", "0.26"),
        "There is a new version of ZEV Dialogue tool available online. Current version is 0.25.\r\n\r\n"
        "The new version is 0.26.\r\nDo you wish to download the update?");
    for (const ScriptedDialogs::Shown& box : dialogs.History())
        EXPECT_EQ(box.buttons, MsgButtons::YesNo) << box.text;

    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].address, server.Url("/info.html")) << "no redirection: the page itself";
    EXPECT_NE(notes.shown[0].page.find("Release notes"), std::string::npos);
    EXPECT_TRUE(notes.shown[0].checkedAtOpen);
    EXPECT_TRUE(app.settings().checkForUpdates);

    EXPECT_EQ(ReadFileBytes(file), installer);
    EXPECT_EQ(DownloadedNames(), (std::vector<std::string> { "zev.deb" })) << "no temporary file left";
    EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [](const auto& r) { return r.first; }))
        << "shown while bytes are missing";
    EXPECT_FALSE(progress.visible());
    EXPECT_EQ(progress.position(), static_cast<std::int64_t>(installer.size()));
    EXPECT_EQ(progress.maximum(), static_cast<std::int64_t>(installer.size()));
    EXPECT_EQ(progress.fileText(), "File: " + file);

    ASSERT_EQ(launches.launched.size(), 1u);
    EXPECT_EQ(launches.launched[0].app, file);
    EXPECT_EQ(launches.launched[0].params, "--install now");
}

TEST_F(UpdateCheckerTest, EqualOlderAndLongerVersionsFindNoUpdate)
{
    for (const char* version : { "0.25", "0.24", "0.25.1", "0.3" }) {
        SCOPED_TRACE(version);
        server.ServePage("/info.html", PageFor(version));
        dialogs.ClearHistory();
        capture.lines.clear();
        ASSERT_TRUE(Check());
        EXPECT_EQ(Log(), (std::vector<std::string> { "No updates found." }));
        ASSERT_EQ(dialogs.History().size(), 1u);
        EXPECT_EQ(dialogs.History()[0].text, kNoUpdatesText);
        EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Information);
    }
    EXPECT_EQ(server.RequestCount("/dl/zev.deb"), 0);
}

TEST_F(UpdateCheckerTest, TheStartUpCheckIsSilentAndFollowsTheSetting)
{
    server.ServePage("/info.html", PageFor("0.25"));
    app.settings().checkForUpdates = false;
    checker->CheckAtStartup();
    EXPECT_FALSE(checker->busy());
    EXPECT_TRUE(Log().empty());

    app.settings().checkForUpdates = true;
    checker->CheckAtStartup();
    ASSERT_TRUE(loop.RunUntil([this] { return !checker->busy(); }));
    EXPECT_EQ(Log(), (std::vector<std::string> { "AUTOUPDATE: Checking updates...", "No updates found." }));
    EXPECT_TRUE(dialogs.History().empty()) << "silent: no box";

    // The next check from the menu is not silent any more.
    ASSERT_TRUE(Check());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string> { std::string(kNoUpdatesText) }));
}

TEST_F(UpdateCheckerTest, NoToTheDownloadEndsTheCheck)
{
    server.ServePage("/info.html", PageFor("1.0"));
    dialogs.PushButton(MsgResult::No);
    ASSERT_TRUE(Check());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string> { NewVersionQuestion("0.25", "1.0") }));
    EXPECT_TRUE(notes.shown.empty());
    EXPECT_EQ(server.RequestCount("/dl/zev.deb"), 0);
}

TEST_F(UpdateCheckerTest, RedirectionsAreFollowedAndCancelledNotesEndTheCheckAndStoreTheBox)
{
    // An HTTP redirection to a page whose own redirection names the page to read instead.
    server.Redirect("/start", server.Url("/info.html"));
    server.ServePage("/info.html",
        Page({ { "zevProduct", "ZEV Dialogue Tool" }, { "zevVersion", "0.25" },
            { "zevRedirection", server.Url("/notes.html") } }));
    server.ServePage("/notes.html", PageFor("0.27"));
    UsePage("/start");
    notes.answerOk = false;
    notes.leaveChecked = false;
    dialogs.PushButton(MsgResult::Yes);
    dialogs.PushButton(MsgResult::Yes);
    ASSERT_TRUE(Check());

    EXPECT_EQ(server.Requests(), (std::vector<std::string> { "/start", "/info.html", "/notes.html" }));
    EXPECT_TRUE(Logged("New version found: 0.27, Current=0.25")) << "the redirection's page counts";
    ASSERT_EQ(notes.shown.size(), 1u);
    EXPECT_EQ(notes.shown[0].address, server.Url("/notes.html"));
    EXPECT_EQ(notes.shown[0].page, PageFor("0.27"));
    EXPECT_EQ(dialogs.History().size(), 2u) << "Cancel ends the check";
    EXPECT_FALSE(app.settings().checkForUpdates);
    EXPECT_FALSE(app.config().ReadBool(kSectionGlobalConfig, kKeyCheckForUpdates, true)) << "for the next start";
}

TEST_F(UpdateCheckerTest, SkippedNotesGoOnToTheDownloadAndNoLeavesTheFileUnopened)
{
    server.ServePage("/info.html", PageFor("0.26"));
    server.ServePage("/dl/zev.deb", "new");
    for (MsgResult answer : { MsgResult::Yes, MsgResult::No, MsgResult::No })
        dialogs.PushButton(answer);
    ASSERT_TRUE(Check());
    EXPECT_TRUE(Logged("Skipping release notes."));
    EXPECT_TRUE(notes.shown.empty());
    EXPECT_EQ(ReadFileBytes(DownloadPath("zev.deb")), "new");
    EXPECT_TRUE(launches.launched.empty()) << "never started without a Yes";
}

TEST_F(UpdateCheckerTest, ADeclinedOverwriteKeepsTheFileAndDownloadsNothing)
{
    server.ServePage("/info.html", PageFor("0.26"));
    server.ServePage("/dl/zev.deb", "new");
    std::filesystem::create_directories(Downloads());
    std::ofstream(DownloadPath("zev.deb"), std::ios::binary) << "old";
    for (MsgResult answer : { MsgResult::Yes, MsgResult::No, MsgResult::No })
        dialogs.PushButton(answer);
    ASSERT_TRUE(Check());
    ASSERT_EQ(dialogs.History().size(), 4u) << ::testing::PrintToString(BoxTexts());
    EXPECT_EQ(dialogs.History()[2].text, OverwriteQuestion(DownloadPath("zev.deb")));
    EXPECT_EQ(dialogs.History()[2].icon, MsgIcon::Warning);
    EXPECT_EQ(dialogs.History()[3].text, kUpdateErrorText);
    EXPECT_EQ(ReadFileBytes(DownloadPath("zev.deb")), "old");
    EXPECT_EQ(server.RequestCount("/dl/zev.deb"), 0);

    // Yes replaces it.
    dialogs.ClearHistory();
    for (MsgResult answer : { MsgResult::Yes, MsgResult::No, MsgResult::Yes, MsgResult::No })
        dialogs.PushButton(answer);
    ASSERT_TRUE(Check());
    EXPECT_EQ(ReadFileBytes(DownloadPath("zev.deb")), "new");
    EXPECT_EQ(DownloadedNames(), (std::vector<std::string> { "zev.deb" }));
}

TEST_F(UpdateCheckerTest, AHostileClientFileNameStaysInTheDownloadsFolderOrIsRefused)
{
    server.ServePage("/info.html", PageFor("0.26", "../../evil.sh"));
    server.ServePage("/dl/zev.deb", "payload");
    for (MsgResult answer : { MsgResult::Yes, MsgResult::No, MsgResult::No })
        dialogs.PushButton(answer);
    ASSERT_TRUE(Check());
    EXPECT_EQ(DownloadedNames(), (std::vector<std::string> { "evil.sh" }));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.path()) / "evil.sh"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(dir.path()).parent_path() / "evil.sh"));

    // Nothing left of the name: refused before anything is downloaded.
    server.ServePage("/info.html", PageFor("0.26", "../.."));
    dialogs.ClearHistory();
    dialogs.PushButton(MsgResult::Yes);
    dialogs.PushButton(MsgResult::No);
    ASSERT_TRUE(Check());
    EXPECT_EQ(BoxTexts().back(), kUpdateErrorText);
    EXPECT_EQ(server.RequestCount("/dl/zev.deb"), 1);
}

TEST_F(UpdateCheckerTest, ASecondCheckDuringOneReturnsAtOnceAndClosingCancelsTheTransfer)
{
    server.Serve("/info.html", HttpReply::Of(HttpReply::Kind::Stall));
    EXPECT_TRUE(checker->CheckForUpdates(false));
    EXPECT_TRUE(checker->busy());
    EXPECT_FALSE(checker->CheckForUpdates(false));
    checker->CheckFromMenu();
    EXPECT_EQ(Log(), (std::vector<std::string> { "Checking for updates." }));
    for (int i = 0; i < 500 && server.RequestCount("/info.html") == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(server.RequestCount("/info.html"), 1);
    auto start = std::chrono::steady_clock::now();
    checker.reset(); // the page time-out is 10 s
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    // What the cancelled transfer posted on its way out is dropped.
    EXPECT_FALSE(loop.RunUntil([] { return false; }, std::chrono::seconds(1)));
    EXPECT_TRUE(dialogs.History().empty()) << "a check ended by closing reports nothing";
    EXPECT_EQ(server.RequestCount("/info.html"), 1);
}

} // namespace
} // namespace zev::test
