#pragma once

// Which player options the test player character may see: extra conditions, intelligence check
// and gender flag, measured against the character with the settings held in memory.

#include <cstdint>
#include <optional>

#include "model/records.h"

namespace zev {

class App;

// The character's value a condition compares against, or nothing for the types the runner cannot
// know in a test (stats 8 .. 14, the three variable types, codes outside the tables).
std::optional<int32_t> PlayerValue(const condition& c, const PlayerChar& pc);

// The visibility test of the option list. With "EvaluateConditions" off every option is visible.
bool OptionVisible(App& app, const option& o);

// Every extra condition of the option passes (link_next plays no part).
bool OptionConditionsHold(App& app, const option& o);

} // namespace zev
