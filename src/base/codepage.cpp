#include "base/codepage.h"

#include <array>
#include <optional>

namespace zev {

namespace {

// Code points of the bytes 0x80..0x9F; the undefined five keep their own value.
constexpr std::array<char32_t, 32> kHigh {
    0x20AC,
    0x0081,
    0x201A,
    0x0192,
    0x201E,
    0x2026,
    0x2020,
    0x2021,
    0x02C6,
    0x2030,
    0x0160,
    0x2039,
    0x0152,
    0x008D,
    0x017D,
    0x008F,
    0x0090,
    0x2018,
    0x2019,
    0x201C,
    0x201D,
    0x2022,
    0x2013,
    0x2014,
    0x02DC,
    0x2122,
    0x0161,
    0x203A,
    0x0153,
    0x009D,
    0x017E,
    0x0178,
};

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes the sequence at pos and moves past it. A malformed sequence gives nothing and moves past
// its longest valid-looking start (at least one byte), so the next character is not swallowed.
std::optional<char32_t> DecodeUtf8(std::string_view s, std::size_t& pos)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char lead = byte(pos++);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t cp = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            lo = 0xA0; // overlong
        if (lead == 0xED)
            hi = 0x9F; // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            lo = 0x90; // overlong
        if (lead == 0xF4)
            hi = 0x8F; // beyond U+10FFFF
    } else {
        return std::nullopt;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= s.size())
            return std::nullopt;
        unsigned char c = byte(pos);
        unsigned char min = i == 0 ? lo : 0x80, max = i == 0 ? hi : 0xBF;
        if (c < min || c > max)
            return std::nullopt;
        cp = (cp << 6) | (c & 0x3F);
        ++pos;
    }
    return cp;
}

std::optional<char> Cp1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp)
            return static_cast<char>(0x80 + i);
    return std::nullopt;
}

} // namespace

std::string Cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        auto b = static_cast<unsigned char>(ch);
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char32_t(b));
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        auto cp = DecodeUtf8(utf8, pos);
        auto b = cp ? Cp1252Byte(*cp) : std::nullopt;
        out += b ? *b : '?';
    }
    return out;
}

std::string SanitizeUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t start = pos;
        if (DecodeUtf8(utf8, pos))
            out.append(utf8.substr(start, pos - start));
        else
            out += '?';
    }
    return out;
}

std::string ModelToUtf8(std::string_view bytes, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? std::string(bytes) : Cp1252ToUtf8(bytes);
}

std::string Utf8ToModel(std::string_view utf8, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? SanitizeUtf8(utf8) : Utf8ToCp1252(utf8);
}

} // namespace zev
