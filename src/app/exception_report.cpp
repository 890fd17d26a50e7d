#include "app/exception_report.h"

#include "app/app.h"

namespace zev {

ExceptionReport MakeExceptionReport(App& app, std::string_view errorKind, std::string_view errorText)
{
    ExceptionReport r;
    r.errorText = std::string(errorText);
    r.quip = app.startupData().RandomGroupText("Except_MSG", app.log(), app.random());
    r.details = "ZEV Dialogue Tool " ZEV_VERSION_TEXT "\n";
    r.details += "Build date: " + app.buildDateText() + "\n";
    r.details += "Time: " + Logger::LocalDateTimeText() + "\n";
    r.details += "Error: " + std::string(errorKind) + "\n";
    r.details += "Message: " + r.errorText + "\n";
    r.details += "Dialogue: " + app.currentFileName() + (app.modified() ? " (modified)" : "") + "\n";
    r.details += "Nodes: " + std::to_string(app.dlg().node_count) + "\n";
    app.log().Log("Exception: " + std::string(errorKind) + ": " + r.errorText);
    return r;
}

} // namespace zev
