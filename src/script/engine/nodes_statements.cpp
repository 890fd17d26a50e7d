#include "script/engine/node_factory.h"
#include "script/engine/text_util.h"
#include "script/engine/variants.h"

namespace zev::script {

namespace {

struct AssignLocalInt final : Stmt {
    int slot;
    ExprP value;
    Flow exec(Interp& c) override
    {
        c.fp[slot].i = value->evalInt(c);
        return Flow::Normal;
    }
};

struct AssignLocalFloat final : Stmt {
    int slot;
    ExprP value;
    Flow exec(Interp& c) override
    {
        c.fp[slot].f = value->evalFloat(c);
        return Flow::Normal;
    }
};

struct AssignInt final : Stmt {
    ExprP target;
    LValue* lv;
    ExprP value;
    Flow exec(Interp& c) override
    {
        int64_t v = value->evalInt(c);
        lv->address(c)->i = v;
        return Flow::Normal;
    }
};

struct AssignGeneric final : Stmt {
    ExprP target;
    LValue* lv;
    ExprP value;
    Flow exec(Interp& c) override
    {
        Value v = value->eval(c); // first: the call could move the target's array
        *lv->address(c) = std::move(v);
        return Flow::Normal;
    }
};

struct OpAssign final : Stmt {
    Tok op;
    ExprP target;
    LValue* lv;
    ExprP value;
    Flow exec(Interp& c) override
    {
        if (target->type->kind == TypeKind::Integer) {
            int64_t v = value->evalInt(c);
            Value* p = lv->address(c);
            uint64_t a = static_cast<uint64_t>(p->i), b = static_cast<uint64_t>(v);
            p->i = static_cast<int64_t>(op == Tok::PlusAssign ? a + b : op == Tok::MinusAssign ? a - b : a * b);
        } else if (target->type->kind == TypeKind::Float) {
            double v = value->evalFloat(c);
            Value* p = lv->address(c);
            switch (op) {
            case Tok::PlusAssign:
                p->f += v;
                break;
            case Tok::MinusAssign:
                p->f -= v;
                break;
            case Tok::StarAssign:
                p->f *= v;
                break;
            default:
                if (v == 0)
                    c.Fail(this, "Division by zero");
                p->f /= v;
            }
        } else {
            Value v = value->eval(c);
            Value* p = lv->address(c);
            Tok bin = op == Tok::PlusAssign ? Tok::Plus
                : op == Tok::MinusAssign    ? Tok::Minus
                : op == Tok::StarAssign     ? Tok::Star
                                            : Tok::Slash;
            *p = VariantBinary(c, bin, *p, v, this);
        }
        return Flow::Normal;
    }
};

// s := s + x: the string grows in place when nothing else shares it, so a loop stays linear.
struct Append final : Stmt {
    ExprP target;
    LValue* lv;
    ExprP value;
    Flow exec(Interp& c) override
    {
        Value v = value->eval(c);
        std::string_view add = v.str();
        if (add.empty())
            return Flow::Normal;
        c.Charge(this, add.size());
        Value* p = lv->address(c);
        c.StrWithRoom(this, *p, uint64_t(p->str().size()) + add.size()).append(add);
        return Flow::Normal;
    }
};

struct CharAssign final : Stmt {
    ExprP target;
    LValue* lv;
    ExprP index, value;
    Flow exec(Interp& c) override
    {
        int64_t i = index->evalInt(c);
        Value v = value->eval(c);
        if (v.str().size() != 1)
            c.Fail(this, "One character expected");
        Value* p = lv->address(c);
        int64_t n = static_cast<int64_t>(p->str().size());
        if (i < 1 || i > n)
            c.Fail(this, "Index " + std::to_string(i) + " out of bounds (1.." + std::to_string(n) + ")");
        MutableStr(*p)[static_cast<size_t>(i - 1)] = v.str()[0];
        return Flow::Normal;
    }
};

struct ExprStmt final : Stmt {
    ExprP e;
    Flow exec(Interp& c) override
    {
        e->eval(c);
        return Flow::Normal;
    }
};

struct Block final : Stmt {
    std::vector<StmtP> body;
    Flow exec(Interp& c) override
    {
        for (auto& s : body) {
            Flow f = s->exec(c);
            if (f != Flow::Normal)
                return f;
        }
        return Flow::Normal;
    }
};

struct If final : Stmt {
    ExprP cond;
    StmtP then, otherwise;
    Flow exec(Interp& c) override
    {
        if (cond->evalBool(c))
            return then->exec(c);
        return otherwise ? otherwise->exec(c) : Flow::Normal;
    }
};

struct FlowStmt final : Stmt {
    Flow f;
    Flow exec(Interp&) override { return f; }
};

struct ExitValue final : Stmt {
    ExprP target;
    LValue* lv;
    ExprP value;
    Flow exec(Interp& c) override
    {
        Value v = value->eval(c);
        *lv->address(c) = std::move(v);
        return Flow::Exit;
    }
};

struct Init final : Stmt {
    ExprP target;
    LValue* lv;
    ExprP value;
    Flow exec(Interp& c) override
    {
        Value v = value ? value->eval(c) : DefaultValue(target->type);
        *lv->address(c) = std::move(v);
        return Flow::Normal;
    }
};

struct Case final : Stmt {
    ExprP selector;
    bool isString = false;
    std::vector<CaseBranchNode> branches;
    StmtP otherwise;

