#pragma once

// Text conversions of the code and variable windows: numbers typed into a field, values shown in a
// list, and the one-line forms of multi-line texts that the dialogue file keeps.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/records.h"

namespace zev {

// A whole number as the platform's StrToInt reads it: blanks before it, a sign, decimal digits or
// "$" / "0x" and hexadecimal digits; nothing after it; within 32 bits (hexadecimal as the 32-bit
// pattern, "$FFFFFFFF" is -1). Nothing for anything else.
std::optional<int32_t> ParseIntegerText(std::string_view text);
// A number as StrToFloat reads it: blanks around it, a sign, digits with "." as the decimal point,
// an exponent. Nothing for anything else, or for a value beyond the range of a double.
std::optional<double> ParseFloatText(std::string_view text);

// A variable's initial value as text: the string, the integer, the float; "" without one.
std::string VariableValueText(const TVariable& v);

// Every line break (CR LF, or a lone CR or LF) as the two characters backslash and n.
std::string BreaksToBackslashN(std::string_view text);
// Every backslash-n as CR LF.
std::string BackslashNToBreaks(std::string_view text);
// The text without one final CR LF (or LF).
std::string WithoutFinalBreak(std::string_view text);

} // namespace zev
