#pragma once

namespace zev {

// The desktop program's whole life: the QApplication, the workbench over the program folder, the
// windows, start-up with the first argument, the event loop and shut-down. Returns the exit code.
int RunDesktopProgram(int argc, char** argv);

} // namespace zev
