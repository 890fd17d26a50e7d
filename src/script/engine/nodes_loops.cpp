#include "script/engine/classes.h"
#include "script/engine/node_factory.h"

namespace zev::script {

namespace {

struct While final : Stmt {
    ExprP cond;
    StmtP body;
    Flow exec(Interp& c) override
    {
        while (cond->evalBool(c)) {
            c.Tick(this);
            Flow f = body->exec(c);
            if (f == Flow::Break)
                break;
            if (f == Flow::Exit)
                return f;
        }
        return Flow::Normal;
    }
};

struct Repeat final : Stmt {
    StmtP body;
    ExprP cond;
    Flow exec(Interp& c) override
    {
        do {
            c.Tick(this);
            Flow f = body->exec(c);
            if (f == Flow::Break)
                break;
            if (f == Flow::Exit)
                return f;
        } while (!cond->evalBool(c));
        return Flow::Normal;
    }
};

// Bounds are evaluated once; the variable holds each value as the body starts.
struct For final : Stmt {
    ExprP var;
    LValue* lv;
    ExprP from, to;
    bool down = false;
    StmtP body;
    Flow exec(Interp& c) override
    {
        int64_t i = from->evalInt(c);
        int64_t last = to->evalInt(c);
        if (down ? i < last : i > last)
            return Flow::Normal;
        for (;;) {
            c.Tick(this);
            lv->address(c)->i = i;
            Flow f = body->exec(c);
            if (f == Flow::Break)
                break;
            if (f == Flow::Exit)
                return f;
            if (i == last)
                break;
            i += down ? -1 : 1;
        }
        return Flow::Normal;
    }
};

// The same with the variable a local of the current routine.
struct ForLocal final : Stmt {
    int slot;
    ExprP from, to;
    bool down = false;
    StmtP body;
    Flow exec(Interp& c) override
    {
        int64_t i = from->evalInt(c);
        int64_t last = to->evalInt(c);
        if (down ? i < last : i > last)
            return Flow::Normal;
        for (;;) {
            c.Tick(this);
            c.fp[slot].i = i;
            Flow f = body->exec(c);
            if (f == Flow::Break)
                break;
            if (f == Flow::Exit)
                return f;
            if (i == last)
                break;
            i += down ? -1 : 1;
        }
        return Flow::Normal;
    }
};

struct ForIn final : Stmt {
    ExprP var;
    LValue* lv;
    ExprP coll;
    ForInKind kind;
    StmtP body;
    Flow Step(Interp& c, Value v)
    {
        c.Tick(this);
        *lv->address(c) = std::move(v);
        return body->exec(c);
    }
    Flow exec(Interp& c) override
    {
        Value held = coll->eval(c); // the collection as it was when the loop began
        if (kind == ForInKind::String) {
            std::string_view s = held.str();
            for (char ch : s) {
                Flow f = Step(c, c.OneChar(static_cast<unsigned char>(ch)));
                if (f == Flow::Break)
                    break;
                if (f == Flow::Exit)
                    return f;
            }
            return Flow::Normal;
        }
        if (kind == ForInKind::List) {
            auto* list = static_cast<StringListObj*>(held.inst());
            if (!list)
                c.Fail(this, "Object is nil");
            for (size_t i = 0; i < list->items.size(); ++i) {
                Flow f = Step(c, Value::Str(list->items[i]));
                if (f == Flow::Break)
                    break;
                if (f == Flow::Exit)
                    return f;
            }
            return Flow::Normal;
        }
        ArrayObj* a = held.arr();
        for (size_t i = 0; a && i < a->items.size(); ++i) {
            Flow f = Step(c, CopyStaticIfShared(a->items[i]));
            if (f == Flow::Break)
                break;
            if (f == Flow::Exit)
                return f;
        }
        return Flow::Normal;
    }
};

} // namespace

StmtP MakeWhile(ExprP cond, StmtP body, int line, int col)
{
    auto n = std::make_unique<While>();
    n->cond = std::move(cond);
    n->body = std::move(body);
    n->At(line, col);
    return n;
}

StmtP MakeRepeat(StmtP body, ExprP cond, int line, int col)
{
    auto n = std::make_unique<Repeat>();
    n->cond = std::move(cond);
    n->body = std::move(body);
    n->At(line, col);
    return n;
}

StmtP MakeFor(ExprP var, ExprP from, ExprP to, bool down, StmtP body, int line, int col)
{
    if (auto* local = dynamic_cast<LocalVar*>(var.get())) {
        auto n = std::make_unique<ForLocal>();
        n->slot = local->slot;
        n->from = std::move(from);
        n->to = std::move(to);
        n->down = down;
        n->body = std::move(body);
        n->At(line, col);
        return n;
    }
    auto n = std::make_unique<For>();
    n->lv = static_cast<LValue*>(var.get());
    n->var = std::move(var);
    n->from = std::move(from);
    n->to = std::move(to);
    n->down = down;
    n->body = std::move(body);
    n->At(line, col);
    return n;
}

StmtP MakeForIn(ExprP var, ExprP collection, ForInKind kind, StmtP body, int line, int col)
{
    auto n = std::make_unique<ForIn>();
    n->lv = static_cast<LValue*>(var.get());
    n->var = std::move(var);
    n->coll = std::move(collection);
    n->kind = kind;
    n->body = std::move(body);
    n->At(line, col);
    return n;
}

} // namespace zev::script
