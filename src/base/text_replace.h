#pragma once

#include <string>
#include <string_view>

namespace zev {

// Every occurrence of from becomes to, exactly and case-sensitively, left to right; text put in is
// not searched again. An empty from changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace zev
