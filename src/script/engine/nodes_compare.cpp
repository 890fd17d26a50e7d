#include "script/engine/node_factory.h"
#include "script/engine/text_util.h"
#include "script/engine/variants.h"

namespace zev::script {

namespace {

enum class Cmp { Eq, Ne, Lt, Le, Gt, Ge };
Cmp CmpOf(Tok op)
{
    switch (op) {
    case Tok::Eq:
        return Cmp::Eq;
    case Tok::NotEq:
        return Cmp::Ne;
    case Tok::Less:
        return Cmp::Lt;
    case Tok::LessEq:
        return Cmp::Le;
    case Tok::Greater:
        return Cmp::Gt;
    default:
        return Cmp::Ge;
    }
}

template <class T> bool Compare(Cmp k, T a, T b)
{
    switch (k) {
    case Cmp::Eq:
        return a == b;
    case Cmp::Ne:
        return a != b;
    case Cmp::Lt:
        return a < b;
    case Cmp::Le:
        return a <= b;
    case Cmp::Gt:
        return a > b;
    case Cmp::Ge:
        return a >= b;
    }
    return false;
}

template <Cmp K> struct IntCmp final : BoolExpr {
    ExprP l, r;
    bool evalBool(Interp& c) override { return Compare(K, l->evalInt(c), r->evalInt(c)); }
};

// The right side a constant (`n < 2`): one virtual call less.
template <Cmp K> struct IntCmpK final : BoolExpr {
    ExprP l;
    int64_t k = 0;
    bool evalBool(Interp& c) override { return Compare(K, l->evalInt(c), k); }
};

template <Cmp K> ExprP IntCmpNode(ExprP l, ExprP r)
{
    if (const Value* k = r->constant()) {
        auto n = std::make_unique<IntCmpK<K>>();
        n->l = std::move(l);
        n->k = k->i;
        return n;
    }
    auto n = std::make_unique<IntCmp<K>>();
    n->l = std::move(l);
    n->r = std::move(r);
    return n;
}

struct FloatCmp final : BoolExpr {
    Cmp k;
    ExprP l, r;
    bool evalBool(Interp& c) override { return Compare(k, l->evalFloat(c), r->evalFloat(c)); }
};
struct BoolCmp final : BoolExpr {
    Cmp k;
    ExprP l, r;
    bool evalBool(Interp& c) override
    {
        return Compare(k, static_cast<int>(l->evalBool(c)), static_cast<int>(r->evalBool(c)));
    }
};
struct StrCmp final : BoolExpr {
    Cmp k;
    ExprP l, r;
    bool evalBool(Interp& c) override
    {
        Value a = l->eval(c), b = r->eval(c);
        return Compare(k, CompareBytes(a.str(), b.str()), 0);
    }
};
struct RefCmp final : BoolExpr {
    bool equal;
    ExprP l, r;
    bool evalBool(Interp& c) override
    {
        Value a = l->eval(c), b = r->eval(c);
        return (a.o == b.o) == equal;
    }
};
struct VarCmp final : BoolExpr {
    Cmp k;
    ExprP l, r;
    bool evalBool(Interp& c) override
    {
        Value a = l->eval(c), b = r->eval(c);
        return Compare(k, VariantCompare(c, a, b, this), 0);
    }
};
template <class N> ExprP CmpPair(Cmp k, ExprP l, ExprP r)
{
    auto n = std::make_unique<N>();
    n->k = k;
    n->l = std::move(l);
    n->r = std::move(r);
    return n;
}

ExprP IntCompare(Cmp k, ExprP l, ExprP r)
{
    switch (k) {
    case Cmp::Eq:
        return IntCmpNode<Cmp::Eq>(std::move(l), std::move(r));
    case Cmp::Ne:
        return IntCmpNode<Cmp::Ne>(std::move(l), std::move(r));
    case Cmp::Lt:
        return IntCmpNode<Cmp::Lt>(std::move(l), std::move(r));
    case Cmp::Le:
        return IntCmpNode<Cmp::Le>(std::move(l), std::move(r));
    case Cmp::Gt:
        return IntCmpNode<Cmp::Gt>(std::move(l), std::move(r));
    default:
        return IntCmpNode<Cmp::Ge>(std::move(l), std::move(r));
    }
}

struct InList final : BoolExpr {
    ExprP x;
    std::vector<ExprP> lows, highs;
    bool evalBool(Interp& c) override
    {
        Value v = x->eval(c);
        for (size_t i = 0; i < lows.size(); ++i) {
            Value lo = lows[i]->eval(c);
            if (!highs[i]) {
                if (VariantCompare(c, v, lo, this) == 0)
                    return true;
                continue;
            }
            Value hi = highs[i]->eval(c);
            if (VariantCompare(c, v, lo, this) >= 0 && VariantCompare(c, v, hi, this) <= 0)
                return true;
        }
        return false;
    }
};

} // namespace

// Comparisons of two operands of one type (after the checker's conversions).
ExprP MakeComparison(Tok op, TypeKind operand, ExprP l, ExprP r)
{
    Cmp k = CmpOf(op);
    switch (operand) {
    case TypeKind::Integer:
        return IntCompare(k, std::move(l), std::move(r));
    case TypeKind::Float:
        return CmpPair<FloatCmp>(k, std::move(l), std::move(r));
    case TypeKind::Boolean:
        return CmpPair<BoolCmp>(k, std::move(l), std::move(r));
    case TypeKind::String:
        return CmpPair<StrCmp>(k, std::move(l), std::move(r));
    case TypeKind::Variant:
        return CmpPair<VarCmp>(k, std::move(l), std::move(r));
    default: {
        auto n = std::make_unique<RefCmp>();
        n->equal = op == Tok::Eq;
        n->l = std::move(l);
        n->r = std::move(r);
        return n;
    }
    }
}

ExprP MakeInList(ExprP x, std::vector<ExprP> lows, std::vector<ExprP> highs, int line, int col)
{
    auto n = std::make_unique<InList>();
    n->x = std::move(x);
    n->lows = std::move(lows);
    n->highs = std::move(highs);
    n->type = TypeTable::Boolean();
    n->At(line, col);
    return n;
}

} // namespace zev::script
