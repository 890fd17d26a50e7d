#include "base/number_text.h"

#include <cmath>
#include <cstdio>

namespace zev {

std::string FloatToStr(double v)
{
    if (std::isnan(v))
        return "NAN";
    if (std::isinf(v))
        return v > 0 ? "INF" : "-INF";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string s(buf);
    auto e = s.find('e');
    if (e == std::string::npos)
        return s == "-0" ? "0" : s;
    // "1.5e-07" -> "1.5E-7", "1e+20" -> "1E20"
    std::string mant = s.substr(0, e);
    std::string exp = s.substr(e + 1);
    bool neg = !exp.empty() && exp[0] == '-';
    size_t k = (!exp.empty() && (exp[0] == '-' || exp[0] == '+')) ? 1 : 0;
    while (k + 1 < exp.size() && exp[k] == '0')
        ++k;
    return mant + "E" + (neg ? "-" : "") + exp.substr(k);
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace zev
