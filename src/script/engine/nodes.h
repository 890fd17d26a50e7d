#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/engine/interpreter.h"
#include "script/engine/types.h"
#include "script/engine/values.h"

namespace zev::script {

// Executable tree: the checker resolves every name to a slot and every operator to a node of the
// operand types, so nothing is looked up by name while a script runs.
struct Node {
    int line = 0, col = 0;
    virtual ~Node() = default;
    void At(int l, int c)
    {
        line = l;
        col = c;
    }
};

enum class Flow : uint8_t { Normal, Break, Continue, Exit };

struct Stmt : Node {
    virtual Flow exec(Interp& c) = 0;
};
using StmtP = std::unique_ptr<Stmt>;

struct Expr : Node {
    const Type* type = nullptr;
    virtual Value eval(Interp& c) = 0;
    virtual int64_t evalInt(Interp& c) { return eval(c).i; }
    virtual double evalFloat(Interp& c) { return eval(c).f; }
    virtual bool evalBool(Interp& c) { return eval(c).b; }
    // A literal or a constant folded at compile time.
    virtual const Value* constant() const { return nullptr; }
};
using ExprP = std::unique_ptr<Expr>;

struct IntExpr : Expr {
    Value eval(Interp& c) override { return Value::Int(evalInt(c)); }
    int64_t evalInt(Interp& c) override = 0;
};
struct FloatExpr : Expr {
    Value eval(Interp& c) override { return Value::Float(evalFloat(c)); }
    double evalFloat(Interp& c) override = 0;
};
struct BoolExpr : Expr {
    Value eval(Interp& c) override { return Value::Bool(evalBool(c)); }
    bool evalBool(Interp& c) override = 0;
};

// A place that can be assigned and passed as a `var` argument. The address stays valid until the
// script runs again (a call could resize the array it points into).
struct LValue : Expr {
    virtual Value* address(Interp& c) = 0;
    // A reference for a `var` parameter: a raw slot pointer, or a pinned array element.
    virtual Value reference(Interp& c) { return Value::SlotRef(address(c)); }
    Value eval(Interp& c) override { return *address(c); }
    int64_t evalInt(Interp& c) override { return address(c)->i; }
    double evalFloat(Interp& c) override { return address(c)->f; }
    bool evalBool(Interp& c) override { return address(c)->b; }
};
using LValueP = std::unique_ptr<LValue>;

struct ConstExpr final : Expr {
    Value v;
    ConstExpr(const Type* t, Value value)
        : v(std::move(value))
    {
        type = t;
    }
    Value eval(Interp&) override { return v; }
    int64_t evalInt(Interp&) override { return v.i; }
    double evalFloat(Interp&) override { return v.f; }
    bool evalBool(Interp&) override { return v.b; }
    const Value* constant() const override { return &v; }
};

struct LocalVar final : LValue {
    int slot;
    explicit LocalVar(int s)
        : slot(s)
    {
    }
    Value* address(Interp& c) override { return &c.fp[slot]; }
    Value eval(Interp& c) override { return c.fp[slot]; }
    int64_t evalInt(Interp& c) override { return c.fp[slot].i; }
    double evalFloat(Interp& c) override { return c.fp[slot].f; }
    bool evalBool(Interp& c) override { return c.fp[slot].b; }
};

struct GlobalVar final : LValue {
    int slot;
    explicit GlobalVar(int s)
        : slot(s)
    {
    }
    Value* address(Interp& c) override { return &c.globals[slot]; }
    Value eval(Interp& c) override { return c.globals[slot]; }
    int64_t evalInt(Interp& c) override { return c.globals[slot].i; }
    double evalFloat(Interp& c) override { return c.globals[slot].f; }
    bool evalBool(Interp& c) override { return c.globals[slot].b; }
};

// A local of an enclosing routine, reached through the static links.
struct OuterVar final : LValue {
    int levels, slot;
    OuterVar(int l, int s)
        : levels(l)
        , slot(s)
    {
    }
    Value* address(Interp& c) override
    {
        Frame* f = c.frame;
        for (int i = 0; i < levels; ++i)
            f = f->outer;
        return &f->cells[slot];
    }
};

Value* DerefSlot(Interp& c, Value& slot, const Node* at);

// A `var` parameter: its slot holds a reference to the caller's variable.
struct VarParam final : LValue {
    ExprP inner; // the slot holding the reference (LocalVar or OuterVar)
    LValue* innerLv;
    explicit VarParam(std::unique_ptr<LValue> slot)
        : innerLv(slot.get())
    {
        inner = std::move(slot);
    }
    Value* address(Interp& c) override { return DerefSlot(c, *innerLv->address(c), this); }
    Value reference(Interp& c) override { return *innerLv->address(c); }
    int64_t evalInt(Interp& c) override { return address(c)->i; }
};

// Converts an Integer to Float where the checker found the implicit conversion.
struct IntToFloat final : FloatExpr {
    ExprP e;
    explicit IntToFloat(ExprP x)
        : e(std::move(x))
    {
    }
    double evalFloat(Interp& c) override { return static_cast<double>(e->evalInt(c)); }
};

// Fresh default value of a type: 0, '', False, nil, or a new static array.
Value DefaultValue(const Type* t);
// Static arrays are values: a shared one is copied before it is stored.
Value CopyStaticIfShared(Value v);
Value DeepCopyArray(const ArrayObj* a);

} // namespace zev::script
