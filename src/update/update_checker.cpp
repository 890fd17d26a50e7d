#include "update/update_checker.h"

#include <filesystem>
#include <system_error>

#include "app/app.h"
#include "app/update_progress.h"
#include "plugins/plugin_host.h"

namespace zev {

static_assert(kInstalledVersion == kProgramInterfaceVersion, "plug-ins and updates measure against one version");

std::string NewVersionQuestion(std::string_view installed, std::string_view published)
{
    return "There is a new version of ZEV Dialogue tool available online. Current version is " + std::string(installed)
        + ".\r\n\r\nThe new version is " + std::string(published) + ".\r\nDo you wish to download the update?";
}

std::string OverwriteQuestion(std::string_view file)
{
    return "File '" + std::string(file) + "' already exists. Overwrite?";
}

std::string OpenDownloadQuestion(std::string_view file)
{
    return "The update was saved as '" + std::string(file) + "'.\r\n\r\nDo you wish to open it now?";
}

// The page as read, after its redirection; only the UI thread looks at it.
struct UpdateChecker::PageRead {
    std::string error; // empty when the page was read and names a product and a version
    UpdateInfo info;
    std::string notesAddress;
    std::string notesPage;
};

namespace {

// Reads the information page and the page its redirection names instead (one step: that page's
// own redirection only names its release notes, which it is).
void ReadPages(const std::string& first, const TransferLimits& limits, const std::atomic<bool>& cancel,
    std::string& error, UpdateInfo& info, std::string& address, std::string& body)
{
    address = first;
    for (int step = 0; step < 2; ++step) {
        if (!IsWebAddress(address)) {
            error = "not an http or https address: '" + address + "'";
            return;
        }
        PageResult page = FetchPage(address, limits, cancel);
        if (!page.ok) {
            error = address + ": " + page.error;
            return;
        }
        info = ParseUpdatePage(page.body);
        body = std::move(page.body);
        if (step == 0 && !info.redirection.empty())
            address = info.redirection;
        else
            break;
    }
    if (info.product.empty() || info.version.empty())
        error = address + ": the page names no product or no version";
}

} // namespace

UpdateChecker::UpdateChecker(App& app, UpdateProgressModel& progress, UiPoster post, TransferLimits limits)
    : m_app(app)
    , m_progress(progress)
    , m_post(std::move(post))
    , m_limits(limits)
{
}

UpdateChecker::~UpdateChecker()
{
    m_cancel = true;
    JoinWorker();
    m_alive.reset();
}

void UpdateChecker::CheckFromMenu()
{
    m_app.log().Log("Checking for updates.");
    CheckForUpdates(false);
}

void UpdateChecker::CheckAtStartup()
{
    if (!m_app.settings().checkForUpdates)
        return;
    m_app.log().Log("AUTOUPDATE: Checking updates...");
    CheckForUpdates(true);
}

bool UpdateChecker::CheckForUpdates(bool silent)
{
    if (m_busy)
        return false;
    m_busy = true;
    m_silent = silent;
    const std::string address = UpdateURL(m_app.config());
    Run([this, address] {
        auto read = std::make_shared<PageRead>();
        ReadPages(address, m_limits, m_cancel, read->error, read->info, read->notesAddress, read->notesPage);
        Post([this, read] { OnPageRead(*read); });
    });
    return true;
}

void UpdateChecker::Run(std::function<void()> work)
{
    JoinWorker();
    m_worker = std::thread(std::move(work));
}

void UpdateChecker::Post(std::function<void()> fn)
{
    std::weak_ptr<bool> alive = m_alive;
    m_post([alive, fn = std::move(fn)] {
        if (alive.lock())
            fn();
    });
}

void UpdateChecker::JoinWorker()
{
    if (m_worker.joinable())
        m_worker.join();
}

void UpdateChecker::OnPageRead(const PageRead& read)
{
    JoinWorker();
    if (!read.error.empty()) {
        Fail(read.error);
        return;
    }
    Logger& log = m_app.log();
    Dialogs& dialogs = m_app.dialogs();
    const UpdateInfo& info = read.info;
    if (!IsNewerVersion(kInstalledVersion, info.version)) {
        log.Log("No updates found.");
        if (!m_silent)
            dialogs.Information(kNoUpdatesText);
        Finish();
        return;
    }
    log.Log("New version found: " + info.version + ", Current=" + std::string(kInstalledVersion));
    if (dialogs.MessageBox(
            NewVersionQuestion(kInstalledVersion, info.version), MsgIcon::Confirmation, MsgButtons::YesNo)
        != MsgResult::Yes) {
        Finish();
        return;
    }
    if (!ShowReleaseNotes(read)) {
        Finish();
        return;
    }
    if (!IsWebAddress(info.download)) {
        Fail("the page gives no http or https download address: '" + info.download + "'");
        return;
    }
    std::string name = info.clientSideName.empty() ? FileNameOfAddress(info.download) : info.clientSideName;
    std::optional<std::string> safe = SafeClientFileName(name);
    if (!safe) {
        Fail("no usable file name in '" + name + "'");
        return;
    }
    const std::string file = (std::filesystem::path(m_app.DownloadsFolder()) / *safe).string();
    log.Log("GetClientFilename => " + file);
    std::error_code ec;
    if (std::filesystem::exists(file, ec)
        && dialogs.MessageBox(OverwriteQuestion(file), MsgIcon::Warning, MsgButtons::YesNo) != MsgResult::Yes) {
        Fail("the existing " + file + " was kept");
        return;
    }
    StartDownload(info, file);
}

// Asked, logged, and shown; false when the window was cancelled.
bool UpdateChecker::ShowReleaseNotes(const PageRead& read)
{
    Logger& log = m_app.log();
    log.Log("Request show info ...");
    if (m_app.dialogs().MessageBox(kReleaseNotesQuestion, MsgIcon::Confirmation, MsgButtons::YesNo) != MsgResult::Yes) {
        log.Log("Skipping release notes.");
        return true;
    }
    log.Log("Showing release notes.");
    if (!m_notesView)
        return true;
    ReleaseNotesModel notes(read.notesAddress, read.notesPage);
    bool ok = m_notesView->exec(notes);
    m_app.settings().checkForUpdates = notes.checkInFuture();
    IniFile& config = m_app.config();
    if (!config.WriteBool(kSectionGlobalConfig, kKeyCheckForUpdates, notes.checkInFuture()))
        log.Log("Could not store \"" + std::string(kKeyCheckForUpdates) + "\": " + config.LastError());
    return ok;
}

void UpdateChecker::StartDownload(const UpdateInfo& info, const std::string& file)
{
    m_app.log().Log("Downloading " + file);
    m_progress.SetFile(file);
    Run([this, info, file] {
        TransferProgress progress = [this](std::int64_t total, std::int64_t done) {
            Post([this, total, done] { m_progress.Progress(total, done); });
        };
        auto result = std::make_shared<TransferResult>(DownloadFile(info.download, file, m_limits, progress, m_cancel));
        Post([this, result, info, file] { OnDownloaded(*result, info, file); });
    });
}

void UpdateChecker::OnDownloaded(const TransferResult& result, const UpdateInfo& info, const std::string& file)
{
    JoinWorker();
    m_progress.Finish();
    if (!result.ok) {
        Fail(info.download + ": " + result.error);
        return;
    }
    m_app.log().Log(file + " downloaded.");
    if (m_app.dialogs().MessageBox(OpenDownloadQuestion(file), MsgIcon::Confirmation, MsgButtons::YesNo)
        == MsgResult::Yes) {
        LaunchRequest request;
        request.app = file;
        request.params = info.runParameters;
        request.folder = std::filesystem::path(file).parent_path().string();
        if (!m_app.windows().Launch(request))
            m_app.log().Log("Could not open " + file);
    }
    Finish();
}

// The download-error event: the reason to the log, the Part's box to the user, even when silent.
void UpdateChecker::Fail(const std::string& reason)
{
    m_app.log().Log("Update check failed: " + reason);
    m_app.dialogs().Error(kUpdateErrorText);
    Finish();
}

void UpdateChecker::Finish()
{
    m_busy = false;
    m_silent = false;
    finished.Emit();
}

} // namespace zev
