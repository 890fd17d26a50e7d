#pragma once

// Numbers as the platform's conversions write and read them, shared by the script language and the
// editors' fields.

#include <string>

namespace zev {

// Up to 15 significant digits, as FloatToStr writes them: "2.5", "1E20", "-3E-7", "NAN", "INF".
std::string FloatToStr(double v);
// The value of a hexadecimal digit; -1 for any other character.
int HexDigitValue(char c);

} // namespace zev
