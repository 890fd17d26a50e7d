#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/engine/lexer.h"

namespace zev::script {

// The syntax tree the parser builds and the checker turns into executable nodes.

struct AstType {
    enum class Kind { Named, DynArray, StaticArray, ArrayOfConst } kind = Kind::Named;
    int line = 0, col = 0;
    std::string name; // Named
    std::unique_ptr<AstType> elem; // arrays
    std::vector<std::unique_ptr<struct AstExpr>> bounds; // StaticArray: lo, hi, lo, hi, ...
};

struct AstExpr {
    enum class Kind {
        IntLit,
        FloatLit,
        StrLit,
        BoolLit,
        Nil,
        Name, // text
        Member, // kids[0] . text
        Index, // kids[0] [ kids[1..] ]
        Call, // kids[0] ( kids[1..] )
        Unary, // op kids[0]
        Binary, // kids[0] op kids[1]
        ArrayLit, // [ kids ]
        Range, // kids[0] .. kids[1], inside an array literal
        WriteArg, // kids[0] : kids[1] [: kids[2]]
    } kind
        = Kind::IntLit;
    int line = 0, col = 0;
    int height = 0; // longest path to a leaf: bounds every later recursion over the tree
    Tok op = Tok::Eof;
    int64_t ival = 0;
    double fval = 0;
    std::string text;
    std::vector<std::unique_ptr<AstExpr>> kids;
};
using AstExprPtr = std::unique_ptr<AstExpr>;

struct AstStmt;
using AstStmtPtr = std::unique_ptr<AstStmt>;

struct AstVarDecl {
    int line = 0, col = 0;
    std::vector<std::string> names;
    std::vector<std::pair<int, int>> positions;
    std::unique_ptr<AstType> type; // may be null with an initializer (`var n := 5`)
    AstExprPtr init;
    bool broken = false; // a syntax error after the names: they are declared, silently, without a type
};

struct AstConstDecl {
    int line = 0, col = 0;
    std::string name;
    std::unique_ptr<AstType> type;
    AstExprPtr value;
};

struct AstTypeDecl {
    int line = 0, col = 0;
    std::string name;
    std::unique_ptr<AstType> type;
};

struct AstParam {
    int line = 0, col = 0;
    std::string name;
    enum class Mode { Value, Const, Var } mode = Mode::Value;
    std::unique_ptr<AstType> type;
    AstExprPtr defaultValue;
};

struct AstRoutine;

// One entry of a declaration part or of the script's top level, in text order.
struct AstItem {
    enum class Kind { Var, Const, Type, Routine, Stmt } kind = Kind::Stmt;
    std::unique_ptr<AstVarDecl> var;
    std::unique_ptr<AstConstDecl> constant;
    std::unique_ptr<AstTypeDecl> type;
    std::unique_ptr<AstRoutine> routine;
    AstStmtPtr stmt;
};

struct AstRoutine {
    int line = 0, col = 0;
    std::string name;
    bool isFunction = false;
    std::vector<AstParam> params;
    std::unique_ptr<AstType> result;
    std::vector<AstItem> decls; // local var, const, type and nested routines
    AstStmtPtr body; // null for a declaration that failed to parse
};

struct AstCaseBranch {
    std::vector<AstExprPtr> labels; // values or Range expressions
    AstStmtPtr body;
};

struct AstHandler {
    int line = 0, col = 0;
    std::string varName; // may be empty: `on Exception do`
    std::string className;
    int classLine = 0, classCol = 0;
    AstStmtPtr body;
};

struct AstStmt {
    enum class Kind {
        Empty,
        Expr,
        Assign,
        Block,
        If,
        Case,
        While,
        Repeat,
        For,
        ForIn,
        Break,
        Continue,
        Exit,
        TryExcept,
        TryFinally,
        Raise,
        Var,
        Const,
    } kind
        = Kind::Empty;
    int line = 0, col = 0;
    Tok op = Tok::Assign; // Assign: := += -= *= /=; For: to / downto
    AstExprPtr target, expr, expr2; // Assign: target := expr; For: target := expr to expr2; If/While: expr
    std::vector<AstStmtPtr> body; // Block, Repeat, TryExcept/TryFinally body
    AstStmtPtr then, otherwise; // If; loop bodies in `then`
    std::vector<AstCaseBranch> branches;
    std::vector<AstStmtPtr> elseBody; // Case else, bare except part, except else, finally part
    std::vector<AstHandler> handlers;
    bool hasExcept = false; // TryExcept: an except part without `on`
    std::unique_ptr<AstVarDecl> var;
    std::unique_ptr<AstConstDecl> constant;
};

struct AstProgram {
    std::vector<AstItem> items;
};

} // namespace zev::script
