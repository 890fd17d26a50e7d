#include "script/engine/classes.h"
#include "script/engine/node_factory.h"
#include "script/engine/program.h"
#include "script/engine/stack_guard.h"

namespace zev::script {

namespace {

// Arguments of built-ins and library methods are evaluated into a small array on the native stack.
constexpr size_t kMaxInline = 8;

struct ArgBuffer {
    explicit ArgBuffer(size_t n)
        : m_heap(n > kMaxInline ? n : 0)
    {
    }
    Value* data() { return m_heap.empty() ? m_inline : m_heap.data(); }
    Value m_inline[kMaxInline];
    std::vector<Value> m_heap;
};

struct Native final : Expr {
    NativeFn fn;
    std::vector<ExprP> args;
    Value eval(Interp& c) override
    {
        ArgBuffer buf(args.size());
        Value* a = buf.data();
        for (size_t i = 0; i < args.size(); ++i)
            a[i] = args[i]->eval(c);
        return fn(c, a, args.size(), this);
    }
};

// One and two arguments, the common cases, without the buffer.
struct Native1 final : Expr {
    NativeFn fn;
    ExprP arg;
    Value eval(Interp& c) override
    {
        Value a = arg->eval(c);
        return fn(c, &a, 1, this);
    }
    int64_t evalInt(Interp& c) override { return eval(c).i; }
};

struct Native2 final : Expr {
    NativeFn fn;
    ExprP arg0, arg1;
    Value eval(Interp& c) override
    {
        Value a[2] = { arg0->eval(c), arg1->eval(c) };
        return fn(c, a, 2, this);
    }
};

// A call of a script routine: a frame of slots on the value stack, the arguments stored in it, the
// body run with the frame current.
struct UserCall final : Expr {
    Routine* r;
    std::vector<ExprP> args;
    int hops = -1;

    struct Activation {
        Activation(Interp& c, Value* base, size_t n, const ValueStack::Mark& mark)
            : m_c(c)
            , m_base(base)
            , m_n(n)
            , m_mark(mark)
            , m_fp(c.fp)
            , m_frame(c.frame)
        {
        }
        ~Activation()
        {
            for (size_t i = 0; i < m_n; ++i)
                m_base[i] = Value();
            m_c.stack.Pop(m_mark);
            m_c.fp = m_fp;
            m_c.frame = m_frame;
        }
        Interp& m_c;
        Value* m_base;
        size_t m_n;
        ValueStack::Mark m_mark;
        Value* m_fp;
        Frame* m_frame;
    };

    Value eval(Interp& c) override { return Call(c); }
    int64_t evalInt(Interp& c) override { return Call(c).i; }

