#pragma once

#include <string>
#include <string_view>

namespace zev {

class App;

// The general error display: what went wrong, a line from the start-up data's "Except_MSG" group,
// and details a user can copy into a bug report.
struct ExceptionReport {
    std::string errorText;
    std::string quip; // picked at random when the report is made
    std::string details; // version, build date, time, error kind, dialogue file
};

ExceptionReport MakeExceptionReport(App& app, std::string_view errorKind, std::string_view errorText);

} // namespace zev
