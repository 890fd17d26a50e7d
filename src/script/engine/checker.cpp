#include "script/engine/checker.h"

#include "script/engine/builtins.h"
#include "script/engine/node_factory.h"
#include "script/engine/run_env.h"
#include "script/engine/text_util.h"

namespace zev::script {

ScopeGuard::ScopeGuard(Checker& ck, Routine* routine, int level)
    : m_ck(ck)
    , m_saved(ck.m_scope)
{
    auto s = std::make_unique<Scope>();
    s->parent = ck.m_scope;
    s->routine = routine;
    s->level = level;
    ck.m_scope = s.get();
    ck.m_scopes.push_back(std::move(s));
}

ScopeGuard::~ScopeGuard()
{
    m_ck.m_scope = m_saved;
}

Checker::Checker(CompiledProgram& program, Diagnostics& diag, const std::vector<std::shared_ptr<const HostUnit>>& units)
    : m_prog(program)
    , m_diag(diag)
    , m_units(units)
{
    auto g = std::make_unique<Scope>();
    m_global = m_scope = g.get();
    m_scopes.push_back(std::move(g));
}

void Checker::Error(int line, int col, const std::string& text)
{
    m_diag.Add(MessageKind::Error, text, line, col);
}

ExprP Checker::ErrorExpr()
{
    return std::make_unique<ConstExpr>(TypeTable::Error(), Value());
}

void Checker::CheckProgram(const AstProgram& ast)
{
    m_prog.units = m_units;
    DeclareItems(ast.items);
    CheckItems(ast.items, m_prog.main);
    FinishSlots(m_prog.globalTypes, m_prog.globalInit, m_prog.freshGlobals);
}

// Routines are known before their text position; everything else from its declaration on.
void Checker::DeclareItems(const std::vector<AstItem>& items)
{
    for (auto& item : items)
        if (item.kind == AstItem::Kind::Routine)
            DeclareRoutine(*item.routine);
}

void Checker::CheckItems(const std::vector<AstItem>& items, std::vector<StmtP>& out)
{
    for (auto& item : items) {
        switch (item.kind) {
        case AstItem::Kind::Var:
            if (auto s = DeclareVar(*item.var))
                out.push_back(std::move(s));
            break;
        case AstItem::Kind::Const:
            DeclareConst(*item.constant);
            break;
        case AstItem::Kind::Type:
            DeclareType(*item.type);
            break;
        case AstItem::Kind::Routine: {
            auto it = m_scope->names.find(LowerCopy(item.routine->name));
            if (it != m_scope->names.end() && it->second.ast == item.routine.get())
                CheckRoutineBody(it->second);
            break;
        }
        case AstItem::Kind::Stmt:
            out.push_back(CheckStmt(*item.stmt));
            break;
        }
    }
}

Symbol* Checker::Declare(const std::string& name, Symbol sym, int line, int col)
{
    std::string key = LowerCopy(name);
    auto it = m_scope->names.find(key);
    if (it != m_scope->names.end()) {
        Error(line, col, "Name \"" + name + "\" already declared");
        return nullptr;
    }
    return &m_scope->names.emplace(key, std::move(sym)).first->second;
}

int Checker::NewSlot(const Type* t)
{
    if (m_scope->routine) {
        m_scope->routine->slotTypes.push_back(t);
        return static_cast<int>(m_scope->routine->slotTypes.size()) - 1;
    }
    m_prog.globalTypes.push_back(t);
    return static_cast<int>(m_prog.globalTypes.size()) - 1;
}

void Checker::DeclareRoutine(const AstRoutine& r)
{
    if (r.name.empty())
        return;
    auto routine = std::make_unique<Routine>();
    routine->name = r.name;
    routine->line = r.line;
    routine->col = r.col;
    routine->level = m_scope->level + 1;
    routine->broken = !r.body;
    Symbol sym;
    sym.kind = Symbol::Kind::Routine;
    sym.routine = routine.get();
    sym.ast = &r;
    sym.declScope = m_scope;
    sym.level = m_scope->level;
    if (Declare(r.name, std::move(sym), r.line, r.col))
        m_prog.routines.push_back(std::move(routine));
}

void Checker::ResolveSignature(Symbol& sym)
{
    Routine& r = *sym.routine;
    if (r.signatureDone)
        return;
    r.signatureDone = true;
    Scope* saved = m_scope;
    m_scope = sym.declScope;
    const AstRoutine& a = *sym.ast;
    r.result = a.isFunction ? (a.result ? ResolveType(*a.result) : TypeTable::Error()) : TypeTable::Void();
    r.firstParam = a.isFunction ? 1 : 0;
    bool seenDefault = false;
    for (size_t i = 0; i < a.params.size(); ++i) {
        const AstParam& p = a.params[i];
        const AstType* t = nullptr;
        for (size_t j = i; j < a.params.size() && !t; ++j)
            t = a.params[j].type.get();
        ParamInfo info;
        info.name = p.name;
        info.type = t ? ResolveType(*t) : TypeTable::Error();
        info.byRef = p.mode == AstParam::Mode::Var;
        if (info.type->kind == TypeKind::ArrayLiteral) // `array of const`
            info.type = types().DynArray(TypeTable::Variant());
        if (p.defaultValue) {
            seenDefault = true;
            auto e = Convert(CheckExpr(*p.defaultValue), info.type, p.defaultValue->line, p.defaultValue->col);
            if (auto v = FoldConstant(*e))
                info.defaultValue = std::make_unique<ConstExpr>(info.type, *v);
            else if (!e->type->isError())
                Error(p.defaultValue->line, p.defaultValue->col, "Constant expression expected");
            if (info.byRef)
                Error(p.line, p.col, "A var parameter cannot have a default value");
        } else if (seenDefault) {
            Error(p.line, p.col, "Parameter \"" + p.name + "\" needs a default value");
        }
        r.params.push_back(std::move(info));
    }
    m_scope = saved;
}

void Checker::CheckRoutineBody(Symbol& sym)
{
    Routine& r = *sym.routine;
    ResolveSignature(sym);
    if (r.bodyDone)
        return;
    r.bodyDone = true;
    const AstRoutine& a = *sym.ast;
    int savedLoop = m_loopDepth, savedExcept = m_exceptDepth, savedFinally = m_finallyDepth;
    m_loopDepth = m_exceptDepth = m_finallyDepth = 0;
    {
        ScopeGuard scope(*this, &r, r.level);
        if (a.isFunction) {
            Symbol res;
            res.type = r.result;
            res.slot = NewSlot(r.result);
            res.level = r.level;
            Declare("Result", res, a.line, a.col);
        }
        for (size_t i = 0; i < r.params.size(); ++i) {
            Symbol p;
            p.type = r.params[i].type;
            p.byRef = r.params[i].byRef;
            p.readOnly = a.params[i].mode == AstParam::Mode::Const;
            p.level = r.level;
            p.slot = NewSlot(p.byRef ? TypeTable::Variant() : p.type);
            Declare(a.params[i].name, p, a.params[i].line, a.params[i].col);
        }
        DeclareItems(a.decls);
        std::vector<StmtP> body;
        CheckItems(a.decls, body);
        if (a.body)
            body.push_back(CheckStmt(*a.body));
        r.body = MakeBlock(std::move(body));
    }
    m_loopDepth = savedLoop;
    m_exceptDepth = savedExcept;
    m_finallyDepth = savedFinally;
    FinishSlots(r.slotTypes, r.slotInit, r.freshSlots);
}

StmtP Checker::DeclareVar(const AstVarDecl& d)
{
    const Type* t = d.broken ? TypeTable::Error() : d.type ? ResolveType(*d.type) : nullptr;
    ExprP init;
    if (d.init && !d.broken) {
        init = CheckExpr(*d.init);
        if (!t) {
            t = init->type;
            if (t->kind == TypeKind::ArrayLiteral)
                t = types().DynArray(t->elem);
            if (t->kind == TypeKind::Void || t->kind == TypeKind::Nil) {
                Error(d.init->line, d.init->col, "Cannot infer a type from this expression");
                t = TypeTable::Error();
            }
        }
        init = Convert(std::move(init), t, d.init->line, d.init->col);
        if (t->kind == TypeKind::StaticArray)
            init = MakeCopyStatic(std::move(init));
    }
    if (!t)
        t = TypeTable::Error();
    std::vector<StmtP> inits;
    for (size_t i = 0; i < d.names.size(); ++i) {
        Symbol sym;
        sym.type = t;
        sym.level = m_scope->level;
        sym.slot = NewSlot(t);
        Symbol* s = Declare(d.names[i], sym, d.positions[i].first, d.positions[i].second);
        if (!s)
            continue;
        // Locals of a routine start at their default; an initializer or a block-level declaration
        // (which may run again in a loop) sets the slot where the declaration stands.
        if (init || !m_scope->routine || m_scope->parent->routine == m_scope->routine)
            inits.push_back(MakeInit(VarAccess(*s), init ? std::move(init) : nullptr));
    }
    if (inits.empty())
        return nullptr;
    if (inits.size() == 1)
        return std::move(inits.front());
    return MakeBlock(std::move(inits));
}

void Checker::DeclareConst(const AstConstDecl& d)
{
    ExprP e = CheckExpr(*d.value);
    const Type* t = d.type ? ResolveType(*d.type) : e->type;
    if (t->kind == TypeKind::ArrayLiteral)
        t = types().DynArray(t->elem);
    e = Convert(std::move(e), t, d.value->line, d.value->col);
    Symbol sym;
    sym.kind = Symbol::Kind::Const;
    sym.type = t;
    if (auto v = FoldConstant(*e)) {
        sym.value = *v;
    } else {
        if (!t->isError())
            Error(d.value->line, d.value->col, "Constant expression expected");
        sym.type = TypeTable::Error();
    }
    Declare(d.name, sym, d.line, d.col);
}

void Checker::DeclareType(const AstTypeDecl& d)
{
    Symbol sym;
    sym.kind = Symbol::Kind::TypeName;
    sym.type = ResolveType(*d.type);
    Declare(d.name, sym, d.line, d.col);
}

const Type* Checker::ResolveTypeName(const std::string& name)
{
    static const std::pair<std::string_view, TypeKind> kNames[] = {
        { "integer", TypeKind::Integer },
        { "int64", TypeKind::Integer },
        { "cardinal", TypeKind::Integer },
        { "longint", TypeKind::Integer },
        { "byte", TypeKind::Integer },
        { "word", TypeKind::Integer },
        { "smallint", TypeKind::Integer },
        { "shortint", TypeKind::Integer },
        { "longword", TypeKind::Integer },
        { "float", TypeKind::Float },
        { "double", TypeKind::Float },
        { "real", TypeKind::Float },
        { "extended", TypeKind::Float },
        { "single", TypeKind::Float },
        { "tdatetime", TypeKind::Float },
        { "string", TypeKind::String },
        { "ansistring", TypeKind::String },
        { "char", TypeKind::String },
        { "boolean", TypeKind::Boolean },
        { "variant", TypeKind::Variant },
    };
    for (auto& [n, k] : kNames)
        if (EqualsNoCase(n, name))
            return TypeOfKind(k);
    if (const ClassInfo* cls = FindClass(name))
        return types().ClassType(cls);
    return nullptr;
}

const Type* Checker::ResolveType(const AstType& t)
{
    switch (t.kind) {
    case AstType::Kind::Named: {
        for (Scope* s = m_scope; s; s = s->parent) {
            auto it = s->names.find(LowerCopy(t.name));
            if (it != s->names.end() && it->second.kind == Symbol::Kind::TypeName)
                return it->second.type;
        }
        if (const Type* r = ResolveTypeName(t.name))
            return r;
        Error(t.line, t.col, "Unknown type \"" + t.name + "\"");
        return TypeTable::Error();
    }
    case AstType::Kind::ArrayOfConst:
        return types().ArrayLiteral(TypeTable::Variant());
    case AstType::Kind::DynArray:
        return types().DynArray(ResolveType(*t.elem));
    case AstType::Kind::StaticArray: {
        const Type* elem = ResolveType(*t.elem);
        for (size_t i = t.bounds.size(); i >= 2; i -= 2) {
            int64_t b[2] = { 0, -1 };
            for (int k = 0; k < 2; ++k) {
                const AstExpr& be = *t.bounds[i - 2 + static_cast<size_t>(k)];
                ExprP e = Convert(CheckExpr(be), TypeTable::Integer(), be.line, be.col);
                if (auto v = FoldConstant(*e))
                    b[k] = v->i;
                else if (!e->type->isError())
                    Error(be.line, be.col, "Constant expression expected");
            }
            if (b[1] < b[0] || b[1] - b[0] >= (1 << 24)) {
                Error(t.line, t.col, "Invalid array bounds");
                return TypeTable::Error();
            }
            elem = types().StaticArray(elem, b[0], b[1]);
        }
        return elem;
    }
    }
    return TypeTable::Error();
}

ExprP Checker::VarAccess(const Symbol& sym)
{
    std::unique_ptr<LValue> lv;
    if (sym.level == 0)
        lv = std::make_unique<GlobalVar>(sym.slot);
    else if (sym.level == m_scope->level)
        lv = std::make_unique<LocalVar>(sym.slot);
    else
        lv = std::make_unique<OuterVar>(m_scope->level - sym.level, sym.slot);
    if (sym.byRef)
        lv = std::make_unique<VarParam>(std::move(lv));
    lv->type = sym.type;
    return lv;
}

Symbol* Checker::Lookup(const std::string& name)
{
    std::string key = LowerCopy(name);
    for (Scope* s = m_scope; s; s = s->parent) {
        auto it = s->names.find(key);
        if (it != s->names.end())
            return &it->second;
    }
    // Host units in registration order; the symbols live in a scope of their own.
    auto& cache = m_scopes.front()->names;
    std::string hostKey = "\x01" + key;
    auto hit = cache.find(hostKey);
    if (hit != cache.end())
        return &hit->second;
    for (auto& unit : m_units) {
        Symbol sym;
        if (EqualsNoCase(unit->name(), name)) {
            sym.kind = Symbol::Kind::Unit;
            sym.unit = unit.get();
        } else if (auto* c = unit->FindConstant(name)) {
            sym.kind = Symbol::Kind::HostConst;
            sym.type = TypeTable::Integer();
            sym.value = Value::Int(c->value);
        } else if (auto* v = unit->FindVariable(name)) {
            sym.kind = Symbol::Kind::HostVar;
            sym.hostVar = v;
        } else if (auto* f = unit->FindFunction(name)) {
            sym.kind = Symbol::Kind::HostFunc;
            sym.hostFn = f;
        } else {
            continue;
        }
        return &cache.emplace(hostKey, sym).first->second;
    }
    return nullptr;
}

// Evaluates a constant expression at compile time; nothing when it reads anything that is not constant.
std::optional<Value> Checker::FoldConstant(Expr& e)
{
    if (e.type->isError())
        return std::nullopt;
    if (const Value* v = e.constant())
        return *v;
    return std::nullopt;
}

} // namespace zev::script
