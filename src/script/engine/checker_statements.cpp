#include "script/engine/builtins.h"
#include "script/engine/checker.h"

#include "script/engine/node_factory.h"
#include "script/engine/text_util.h"

namespace zev::script {

StmtP Checker::CheckStmtList(const std::vector<AstStmtPtr>& list, int, int)
{
    ScopeGuard scope(*this, m_scope->routine, m_scope->level);
    std::vector<StmtP> out;
    for (auto& s : list)
        out.push_back(CheckStmt(*s));
    return MakeBlock(std::move(out));
}

StmtP Checker::CheckStmt(const AstStmt& s)
{
    switch (s.kind) {
    case AstStmt::Kind::Empty:
        return MakeBlock({});
    case AstStmt::Kind::Expr:
        return CheckCallStmt(s);
    case AstStmt::Kind::Assign:
        return CheckAssign(s);
    case AstStmt::Kind::Block:
        return CheckStmtList(s.body, s.line, s.col);
    case AstStmt::Kind::If:
        return CheckIf(s);
    case AstStmt::Kind::Case:
        return CheckCase(s);
    case AstStmt::Kind::While:
    case AstStmt::Kind::Repeat:
        return CheckLoop(s);
    case AstStmt::Kind::For:
        return CheckFor(s);
    case AstStmt::Kind::ForIn:
        return CheckForIn(s);
    case AstStmt::Kind::Break:
    case AstStmt::Kind::Continue:
        if (m_loopDepth == 0)
            Error(
                s.line, s.col, std::string(s.kind == AstStmt::Kind::Break ? "Break" : "Continue") + " outside a loop");
        return MakeFlow(s.kind == AstStmt::Kind::Break ? Flow::Break : Flow::Continue);
    case AstStmt::Kind::Exit:
        return CheckExit(s);
    case AstStmt::Kind::TryExcept:
    case AstStmt::Kind::TryFinally:
        return CheckTry(s);
    case AstStmt::Kind::Raise:
        return CheckRaise(s);
    case AstStmt::Kind::Var: {
        auto st = DeclareVar(*s.var);
        return st ? std::move(st) : MakeBlock({});
    }
    case AstStmt::Kind::Const:
        DeclareConst(*s.constant);
        return MakeBlock({});
    }
    return MakeBlock({});
}

ExprP Checker::CheckCondition(const AstExpr& e)
{
    return Convert(CheckExpr(e), TypeTable::Boolean(), e.line, e.col);
}

// A call, or a bare name of a routine, used as a statement; a function's result is discarded.
StmtP Checker::CheckCallStmt(const AstStmt& s)
{
    ExprP e = CheckExpr(*s.expr);
    auto k = s.expr->kind;
    if (k != AstExpr::Kind::Call && k != AstExpr::Kind::Name && k != AstExpr::Kind::Member && !e->type->isError())
        Error(s.line, s.col, "Statement expected");
    else if (e->constant() && !e->type->isError() && k == AstExpr::Kind::Name)
        Error(s.line, s.col, "Statement expected");
    return MakeExprStmt(std::move(e));
}

StmtP Checker::CheckAssign(const AstStmt& s)
{
    const AstExpr& t = *s.target;
    // `FuncName := value` inside the function sets its result.
    if (t.kind == AstExpr::Kind::Name) {
        Symbol* sym = Lookup(t.text);
        if (sym && sym->kind == Symbol::Kind::Routine) {
            for (Scope* sc = m_scope; sc && sc->routine; sc = sc->parent)
                if (sc->routine == sym->routine && sym->routine->result->kind != TypeKind::Void) {
                    Symbol* res = nullptr;
                    for (Scope* r = m_scope; r; r = r->parent) {
                        auto it = r->names.find("result");
                        if (it != r->names.end() && r->routine == sym->routine) {
                            res = &it->second;
                            break;
                        }
                    }
                    if (res) {
                        ExprP value = Convert(CheckExpr(*s.expr), res->type, s.expr->line, s.expr->col);
                        if (s.op != Tok::Assign)
                            return MakeOpAssign(s.op, VarAccess(*res), std::move(value), s.line, s.col);
                        return MakeAssign(VarAccess(*res), std::move(value), s.line, s.col);
                    }
                }
        }
    }
    if (t.kind == AstExpr::Kind::Index)
        return AssignIndexed(s);
    // `list.Text := ...`
    if (t.kind == AstExpr::Kind::Member) {
        const AstExpr& holder = *t.kids[0];
        bool special = false;
        if (holder.kind == AstExpr::Kind::Name) {
            Symbol* hs = Lookup(holder.text);
            special = (hs && hs->kind == Symbol::Kind::Unit) || (!hs && FindClass(holder.text));
        }
        if (!special) {
            ExprP obj = CheckExpr(holder);
            if (obj->type->isError())
                return MakeBlock({});
            const MemberInfo* m = obj->type->kind == TypeKind::Class ? FindMember(obj->type->cls, t.text) : nullptr;
            if (m && m->kind == MemberInfo::Kind::Property && !m->indexed)
                return AssignProperty(s, std::move(obj), *m, false);
            Error(t.line, t.col, "Variable expected");
            return MakeBlock({});
        }
    }
    return FinishAssign(s, CheckLValue(t));
}

StmtP Checker::FinishAssign(const AstStmt& s, ExprP target)
{
    const AstExpr& t = *s.target;
    LValue* lv = AsLValue(target.get(), t.line, t.col, true);
    const Type* tt = target->type;
    ExprP value;
    // `s := s + x` on the same String variable appends in place.
    if (s.op == Tok::Assign && tt->kind == TypeKind::String && s.expr->kind == AstExpr::Kind::Binary
        && s.expr->op == Tok::Plus && s.expr->kids[0]->kind == AstExpr::Kind::Name && t.kind == AstExpr::Kind::Name
        && EqualsNoCase(s.expr->kids[0]->text, t.text) && lv) {
        const AstExpr& rhs = *s.expr->kids[1];
        ExprP add = CheckExpr(rhs);
        if (add->type->kind == TypeKind::String || add->type->kind == TypeKind::Variant)
            return MakeAppend(
                std::move(target), Convert(std::move(add), TypeTable::String(), rhs.line, rhs.col), s.line, s.col);
    }
    value = CheckExpr(*s.expr);
    if (!lv || tt->isError() || value->type->isError())
        return MakeBlock({});
    if (s.op == Tok::Assign) {
        value = Convert(std::move(value), tt, s.expr->line, s.expr->col);
        if (tt->kind == TypeKind::StaticArray)
            value = MakeCopyStatic(std::move(value));
        return MakeAssign(std::move(target), std::move(value), s.line, s.col);
    }
    if (s.op == Tok::PlusAssign && tt->kind == TypeKind::String)
        return MakeAppend(std::move(target), Convert(std::move(value), tt, s.expr->line, s.expr->col), s.line, s.col);
    bool numeric = tt->kind == TypeKind::Integer || tt->kind == TypeKind::Float || tt->kind == TypeKind::Variant;
    if (!numeric || (s.op == Tok::SlashAssign && tt->kind == TypeKind::Integer)) {
        Error(s.line, s.col, "Operator " + std::string(TokName(s.op)) + " cannot be applied to " + TypeName(tt));
        return MakeBlock({});
    }
    value = Convert(std::move(value), tt, s.expr->line, s.expr->col);
    return MakeOpAssign(s.op, std::move(target), std::move(value), s.line, s.col);
}

// Targets with brackets: a character of a String, an element of an array, an indexed property.
StmtP Checker::AssignIndexed(const AstStmt& s)
{
    const AstExpr& t = *s.target;
    const AstExpr& objAst = *t.kids[0];
    if (objAst.kind == AstExpr::Kind::Member) {
        const AstExpr& holder = *objAst.kids[0];
        bool special = false;
        if (holder.kind == AstExpr::Kind::Name) {
            Symbol* hs = Lookup(holder.text);
            special = (hs && hs->kind == Symbol::Kind::Unit) || (!hs && FindClass(holder.text));
        }
        if (!special) {
            ExprP obj = CheckExpr(holder);
            if (obj->type->isError())
                return MakeBlock({});
            const MemberInfo* m
                = obj->type->kind == TypeKind::Class ? FindMember(obj->type->cls, objAst.text) : nullptr;
            if (m && m->kind == MemberInfo::Kind::Property && m->indexed)
                return AssignProperty(s, std::move(obj), *m, true);
        }
    }
    ExprP base = CheckLValue(objAst);
    const Type* bt = base->type;
    if (bt->isError())
        return MakeBlock({});
    if (bt->kind == TypeKind::Class) {
        if (const MemberInfo* m = FindDefaultMember(bt->cls))
            return AssignProperty(s, std::move(base), *m, true);
    }
    if (bt->kind == TypeKind::String && t.kids.size() == 2) {
        if (!AsLValue(base.get(), objAst.line, objAst.col, true))
            return MakeBlock({});
        ExprP idx = Convert(CheckExpr(*t.kids[1]), TypeTable::Integer(), t.kids[1]->line, t.kids[1]->col);
        ExprP value = Convert(CheckExpr(*s.expr), TypeTable::String(), s.expr->line, s.expr->col);
        if (s.op != Tok::Assign)
            Error(s.line, s.col, "Only := can assign a character");
        return MakeCharAssign(std::move(base), std::move(idx), std::move(value), t.line, t.col);
    }
    ExprP target = IndexInto(std::move(base), t);
    return FinishAssign(s, std::move(target));
}

StmtP Checker::AssignProperty(const AstStmt& s, ExprP obj, const MemberInfo& m, bool indexed)
{
    const AstExpr& t = *s.target;
    if (!m.set) {
        Error(t.line, t.col, "Property \"" + std::string(m.name) + "\" is read-only");
        return MakeBlock({});
    }
    std::vector<ExprP> index;
    if (indexed) {
        if (t.kids.size() - 1 != m.params.size()) {
            Error(t.line, t.col, "Wrong number of indexes");
            return MakeBlock({});
        }
        for (size_t i = 1; i < t.kids.size(); ++i)
            index.push_back(
                Convert(CheckExpr(*t.kids[i]), TypeOfKind(m.params[i - 1]), t.kids[i]->line, t.kids[i]->col));
    }
    ExprP value = Convert(CheckExpr(*s.expr), TypeOfKind(m.result), s.expr->line, s.expr->col);
    if (s.op != Tok::Assign)
        Error(s.line, s.col, "Only := can assign a property");
    return MakePropertySet(&m, std::move(obj), std::move(index), std::move(value), t.line, t.col);
}

StmtP Checker::CheckIf(const AstStmt& s)
{
    ExprP cond = CheckCondition(*s.expr);
    StmtP then = s.then ? CheckStmt(*s.then) : MakeBlock({});
    StmtP otherwise = s.otherwise ? CheckStmt(*s.otherwise) : nullptr;
    return MakeIf(std::move(cond), std::move(then), std::move(otherwise));
}

StmtP Checker::CheckLoop(const AstStmt& s)
{
    if (s.kind == AstStmt::Kind::While) {
        ExprP cond = CheckCondition(*s.expr);
        ++m_loopDepth;
        StmtP body = s.then ? CheckStmt(*s.then) : MakeBlock({});
        --m_loopDepth;
        return MakeWhile(std::move(cond), std::move(body), s.line, s.col);
    }
    ++m_loopDepth;
    ScopeGuard scope(*this, m_scope->routine, m_scope->level);
    std::vector<StmtP> list;
    for (auto& st : s.body)
        list.push_back(CheckStmt(*st));
    --m_loopDepth;
    ExprP cond = CheckCondition(*s.expr); // `until` sees the body's block variables
    return MakeRepeat(MakeBlock(std::move(list)), std::move(cond), s.line, s.col);
}

StmtP Checker::CheckFor(const AstStmt& s)
{
    ScopeGuard scope(*this, m_scope->routine, m_scope->level);
    ExprP from = CheckExpr(*s.expr);
    if (s.var) {
        Symbol sym;
        sym.type = TypeTable::Integer();
        sym.level = m_scope->level;
        sym.slot = NewSlot(sym.type);
        Declare(s.var->names[0], sym, s.var->line, s.var->col);
    }
    ExprP var = CheckLValue(*s.target);
    AsLValue(var.get(), s.target->line, s.target->col, true);
    if (!var->type->isError() && var->type->kind != TypeKind::Integer)
        Error(s.target->line, s.target->col, "Loop variable must be an Integer");
    from = Convert(std::move(from), TypeTable::Integer(), s.expr->line, s.expr->col);
    ExprP to = Convert(CheckExpr(*s.expr2), TypeTable::Integer(), s.expr2->line, s.expr2->col);
    ++m_loopDepth;
    StmtP body = s.then ? CheckStmt(*s.then) : MakeBlock({});
    --m_loopDepth;
    if (var->type->kind != TypeKind::Integer)
        return MakeBlock({});
    return MakeFor(
        std::move(var), std::move(from), std::move(to), s.op == Tok::KwDownto, std::move(body), s.line, s.col);
}

StmtP Checker::CheckForIn(const AstStmt& s)
{
    ScopeGuard scope(*this, m_scope->routine, m_scope->level);
    ExprP coll = CheckExpr(*s.expr);
    const Type* ct = coll->type;
    if (ct->kind == TypeKind::ArrayLiteral) {
        coll = Convert(std::move(coll), types().DynArray(ct->elem), s.expr->line, s.expr->col);
        ct = coll->type;
    }
    const Type* elem = TypeTable::Error();
    ForInKind kind = ForInKind::Array;
    if (ct->kind == TypeKind::String) {
        elem = TypeTable::String();
        kind = ForInKind::String;
    } else if (ct->isArray()) {
        elem = ct->elem;
    } else if (ct->kind == TypeKind::Class && IsA(ct->cls, StringListClass())) {
        elem = TypeTable::String();
        kind = ForInKind::List;
    } else if (!ct->isError()) {
        Error(s.expr->line, s.expr->col, "Cannot iterate over " + TypeName(ct));
    }
    if (s.var) {
        Symbol sym;
        sym.type = elem;
        sym.level = m_scope->level;
        sym.slot = NewSlot(elem);
        Declare(s.var->names[0], sym, s.var->line, s.var->col);
    }
    ExprP var = CheckLValue(*s.target);
    AsLValue(var.get(), s.target->line, s.target->col, true);
    // The loop variable takes each element as it is: its type must be the element type.
    if (!var->type->isError() && !elem->isError() && !SameType(elem, var->type))
        Error(s.target->line, s.target->col, "Loop variable must be of type \"" + TypeName(elem) + "\"");
    ++m_loopDepth;
    StmtP body = s.then ? CheckStmt(*s.then) : MakeBlock({});
    --m_loopDepth;
    if (elem->isError() || var->type->isError() || !SameType(elem, var->type))
        return MakeBlock({});
    return MakeForIn(std::move(var), std::move(coll), kind, std::move(body), s.line, s.col);
}

StmtP Checker::CheckExit(const AstStmt& s)
{
    if (!s.expr)
        return MakeFlow(Flow::Exit);
    Routine* r = m_scope->routine;
    if (!r || r->result->kind == TypeKind::Void) {
        Error(s.line, s.col, "Exit with a value outside a function");
        CheckExpr(*s.expr);
        return MakeFlow(Flow::Exit);
    }
    Symbol* res = nullptr;
    for (Scope* sc = m_scope; sc && sc->routine == r; sc = sc->parent) {
        auto it = sc->names.find("result");
        if (it != sc->names.end())
            res = &it->second;
    }
    ExprP value = Convert(CheckExpr(*s.expr), r->result, s.expr->line, s.expr->col);
    if (!res)
        return MakeFlow(Flow::Exit);
    return MakeExitValue(VarAccess(*res), std::move(value), s.line, s.col);
}

StmtP Checker::CheckTry(const AstStmt& s)
{
    StmtP body = CheckStmtList(s.body, s.line, s.col);
    if (s.kind == AstStmt::Kind::TryFinally) {
        StmtP fin = CheckStmtList(s.elseBody, s.line, s.col);
        return MakeTryFinally(std::move(body), std::move(fin));
    }
    ++m_exceptDepth;
    std::vector<HandlerNode> handlers;
    for (auto& h : s.handlers) {
        ScopeGuard scope(*this, m_scope->routine, m_scope->level);
        HandlerNode hn;
        hn.cls = FindClass(h.className);
        if (!hn.cls || !IsA(hn.cls, ExceptionClass())) {
            Error(h.classLine, h.classCol, "Unknown exception class \"" + h.className + "\"");
            hn.cls = ExceptionClass();
        }
        if (!h.varName.empty()) {
            Symbol sym;
            sym.type = types().ClassType(hn.cls);
            sym.level = m_scope->level;
            sym.slot = NewSlot(sym.type);
            if (Symbol* d = Declare(h.varName, sym, h.line, h.col))
                hn.var = VarAccess(*d);
        }
        hn.body = h.body ? CheckStmt(*h.body) : MakeBlock({});
        handlers.push_back(std::move(hn));
    }
    StmtP otherwise = s.hasExcept ? CheckStmtList(s.elseBody, s.line, s.col) : nullptr;
    --m_exceptDepth;
    return MakeTryExcept(std::move(body), std::move(handlers), std::move(otherwise), s.hasExcept);
}

StmtP Checker::CheckRaise(const AstStmt& s)
{
    if (!s.expr) {
        if (m_exceptDepth == 0)
            Error(s.line, s.col, "raise without an exception outside an except block");
        return MakeRaise(nullptr, s.line, s.col);
    }
    ExprP e = CheckExpr(*s.expr);
    if (!e->type->isError() && (e->type->kind != TypeKind::Class || !IsA(e->type->cls, ExceptionClass()))) {
        Error(s.expr->line, s.expr->col, "Exception object expected");
        return MakeBlock({});
    }
    return MakeRaise(std::move(e), s.line, s.col);
}

} // namespace zev::script
