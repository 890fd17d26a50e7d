#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/number_text.h"

namespace zev::script {

// Identifiers and TStringList comparisons ignore ASCII case only, as Pascal's UpperCase does.
inline char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
inline char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
bool EqualsNoCase(std::string_view a, std::string_view b);
int CompareNoCase(std::string_view a, std::string_view b);
int CompareBytes(std::string_view a, std::string_view b);
std::string LowerCopy(std::string_view s);

// Pascal's conversions.
std::string IntToHex(int64_t v, int64_t digits);
// A leading `$` means hexadecimal; leading blanks are skipped, trailing ones are not.
std::optional<int64_t> ParseInteger(std::string_view s);
std::optional<double> ParseFloat(std::string_view s);
std::string QuotedStr(std::string_view s);

} // namespace zev::script
