#include <cmath>

#include "script/engine/node_factory.h"
#include "script/engine/text_util.h"
#include "script/engine/variants.h"

namespace zev::script {

namespace {

// Integer arithmetic wraps around as Pascal's does without overflow checks; done on unsigned
// values so that it is defined behaviour here too.
struct OpAdd {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b)
    {
        return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
    }
};
struct OpSub {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b)
    {
        return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
    }
};
struct OpMul {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b)
    {
        return static_cast<int64_t>(static_cast<uint64_t>(a) * static_cast<uint64_t>(b));
    }
};
struct OpDiv {
    static int64_t f(Interp& c, const Node* at, int64_t a, int64_t b)
    {
        if (b == 0)
            c.Fail(at, "Division by zero");
        if (b == -1)
            return static_cast<int64_t>(0 - static_cast<uint64_t>(a));
        return a / b;
    }
};
struct OpMod {
    static int64_t f(Interp& c, const Node* at, int64_t a, int64_t b)
    {
        if (b == 0)
            c.Fail(at, "Division by zero");
        if (b == -1)
            return 0;
        return a % b;
    }
};
struct OpAnd {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b) { return a & b; }
};
struct OpOr {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b) { return a | b; }
};
struct OpXor {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b) { return a ^ b; }
};
struct OpShl {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b)
    {
        return static_cast<int64_t>(static_cast<uint64_t>(a) << (b & 63));
    }
};
struct OpShr {
    static int64_t f(Interp&, const Node*, int64_t a, int64_t b)
    {
        return static_cast<int64_t>(static_cast<uint64_t>(a) >> (b & 63));
    }
};

template <class Op> struct IntBin final : IntExpr {
    ExprP l, r;
    int64_t evalInt(Interp& c) override { return Op::f(c, this, l->evalInt(c), r->evalInt(c)); }
};

// The right operand is a constant: one virtual call less per evaluation (`i + 1`, `n mod 7`).
template <class Op> struct IntBinK final : IntExpr {
    ExprP l;
    int64_t k = 0;
    int64_t evalInt(Interp& c) override { return Op::f(c, this, l->evalInt(c), k); }
};

// Both operands are locals of the current routine.
template <class Op> struct IntBinLL final : IntExpr {
    int a = 0, b = 0;
    int64_t evalInt(Interp& c) override { return Op::f(c, this, c.fp[a].i, c.fp[b].i); }
};

template <class Op> ExprP IntNode(ExprP l, ExprP r)
{
    if (const Value* k = r->constant()) {
        auto n = std::make_unique<IntBinK<Op>>();
        n->k = k->i;
        n->l = std::move(l);
        return n;
    }
    auto* ll = dynamic_cast<LocalVar*>(l.get());
    auto* rl = dynamic_cast<LocalVar*>(r.get());
    if (ll && rl) {
        auto n = std::make_unique<IntBinLL<Op>>();
        n->a = ll->slot;
        n->b = rl->slot;
        return n;
    }
    auto n = std::make_unique<IntBin<Op>>();
    n->l = std::move(l);
    n->r = std::move(r);
    return n;
}

struct FloatBin final : FloatExpr {
    Tok op;
    ExprP l, r;
    double evalFloat(Interp& c) override
    {
        double a = l->evalFloat(c), b = r->evalFloat(c);
        switch (op) {
        case Tok::Plus:
            return a + b;
        case Tok::Minus:
            return a - b;
        case Tok::Star:
            return a * b;
        default:
            if (b == 0)
                c.Fail(this, "Division by zero");
            return a / b;
        }
    }
};

struct StrConcat final : Expr {
    ExprP l, r;
    Value eval(Interp& c) override
    {
        Value a = l->eval(c);
        Value b = r->eval(c);
        std::string_view bs = b.str();
        if (bs.empty())
            return a;
        if (a.str().empty())
            return b;
        c.Charge(this, bs.size());
        // A temporary on the left (a + b + c) is extended in place; a shared text is copied.
        c.StrWithRoom(this, a, uint64_t(a.str().size()) + bs.size()).append(bs);
        return a;
    }
};

struct VarBin final : Expr {
    Tok op;
    ExprP l, r;
    Value eval(Interp& c) override
    {
        Value a = l->eval(c), b = r->eval(c);
        Value v = VariantBinary(c, op, a, b, this);
        if (type->kind == TypeKind::Float && v.tag == Tag::Int)
            return Value::Float(static_cast<double>(v.i));
        return v;
    }
    double evalFloat(Interp& c) override { return eval(c).f; }
};

struct AndThen final : BoolExpr {
    ExprP l, r;
    bool evalBool(Interp& c) override { return l->evalBool(c) && r->evalBool(c); }
};
struct OrElse final : BoolExpr {
    ExprP l, r;
    bool evalBool(Interp& c) override { return l->evalBool(c) || r->evalBool(c); }
};
struct BoolXor final : BoolExpr {
    ExprP l, r;
    bool evalBool(Interp& c) override { return l->evalBool(c) != r->evalBool(c); }
};

template <class N> ExprP Pair(ExprP l, ExprP r)
{
    auto n = std::make_unique<N>();
    n->l = std::move(l);
    n->r = std::move(r);
    return n;
}