    Value Call(Interp& c)
    {
        if (c.depth >= Interp::kMaxDepth || BelowStackLimit(c.stackLimit))
            c.Fail(this, "Maximum recursion depth exceeded");
        if (r->broken || !r->body)
            c.Fail(this, "Routine \"" + r->name + "\" cannot run: it failed to compile");
        c.Tick(this);
        size_t n = r->slotTypes.size();
        ValueStack::Mark mark;
        Value* base = c.stack.Push(n, mark);
        Activation act(c, base, n, mark);
        size_t p = static_cast<size_t>(r->firstParam);
        for (size_t i = 0; i < args.size(); ++i) {
            if (r->params[i].byRef)
                base[p + i] = static_cast<LValue*>(args[i].get())->reference(c);
            else
                base[p + i] = args[i]->eval(c);
        }
        for (size_t s = 0; s < n; ++s)
            if (s < p || s >= p + args.size())
                base[s] = r->slotInit[s];
        for (int s : r->freshSlots)
            base[s] = DefaultValue(r->slotTypes[static_cast<size_t>(s)]);
        Frame f { base, nullptr };
        if (hops >= 0) {
            Frame* outer = c.frame;
            for (int i = 0; i < hops && outer; ++i)
                outer = outer->outer;
            f.outer = outer;
        }
        c.fp = base;
        c.frame = &f;
        ++c.depth;
        struct Depth {
            Interp& c;
            ~Depth() { --c.depth; }
        } depthGuard { c };
        r->body->exec(c);
        if (r->firstParam == 1)
            return std::move(base[0]);
        return Value();
    }
};

Instance* Self(Interp& c, const Value& v, const Node* at)
{
    Instance* o = v.inst();
    if (!o)
        c.Fail(at, "Object is nil");
    return o;
}

struct MemberGet final : Expr {
    const MemberInfo* m;
    ExprP object;
    std::vector<ExprP> args;
    Value eval(Interp& c) override
    {
        Value obj = object->eval(c);
        ArgBuffer buf(args.size());
        Value* a = buf.data();
        for (size_t i = 0; i < args.size(); ++i)
            a[i] = args[i]->eval(c);
        return m->get(c, Self(c, obj, this), a, this);
    }
};

struct Construct final : Expr {
    const MemberInfo* m;
    std::vector<ExprP> args;
    Value eval(Interp& c) override
    {
        ArgBuffer buf(args.size());
        Value* a = buf.data();
        for (size_t i = 0; i < args.size(); ++i)
            a[i] = args[i]->eval(c);
        return m->construct(c, a, this);
    }
};

struct PropertySet final : Stmt {
    const MemberInfo* m;
    ExprP object;
    std::vector<ExprP> index;
    ExprP value;
    Flow exec(Interp& c) override
    {
        Value obj = object->eval(c);
        ArgBuffer buf(index.size());
        Value* a = buf.data();
        for (size_t i = 0; i < index.size(); ++i)
            a[i] = index[i]->eval(c);
        Value v = value->eval(c);
        m->set(c, Self(c, obj, this), a, std::move(v), this);
        return Flow::Normal;
    }
};

} // namespace

ExprP MakeNative(NativeFn fn, const Type* result, std::vector<ExprP> args, int line, int col)
{
    if (args.size() == 1) {
        auto n = std::make_unique<Native1>();
        n->fn = fn;
        n->arg = std::move(args[0]);
        n->type = result;
        n->At(line, col);
        return n;
    }
    if (args.size() == 2) {
        auto n = std::make_unique<Native2>();
        n->fn = fn;
        n->arg0 = std::move(args[0]);
        n->arg1 = std::move(args[1]);
        n->type = result;
        n->At(line, col);
        return n;
    }
    auto n = std::make_unique<Native>();
    n->fn = fn;
    n->args = std::move(args);
    n->type = result;
    n->At(line, col);
    return n;
}

ExprP MakeUserCall(Routine* r, std::vector<ExprP> args, int hops, int line, int col)
{
    auto n = std::make_unique<UserCall>();
    n->r = r;
    n->args = std::move(args);
    n->hops = hops;
    n->type = r->result;
    n->At(line, col);
    return n;
}

ExprP MakeMemberGet(const MemberInfo* m, ExprP object, std::vector<ExprP> args, const Type* result, int line, int col)
{
    auto n = std::make_unique<MemberGet>();
    n->m = m;
    n->object = std::move(object);
    n->args = std::move(args);
    n->type = result;
    n->At(line, col);
    return n;
}

ExprP MakeConstruct(const MemberInfo* m, std::vector<ExprP> args, const Type* result, int line, int col)
{
    auto n = std::make_unique<Construct>();
    n->m = m;
    n->args = std::move(args);
    n->type = result;
    n->At(line, col);
    return n;
}

StmtP MakePropertySet(const MemberInfo* m, ExprP object, std::vector<ExprP> index, ExprP value, int line, int col)
{
    auto n = std::make_unique<PropertySet>();
    n->m = m;
    n->object = std::move(object);
    n->index = std::move(index);
    n->value = std::move(value);
    n->At(line, col);
    return n;
}

} // namespace zev::script
