#include "update/http_transfer.h"

#include <curl/curl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

namespace zev {

namespace {

namespace fs = std::filesystem;

constexpr char kProtocols[] = "http,https";
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
using CurlHandle = std::unique_ptr<CURL, CurlDeleter>;

// What the callbacks of one transfer share.
struct Transfer {
    const std::atomic<bool>* cancel = nullptr;
    std::int64_t cap = 0;
    std::int64_t received = 0;
    bool overCap = false;
    // A page goes into body; a file to fd.
    std::string* body = nullptr;
    int fd = -1;
    int writeError = 0; // errno of the write that failed
    const TransferProgress* progress = nullptr;
    std::chrono::steady_clock::time_point lastReport {};
    std::int64_t total = 0;
};

size_t Write(char* data, size_t size, size_t count, void* user)
{
    auto& t = *static_cast<Transfer*>(user);
    const size_t n = size * count;
    if (t.received + static_cast<std::int64_t>(n) > t.cap) {
        t.overCap = true;
        return 0; // a short write ends the transfer
    }
    t.received += static_cast<std::int64_t>(n);
    if (t.body) {
        t.body->append(data, n);
        return n;
    }
    for (size_t done = 0; done < n;) {
        ssize_t w = ::write(t.fd, data + done, n - done);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0) {
            t.writeError = w < 0 ? errno : ENOSPC;
            return 0;
        }
        done += static_cast<size_t>(w);
    }
    return n;
}

int Progress(void* user, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t)
{
    auto& t = *static_cast<Transfer*>(user);
    if (t.cancel->load())
        return 1;
    if (dltotal > t.cap) {
        t.overCap = true;
        return 1;
    }
    t.total = dltotal;
    auto now = std::chrono::steady_clock::now();
    if (t.progress && *t.progress && now - t.lastReport >= kProgressInterval) {
        t.lastReport = now;
        (*t.progress)(dltotal, dlnow);
    }
    return 0;
}

CurlHandle NewHandle(const std::string& address, const TransferLimits& limits, std::chrono::milliseconds total,
    Transfer& transfer, char* errors)
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CurlHandle curl(curl_easy_init());
    if (!curl)
        return curl;
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, address.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L); // a worker thread: no SIGALRM for DNS time-outs
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, static_cast<long>(total.count()));
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.lowSpeedTime.count()));
    curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(transfer.cap));
    curl_easy_setopt(c, CURLOPT_USERAGENT, "zevdlg/" ZEV_VERSION_TEXT);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, Write);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errors);
    return curl;
}

// Runs the transfer; the reason when it failed, empty when it succeeded.
std::string Perform(CURL* curl, const Transfer& t, const char* errors)
{
    CURLcode rc = curl_easy_perform(curl);
    if (t.overCap || rc == CURLE_FILESIZE_EXCEEDED)
        return "larger than " + std::to_string(t.cap) + " bytes";
    if (t.writeError)
        return std::string("cannot write the file: ") + std::strerror(t.writeError);
    if (rc == CURLE_ABORTED_BY_CALLBACK && t.cancel->load())
        return "cancelled";
    if (rc != CURLE_OK)
        return errors[0] ? std::string(errors) : std::string(curl_easy_strerror(rc));
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299)
        return "the server answered " + std::to_string(status);
    return {};
}

} // namespace

PageResult FetchPage(const std::string& address, const TransferLimits& limits, const std::atomic<bool>& cancel)
{
    PageResult result;
    Transfer t;
    t.cancel = &cancel;
    t.cap = limits.maxPageBytes;
    t.body = &result.body;
    char errors[CURL_ERROR_SIZE] = {};
    CurlHandle curl = NewHandle(address, limits, limits.pageTimeout, t, errors);
    if (!curl) {
        result.error = "libcurl could not start a transfer";
        return result;
    }
    result.error = Perform(curl.get(), t, errors);
    result.ok = result.error.empty();
    if (!result.ok)
        result.body.clear();
    return result;
}

TransferResult DownloadFile(const std::string& address, const std::string& target, const TransferLimits& limits,
    const TransferProgress& progress, const std::atomic<bool>& cancel)
{
    TransferResult result;
    const fs::path final(target);
    std::error_code ec;
    fs::create_directories(final.parent_path(), ec);
    // Beside the target, so the rename stays on one file system; hidden while incomplete.
    std::string temp = (final.parent_path() / ("." + final.filename().string() + ".part-XXXXXX")).string();
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    int fd = mkstemp(name.data());
    if (fd < 0) {
        result.error = "cannot create a file in " + final.parent_path().string() + ": " + std::strerror(errno);
        return result;
    }
    temp = name.data();
    fchmod(fd, 0644);

    Transfer t;
    t.cancel = &cancel;
    t.cap = limits.maxDownloadBytes;
    t.fd = fd;
    t.progress = &progress;
    char errors[CURL_ERROR_SIZE] = {};
    CurlHandle curl = NewHandle(address, limits, limits.downloadTimeout, t, errors);
    result.error = curl ? Perform(curl.get(), t, errors) : "libcurl could not start a transfer";
    if (result.error.empty() && ::fsync(fd) != 0)
        result.error = std::string("cannot write the file: ") + std::strerror(errno);
    if (::close(fd) != 0 && result.error.empty())
        result.error = std::string("cannot write the file: ") + std::strerror(errno);
    if (result.error.empty()) {
        fs::rename(temp, final, ec);
        if (ec)
            result.error = "cannot rename the download to " + target + ": " + ec.message();
    }
    if (!result.error.empty()) {
        fs::remove(temp, ec);
        return result;
    }
    if (progress)
        progress(t.total > 0 ? t.total : t.received, t.received);
    result.ok = true;
    return result;
}

} // namespace zev
