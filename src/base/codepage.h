#pragma once

#include <string>
#include <string_view>

namespace zev {

// How the model's 8-bit text is read at the GUI's edge: Windows-1252 (the default) or UTF-8 as it
// stands.
enum class TextEncoding { Cp1252, Utf8 };

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined (0x81 0x8D 0x8F 0x90 0x9D)
// become the C1 controls of the same value, so every byte survives a round trip.
std::string Cp1252ToUtf8(std::string_view bytes);
// UTF-8 to Windows-1252. A character without a byte, and each malformed UTF-8 sequence, becomes '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// The model's text as UTF-8 and back in the given encoding. In UTF-8 mode the model's bytes pass
// through unchanged; on the way back a malformed sequence still becomes '?'.
std::string ModelToUtf8(std::string_view bytes, TextEncoding encoding);
std::string Utf8ToModel(std::string_view utf8, TextEncoding encoding);

// Replaces each malformed UTF-8 sequence by '?'.
std::string SanitizeUtf8(std::string_view utf8);

} // namespace zev
