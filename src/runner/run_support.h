#pragma once

// Small helpers the test run shares with its transcripts and windows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/text_replace.h"
#include "model/records.h"

namespace zev {

// The node or option at an index, or nullptr where the index names none: indices kept across
// edits, scripts and plug-ins are checked at every use.
const dlgnode* NodeAtIndex(const dialog& d, int32_t index);
const option* OptionAtIndex(const dialog& d, int32_t node, int32_t index);

// Every "<PC>", then every "${dude_name}", becomes the player character's name (case-sensitive).
std::string SubstitutePlayerName(std::string_view text, std::string_view playerName);

// A whole decimal integer in 32 bits: optional blanks around it, an optional sign, digits only.
std::optional<int32_t> ParseDecimalInt(std::string_view text);

// printf's "%0.3d": at least three digits, zero-padded.
std::string ZeroPad3(int value);

} // namespace zev
