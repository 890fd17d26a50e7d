#pragma once

// HTTP GET over libcurl for the update check: an information page into memory, a file into the
// downloads folder. Only http and https are spoken, also after a redirection; every transfer has
// a connect time-out, a total time-out, a low-speed abort and a size cap.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace zev {

struct TransferLimits {
    std::chrono::milliseconds connectTimeout { 15'000 };
    std::chrono::milliseconds pageTimeout { 30'000 };
    std::chrono::milliseconds downloadTimeout { 2 * 60 * 60 * 1000 };
    // A transfer slower than lowSpeedBytes per second for lowSpeedTime is abandoned.
    long lowSpeedBytes = 1;
    std::chrono::seconds lowSpeedTime { 60 };
    std::int64_t maxPageBytes = std::int64_t { 1 } << 20;
    std::int64_t maxDownloadBytes = std::int64_t { 512 } << 20;
    long maxRedirects = 5;
};

struct TransferResult {
    bool ok = false;
    std::string error; // why it failed, for the log
};

struct PageResult : TransferResult {
    std::string body;
};

// Reads a page. cancel, when set from another thread, ends the transfer soon after.
PageResult FetchPage(const std::string& address, const TransferLimits& limits, const std::atomic<bool>& cancel);

// (total bytes or 0 when unknown, bytes so far); called at most every 100 ms, and once more at the end.
using TransferProgress = std::function<void(std::int64_t total, std::int64_t done)>;

// Downloads into a temporary file beside target and renames it to target only when the whole file
// arrived; on any failure the temporary file is removed and target is left as it was.
TransferResult DownloadFile(const std::string& address, const std::string& target, const TransferLimits& limits,
    const TransferProgress& progress, const std::atomic<bool>& cancel);

} // namespace zev
