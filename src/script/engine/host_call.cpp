#include "script/engine/engine.h"
#include "script/engine/node_factory.h"
#include "script/engine/run_env.h"

namespace zev::script {

namespace {

HostValue ToHost(const Value& v, HostType t)
{
    switch (t) {
    case HostType::String:
        return HostValue::String(std::string(v.str()));
    case HostType::Integer:
        return HostValue::Integer(v.i);
    case HostType::Boolean:
        return HostValue::Boolean(v.b);
    case HostType::Float:
        return HostValue::Float(v.f);
    case HostType::Void:
        break;
    }
    return HostValue();
}

// The host's answer in the declared type; a handler that set nothing gives the type's default.
Value FromHost(Interp& c, const std::optional<HostValue>& h, HostType t, const Node* at)
{
    try {
        switch (t) {
        case HostType::String:
            return Value::Str(h ? h->AsString() : std::string());
        case HostType::Integer:
            return Value::Int(h ? h->AsInteger() : 0);
        case HostType::Boolean:
            return Value::Bool(h ? h->AsBoolean() : false);
        case HostType::Float:
            return Value::Float(h ? h->AsFloat() : 0.0);
        case HostType::Void:
            break;
        }
    } catch (const ScriptError& e) {
        c.Fail(at, e.what());
    }
    return Value();
}

// Runs host code: its errors become run-time errors of the script at the call.
template <class F> void Guarded(Interp& c, const Node* at, F&& f)
{
    try {
        f();
    } catch (const ScriptError& e) {
        c.Fail(at, e.what());
    } catch (const ScriptThrow&) {
        throw;
    } catch (const ScriptAbort&) {
        throw;
    } catch (const std::exception& e) {
        c.Fail(at, e.what());
    }
}

HostType KindToHost(TypeKind k)
{
    switch (k) {
    case TypeKind::Integer:
        return HostType::Integer;
    case TypeKind::Float:
        return HostType::Float;
    case TypeKind::Boolean:
        return HostType::Boolean;
    default:
        return HostType::String;
    }
}

struct HostVarNode final : Expr {
    const HostVariable* var;
    Value eval(Interp& c) override
    {
        std::optional<HostValue> v;
        Guarded(c, this, [&] { v = var->read(); });
        c.CheckStop(this);
        return FromHost(c, v, KindToHost(type->kind), this);
    }
};

} // namespace

struct HostCallNode final : Expr {
    const HostFunction* fn;
    std::vector<ExprP> args;
    Value eval(Interp& c) override
    {
        std::vector<HostValue> values;
        values.reserve(args.size());
        for (size_t i = 0; i < args.size(); ++i)
            values.push_back(ToHost(args[i]->eval(c), fn->params[i].type));
        HostCall call(*fn, values, *c.env.engine);
        Guarded(c, this, [&] {
            if (fn->handler)
                fn->handler(call);
        });
        c.CheckStop(this); // the handler may have asked for it, or run a nested run that was stopped
        if (fn->result == HostType::Void)
            return Value();
        return FromHost(c, call.m_result, fn->result, this);
    }
};

ExprP MakeHostCall(const HostFunction* fn, std::vector<ExprP> args, const Type* result, int line, int col)
{
    auto n = std::make_unique<HostCallNode>();
    n->fn = fn;
    n->args = std::move(args);
    n->type = result;
    n->At(line, col);
    return n;
}

ExprP MakeHostVar(const HostVariable* var, const Type* type, int line, int col)
{
    auto n = std::make_unique<HostVarNode>();
    n->var = var;
    n->type = type;
    n->At(line, col);
    return n;
}

} // namespace zev::script
