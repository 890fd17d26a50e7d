#include "desktop/gui/run_desktop.h"

#include "app/settings.h"
#include "base/program_dirs.h"
#include "session/workbench.h"

#include <clocale>

#include "app/gui/exception_report_window.h"
#include "app/gui/qt_dialogs.h"
#include "app/gui/qt_text.h"
#include "desktop/gui/desktop_program.h"

namespace zev {

int RunDesktopProgram(int argc, char** argv)
{
    ZevApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEV Dialogue Tool"));
    QApplication::setApplicationVersion(QStringLiteral(ZEV_VERSION_TEXT));
    // Qt adopts the user's locale; every float the program writes or reads uses ".".
    std::setlocale(LC_NUMERIC, "C");
    QStringList args = QApplication::arguments(); // Qt's own options already taken out
    std::string firstArg = args.size() > 1 ? PathFromQString(args[1]) : std::string();

    QtDialogs dialogs;
    ProgramDirs dirs = ResolveProgramDirs();
    if (std::string error; !PrepareProgramDirs(dirs, error)) {
        dialogs.Error(error);
        return 1;
    }
    Workbench bench(dialogs, std::move(dirs));
    App& app = bench.app();
    dialogs.SetEncoding(TextEncodingIsUtf8(app.config()) ? TextEncoding::Utf8 : TextEncoding::Cp1252);
    qapp.SetReportContext(&app, dialogs.encoding());
    app.SetStartingUp(true);
    app.log().SetFilePath(app.dirs().LogFile());
    app.log().SetErrorHandler([&dialogs](const std::string& what) { dialogs.Error(what); });

    DesktopProgram program(bench, dialogs.encoding(), [&dialogs](QWidget* w) { dialogs.SetParent(w); });
    program.SetUpdateCheckAtStart(true);
    program.Start(firstArg);
    int code = QApplication::exec();
    program.Shutdown();
    qapp.SetReportContext(nullptr, dialogs.encoding());
    return code;
}

} // namespace zev
