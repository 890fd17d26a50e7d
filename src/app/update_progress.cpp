#include "app/update_progress.h"

namespace zev {

UpdateProgressModel::UpdateProgressModel()
    : m_bytesText("Downloaded %s bytes of %s bytes")
    , m_fileText("File: %s")
{
}

void UpdateProgressModel::SetFile(const std::string& path)
{
    m_fileText = "File: " + path;
    changed.Emit();
}

void UpdateProgressModel::Progress(std::int64_t total, std::int64_t done)
{
    if (done < 0)
        done = 0;
    if (total > 0) {
        // A server may send more than it announced: the bar stays full rather than overflowing.
        m_maximum = total;
        m_position = done < total ? done : total;
        m_bytesText = "Downloaded " + std::to_string(done) + " bytes of " + std::to_string(total) + " bytes";
        m_visible = done < total;
    } else {
        m_maximum = 0;
        m_position = 0;
        m_bytesText = "Downloaded " + std::to_string(done) + " bytes";
        m_visible = true;
    }
    changed.Emit();
}

void UpdateProgressModel::Finish()
{
    m_visible = false;
    changed.Emit();
}

} // namespace zev