ExprP IntArith(Tok op, ExprP l, ExprP r)
{
    switch (op) {
    case Tok::Plus:
        return IntNode<OpAdd>(std::move(l), std::move(r));
    case Tok::Minus:
        return IntNode<OpSub>(std::move(l), std::move(r));
    case Tok::Star:
        return IntNode<OpMul>(std::move(l), std::move(r));
    case Tok::KwDiv:
        return IntNode<OpDiv>(std::move(l), std::move(r));
    case Tok::KwMod:
        return IntNode<OpMod>(std::move(l), std::move(r));
    case Tok::KwAnd:
        return IntNode<OpAnd>(std::move(l), std::move(r));
    case Tok::KwOr:
        return IntNode<OpOr>(std::move(l), std::move(r));
    case Tok::KwXor:
        return IntNode<OpXor>(std::move(l), std::move(r));
    case Tok::KwShl:
        return IntNode<OpShl>(std::move(l), std::move(r));
    default:
        return IntNode<OpShr>(std::move(l), std::move(r));
    }
}

ExprP Build(Tok op, const Type* result, const Type* operand, ExprP l, ExprP r)
{
    bool rel = op == Tok::Eq || op == Tok::NotEq || op == Tok::Less || op == Tok::LessEq || op == Tok::Greater
        || op == Tok::GreaterEq;
    TypeKind k = operand->kind;
    if (k == TypeKind::Variant) {
        if (rel)
            return MakeComparison(op, k, std::move(l), std::move(r));
        auto n = std::make_unique<VarBin>();
        n->op = op;
        n->l = std::move(l);
        n->r = std::move(r);
        (void)result;
        return n;
    }
    if (rel)
        return MakeComparison(op, k, std::move(l), std::move(r));
    switch (k) {
    case TypeKind::Integer:
        return IntArith(op, std::move(l), std::move(r));
    case TypeKind::Float: {
        auto n = std::make_unique<FloatBin>();
        n->op = op;
        n->l = std::move(l);
        n->r = std::move(r);
        return n;
    }
    case TypeKind::String:
        return Pair<StrConcat>(std::move(l), std::move(r));
    default:
        if (op == Tok::KwAnd)
            return Pair<AndThen>(std::move(l), std::move(r));
        if (op == Tok::KwOr)
            return Pair<OrElse>(std::move(l), std::move(r));
        return Pair<BoolXor>(std::move(l), std::move(r));
    }
}

ExprP Fold(ExprP n)
{
    if (auto v = EvalConstant(*n))
        return std::make_unique<ConstExpr>(n->type, *v);
    return n;
}

struct IntNeg final : IntExpr {
    ExprP e;
    int64_t evalInt(Interp& c) override { return static_cast<int64_t>(0 - static_cast<uint64_t>(e->evalInt(c))); }
};
struct IntNot final : IntExpr {
    ExprP e;
    int64_t evalInt(Interp& c) override { return ~e->evalInt(c); }
};
struct FloatNeg final : FloatExpr {
    ExprP e;
    double evalFloat(Interp& c) override { return -e->evalFloat(c); }
};
struct BoolNot final : BoolExpr {
    ExprP e;
    bool evalBool(Interp& c) override { return !e->evalBool(c); }
};
struct VarUnary final : Expr {
    Tok op;
    ExprP e;
    Value eval(Interp& c) override
    {
        Value v = e->eval(c);
        if (op == Tok::KwNot)
            return v.tag == Tag::Bool ? Value::Bool(!v.b) : VariantBinary(c, Tok::KwXor, v, Value::Int(-1), this);
        return VariantBinary(c, Tok::Minus, Value::Int(0), v, this);
    }
};

template <class N> ExprP Unary(ExprP e)
{
    auto n = std::make_unique<N>();
    n->e = std::move(e);
    return n;
}

struct ToVariant final : Expr {
    ExprP e;
    Value eval(Interp& c) override { return e->eval(c); }
};

struct FromVariant final : Expr {
    ExprP e;
    Value eval(Interp& c) override { return VariantTo(c, e->eval(c), type, this); }
};

} // namespace

ExprP MakeBinaryOp(Tok op, const Type* result, const Type* operand, ExprP l, ExprP r, int line, int col)
{
    bool bothConst = l->constant() && r->constant();
    ExprP n = Build(op, result, operand, std::move(l), std::move(r));
    n->type = result;
    n->At(line, col);
    return bothConst ? Fold(std::move(n)) : std::move(n);
}

ExprP MakeUnaryOp(Tok op, const Type* type, ExprP e, int line, int col)
{
    bool isConst = e->constant() != nullptr;
    ExprP n;
    if (type->kind == TypeKind::Variant) {
        auto v = std::make_unique<VarUnary>();
        v->op = op;
        v->e = std::move(e);
        n = std::move(v);
    } else if (op == Tok::KwNot) {
        n = type->kind == TypeKind::Boolean ? Unary<BoolNot>(std::move(e)) : Unary<IntNot>(std::move(e));
    } else {
        n = type->kind == TypeKind::Float ? Unary<FloatNeg>(std::move(e)) : Unary<IntNeg>(std::move(e));
    }
    n->type = type;
    n->At(line, col);
    return isConst ? Fold(std::move(n)) : std::move(n);
}

ExprP MakeIntToFloat(ExprP e)
{
    bool isConst = e->constant() != nullptr;
    int line = e->line, col = e->col;
    ExprP n = std::make_unique<IntToFloat>(std::move(e));
    n->type = TypeTable::Float();
    n->At(line, col);
    return isConst ? Fold(std::move(n)) : std::move(n);
}

ExprP MakeToVariant(ExprP e)
{
    bool isConst = e->constant() != nullptr;
    auto n = std::make_unique<ToVariant>();
    n->At(e->line, e->col);
    n->e = std::move(e);
    n->type = TypeTable::Variant();
    return isConst ? Fold(std::move(n)) : std::move(n);
}

ExprP MakeFromVariant(ExprP e, const Type* to, int line, int col)
{
    auto n = std::make_unique<FromVariant>();
    n->e = std::move(e);
    n->type = to;
    n->At(line, col);
    return n;
}

} // namespace zev::script
