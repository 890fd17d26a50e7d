#include "script/engine/builtins.h"
#include "script/engine/checker.h"
#include "script/engine/node_factory.h"
#include "script/engine/text_util.h"

namespace zev::script {

namespace {

const Type* HostTypeToType(HostType t)
{
    switch (t) {
    case HostType::Void:
        return TypeTable::Void();
    case HostType::String:
        return TypeTable::String();
    case HostType::Integer:
        return TypeTable::Integer();
    case HostType::Boolean:
        return TypeTable::Boolean();
    case HostType::Float:
        return TypeTable::Float();
    }
    return TypeTable::Error();
}

Value HostToValue(const HostValue& v)
{
    switch (v.type()) {
    case HostType::String:
        return Value::Str(v.AsString());
    case HostType::Integer:
        return Value::Int(v.AsInteger());
    case HostType::Boolean:
        return Value::Bool(v.AsBoolean());
    case HostType::Float:
        return Value::Float(v.AsFloat());
    case HostType::Void:
        break;
    }
    return Value();
}

std::vector<const AstExpr*> ArgsOf(const AstExpr& call)
{
    std::vector<const AstExpr*> args;
    for (size_t i = 1; i < call.kids.size(); ++i)
        args.push_back(call.kids[i].get());
    return args;
}

} // namespace

ExprP Checker::CheckCall(const AstExpr& e)
{
    const AstExpr& callee = *e.kids[0];
    auto args = ArgsOf(e);
    if (callee.kind == AstExpr::Kind::Name) {
        if (Symbol* sym = Lookup(callee.text)) {
            if (sym->kind == Symbol::Kind::TypeName)
                return TypeCast(sym->type, e, args);
            if (sym->kind == Symbol::Kind::Routine || sym->kind == Symbol::Kind::HostFunc)
                return CallSymbol(*sym, e, args);
            Error(callee.line, callee.col, "\"" + callee.text + "\" is not a routine");
            return ErrorExpr();
        }
        if (const Builtin* b = FindBuiltin(callee.text))
            return CallBuiltin(*b, e, args);
        if (const Type* t = ResolveTypeName(callee.text))
            return TypeCast(t, e, args);
        Error(callee.line, callee.col, "Unknown name \"" + callee.text + "\"");
        for (auto* a : args)
            if (a->kind != AstExpr::Kind::WriteArg)
                CheckExpr(*a);
        return ErrorExpr();
    }
    if (callee.kind == AstExpr::Kind::Member) {
        const AstExpr& base = *callee.kids[0];
        if (base.kind == AstExpr::Kind::Name) {
            Symbol* sym = Lookup(base.text);
            if (sym && sym->kind == Symbol::Kind::Unit) {
                if (auto* f = sym->unit->FindFunction(callee.text))
                    return CallHost(*f, callee, args);
                Error(callee.line, callee.col, "Unknown function \"" + callee.text + "\" in unit " + sym->unit->name());
                return ErrorExpr();
            }
            if (!sym) {
                if (const ClassInfo* cls = FindClass(base.text)) {
                    const MemberInfo* m = FindMember(cls, callee.text);
                    if (m && m->kind == MemberInfo::Kind::Constructor)
                        return Construct(cls, *m, callee, args);
                    Error(callee.line, callee.col, "Unknown constructor \"" + callee.text + "\" of " + cls->name);
                    return ErrorExpr();
                }
            }
        }
        ExprP obj = CheckExpr(base);
        if (obj->type->isError())
            return obj;
        const MemberInfo* m = obj->type->kind == TypeKind::Class ? FindMember(obj->type->cls, callee.text) : nullptr;
        if (!m || m->kind != MemberInfo::Kind::Method) {
            Error(callee.line, callee.col, "Unknown method \"" + callee.text + "\" of " + TypeName(obj->type));
            return ErrorExpr();
        }
        return CallMember(std::move(obj), *m, callee, args);
    }
    ExprP x = CheckExpr(callee);
    if (!x->type->isError())
        Error(e.line, e.col, "Routine expected");
    return ErrorExpr();
}

ExprP Checker::CallSymbol(Symbol& sym, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (sym.kind == Symbol::Kind::HostFunc)
        return CallHost(*sym.hostFn, site, args);
    return CallRoutine(sym, site, args);
}

ExprP Checker::CheckArg(const AstExpr& a, const Type* want)
{
    if (a.kind == AstExpr::Kind::ArrayLit && (want->kind == TypeKind::DynArray || want->kind == TypeKind::ArrayLiteral))
        return Convert(CheckArrayLiteral(a, want->elem), want, a.line, a.col);
    ExprP x = CheckExpr(a);
    x = Convert(std::move(x), want, a.line, a.col);
    if (want->kind == TypeKind::StaticArray)
        x = MakeCopyStatic(std::move(x));
    return x;
}

bool Checker::CheckArgs(const std::vector<const AstExpr*>& args, const std::vector<const Type*>& want, size_t required,
    const AstExpr& site, std::vector<ExprP>& out)
{
    if (args.size() > want.size() || args.size() < required) {
        Error(site.line, site.col, args.size() > want.size() ? "Too many arguments" : "Not enough arguments");
        for (auto* a : args)
            if (a->kind != AstExpr::Kind::WriteArg)
                CheckExpr(*a);
        return false;
    }
    bool ok = true;
    for (size_t i = 0; i < args.size(); ++i) {
        out.push_back(CheckArg(*args[i], want[i]));
        ok = ok && !out.back()->type->isError();
    }
    return ok;
}

ExprP Checker::CallRoutine(Symbol& sym, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    ResolveSignature(sym);
    Routine& r = *sym.routine;
    size_t required = 0; // every parameter up to the last one without a usable default
    for (size_t i = 0; i < r.params.size(); ++i)
        if (!r.params[i].defaultValue)
            required = i + 1;
    if (args.size() > r.params.size() || args.size() < required) {
        Error(site.line, site.col, args.size() > r.params.size() ? "Too many arguments" : "Not enough arguments");
        return ErrorExpr();
    }
    std::vector<ExprP> out;
    bool ok = true;
    for (size_t i = 0; i < r.params.size(); ++i) {
        const ParamInfo& p = r.params[i];
        if (i >= args.size()) {
            auto* c = p.defaultValue->constant();
            out.push_back(std::make_unique<ConstExpr>(p.type, *c));
            continue;
        }
        const AstExpr& a = *args[i];
        if (p.byRef) {
            ExprP x = CheckLValue(a);
            if (x->type->isError()) {
                ok = false;
            } else if (!AsLValue(x.get(), a.line, a.col, true)) {
                ok = false;
            } else if (!SameType(x->type, p.type)) {
                Error(a.line, a.col,
                    "Incompatible types: got \"" + TypeName(x->type) + "\", expected \"" + TypeName(p.type)
                        + "\" for var parameter");
                ok = false;
            }
            out.push_back(std::move(x));
            continue;
        }
        out.push_back(CheckArg(a, p.type));
        ok = ok && !out.back()->type->isError();
    }
    if (!ok || r.result->isError())
        return ErrorExpr();
    int hops = r.level == 1 ? -1 : m_scope->level - (r.level - 1);
    return MakeUserCall(&r, std::move(out), hops, site.line, site.col);
}

ExprP Checker::CallHost(const HostFunction& fn, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    std::vector<const Type*> want;
    size_t required = 0;
    for (auto& p : fn.params) {
        want.push_back(HostTypeToType(p.type));
        if (!p.defaultValue)
            required = want.size();
    }
    std::vector<ExprP> out;
    if (!CheckArgs(args, want, required, site, out))
        return ErrorExpr();
    for (size_t i = out.size(); i < fn.params.size(); ++i)
        out.push_back(std::make_unique<ConstExpr>(want[i], HostToValue(*fn.params[i].defaultValue)));
    return MakeHostCall(&fn, std::move(out), HostTypeToType(fn.result), site.line, site.col);
}

ExprP Checker::CallMember(
    ExprP object, const MemberInfo& m, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    std::vector<const Type*> want;
    for (TypeKind k : m.params)
        want.push_back(TypeOfKind(k));
    std::vector<ExprP> out;
    if (!CheckArgs(args, want, want.size(), site, out))
        return ErrorExpr();
    const Type* result = m.result == TypeKind::Class ? object->type : TypeOfKind(m.result);
    return MakeMemberGet(&m, std::move(object), std::move(out), result, site.line, site.col);
}

ExprP Checker::Construct(
    const ClassInfo* cls, const MemberInfo& m, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    std::vector<const Type*> want;
    for (TypeKind k : m.params)
        want.push_back(TypeOfKind(k));
    std::vector<ExprP> out;
    if (!CheckArgs(args, want, want.size(), site, out))
        return ErrorExpr();
    return MakeConstruct(&m, std::move(out), types().ClassType(cls), site.line, site.col);
}

ExprP Checker::CallBuiltin(const Builtin& b, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (b.check)
        return b.check(*this, site, args);
    std::vector<const Type*> want;
    for (TypeKind k : b.params)
        want.push_back(TypeOfKind(k));
    std::vector<ExprP> out;
    if (!CheckArgs(args, want, b.required, site, out))
        return ErrorExpr();
    for (size_t i = out.size(); i < b.params.size(); ++i)
        out.push_back(std::make_unique<ConstExpr>(want[i], b.defaults[i - b.required]));
    bool allConst = b.pure;
    for (auto& a : out)
        allConst = allConst && a->constant();
    ExprP call = MakeNative(b.fn, TypeOfKind(b.result), std::move(out), site.line, site.col);
    if (allConst)
        if (auto v = EvalConstant(*call))
            return std::make_unique<ConstExpr>(call->type, *v);
    return call;
}

namespace {

Value CastToInt(Interp&, Value* a, size_t, const Node*)
{
    if (a[0].tag == Tag::Bool)
        return Value::Int(a[0].b ? 1 : 0);
    return Value::Int(a[0].i);
}
Value CastToBool(Interp&, Value* a, size_t, const Node*)
{
    return Value::Bool(a[0].i != 0);
}

} // namespace

// Integer(b), Boolean(i), Float(i), String(v), TStringList(obj).
ExprP Checker::TypeCast(const Type* t, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (args.size() != 1) {
        Error(site.line, site.col, "A type cast takes one argument");
        return ErrorExpr();
    }
    ExprP x = CheckExpr(*args[0]);
    const Type* from = x->type;
    if (from->isError() || t->isError())
        return ErrorExpr();
    if (t->kind == TypeKind::Integer && (from->kind == TypeKind::Boolean || from->kind == TypeKind::Integer)) {
        std::vector<ExprP> a;
        a.push_back(std::move(x));
        return MakeNative(CastToInt, t, std::move(a), site.line, site.col);
    }
    if (t->kind == TypeKind::Boolean && from->kind == TypeKind::Integer) {
        std::vector<ExprP> a;
        a.push_back(std::move(x));
        return MakeNative(CastToBool, t, std::move(a), site.line, site.col);
    }
    if (Convertible(from, t))
        return Convert(std::move(x), t, site.line, site.col);
    Error(site.line, site.col, "Invalid type cast from \"" + TypeName(from) + "\" to \"" + TypeName(t) + "\"");
    return ErrorExpr();
}

} // namespace zev::script
