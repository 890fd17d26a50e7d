// The update check through the whole desktop program: Help > "Check for updates...", the
// "Web Update" window, the download with its progress window, and the silent check at start-up,
// against a server on the loopback address.

#include "gui_support.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

#include <cstdlib>
#include <filesystem>

#include "app/gui/update_progress_window.h"
#include "desktop/gui/desktop_program.h"
#include "desktop/gui/main_window.h"
#include "support/http_server.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "update/gui/release_notes_window.h"

namespace zev {
namespace {

class UpdateProgramTest : public test::GuiTest {
protected:
    test::TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<Workbench> bench;
    App* app = nullptr;
    std::unique_ptr<test::LogCapture> capture;
    test::HttpServer server;

    UpdateProgramTest()
    {
        setenv("no_proxy", "127.0.0.1", 1);
        std::filesystem::copy(ZEV_DIST_DIR, dir.path(), std::filesystem::copy_options::recursive);
        bench = std::make_unique<Workbench>(dialogs, dir.path());
        app = &bench->app();
        capture = std::make_unique<test::LogCapture>(app->log());
        EXPECT_TRUE(app->config().WriteString(kSectionGlobalConfig, kKeyUpdateURL, server.Url("/info.html")));
        // The shipped configuration has the start-up check off until an update page is published.
        EXPECT_TRUE(app->config().WriteString(kSectionGlobalConfig, "Check for updates at startup", "1"));
    }
    std::string Page(const std::string& version) const
    {
        return "<html><head>\n<META NAME=\"zevProduct\" CONTENT=\"ZEV Dialogue Tool\">\n"
               "<META NAME=\"zevVersion\" CONTENT=\""
            + version + "\">\n<META NAME=\"zevDownload\" CONTENT=\"" + server.Url("/dl/zevdlg_" + version + ".deb")
            + "\">\n</head><body><h1>What is new</h1></body></html>\n";
    }
    // Runs the event loop until the condition holds or 20 s passed.
    static bool PumpUntil(const std::function<bool()>& done)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 20'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    bool Logged(const std::string& line) const
    {
        std::vector<std::string> log = capture->Messages();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
};

TEST_F(UpdateProgramTest, HelpMenuDownloadsTheNewVersionAndTheNotesWindowStoresItsCheckBox)
{
    const std::string installer(150'000, 'i');
    server.ServePage("/info.html", Page("0.26"));
    server.ServePage("/dl/zevdlg_0.26.deb", installer);
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start({});
    ASSERT_TRUE(app->settings().checkForUpdates);
    bool sawProgress = false;
    program.updateProgress().changed.Connect([&] { sawProgress = sawProgress || program.updateProgress().visible(); });

    dialogs.PushButton(MsgResult::Yes); // download?
    dialogs.PushButton(MsgResult::Yes); // release notes?
    dialogs.PushButton(MsgResult::No); // open it?
    test::WhenModal<ReleaseNotesWindow>([](ReleaseNotesWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Web Update");
        EXPECT_TRUE(w->browser()->toPlainText().contains("What is new"));
        EXPECT_EQ(w->checkBox()->text(), "C&heck for updates in the future");
        EXPECT_TRUE(w->checkBox()->isChecked());
        EXPECT_FALSE(w->windowFlags() & Qt::WindowCloseButtonHint);
        w->checkBox()->setChecked(false);
        w->okButton()->click();
    });
    ASSERT_TRUE(program.window().Trigger(MenuCommand::CheckForUpdates));
    EXPECT_TRUE(program.updateChecker().busy()) << "the page is read off the GUI thread";
    ASSERT_TRUE(PumpUntil([&] { return !program.updateChecker().busy(); }));

    const std::string file = (std::filesystem::path(app->DownloadsFolder()) / "zevdlg_0.26.deb").string();
    EXPECT_TRUE(Logged("Checking for updates."));
    EXPECT_TRUE(Logged(file + " downloaded."));
    EXPECT_EQ(test::ReadFileBytes(file), installer);
    EXPECT_TRUE(sawProgress);
    ASSERT_NE(program.updateProgressWindow(), nullptr);
    EXPECT_FALSE(program.updateProgressWindow()->isVisible());
    EXPECT_EQ(program.updateProgressWindow()->fileLabel()->text().toStdString(), "File: " + file);
    EXPECT_FALSE(app->settings().checkForUpdates);
    EXPECT_FALSE(app->config().ReadBool(kSectionGlobalConfig, kKeyCheckForUpdates, true));
    ASSERT_EQ(dialogs.History().size(), 3u);
    EXPECT_EQ(dialogs.History()[2].text, OpenDownloadQuestion(file));
}

TEST_F(UpdateProgramTest, TheStartUpCheckIsSilentWhenTheWindowFirstShows)
{
    server.ServePage("/info.html", Page("0.25"));
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.SetUpdateCheckAtStart(true);
    program.Start({});
    ASSERT_TRUE(PumpUntil([&] { return Logged("No updates found."); }));
    std::vector<std::string> log = capture->Messages();
    auto init = std::find(log.begin(), log.end(), "Init complete.");
    auto check = std::find(log.begin(), log.end(), "AUTOUPDATE: Checking updates...");
    EXPECT_LT(init, check);
    EXPECT_NE(check, log.end());
    EXPECT_TRUE(dialogs.History().empty());
    EXPECT_EQ(server.Requests(), (std::vector<std::string> { "/info.html" }));
}

TEST_F(UpdateProgramTest, AProgramForATestDoesNotCheckAtStart)
{
    server.ServePage("/info.html", Page("0.26"));
    DesktopProgram program(*bench, TextEncoding::Cp1252);
    program.Start({});
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    EXPECT_FALSE(program.updateChecker().busy());
    EXPECT_TRUE(server.Requests().empty());
}

} // namespace
} // namespace zev
