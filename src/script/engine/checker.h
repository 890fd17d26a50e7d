#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "script/engine/ast.h"
#include "script/engine/classes.h"
#include "script/engine/host_unit.h"
#include "script/engine/messages.h"
#include "script/engine/nodes.h"
#include "script/engine/program.h"

namespace zev::script {

struct Builtin;

struct Symbol {
    enum class Kind { Var, Const, TypeName, Routine, HostConst, HostVar, HostFunc, Unit, Class } kind = Kind::Var;
    const Type* type = nullptr;
    int slot = -1;
    int level = 0; // 0: global; a routine's locals are at its level
    bool byRef = false; // a `var` parameter
    bool readOnly = false; // `const` parameter, for-loop variable
    Value value; // Const
    Routine* routine = nullptr;
    const AstRoutine* ast = nullptr;
    struct Scope* declScope = nullptr;
    const HostFunction* hostFn = nullptr;
    const HostVariable* hostVar = nullptr;
    const HostUnit* unit = nullptr;
    const ClassInfo* cls = nullptr;
};

struct Scope {
    Scope* parent = nullptr;
    int level = 0;
    Routine* routine = nullptr; // null at the top level
    std::map<std::string, Symbol> names; // lower-case keys
};

// Resolves names and types and builds the executable tree. Errors are reported and checking goes
// on; an expression in error gets the Error type, which silences messages about it.
class Checker {
public:
    Checker(CompiledProgram& program, Diagnostics& diag, const std::vector<std::shared_ptr<const HostUnit>>& units);
    void CheckProgram(const AstProgram& ast);

    // Used by the built-ins.
    void Error(int line, int col, const std::string& text);
    ExprP CheckExpr(const AstExpr& e);
    // Converts to the wanted type (Integer to Float, anything to Variant, ...) or reports.
    ExprP Convert(ExprP e, const Type* want, int line, int col);
    bool Convertible(const Type* from, const Type* to) const;
    LValue* AsLValue(Expr* e, int line, int col, bool forWrite);
    ExprP CheckLValue(const AstExpr& e);
    ExprP CheckArrayLiteral(const AstExpr& e, const Type* elemWanted);
    ExprP ErrorExpr();
    TypeTable& types() { return m_prog.types; }
    const Type* ResolveTypeName(const std::string& name);
    int CurrentLevel() const { return m_scope->level; }

private:
    // Declarations (checker.cpp).
    void DeclareItems(const std::vector<AstItem>& items);
    void CheckItems(const std::vector<AstItem>& items, std::vector<StmtP>& out);
    void DeclareRoutine(const AstRoutine& r);
    void ResolveSignature(Symbol& sym);
    void CheckRoutineBody(Symbol& sym);
    StmtP DeclareVar(const AstVarDecl& d);
    void DeclareConst(const AstConstDecl& d);
    void DeclareType(const AstTypeDecl& d);
    const Type* ResolveType(const AstType& t);
    Symbol* Declare(const std::string& name, Symbol sym, int line, int col);
    int NewSlot(const Type* t);
    ExprP VarAccess(const Symbol& sym);
    Symbol* Lookup(const std::string& name);
    std::optional<Value> FoldConstant(Expr& e);

    // Statements (checker_statements.cpp).
    StmtP CheckStmt(const AstStmt& s);
    StmtP CheckStmtList(const std::vector<AstStmtPtr>& list, int line, int col);
    StmtP CheckAssign(const AstStmt& s);
    StmtP CheckIf(const AstStmt& s);
    StmtP CheckCase(const AstStmt& s);
    StmtP CheckLoop(const AstStmt& s);
    StmtP CheckFor(const AstStmt& s);
    StmtP CheckForIn(const AstStmt& s);
    StmtP CheckTry(const AstStmt& s);
    StmtP CheckRaise(const AstStmt& s);
    StmtP CheckExit(const AstStmt& s);
    StmtP CheckCallStmt(const AstStmt& s);
    ExprP CheckCondition(const AstExpr& e);

    // Expressions (checker_expressions.cpp).
    ExprP CheckName(const AstExpr& e);
    ExprP CheckMember(const AstExpr& e);
    ExprP CheckIndex(const AstExpr& e);
    ExprP IndexInto(ExprP base, const AstExpr& e);
    StmtP AssignIndexed(const AstStmt& s);
    StmtP FinishAssign(const AstStmt& s, ExprP target);
    StmtP AssignProperty(const AstStmt& s, ExprP obj, const MemberInfo& m, bool indexed);
    ExprP CheckUnary(const AstExpr& e);
    ExprP CheckBinary(const AstExpr& e);
    ExprP CheckIn(const AstExpr& e);
    ExprP VariantBinary(const AstExpr& e, ExprP l, ExprP r, bool rel);
    ExprP CheckSymbolValue(Symbol& sym, const AstExpr& e);

    // Calls (checker_calls.cpp).
    ExprP CheckCall(const AstExpr& e);
    ExprP CallSymbol(Symbol& sym, const AstExpr& site, const std::vector<const AstExpr*>& args);
    ExprP CallBuiltin(const Builtin& b, const AstExpr& site, const std::vector<const AstExpr*>& args);
    ExprP CallRoutine(Symbol& sym, const AstExpr& site, const std::vector<const AstExpr*>& args);
    ExprP CallHost(const HostFunction& fn, const AstExpr& site, const std::vector<const AstExpr*>& args);
    ExprP CallMember(ExprP object, const MemberInfo& m, const AstExpr& site, const std::vector<const AstExpr*>& args);
    ExprP Construct(
        const ClassInfo* cls, const MemberInfo& m, const AstExpr& site, const std::vector<const AstExpr*>& args);
    ExprP TypeCast(const Type* t, const AstExpr& site, const std::vector<const AstExpr*>& args);

public:
    // Checks arguments against parameter types (array literals take the wanted element type).
    bool CheckArgs(const std::vector<const AstExpr*>& args, const std::vector<const Type*>& want, size_t required,
        const AstExpr& site, std::vector<ExprP>& out);
    ExprP CheckArg(const AstExpr& a, const Type* want);

private:
    CompiledProgram& m_prog;
    Diagnostics& m_diag;
    const std::vector<std::shared_ptr<const HostUnit>>& m_units;
    std::vector<std::unique_ptr<Scope>> m_scopes;
    Scope* m_scope = nullptr;
    Scope* m_global = nullptr;
    int m_loopDepth = 0;
    int m_exceptDepth = 0;
    int m_finallyDepth = 0;
    int m_depth = 0;

    friend struct ScopeGuard;
};

// Opens a block scope of the current routine for the guard's lifetime.
struct ScopeGuard {
    ScopeGuard(Checker& ck, Routine* routine, int level);
    ~ScopeGuard();
    Checker& m_ck;
    Scope* m_saved;
};

} // namespace zev::script
