#include <cmath>

#include "script/engine/builtins.h"
#include "script/engine/checker.h"
#include "script/engine/run_env.h"

namespace zev::script {

namespace {

using K = TypeKind;

[[noreturn]] void InvalidOp(Interp& c, const Node* at)
{
    c.Fail(at, "Invalid floating point operation");
}

int64_t ToInt64(Interp& c, double d, const Node* at)
{
    if (!std::isfinite(d) || d >= 9223372036854775808.0 || d < -9223372036854775808.0)
        InvalidOp(c, at);
    return static_cast<int64_t>(d);
}

Value RoundFn(Interp& c, Value* a, size_t, const Node* at)
{
    return Value::Int(ToInt64(c, std::nearbyint(a[0].f), at));
}
Value TruncFn(Interp& c, Value* a, size_t, const Node* at)
{
    return Value::Int(ToInt64(c, std::trunc(a[0].f), at));
}
Value FloorFn(Interp& c, Value* a, size_t, const Node* at)
{
    return Value::Int(ToInt64(c, std::floor(a[0].f), at));
}
Value CeilFn(Interp& c, Value* a, size_t, const Node* at)
{
    return Value::Int(ToInt64(c, std::ceil(a[0].f), at));
}
Value FracFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(a[0].f - std::trunc(a[0].f));
}
Value SqrtFn(Interp& c, Value* a, size_t, const Node* at)
{
    if (a[0].f < 0)
        InvalidOp(c, at);
    return Value::Float(std::sqrt(a[0].f));
}
Value PowerFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(std::pow(a[0].f, a[1].f));
}
Value ExpFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(std::exp(a[0].f));
}
Value LnFn(Interp& c, Value* a, size_t, const Node* at)
{
    if (a[0].f <= 0)
        InvalidOp(c, at);
    return Value::Float(std::log(a[0].f));
}
Value SinFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(std::sin(a[0].f));
}
Value CosFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(std::cos(a[0].f));
}
Value TanFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(std::tan(a[0].f));
}
Value ArcTanFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(std::atan(a[0].f));
}
Value PiFn(Interp&, Value*, size_t, const Node*)
{
    return Value::Float(3.14159265358979323846);
}
Value OddFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Bool((a[0].i & 1) != 0);
}

Value RandomFloatFn(Interp& c, Value*, size_t, const Node*)
{
    return Value::Float(static_cast<double>((*c.env.random)() >> 11) * (1.0 / 9007199254740992.0));
}

Value RandomIntFn(Interp& c, Value* a, size_t, const Node*)
{
    if (a[0].i <= 0)
        return Value::Int(0);
    return Value::Int(static_cast<int64_t>((*c.env.random)() % static_cast<uint64_t>(a[0].i)));
}

Value RandomizeFn(Interp& c, Value*, size_t, const Node*)
{
    c.env.random->seed(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    return Value();
}

Value AbsIntFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(a[0].i < 0 ? static_cast<int64_t>(0 - static_cast<uint64_t>(a[0].i)) : a[0].i);
}
Value AbsFloatFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(std::fabs(a[0].f));
}
Value SqrIntFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(static_cast<int64_t>(static_cast<uint64_t>(a[0].i) * static_cast<uint64_t>(a[0].i)));
}
Value SqrFloatFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(a[0].f * a[0].f);
}
Value MinIntFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(a[0].i < a[1].i ? a[0].i : a[1].i);
}
Value MaxIntFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(a[0].i > a[1].i ? a[0].i : a[1].i);
}
Value MinFloatFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(a[0].f < a[1].f ? a[0].f : a[1].f);
}
Value MaxFloatFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Float(a[0].f > a[1].f ? a[0].f : a[1].f);
}

