#include "script/engine/text_util.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zev::script {

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

int CompareNoCase(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(UpperAscii(a[i]));
        int cb = static_cast<unsigned char>(UpperAscii(b[i]));
        if (ca != cb)
            return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int CompareBytes(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int ca = static_cast<unsigned char>(a[i]);
        int cb = static_cast<unsigned char>(b[i]);
        if (ca != cb)
            return ca - cb;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

std::string LowerCopy(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = LowerAscii(c);
    return r;
}

std::string IntToHex(int64_t v, int64_t digits)
{
    static const char* kHex = "0123456789ABCDEF";
    uint64_t u = static_cast<uint64_t>(v);
    std::string r;
    do {
        r.insert(r.begin(), kHex[u & 15]);
        u >>= 4;
    } while (u);
    if (digits > 64)
        digits = 64;
    while (static_cast<int64_t>(r.size()) < digits)
        r.insert(r.begin(), '0');
    return r;
}

std::optional<int64_t> ParseInteger(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        neg = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return std::nullopt;
    uint64_t v = 0;
    const uint64_t limit = neg ? UINT64_C(9223372036854775808) : UINT64_C(9223372036854775807);
    for (; i < s.size(); ++i) {
        int d = HexDigitValue(s[i]);
        if (d < 0 || d >= base)
            return std::nullopt;
        if (base == 16) {
            // Hexadecimal may spell the full 64-bit pattern, as Pascal allows: $FFFFFFFFFFFFFFFF = -1.
            if (v >> 60)
                return std::nullopt;
            v = v * 16 + static_cast<uint64_t>(d);
        } else {
            if (v > (limit - static_cast<uint64_t>(d)) / 10)
                return std::nullopt;
            v = v * 10 + static_cast<uint64_t>(d);
        }
    }
    if (neg)
        return static_cast<int64_t>(0 - v);
    return static_cast<int64_t>(v);
}

std::optional<double> ParseFloat(std::string_view s)
{
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    if (b == e)
        return std::nullopt;
    std::string t(s.substr(b, e - b));
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-'))
            return std::nullopt;
    char* end = nullptr;
    double v = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size())
        return std::nullopt;
    return v;
}

std::string QuotedStr(std::string_view s)
{
    std::string r;
    r.reserve(s.size() + static_cast<size_t>(std::count(s.begin(), s.end(), '\'')) + 2);
    r += '\'';
    for (char c : s) {
        r += c;
        if (c == '\'')
            r += '\'';
    }
    r += '\'';
    return r;
}

} // namespace zev::script
