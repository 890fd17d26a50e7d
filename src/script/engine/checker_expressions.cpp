#include "script/engine/builtins.h"
#include "script/engine/checker.h"
#include "script/engine/node_factory.h"
#include "script/engine/stack_guard.h"
#include "script/engine/text_util.h"

namespace zev::script {

namespace {

std::string Quote(const Type* t)
{
    return "\"" + TypeName(t) + "\"";
}

} // namespace

ExprP Checker::CheckExpr(const AstExpr& e)
{
    switch (e.kind) {
    case AstExpr::Kind::IntLit:
        return std::make_unique<ConstExpr>(TypeTable::Integer(), Value::Int(e.ival));
    case AstExpr::Kind::FloatLit:
        return std::make_unique<ConstExpr>(TypeTable::Float(), Value::Float(e.fval));
    case AstExpr::Kind::StrLit:
        return std::make_unique<ConstExpr>(TypeTable::String(), Value::Str(e.text));
    case AstExpr::Kind::BoolLit:
        return std::make_unique<ConstExpr>(TypeTable::Boolean(), Value::Bool(e.ival != 0));
    case AstExpr::Kind::Nil:
        return std::make_unique<ConstExpr>(TypeTable::Nil(), DefaultValue(TypeTable::Nil()));
    case AstExpr::Kind::Name:
        return CheckName(e);
    case AstExpr::Kind::Member:
        return CheckMember(e);
    case AstExpr::Kind::Index:
        return CheckIndex(e);
    case AstExpr::Kind::Call:
        return CheckCall(e);
    case AstExpr::Kind::Unary:
        return CheckUnary(e);
    case AstExpr::Kind::Binary:
        return e.op == Tok::KwIn ? CheckIn(e) : CheckBinary(e);
    case AstExpr::Kind::ArrayLit:
        return CheckArrayLiteral(e, nullptr);
    case AstExpr::Kind::Range:
        Error(e.line, e.col, "A range is only allowed in a set of values");
        return ErrorExpr();
    case AstExpr::Kind::WriteArg:
        Error(e.line, e.col, "Width and precision are only allowed in Write and WriteLn");
        return ErrorExpr();
    }
    return ErrorExpr();
}

ExprP Checker::CheckName(const AstExpr& e)
{
    if (Symbol* sym = Lookup(e.text))
        return CheckSymbolValue(*sym, e);
    if (const Builtin* b = FindBuiltin(e.text))
        return CallBuiltin(*b, e, {});
    if (FindClass(e.text) || ResolveTypeName(e.text)) {
        Error(e.line, e.col, "Type \"" + e.text + "\" used as a value");
        return ErrorExpr();
    }
    Error(e.line, e.col, "Unknown name \"" + e.text + "\"");
    return ErrorExpr();
}

ExprP Checker::CheckSymbolValue(Symbol& sym, const AstExpr& e)
{
    switch (sym.kind) {
    case Symbol::Kind::Var:
        return VarAccess(sym);
    case Symbol::Kind::Const:
    case Symbol::Kind::HostConst:
        return std::make_unique<ConstExpr>(sym.type, sym.value);
    case Symbol::Kind::HostVar: {
        const Type* t = TypeOfKind(sym.hostVar->type == HostType::Integer ? TypeKind::Integer
                : sym.hostVar->type == HostType::Float                    ? TypeKind::Float
                : sym.hostVar->type == HostType::Boolean                  ? TypeKind::Boolean
                                                                          : TypeKind::String);
        return MakeHostVar(sym.hostVar, t, e.line, e.col);
    }
    case Symbol::Kind::Routine:
    case Symbol::Kind::HostFunc:
        return CallSymbol(sym, e, {});
    case Symbol::Kind::Unit:
        Error(e.line, e.col, "Unit name \"" + e.text + "\" used as a value");
        return ErrorExpr();
    case Symbol::Kind::TypeName:
    case Symbol::Kind::Class:
        Error(e.line, e.col, "Type \"" + e.text + "\" used as a value");
        return ErrorExpr();
    }
    return ErrorExpr();
}

ExprP Checker::CheckMember(const AstExpr& e)
{
    const AstExpr& base = *e.kids[0];
    if (base.kind == AstExpr::Kind::Name) {
        Symbol* sym = Lookup(base.text);
        if (sym && sym->kind == Symbol::Kind::Unit) {
            const HostUnit* u = sym->unit;
            if (auto* c = u->FindConstant(e.text))
                return std::make_unique<ConstExpr>(TypeTable::Integer(), Value::Int(c->value));
            Symbol tmp;
            if (auto* v = u->FindVariable(e.text)) {
                tmp.kind = Symbol::Kind::HostVar;
                tmp.hostVar = v;
                return CheckSymbolValue(tmp, e);
            }
            if (auto* f = u->FindFunction(e.text)) {
                tmp.kind = Symbol::Kind::HostFunc;
                tmp.hostFn = f;
                return CallHost(*f, e, {});
            }
            Error(e.line, e.col, "Unknown name \"" + e.text + "\" in unit " + u->name());
            return ErrorExpr();
        }
        if (!sym) {
            if (const ClassInfo* cls = FindClass(base.text)) {
                const MemberInfo* m = FindMember(cls, e.text);
                if (m && m->kind == MemberInfo::Kind::Constructor)
                    return Construct(cls, *m, e, {});
                Error(e.line, e.col, "Unknown constructor \"" + e.text + "\" of " + cls->name);
                return ErrorExpr();
            }
        }
    }
    ExprP obj = CheckExpr(base);
    if (obj->type->isError())
        return obj;
    if (obj->type->kind != TypeKind::Class) {
        Error(e.line, e.col, "Type " + Quote(obj->type) + " has no member \"" + e.text + "\"");
        return ErrorExpr();
    }
    const MemberInfo* m = FindMember(obj->type->cls, e.text);
    if (!m || m->kind == MemberInfo::Kind::Constructor) {
        Error(e.line, e.col, "Unknown member \"" + e.text + "\" of " + obj->type->cls->name);
        return ErrorExpr();
    }
    if (m->indexed) {
        Error(e.line, e.col, "Property \"" + e.text + "\" needs an index");
        return ErrorExpr();
    }
    return CallMember(std::move(obj), *m, e, {});
}

ExprP Checker::CheckIndex(const AstExpr& e)
{
    const AstExpr& baseAst = *e.kids[0];
    // `list.Strings[i]`, `list.Values['a']`
    if (baseAst.kind == AstExpr::Kind::Member) {
        const AstExpr& holder = *baseAst.kids[0];
        bool isUnitOrClass = false;
        if (holder.kind == AstExpr::Kind::Name) {
            Symbol* s = Lookup(holder.text);
            isUnitOrClass = (s && s->kind == Symbol::Kind::Unit) || (!s && FindClass(holder.text));
        }
        if (!isUnitOrClass) {
            ExprP obj = CheckExpr(holder);
            if (obj->type->kind == TypeKind::Class) {
                const MemberInfo* m = FindMember(obj->type->cls, baseAst.text);
                if (m && m->kind == MemberInfo::Kind::Property && m->indexed) {
                    std::vector<const AstExpr*> args;
                    for (size_t i = 1; i < e.kids.size(); ++i)
                        args.push_back(e.kids[i].get());
                    return CallMember(std::move(obj), *m, e, args);
                }
            }
        }
    }
    return IndexInto(CheckExpr(baseAst), e);
}

// Applies the indexes of `e` (kids[1..]) to an already checked base.
ExprP Checker::IndexInto(ExprP base, const AstExpr& e)
{
    const AstExpr& baseAst = *e.kids[0];
    for (size_t i = 1; i < e.kids.size(); ++i) {
        const AstExpr& ix = *e.kids[i];
        const Type* bt = base->type;
        if (bt->isError())
            return base;
        if (bt->kind == TypeKind::Class) {
            const MemberInfo* m = FindDefaultMember(bt->cls);
            if (!m) {
                Error(ix.line, ix.col, "Type " + Quote(bt) + " cannot be indexed");
                return ErrorExpr();
            }
            base = CallMember(std::move(base), *m, e, { &ix });
            continue;
        }
        ExprP idx = Convert(CheckExpr(ix), TypeTable::Integer(), ix.line, ix.col);
        if (bt->kind == TypeKind::String) {
            base = MakeStringIndex(std::move(base), std::move(idx), baseAst.line, baseAst.col);
        } else if (bt->isArray()) {
            base = MakeArrayElem(std::move(base), std::move(idx), bt->elem, baseAst.line, baseAst.col);
        } else {
            Error(ix.line, ix.col, "Type " + Quote(bt) + " cannot be indexed");
            return ErrorExpr();
        }
    }
    return base;
}

ExprP Checker::CheckUnary(const AstExpr& e)
{
    ExprP x = CheckExpr(*e.kids[0]);
    const Type* t = x->type;
    if (t->isError())
        return x;
    bool ok = false;
    if (e.op == Tok::KwNot)
        ok = t->kind == TypeKind::Boolean || t->kind == TypeKind::Integer || t->kind == TypeKind::Variant;
    else
        ok = t->isNumeric() || t->kind == TypeKind::Variant;
    if (!ok) {
        Error(e.line, e.col, "Operator " + std::string(TokName(e.op)) + " cannot be applied to " + Quote(t));
        return ErrorExpr();
    }
    if (e.op == Tok::Plus)
        return x;
    return MakeUnaryOp(e.op, t, std::move(x), e.line, e.col);
}

ExprP Checker::CheckBinary(const AstExpr& e)
{
    ExprP l = CheckExpr(*e.kids[0]);
    ExprP r = CheckExpr(*e.kids[1]);
    const Type* lt = l->type;
    const Type* rt = r->type;
    if (lt->isError() || rt->isError())
        return ErrorExpr();
    Tok op = e.op;
    auto fail = [&] {
        Error(e.line, e.col,
            "Incompatible types for " + std::string(TokName(op)) + ": " + Quote(lt) + " and " + Quote(rt));
        return ErrorExpr();
    };
    auto k = [](const Type* t) { return t->kind; };
    bool rel = op == Tok::Eq || op == Tok::NotEq || op == Tok::Less || op == Tok::LessEq || op == Tok::Greater
        || op == Tok::GreaterEq;
    const Type* boolT = TypeTable::Boolean();
    if (k(lt) == TypeKind::Variant || k(rt) == TypeKind::Variant)
        return VariantBinary(e, std::move(l), std::move(r), rel);
    bool bothInt = k(lt) == TypeKind::Integer && k(rt) == TypeKind::Integer;
    bool bothNum = lt->isNumeric() && rt->isNumeric();
    bool bothStr = k(lt) == TypeKind::String && k(rt) == TypeKind::String;
    bool bothBool = k(lt) == TypeKind::Boolean && k(rt) == TypeKind::Boolean;
    auto promote = [&]() {
        l = Convert(std::move(l), TypeTable::Float(), e.line, e.col);
        r = Convert(std::move(r), TypeTable::Float(), e.line, e.col);
    };
    switch (op) {
    case Tok::Plus:
        if (bothStr)
            return MakeBinaryOp(
                op, TypeTable::String(), TypeTable::String(), std::move(l), std::move(r), e.line, e.col);
        [[fallthrough]];
    case Tok::Minus:
    case Tok::Star:
        if (bothInt)
            return MakeBinaryOp(
                op, TypeTable::Integer(), TypeTable::Integer(), std::move(l), std::move(r), e.line, e.col);
        if (!bothNum)
            return fail();
        promote();
        return MakeBinaryOp(op, TypeTable::Float(), TypeTable::Float(), std::move(l), std::move(r), e.line, e.col);
    case Tok::Slash:
        if (!bothNum)
            return fail();
        promote();
        return MakeBinaryOp(op, TypeTable::Float(), TypeTable::Float(), std::move(l), std::move(r), e.line, e.col);
    case Tok::KwDiv:
    case Tok::KwMod:
    case Tok::KwShl:
    case Tok::KwShr:
        if (!bothInt)
            return fail();
        return MakeBinaryOp(op, TypeTable::Integer(), TypeTable::Integer(), std::move(l), std::move(r), e.line, e.col);
    case Tok::KwAnd:
    case Tok::KwOr:
    case Tok::KwXor:
        if (bothBool)
            return MakeBinaryOp(op, boolT, boolT, std::move(l), std::move(r), e.line, e.col);
        if (bothInt)
            return MakeBinaryOp(
                op, TypeTable::Integer(), TypeTable::Integer(), std::move(l), std::move(r), e.line, e.col);
        return fail();
    default:
        break;
    }
    if (!rel)
        return fail();
    if (bothInt || bothStr || bothBool)
        return MakeBinaryOp(op, boolT, lt, std::move(l), std::move(r), e.line, e.col);
    if (bothNum) {
        promote();
        return MakeBinaryOp(op, boolT, TypeTable::Float(), std::move(l), std::move(r), e.line, e.col);
    }
    // References: objects and dynamic arrays compare by identity, against each other or nil.
    bool refL = k(lt) == TypeKind::Class || k(lt) == TypeKind::DynArray || k(lt) == TypeKind::Nil;
    bool refR = k(rt) == TypeKind::Class || k(rt) == TypeKind::DynArray || k(rt) == TypeKind::Nil;
    if ((op == Tok::Eq || op == Tok::NotEq) && refL && refR
        && (k(lt) == TypeKind::Nil || k(rt) == TypeKind::Nil || k(lt) == k(rt)))
        return MakeBinaryOp(op, boolT, TypeTable::Nil(), std::move(l), std::move(r), e.line, e.col);
    return fail();
}

// Variant on either side: the operation is decided at run time.
ExprP Checker::VariantBinary(const AstExpr& e, ExprP l, ExprP r, bool rel)
{
    auto simple
        = [](const Type* t) { return t->kind != TypeKind::Void && !t->isArray() && t->kind != TypeKind::ArrayLiteral; };
    if (!simple(l->type) || !simple(r->type)) {
        Error(e.line, e.col,
            "Incompatible types for " + std::string(TokName(e.op)) + ": " + Quote(l->type) + " and " + Quote(r->type));
        return ErrorExpr();
    }
    l = Convert(std::move(l), TypeTable::Variant(), e.line, e.col);
    r = Convert(std::move(r), TypeTable::Variant(), e.line, e.col);
    const Type* res = rel ? TypeTable::Boolean() : (e.op == Tok::Slash ? TypeTable::Float() : TypeTable::Variant());
    return MakeBinaryOp(e.op, res, TypeTable::Variant(), std::move(l), std::move(r), e.line, e.col);
}

// x in [a, b, c..d]
ExprP Checker::CheckIn(const AstExpr& e)
{
    ExprP x = CheckExpr(*e.kids[0]);
    const AstExpr& set = *e.kids[1];
    if (set.kind != AstExpr::Kind::ArrayLit) {
        Error(set.line, set.col, "\"in\" needs a list of values in brackets");
        return ErrorExpr();
    }
    const Type* xt = x->type;
    if (xt->isError())
        return ErrorExpr();
    if (xt->kind != TypeKind::Integer && xt->kind != TypeKind::String && xt->kind != TypeKind::Boolean
        && xt->kind != TypeKind::Float) {
        Error(e.line, e.col, "\"in\" cannot test " + Quote(xt));
        return ErrorExpr();
    }
    std::vector<ExprP> lows, highs;
    for (auto& item : set.kids) {
        if (item->kind == AstExpr::Kind::Range) {
            lows.push_back(Convert(CheckExpr(*item->kids[0]), xt, item->line, item->col));
            highs.push_back(Convert(CheckExpr(*item->kids[1]), xt, item->line, item->col));
        } else {
            lows.push_back(Convert(CheckExpr(*item), xt, item->line, item->col));
            highs.push_back(nullptr);
        }
    }
    return MakeInList(std::move(x), std::move(lows), std::move(highs), e.line, e.col);
}

ExprP Checker::CheckArrayLiteral(const AstExpr& e, const Type* elemWanted)
{
    std::vector<ExprP> elems;
    const Type* elem = elemWanted;
    for (auto& item : e.kids) {
        if (item->kind == AstExpr::Kind::Range) {
            Error(item->line, item->col, "A range is only allowed after \"in\"");
            return ErrorExpr();
        }
        ExprP x = CheckExpr(*item);
        if (x->type->isError())
            return ErrorExpr();
        if (!elem) {
            elem = x->type;
            if (elem->kind == TypeKind::ArrayLiteral)
                elem = types().DynArray(elem->elem);
        } else if (!elemWanted && elem->kind == TypeKind::Integer && x->type->kind == TypeKind::Float) {
            elem = TypeTable::Float();
            for (auto& prev : elems)
                prev = Convert(std::move(prev), elem, item->line, item->col);
        } else if (!elemWanted && !Convertible(x->type, elem)) {
            elem = TypeTable::Variant(); // mixed values: an `array of const`
            for (auto& prev : elems)
                prev = Convert(std::move(prev), elem, item->line, item->col);
        }
        elems.push_back(Convert(std::move(x), elem, item->line, item->col));
    }
    if (!elem)
        elem = TypeTable::Variant();
    return MakeArrayLiteral(types().ArrayLiteral(elem), std::move(elems), e.line, e.col);
}

ExprP Checker::CheckLValue(const AstExpr& e)
{
    if (e.kind == AstExpr::Kind::Name) {
        Symbol* sym = Lookup(e.text);
        if (sym && sym->kind == Symbol::Kind::Var) {
            if (sym->readOnly)
                Error(e.line, e.col, "Cannot assign to constant parameter \"" + e.text + "\"");
            return VarAccess(*sym);
        }
    }
    return CheckExpr(e);
}

LValue* Checker::AsLValue(Expr* e, int line, int col, bool)
{
    if (e->type->isError())
        return nullptr;
    auto* lv = dynamic_cast<LValue*>(e);
    if (!lv)
        Error(line, col, "Variable expected");
    return lv;
}

bool Checker::Convertible(const Type* from, const Type* to) const
{
    if (from->isError() || to->isError() || SameType(from, to))
        return true;
    switch (to->kind) {
    case TypeKind::Float:
        return from->kind == TypeKind::Integer || from->kind == TypeKind::Variant;
    case TypeKind::Variant:
        return from->kind != TypeKind::Void && from->kind != TypeKind::ArrayLiteral;
    case TypeKind::Integer:
    case TypeKind::String:
    case TypeKind::Boolean:
        return from->kind == TypeKind::Variant;
    case TypeKind::Class:
        return from->kind == TypeKind::Nil || (from->kind == TypeKind::Class && IsA(from->cls, to->cls))
            || from->kind == TypeKind::Variant;
    case TypeKind::DynArray:
        if (from->kind == TypeKind::Nil)
            return true;
        if (from->kind == TypeKind::ArrayLiteral || from->kind == TypeKind::StaticArray)
            return SameType(from->elem, to->elem) || to->elem->kind == TypeKind::Variant
                || (from->elem->kind == TypeKind::Integer && to->elem->kind == TypeKind::Float);
        return false;
    default:
        return false;
    }
}

ExprP Checker::Convert(ExprP e, const Type* want, int line, int col)
{
    const Type* from = e->type;
    if (from->isError() || want->isError() || SameType(from, want))
        return e;
    if (!Convertible(from, want)) {
        Error(line, col, "Incompatible types: got \"" + TypeName(from) + "\", expected \"" + TypeName(want) + "\"");
        return ErrorExpr();
    }
    if (want->kind == TypeKind::Float && from->kind == TypeKind::Integer)
        return MakeIntToFloat(std::move(e));
    if (want->kind == TypeKind::Variant)
        return MakeToVariant(std::move(e));
    if (from->kind == TypeKind::Variant)
        return MakeFromVariant(std::move(e), want, line, col);
    if (from->kind == TypeKind::Nil) {
        auto c = std::make_unique<ConstExpr>(want, DefaultValue(want));
        return c;
    }
    if (want->kind == TypeKind::DynArray && from->kind != TypeKind::Nil) {
        // Literal or static array into a dynamic array: a fresh array with converted elements.
        ExprP conv = MakeFromVariant(std::move(e), want, line, col);
        return conv;
    }
    e->type = want; // a class to its ancestor
    return e;
}

} // namespace zev::script
