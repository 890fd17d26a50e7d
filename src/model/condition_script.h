#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "model/records.h"

namespace zev {

// Reads a value of the condition templates file (conditions.ini): section, key -> text, empty when
// missing.
using IniLookup = std::function<std::string(std::string_view section, std::string_view key)>;

// The game-script expression of a condition from its type's template: "%eval%" and "%value%" (the
// first of each) take the operator and the value; every "%s" takes the item text, which is the
// variable name when there is one, else the subject's script name ("Item<subject>SSLEnum").
std::string BuildConditionScript(const condition& c, const IniLookup& ini);

// The same expansion with the parts given directly (the conditions editor's preview).
std::string ExpandConditionTemplate(
    std::string_view templ, std::string_view itemText, std::string_view op, std::string_view value);

} // namespace zev
