#pragma once

#include "base/signal.h"

#include <cstdint>
#include <string>

namespace zev {

// "Update progress": the state of the window that shows a running download. It exists from
// start-up on and is visible only while bytes are still missing.
class UpdateProgressModel {
public:
    UpdateProgressModel();

    // The second label: the file being downloaded.
    void SetFile(const std::string& path);
    // One progress report. A total the server did not send (0 or less) shows the bytes so far with a
    // busy bar; a report that reaches the total hides the window.
    void Progress(std::int64_t total, std::int64_t done);
    // The download ended, whether or not the reports reached their total.
    void Finish();

    bool visible() const { return m_visible; }
    std::int64_t maximum() const { return m_maximum; } // 0: busy bar
    std::int64_t position() const { return m_position; }
    const std::string& bytesText() const { return m_bytesText; }
    const std::string& fileText() const { return m_fileText; }

    Signal<> changed;

private:
    bool m_visible = false;
    std::int64_t m_maximum = 0;
    std::int64_t m_position = 0;
    std::string m_bytesText;
    std::string m_fileText;
};

} // namespace zev
