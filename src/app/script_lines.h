#pragma once

// Running script text from below the script host: a dialogue file's script section and the
// command-line start go through it. The base class runs nothing.

#include <string_view>

namespace zev {

class ScriptLines {
public:
    virtual ~ScriptLines() = default;
    // Runs one console line as ExecuteScriptConsole does; false when it reported messages.
    virtual bool ExecuteScriptConsole(std::string_view) { return false; }
};

// What happens to the script section of a loaded dialogue file.
enum class FileScriptPolicy {
    Ask, // a question box (the desktop program)
    Run,
    Skip,
};

} // namespace zev
