#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zev {

class DebugWindowModel;

inline constexpr std::string_view kMainApp = "MainApp";
inline constexpr std::string_view kPluginCategory = "Plugin";

// The program's log. Every line goes to the log file ("debug.log" in the program folder) as
// date-time text, ": ", the message and CR LF, the file opened and closed per line so it is
// complete on disk after each; in debug mode also to the debug window; lines of the category
// "MainApp" are handed to the plug-ins that intercept them.
class Logger {
public:
    Logger() = default;
    explicit Logger(std::string filePath)
        : m_path(std::move(filePath))
    {
    }

    // An empty path keeps no file (the command-line tool without --log).
    void SetFilePath(std::string path) { m_path = std::move(path); }
    const std::string& FilePath() const { return m_path; }

    // Empties the log file, creating it when missing.
    bool ResetLog();
    void Log(std::string_view message, std::string_view category = kMainApp);

    void SetDebugWindow(DebugWindowModel* window) { m_window = window; }
    // Receives "MainApp" lines: the plug-ins' DebugIntercept.
    void SetIntercept(std::function<void(std::string_view)> intercept) { m_intercept = std::move(intercept); }
    // Sees every line with its category (the command-line tool's --verbose, tests).
    void SetMirror(std::function<void(std::string_view, std::string_view)> mirror) { m_mirror = std::move(mirror); }
    // Gives the date-time text of a line; by default the locale's short date and long time.
    void SetClock(std::function<std::string()> clock) { m_clock = std::move(clock); }
    // Told once about the first file failure; later lines keep trying without telling again.
    void SetErrorHandler(std::function<void(const std::string&)> handler) { m_onError = std::move(handler); }

    bool WriteFailed() const { return m_failed; }
    const std::string& LastError() const { return m_lastError; }

    static std::string LocalDateTimeText();

private:
    void Fail(const std::string& what);

    std::string m_path;
    DebugWindowModel* m_window = nullptr;
    std::function<void(std::string_view)> m_intercept;
    std::function<void(std::string_view, std::string_view)> m_mirror;
    std::function<std::string()> m_clock;
    std::function<void(const std::string&)> m_onError;
    bool m_failed = false;
    bool m_told = false;
    std::string m_lastError;
};

} // namespace zev
