#include "script/engine/builtins.h"
#include "script/engine/checker.h"

namespace zev::script {

namespace {

using K = TypeKind;

// Inc(x [, n]) / Dec(x [, n]) on an Integer variable.
struct IncNode final : Expr {
    ExprP target, step;
    bool dec = false;
    Value eval(Interp& c) override
    {
        int64_t n = step ? step->evalInt(c) : 1;
        Value* p = static_cast<LValue*>(target.get())->address(c);
        uint64_t u = static_cast<uint64_t>(p->i), d = static_cast<uint64_t>(n);
        p->i = static_cast<int64_t>(dec ? u - d : u + d);
        return Value();
    }
};

ExprP CheckIncDec(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args, bool dec)
{
    if (args.empty() || args.size() > 2) {
        ck.Error(site.line, site.col, std::string(dec ? "Dec" : "Inc") + " takes one or two arguments");
        return ck.ErrorExpr();
    }
    auto n = std::make_unique<IncNode>();
    n->dec = dec;
    n->target = ck.CheckLValue(*args[0]);
    if (n->target->type->isError() || !ck.AsLValue(n->target.get(), args[0]->line, args[0]->col, true))
        return ck.ErrorExpr();
    if (n->target->type->kind != TypeKind::Integer) {
        ck.Error(args[0]->line, args[0]->col, "Integer variable expected");
        return ck.ErrorExpr();
    }
    if (args.size() == 2)
        n->step = ck.Convert(ck.CheckExpr(*args[1]), TypeTable::Integer(), args[1]->line, args[1]->col);
    n->type = TypeTable::Void();
    n->At(site.line, site.col);
    return n;
}

ExprP CheckInc(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return CheckIncDec(ck, s, a, false);
}
ExprP CheckDec(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return CheckIncDec(ck, s, a, true);
}

Value SuccFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(static_cast<int64_t>(static_cast<uint64_t>(a[0].i) + 1));
}
Value PredFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(static_cast<int64_t>(static_cast<uint64_t>(a[0].i) - 1));
}

Value HighArrayFn(Interp&, Value* a, size_t, const Node*)
{
    ArrayObj* arr = a[0].arr();
    return Value::Int(arr ? arr->low + static_cast<int64_t>(arr->items.size()) - 1 : -1);
}
Value HighStrFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(static_cast<int64_t>(a[0].str().size()));
}

// High and Low of an array, a String, or a type (High(Integer)).
ExprP CheckBound(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args, bool high)
{
    if (args.size() != 1) {
        ck.Error(site.line, site.col, std::string(high ? "High" : "Low") + " takes one argument");
        return ck.ErrorExpr();
    }
    const Type* t = nullptr;
    ExprP x;
    if (args[0]->kind == AstExpr::Kind::Name)
        t = ck.ResolveTypeName(args[0]->text);
    if (t && t->kind != TypeKind::Integer && t->kind != TypeKind::Boolean)
        t = nullptr;
    if (!t) {
        x = ck.CheckExpr(*args[0]);
        t = x->type;
    }
    auto constant = [&](const Type* ct, Value v) { return std::make_unique<ConstExpr>(ct, v); };
    switch (t->kind) {
    case TypeKind::Integer:
        return constant(TypeTable::Integer(), Value::Int(high ? INT64_MAX : INT64_MIN));
    case TypeKind::Boolean:
        return constant(TypeTable::Boolean(), Value::Bool(high));
    case TypeKind::StaticArray:
        return constant(TypeTable::Integer(), Value::Int(high ? t->high : t->low));
    case TypeKind::DynArray:
    case TypeKind::String: {
        if (!high)
            return constant(TypeTable::Integer(), Value::Int(t->kind == TypeKind::String ? 1 : 0));
        std::vector<ExprP> a;
        a.push_back(std::move(x));
        return MakeNative(t->kind == TypeKind::String ? HighStrFn : HighArrayFn, TypeTable::Integer(), std::move(a),
            site.line, site.col);
    }
    case TypeKind::Error:
        return ck.ErrorExpr();
    default:
        ck.Error(args[0]->line, args[0]->col,
            std::string(high ? "High" : "Low") + " needs an array, a String or an ordinal type");
        return ck.ErrorExpr();
    }
}

ExprP CheckHigh(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return CheckBound(ck, s, a, true);
}
ExprP CheckLow(Checker& ck, const AstExpr& s, const std::vector<const AstExpr*>& a)
{
    return CheckBound(ck, s, a, false);
}

