#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "script/engine/ast.h"
#include "script/engine/node_factory.h"
#include "script/engine/types.h"

namespace zev::script {

class Checker;

// A built-in routine: a fixed signature served by `fn`, or its own checker for overloaded and
// `var` forms (Inc, Length, Write, Format, ...).
struct Builtin {
    std::string_view name;
    std::vector<TypeKind> params;
    size_t required = 0;
    std::vector<Value> defaults; // for params[required..]
    TypeKind result = TypeKind::Void;
    NativeFn fn = nullptr;
    ExprP (*check)(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args) = nullptr;
    bool pure = false; // may be folded into a constant
};

const Builtin* FindBuiltin(std::string_view name);

// One table per group, in builtins_<group>.cpp.
void AddOutputBuiltins(std::vector<Builtin>& t);
void AddStringBuiltins(std::vector<Builtin>& t);
void AddFormatBuiltins(std::vector<Builtin>& t);
void AddMathBuiltins(std::vector<Builtin>& t);
void AddOrdinalBuiltins(std::vector<Builtin>& t);
void AddDialogBuiltins(std::vector<Builtin>& t);
void AddMiscBuiltins(std::vector<Builtin>& t);

const Type* TypeOfKind(TypeKind k);

using CheckFn = ExprP (*)(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args);

// A built-in of fixed parameter types; trailing parameters from `required` on take `defaults`.
inline Builtin Fixed(std::string_view name, std::vector<TypeKind> params, TypeKind result, NativeFn fn,
    size_t required = SIZE_MAX, std::vector<Value> defaults = {}, bool pure = true)
{
    Builtin b;
    b.name = name;
    b.required = required == SIZE_MAX ? params.size() : required;
    b.params = std::move(params);
    b.result = result;
    b.fn = fn;
    b.defaults = std::move(defaults);
    b.pure = pure;
    return b;
}

inline Builtin Custom(std::string_view name, CheckFn check)
{
    Builtin b;
    b.name = name;
    b.check = check;
    return b;
}

} // namespace zev::script