// An Integer and a Float form of one routine: all-Integer arguments keep the Integer form.
ExprP Numeric(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args, size_t count, NativeFn intFn,
    NativeFn floatFn, std::string_view name)
{
    if (args.size() != count) {
        ck.Error(
            site.line, site.col, std::string(name) + (count == 1 ? " takes one argument" : " takes two arguments"));
        return ck.ErrorExpr();
    }
    std::vector<ExprP> a;
    bool allInt = true, allConst = true;
    for (auto* x : args) {
        a.push_back(ck.CheckExpr(*x));
        const Type* t = a.back()->type;
        if (t->isError())
            return ck.ErrorExpr();
        if (!t->isNumeric()) {
            ck.Error(x->line, x->col, std::string(name) + " needs a number");
            return ck.ErrorExpr();
        }
        allInt = allInt && t->kind == TypeKind::Integer;
        allConst = allConst && a.back()->constant();
    }
    const Type* t = allInt ? TypeTable::Integer() : TypeTable::Float();
    for (size_t i = 0; i < a.size(); ++i)
        a[i] = ck.Convert(std::move(a[i]), t, args[i]->line, args[i]->col);
    ExprP call = MakeNative(allInt ? intFn : floatFn, t, std::move(a), site.line, site.col);
    if (allConst)
        if (auto v = EvalConstant(*call))
            return std::make_unique<ConstExpr>(t, *v);
    return call;
}

ExprP CheckAbs(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return Numeric(ck, s, a, 1, AbsIntFn, AbsFloatFn, "Abs");
}
ExprP CheckSqr(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return Numeric(ck, s, a, 1, SqrIntFn, SqrFloatFn, "Sqr");
}
ExprP CheckMin(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return Numeric(ck, s, a, 2, MinIntFn, MinFloatFn, "Min");
}
ExprP CheckMax(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return Numeric(ck, s, a, 2, MaxIntFn, MaxFloatFn, "Max");
}

// Random gives a Float in [0, 1); Random(n), as Pascal has it, an Integer in [0, n).
ExprP CheckRandom(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    std::vector<ExprP> a;
    if (args.empty())
        return MakeNative(RandomFloatFn, TypeTable::Float(), std::move(a), site.line, site.col);
    if (args.size() > 1) {
        ck.Error(site.line, site.col, "Too many arguments");
        return ck.ErrorExpr();
    }
    a.push_back(ck.Convert(ck.CheckExpr(*args[0]), TypeTable::Integer(), args[0]->line, args[0]->col));
    return MakeNative(RandomIntFn, TypeTable::Integer(), std::move(a), site.line, site.col);
}

} // namespace

void AddMathBuiltins(std::vector<Builtin>& t)
{
    t.push_back(Custom("Abs", CheckAbs));
    t.push_back(Custom("Sqr", CheckSqr));
    t.push_back(Custom("Min", CheckMin));
    t.push_back(Custom("Max", CheckMax));
    t.push_back(Custom("Random", CheckRandom));
    t.push_back(Fixed("Round", { K::Float }, K::Integer, RoundFn));
    t.push_back(Fixed("Trunc", { K::Float }, K::Integer, TruncFn));
    t.push_back(Fixed("Floor", { K::Float }, K::Integer, FloorFn));
    t.push_back(Fixed("Ceil", { K::Float }, K::Integer, CeilFn));
    t.push_back(Fixed("Frac", { K::Float }, K::Float, FracFn));
    t.push_back(Fixed("Sqrt", { K::Float }, K::Float, SqrtFn));
    t.push_back(Fixed("Power", { K::Float, K::Float }, K::Float, PowerFn));
    t.push_back(Fixed("Exp", { K::Float }, K::Float, ExpFn));
    t.push_back(Fixed("Ln", { K::Float }, K::Float, LnFn));
    t.push_back(Fixed("Sin", { K::Float }, K::Float, SinFn));
    t.push_back(Fixed("Cos", { K::Float }, K::Float, CosFn));
    t.push_back(Fixed("Tan", { K::Float }, K::Float, TanFn));
    t.push_back(Fixed("ArcTan", { K::Float }, K::Float, ArcTanFn));
    t.push_back(Fixed("Pi", {}, K::Float, PiFn));
    t.push_back(Fixed("Odd", { K::Integer }, K::Boolean, OddFn));
    t.push_back(Fixed("RandomInt", { K::Integer }, K::Integer, RandomIntFn, SIZE_MAX, {}, false));
    t.push_back(Fixed("Randomize", {}, K::Void, RandomizeFn, SIZE_MAX, {}, false));
}

} // namespace zev::script