// SetLength(var a, n [, m ...]) of a dynamic array (nested for more lengths) or SetLength(var s, n).
struct SetLengthNode final : Expr {
    ExprP target;
    std::vector<ExprP> lengths;
    std::vector<const Type*> levels; // the array type at each depth

    void Resize(Interp& c, Value& slot, const int64_t* lens, size_t depth)
    {
        int64_t n = lens[depth] < 0 ? 0 : lens[depth];
        const Type* t = levels[depth];
        c.CheckSize(this, static_cast<uint64_t>(n), sizeof(Value));
        c.Charge(this, static_cast<size_t>(n) * 4);
        ArrayObj* a = slot.arr();
        if (!a || a->refs > 1) { // resizing gives this variable an array of its own, as Pascal does
            auto* fresh = new ArrayObj;
            if (a)
                fresh->items = a->items;
            slot = Value::FromObj(Tag::Array, fresh);
            a = fresh;
        }
        size_t old = a->items.size();
        a->items.reserve(static_cast<size_t>(n)); // exactly: resize() alone may double past the cap
        a->items.resize(static_cast<size_t>(n));
        for (size_t i = old; i < a->items.size(); ++i)
            a->items[i] = DefaultValue(t->elem);
        if (depth + 1 < levels.size())
            for (auto& item : a->items)
                Resize(c, item, lens, depth + 1);
    }

    Value eval(Interp& c) override
    {
        int64_t lens[8];
        for (size_t i = 0; i < lengths.size(); ++i)
            lens[i] = lengths[i]->evalInt(c);
        Value* p = static_cast<LValue*>(target.get())->address(c);
        if (target->type->kind == TypeKind::String) {
            int64_t n = lens[0] < 0 ? 0 : lens[0];
            c.Charge(this, static_cast<size_t>(n));
            c.StrWithRoom(this, *p, static_cast<uint64_t>(n)).resize(static_cast<size_t>(n), ' ');
            return Value();
        }
        Resize(c, *p, lens, 0);
        return Value();
    }
};

ExprP CheckSetLength(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (args.size() < 2 || args.size() > 9) {
        ck.Error(site.line, site.col, "SetLength takes a variable and its length");
        return ck.ErrorExpr();
    }
    auto n = std::make_unique<SetLengthNode>();
    n->target = ck.CheckLValue(*args[0]);
    if (n->target->type->isError() || !ck.AsLValue(n->target.get(), args[0]->line, args[0]->col, true))
        return ck.ErrorExpr();
    const Type* t = n->target->type;
    for (size_t i = 1; i < args.size(); ++i) {
        if (t->kind != TypeKind::DynArray && !(i == 1 && t->kind == TypeKind::String && args.size() == 2)) {
            ck.Error(args[i - 1]->line, args[i - 1]->col, "SetLength needs a dynamic array or a String");
            return ck.ErrorExpr();
        }
        n->levels.push_back(t);
        n->lengths.push_back(ck.Convert(ck.CheckExpr(*args[i]), TypeTable::Integer(), args[i]->line, args[i]->col));
        if (t->kind == TypeKind::DynArray)
            t = t->elem;
    }
    n->type = TypeTable::Void();
    n->At(site.line, site.col);
    return n;
}

Value AssignedFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Bool(a[0].o != nullptr);
}

ExprP CheckAssigned(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (args.size() != 1) {
        ck.Error(site.line, site.col, "Assigned takes one argument");
        return ck.ErrorExpr();
    }
    ExprP x = ck.CheckExpr(*args[0]);
    if (x->type->kind != TypeKind::Class && x->type->kind != TypeKind::DynArray && x->type->kind != TypeKind::Nil) {
        if (!x->type->isError())
            ck.Error(args[0]->line, args[0]->col, "Assigned needs an object or a dynamic array");
        return ck.ErrorExpr();
    }
    std::vector<ExprP> a;
    a.push_back(std::move(x));
    return MakeNative(AssignedFn, TypeTable::Boolean(), std::move(a), site.line, site.col);
}

} // namespace

void AddOrdinalBuiltins(std::vector<Builtin>& t)
{
    t.push_back(Custom("Inc", CheckInc));
    t.push_back(Custom("Dec", CheckDec));
    t.push_back(Custom("High", CheckHigh));
    t.push_back(Custom("Low", CheckLow));
    t.push_back(Custom("SetLength", CheckSetLength));
    t.push_back(Custom("Assigned", CheckAssigned));
    t.push_back(Fixed("Succ", { K::Integer }, K::Integer, SuccFn));
    t.push_back(Fixed("Pred", { K::Integer }, K::Integer, PredFn));
}

} // namespace zev::script
