#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zev {

// The debug window: a tool window on top of the others whose whole client area is one list of log
// messages in a small font. It follows the last line: each new line is selected, which scrolls the
// list to it, and the selection is then cleared.
class DebugWindowModel {
public:
    static constexpr std::string_view kCaption = "debugwindow";

    // Appends a line when the window is visible; a hidden window does not grow.
    void Append(std::string_view message);
    void SetVisible(bool visible);
    bool Visible() const { return m_visible; }
    const std::vector<std::string>& Lines() const { return m_lines; }
    // The row the view scrolls to after the last append (-1 before the first).
    int ScrollTarget() const { return m_scrollTarget; }

    // Called after each change, for the view to redraw.
    std::function<void()> onChanged;

private:
    std::vector<std::string> m_lines;
    bool m_visible = false;
    int m_scrollTarget = -1;
};

} // namespace zev
