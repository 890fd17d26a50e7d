#pragma once

// The whole desktop program on a copy of the program folder with the sample dialogue loaded, as a
// designer starts it; boxes are answered by the test.

#include <filesystem>
#include <memory>

#include "desktop/gui/desktop_program.h"
#include "gui_support.h"
#include "support/temp_dir.h"

namespace zev::test {

class ProgramTest : public GuiTest {
protected:
    TempDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<Workbench> bench;
    std::unique_ptr<DesktopProgram> program;

    ProgramTest()
    {
        std::filesystem::copy(ZEV_DIST_DIR, dir.path(), std::filesystem::copy_options::recursive);
        bench = std::make_unique<Workbench>(dialogs, dir.path());
        bench->app().log().SetFilePath(dir.File("debug.log"));
        program = std::make_unique<DesktopProgram>(*bench, TextEncoding::Cp1252);
        program->Start(dir.File("dialogue/sample.zev"));
    }
    const dialog& d() { return bench->app().dlg(); }
};

} // namespace zev::test
