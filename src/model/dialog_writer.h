#pragma once

#include <string>
#include <string_view>

#include "model/records.h"

namespace zev {

inline constexpr std::string_view kProgramVersionText = "0.25.4-stable";

// The dialogue file text, every line ended by CR LF, exactly as the program has always written it
// (with quotes and line breaks encoded in every string value, so that every file reads back).
std::string SerializeDialogue(const dialog& d);

// Writes the dialogue to path, replacing the file through a temporary file and a rename so a
// failed write never leaves half a file; on success file_name becomes the path. On failure
// returns false with the reason in error, and nothing changes.
bool WriteDialogueFile(dialog& d, const std::string& path, std::string& error);

// The encodings of string values: "full" for texts that may hold line breaks, "quotes" for texts
// written one line per string.
std::string EncodeFull(std::string_view text);
std::string EncodeQuotes(std::string_view text);
// A float variable's value: up to 15 significant digits in plain notation, always with a point.
std::string FormatFloatValue(double v);

} // namespace zev
