#pragma once

#include <string>

#include "script/engine/lexer.h"
#include "script/engine/nodes.h"

namespace zev::script {

// Run-time conversions and operators of Variant values; also used by Write and Format, which take
// any value.
std::string ValueToText(const Value& v);
Value VariantTo(Interp& c, const Value& v, const Type* to, const Node* at);
Value VariantBinary(Interp& c, Tok op, const Value& a, const Value& b, const Node* at);
int VariantCompare(Interp& c, const Value& a, const Value& b, const Node* at);
std::string_view TagTypeName(const Value& v);

} // namespace zev::script
