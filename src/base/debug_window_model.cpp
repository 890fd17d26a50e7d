#include "base/debug_window_model.h"

namespace zev {

void DebugWindowModel::Append(std::string_view message)
{
    if (!m_visible)
        return;
    m_lines.emplace_back(message);
    m_scrollTarget = static_cast<int>(m_lines.size()) - 1;
    if (onChanged)
        onChanged();
}

void DebugWindowModel::SetVisible(bool visible)
{
    m_visible = visible;
    if (onChanged)
        onChanged();
}

} // namespace zev
