// zevdlg: the desktop program.
#include "desktop/gui/run_desktop.h"

int main(int argc, char** argv)
{
    return zev::RunDesktopProgram(argc, argv);
}