    bool Matches(const CaseLabel& l, const Value& v) const
    {
        if (!isString)
            return v.i >= l.low.i && v.i <= l.high.i;
        if (l.low.o == l.high.o)
            return v.str() == l.low.str();
        return v.str().size() == 1 && CompareBytes(v.str(), l.low.str()) >= 0
            && CompareBytes(v.str(), l.high.str()) <= 0;
    }
    Flow exec(Interp& c) override
    {
        Value v = selector->eval(c);
        for (auto& b : branches)
            for (auto& l : b.labels)
                if (Matches(l, v))
                    return b.body->exec(c);
        return otherwise ? otherwise->exec(c) : Flow::Normal;
    }
};

template <class N> std::unique_ptr<N> WithTarget(ExprP target, ExprP value, int line, int col)
{
    auto n = std::make_unique<N>();
    n->lv = static_cast<LValue*>(target.get());
    n->target = std::move(target);
    n->value = std::move(value);
    n->At(line, col);
    return n;
}

} // namespace

StmtP MakeAssign(ExprP target, ExprP value, int line, int col)
{
    TypeKind k = target->type->kind;
    if (auto* local = dynamic_cast<LocalVar*>(target.get())) {
        if (k == TypeKind::Integer) {
            auto n = std::make_unique<AssignLocalInt>();
            n->slot = local->slot;
            n->value = std::move(value);
            n->At(line, col);
            return n;
        }
        if (k == TypeKind::Float) {
            auto n = std::make_unique<AssignLocalFloat>();
            n->slot = local->slot;
            n->value = std::move(value);
            n->At(line, col);
            return n;
        }
    }
    if (k == TypeKind::Integer)
        return WithTarget<AssignInt>(std::move(target), std::move(value), line, col);
    return WithTarget<AssignGeneric>(std::move(target), std::move(value), line, col);
}

StmtP MakeOpAssign(Tok op, ExprP target, ExprP value, int line, int col)
{
    auto n = WithTarget<OpAssign>(std::move(target), std::move(value), line, col);
    n->op = op;
    return n;
}

StmtP MakeAppend(ExprP target, ExprP value, int line, int col)
{
    return WithTarget<Append>(std::move(target), std::move(value), line, col);
}

StmtP MakeCharAssign(ExprP target, ExprP index, ExprP value, int line, int col)
{
    auto n = WithTarget<CharAssign>(std::move(target), std::move(value), line, col);
    n->index = std::move(index);
    return n;
}

StmtP MakeExprStmt(ExprP e)
{
    auto n = std::make_unique<ExprStmt>();
    n->At(e->line, e->col);
    n->e = std::move(e);
    return n;
}

StmtP MakeBlock(std::vector<StmtP> body)
{
    if (body.size() == 1)
        return std::move(body.front());
    auto n = std::make_unique<Block>();
    n->body = std::move(body);
    return n;
}

StmtP MakeIf(ExprP cond, StmtP then, StmtP otherwise)
{
    auto n = std::make_unique<If>();
    n->cond = std::move(cond);
    n->then = std::move(then);
    n->otherwise = std::move(otherwise);
    return n;
}

StmtP MakeFlow(Flow f)
{
    auto n = std::make_unique<FlowStmt>();
    n->f = f;
    return n;
}

StmtP MakeExitValue(ExprP resultSlot, ExprP value, int line, int col)
{
    return WithTarget<ExitValue>(std::move(resultSlot), std::move(value), line, col);
}

StmtP MakeInit(ExprP target, ExprP value)
{
    return WithTarget<Init>(std::move(target), std::move(value), 0, 0);
}

StmtP MakeCase(ExprP selector, bool isString, std::vector<CaseBranchNode> branches, StmtP otherwise)
{
    auto n = std::make_unique<Case>();
    n->At(selector->line, selector->col);
    n->selector = std::move(selector);
    n->isString = isString;
    n->branches = std::move(branches);
    n->otherwise = std::move(otherwise);
    return n;
}

} // namespace zev::script
