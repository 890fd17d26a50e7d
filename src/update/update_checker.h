#pragma once

// The update check: the page is read and the file downloaded on a worker thread; every question,
// box, log line and the progress window are handled on the front end's UI thread, reached through
// the poster the front end gives.

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "base/signal.h"
#include "update/http_transfer.h"
#include "update/update_page.h"

namespace zev {

class App;
class UpdateProgressModel;

inline constexpr std::string_view kUpdateErrorText = "Error while downloading update!";
inline constexpr std::string_view kNoUpdatesText = "No updates found. The dialogue tool is up-to-date.";
inline constexpr std::string_view kReleaseNotesQuestion = "Do you wish to view the release notes?";
// "There is a new version ..." with the installed and the published version.
std::string NewVersionQuestion(std::string_view installed, std::string_view published);
// "File '%s' already exists. Overwrite?"
std::string OverwriteQuestion(std::string_view file);
// Asked before the downloaded file is opened: nothing starts without a Yes.
std::string OpenDownloadQuestion(std::string_view file);

// "Web Update": the release notes window's state.
class ReleaseNotesModel {
public:
    static constexpr std::string_view kTitle = "Web Update";
    static constexpr std::string_view kOkCaption = "&OK";
    static constexpr std::string_view kCancelCaption = "&Cancel";
    static constexpr std::string_view kCheckCaption = "C&heck for updates in the future";

    ReleaseNotesModel(std::string address, std::string page)
        : m_address(std::move(address))
        , m_page(std::move(page))
    {
    }
    // The page shown: its address and its bytes as read.
    const std::string& address() const { return m_address; }
    const std::string& page() const { return m_page; }
    bool checkInFuture() const { return m_checkInFuture; }
    void SetCheckInFuture(bool on) { m_checkInFuture = on; }

private:
    std::string m_address;
    std::string m_page;
    bool m_checkInFuture = true;
};

class ReleaseNotesView {
public:
    virtual ~ReleaseNotesView() = default;
    // Modal; true for OK. The check box's state is left in the model.
    virtual bool exec(ReleaseNotesModel& model) = 0;
};

// Runs a function on the UI thread; callable from any thread.
using UiPoster = std::function<void(std::function<void()>)>;

class UpdateChecker {
public:
    UpdateChecker(App& app, UpdateProgressModel& progress, UiPoster post, TransferLimits limits = {});
    // Cancels a running transfer and waits for its thread; what it posted afterwards is dropped.
    ~UpdateChecker();
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // Without a view the notes are not shown and the check goes on as after OK.
    void SetNotesView(ReleaseNotesView* view) { m_notesView = view; }

    // Help > "Check for updates...": logged, then a check that is not silent.
    void CheckFromMenu();
    // The main window's first showing: a silent check when "Check for updates at startup" is on.
    void CheckAtStartup();
    // One check of the page named by "UpdateURL"; false when one is running already.
    bool CheckForUpdates(bool silent);
    bool busy() const { return m_busy; }

    // A check ended, whatever its outcome.
    Signal<> finished;

private:
    struct PageRead;

    void Run(std::function<void()> work);
    void Post(std::function<void()> fn);
    void JoinWorker();
    void OnPageRead(const PageRead& read);
    bool ShowReleaseNotes(const PageRead& read);
    void StartDownload(const UpdateInfo& info, const std::string& file);
    void OnDownloaded(const TransferResult& result, const UpdateInfo& info, const std::string& file);
    void Fail(const std::string& reason);
    void Finish();

    App& m_app;
    UpdateProgressModel& m_progress;
    UiPoster m_post;
    TransferLimits m_limits;
    ReleaseNotesView* m_notesView = nullptr;
    bool m_busy = false;
    bool m_silent = false;
    std::atomic<bool> m_cancel { false };
    std::thread m_worker;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace zev
