#pragma once

// The update checker over a real HTTP server on the loopback address, with a UI thread played by
// the test: what the checker posts runs when the test pumps the queue.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "app/update_progress.h"
#include "support/http_server.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"
#include "update/update_checker.h"

namespace zev::test {

// The UI thread's queue.
class UiLoop {
public:
    UiPoster Poster()
    {
        return [this](std::function<void()> fn) {
            {
                std::lock_guard lock(m_mutex);
                m_queue.push_back(std::move(fn));
            }
            m_ready.notify_one();
        };
    }
    // Runs what was posted until done() holds; false when nothing came for the time given.
    bool RunUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(20))
    {
        while (!done()) {
            std::function<void()> fn;
            {
                std::unique_lock lock(m_mutex);
                if (!m_ready.wait_for(lock, limit, [this] { return !m_queue.empty(); }))
                    return false;
                fn = std::move(m_queue.front());
                m_queue.pop_front();
            }
            fn();
        }
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_queue;
};

// "Web Update", answered as told; records what it showed.
struct RecordingNotesView : ReleaseNotesView {
    struct Shown {
        std::string address;
        std::string page;
        bool checkedAtOpen;
    };
    std::vector<Shown> shown;
    bool answerOk = true;
    bool leaveChecked = true;
    bool exec(ReleaseNotesModel& model) override
    {
        shown.push_back({ model.address(), model.page(), model.checkInFuture() });
        model.SetCheckInFuture(leaveChecked);
        return answerOk;
    }
};

// The desktop's launcher, recorded instead of started.
struct RecordingLaunches : CoreWindows {
    std::vector<LaunchRequest> launched;
    bool Launch(const LaunchRequest& request) override
    {
        launched.push_back(request);
        return true;
    }
};

class UpdateCheckerTest : public ::testing::Test {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    LogCapture capture { app.log() };
    UpdateProgressModel progress;
    RecordingNotesView notes;
    RecordingLaunches launches;
    HttpServer server;
    UiLoop loop;
    std::unique_ptr<UpdateChecker> checker;

    UpdateCheckerTest()
    {
        setenv("no_proxy", "127.0.0.1", 1); // a proxy of the environment must not answer for the test server
        app.SetWindows(&launches);
        MakeChecker(ShortLimits());
        UsePage("/info.html");
    }
    ~UpdateCheckerTest() override
    {
        checker.reset();
        app.SetWindows(nullptr);
    }

    static TransferLimits ShortLimits()
    {
        TransferLimits limits;
        limits.connectTimeout = std::chrono::seconds(5);
        limits.pageTimeout = std::chrono::seconds(10);
        limits.downloadTimeout = std::chrono::seconds(20);
        return limits;
    }
    void MakeChecker(const TransferLimits& limits)
    {
        checker = std::make_unique<UpdateChecker>(app, progress, loop.Poster(), limits);
        checker->SetNotesView(&notes);
    }
    void UsePage(const std::string& path)
    {
        ASSERT_TRUE(app.config().WriteString(kSectionGlobalConfig, kKeyUpdateURL, server.Url(path)));
    }
    // An information page with the given tags, one per line, inside some HTML.
    static std::string Page(const std::vector<std::pair<std::string, std::string>>& tags)
    {
        std::string page = "<html>\n<head>\n<title>ZEV Dialogue Tool</title>\n";
        for (const auto& [name, value] : tags)
            page += "<META NAME=\"" + name + "\" CONTENT=\"" + value + "\">\n";
        return page + "</head>\n<body><p>Release notes</p></body>\n</html>\n";
    }
    std::string PageFor(const std::string& version, const std::string& clientName = "zev.deb")
    {
        return Page({ { "zevProduct", "ZEV Dialogue Tool" }, { "zevVersion", version },
            { "zevDownload", server.Url("/dl/zev.deb") }, { "zevClientSideName", clientName },
            { "zevRunParameters", "--install now" } });
    }
    // Runs one check to its end; false when it did not end in time.
    bool Check(bool silent = false)
    {
        if (!checker->CheckForUpdates(silent))
            return false;
        return loop.RunUntil([this] { return !checker->busy(); });
    }
    std::string Downloads() const { return app.DownloadsFolder(); }
    std::string DownloadPath(const std::string& name) const
    {
        return (std::filesystem::path(Downloads()) / name).string();
    }
    // The names in the downloads folder, temporary ones included.
    std::vector<std::string> DownloadedNames() const
    {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : std::filesystem::directory_iterator(Downloads(), ec))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> Log() const { return capture.Messages(); }
    bool Logged(const std::string& line) const
    {
        std::vector<std::string> log = Log();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    std::vector<std::string> BoxTexts() const
    {
        std::vector<std::string> texts;
        for (const ScriptedDialogs::Shown& s : dialogs.History())
            texts.push_back(s.text);
        return texts;
    }
    // The one box shown, which must be the error box.
    void ExpectOnlyTheErrorBox() const
    {
        ASSERT_EQ(dialogs.History().size(), 1u) << ::testing::PrintToString(BoxTexts());
        EXPECT_EQ(dialogs.History()[0].text, kUpdateErrorText);
        EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Error);
    }
};

} // namespace zev::test
