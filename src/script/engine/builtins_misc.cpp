#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "script/engine/builtins.h"

namespace zev::script {

namespace {

using K = TypeKind;

// Pascal's TDateTime: days since 1899-12-30, the time of day as the fraction.
constexpr double kUnixEpochDays = 25569.0;

Value NowFn(Interp&, Value*, size_t, const Node*)
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm local {};
    localtime_r(&t, &local);
    double secs = static_cast<double>(t + local.tm_gmtoff)
        + static_cast<double>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000) / 1000.0;
    return Value::Float(kUnixEpochDays + secs / 86400.0);
}

// "yyyy-mm-dd hh:nn:ss"; a value without a time of day shows the date only, as Pascal does.
Value DateTimeToStrFn(Interp& c, Value* a, size_t, const Node* at)
{
    double v = a[0].f;
    if (!std::isfinite(v) || std::fabs(v) > 3e6)
        c.Fail(at, "Invalid date/time value");
    double days = std::floor(v);
    int64_t secs = static_cast<int64_t>(std::llround((v - days) * 86400.0));
    if (secs >= 86400) {
        secs -= 86400;
        days += 1;
    }
    std::time_t t = static_cast<std::time_t>((days - kUnixEpochDays) * 86400.0);
    std::tm tm {};
    gmtime_r(&t, &tm);
    char buf[64];
    if (secs == 0)
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    else
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
            static_cast<int>(secs / 3600), static_cast<int>(secs / 60 % 60), static_cast<int>(secs % 60));
    return Value::Str(buf);
}

Value AssertFn(Interp& c, Value* a, size_t, const Node* at)
{
    if (!a[0].b)
        c.Fail(
            at, a[1].str().empty() ? std::string("Assertion failed") : "Assertion failed: " + std::string(a[1].str()));
    return Value();
}

} // namespace

void AddMiscBuiltins(std::vector<Builtin>& t)
{
    t.push_back(Fixed("Now", {}, K::Float, NowFn, SIZE_MAX, {}, false));
    t.push_back(Fixed("DateTimeToStr", { K::Float }, K::String, DateTimeToStrFn));
    t.push_back(Fixed("Assert", { K::Boolean, K::String }, K::Void, AssertFn, 1, { Value::Str("") }, false));
}

} // namespace zev::script
