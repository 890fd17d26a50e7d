#include "editors/value_text.h"

#include "base/number_text.h"
#include "base/text_replace.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zev {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// digits [. digits] | . digits, then an optional exponent; at least one mantissa digit.
bool IsDecimalNumber(std::string_view s)
{
    std::size_t i = 0;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == s.size();
}

} // namespace

std::optional<int32_t> ParseIntegerText(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size())
        return std::nullopt;
    const int base = hex ? 16 : 10;
    // Decimal up to 2^31 (the magnitude of the least value); hexadecimal the whole 32-bit pattern.
    const uint64_t limit = hex ? UINT64_C(0xFFFFFFFF) : (negative ? UINT64_C(2147483648) : UINT64_C(2147483647));
    uint64_t v = 0;
    for (; i < text.size(); ++i) {
        const int d = HexDigitValue(text[i]);
        if (d < 0 || d >= base)
            return std::nullopt;
        v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
        if (v > limit)
            return std::nullopt;
    }
    const auto pattern = static_cast<uint32_t>(negative ? (~v + 1) : v);
    return static_cast<int32_t>(pattern);
}

std::optional<double> ParseFloatText(std::string_view text)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && IsBlank(text[b]))
        ++b;
    while (e > b && IsBlank(text[e - 1]))
        --e;
    std::string_view s = text.substr(b, e - b);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (!IsDecimalNumber(s))
        return std::nullopt;
    // from_chars, not strtod: the decimal point is "." whatever locale the GUI has set.
    double v = 0;
    const auto [end, err] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (err != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return negative ? -v : v;
}

std::string VariableValueText(const TVariable& v)
{
    switch (v.value_type) {
    case VALUE_STRING:
        return std::string(v.value.AsString());
    case VALUE_INTEGER:
        return std::to_string(v.value.AsInt());
    case VALUE_FLOAT:
        return FloatToStr(v.value.AsFloat());
    default:
        return {};
    }
}

std::string BreaksToBackslashN(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out += "\\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string BackslashNToBreaks(std::string_view text)
{
    return ReplaceAll(text, "\\n", "\r\n");
}

std::string WithoutFinalBreak(std::string_view text)
{
    if (text.ends_with("\r\n"))
        text.remove_suffix(2);
    else if (text.ends_with('\n'))
        text.remove_suffix(1);
    return std::string(text);
}

} // namespace zev
