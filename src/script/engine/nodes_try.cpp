#include "script/engine/classes.h"
#include "script/engine/node_factory.h"

namespace zev::script {

namespace {

// Keeps the exception being handled reachable for `raise;` while its handler runs.
struct Handling {
    Handling(Interp& c, const Value& exc)
        : m_c(c)
    {
        c.handling.push_back(exc);
    }
    ~Handling() { m_c.handling.pop_back(); }
    Interp& m_c;
};

struct TryExcept final : Stmt {
    StmtP body;
    std::vector<HandlerNode> handlers;
    StmtP otherwise;
    bool hasOtherwise = false;

    Flow exec(Interp& c) override
    {
        Value* fp = c.fp;
        Frame* frame = c.frame;
        int depth = c.depth;
        try {
            return body->exec(c);
        } catch (ScriptThrow& t) {
            // Frames of the routines the exception left are already released by their calls.
            c.fp = fp;
            c.frame = frame;
            c.depth = depth;
            Value exc = t.exc;
            return Handle(c, exc, t.line, t.col);
        }
    }

    Flow Handle(Interp& c, const Value& exc, int raisedLine, int raisedCol)
    {
        Handling h(c, exc);
        const ClassInfo* cls = exc.inst() ? exc.inst()->cls : ExceptionClass();
        for (auto& hn : handlers) {
            if (!IsA(cls, hn.cls))
                continue;
            if (hn.var)
                *static_cast<LValue*>(hn.var.get())->address(c) = exc;
            return hn.body->exec(c);
        }
        if (hasOtherwise)
            return otherwise->exec(c);
        throw ScriptThrow { exc, raisedLine, raisedCol };
    }
};

struct TryFinally final : Stmt {
    StmtP body, fin;
    Flow exec(Interp& c) override
    {
        Flow f;
        Value* fp = c.fp;
        Frame* frame = c.frame;
        int depth = c.depth;
        try {
            f = body->exec(c);
        } catch (ScriptThrow&) {
            c.fp = fp;
            c.frame = frame;
            c.depth = depth;
            fin->exec(c);
            throw;
        } catch (ScriptAbort&) {
            throw; // the run is over: nothing more runs
        }
        Flow g = fin->exec(c);
        return g != Flow::Normal ? g : f;
    }
};

struct Raise final : Stmt {
    ExprP exc;
    Flow exec(Interp& c) override
    {
        if (!exc) {
            if (c.handling.empty())
                c.Fail(this, "No exception to re-raise");
            throw ScriptThrow { c.handling.back(), line, col };
        }
        Value v = exc->eval(c);
        if (!v.inst())
            c.Fail(this, "Object is nil");
        throw ScriptThrow { std::move(v), line, col };
    }
};

} // namespace

StmtP MakeTryExcept(StmtP body, std::vector<HandlerNode> handlers, StmtP otherwise, bool hasOtherwise)
{
    auto n = std::make_unique<TryExcept>();
    n->body = std::move(body);
    n->handlers = std::move(handlers);
    n->otherwise = std::move(otherwise);
    n->hasOtherwise = hasOtherwise;
    return n;
}

StmtP MakeTryFinally(StmtP body, StmtP finally)
{
    auto n = std::make_unique<TryFinally>();
    n->body = std::move(body);
    n->fin = std::move(finally);
    return n;
}

StmtP MakeRaise(ExprP exception, int line, int col)
{
    auto n = std::make_unique<Raise>();
    n->exc = std::move(exception);
    n->At(line, col);
    return n;
}

} // namespace zev::script
