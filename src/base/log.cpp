#include "base/log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/debug_window_model.h"

namespace zev {

std::string Logger::LocalDateTimeText()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char buf[128];
    std::size_t n = std::strftime(buf, sizeof buf, "%x %X", &local);
    return std::string(buf, n);
}

bool Logger::ResetLog()
{
    if (m_path.empty())
        return true;
    std::FILE* f = std::fopen(m_path.c_str(), "wb");
    if (!f) {
        Fail("Cannot create the log file " + m_path + ": " + std::strerror(errno));
        return false;
    }
    std::fclose(f);
    m_failed = false;
    return true;
}

void Logger::Log(std::string_view message, std::string_view category)
{
    if (!m_path.empty()) {
        std::string line = m_clock ? m_clock() : LocalDateTimeText();
        line += ": ";
        line.append(message);
        line += "\r\n";
        std::FILE* f = std::fopen(m_path.c_str(), "ab");
        if (!f) {
            Fail("Cannot open the log file " + m_path + ": " + std::strerror(errno));
        } else {
            bool ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
            ok = (std::fclose(f) == 0) && ok;
            if (!ok)
                Fail("Cannot write the log file " + m_path + ": " + std::strerror(errno));
        }
    }
    if (m_window)
        m_window->Append(message);
    if (m_mirror)
        m_mirror(message, category);
    if (category == kMainApp && m_intercept)
        m_intercept(message);
}

void Logger::Fail(const std::string& what)
{
    // A log that cannot be written must not take the program down with it: report once, go on.
    m_failed = true;
    m_lastError = what;
    if (!m_told && m_onError) {
        m_told = true;
        m_onError(what);
    }
}

} // namespace zev
