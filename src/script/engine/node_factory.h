#pragma once

#include <vector>

#include "script/engine/classes.h"
#include "script/engine/host_unit.h"
#include "script/engine/lexer.h"
#include "script/engine/nodes.h"

namespace zev::script {

struct Routine;

// The checker builds executable nodes only through these functions; the node classes stay private
// to the files that run them.

// Operators (nodes_operators.cpp). `operand` is the common type of both sides after conversion.
ExprP MakeBinaryOp(Tok op, const Type* result, const Type* operand, ExprP l, ExprP r, int line, int col);
// = <> < <= > >= on operands of one type; objects and arrays compare by identity.
ExprP MakeComparison(Tok op, TypeKind operand, ExprP l, ExprP r);
ExprP MakeUnaryOp(Tok op, const Type* type, ExprP e, int line, int col);
// `x in [a, b..c]`: highs[i] is null for a single value.
ExprP MakeInList(ExprP x, std::vector<ExprP> lows, std::vector<ExprP> highs, int line, int col);
ExprP MakeIntToFloat(ExprP e);
ExprP MakeToVariant(ExprP e);
ExprP MakeFromVariant(ExprP e, const Type* to, int line, int col);

// Element access and array values (nodes_access.cpp).
ExprP MakeStringIndex(ExprP s, ExprP index, int line, int col);
ExprP MakeArrayElem(ExprP array, ExprP index, const Type* elem, int line, int col); // an LValue
ExprP MakeArrayLiteral(const Type* arrayType, std::vector<ExprP> elems, int line, int col);
ExprP MakeCopyStatic(ExprP e);

// Calls (calls.cpp, host_call.cpp).
using NativeFn = Value (*)(Interp& c, Value* args, size_t count, const Node* at);
ExprP MakeNative(NativeFn fn, const Type* result, std::vector<ExprP> args, int line, int col);
ExprP MakeUserCall(Routine* r, std::vector<ExprP> args, int hops, int line, int col);
ExprP MakeHostCall(const HostFunction* fn, std::vector<ExprP> args, const Type* result, int line, int col);
ExprP MakeHostVar(const HostVariable* var, const Type* type, int line, int col);
ExprP MakeMemberGet(const MemberInfo* m, ExprP object, std::vector<ExprP> args, const Type* result, int line, int col);
ExprP MakeConstruct(const MemberInfo* m, std::vector<ExprP> args, const Type* result, int line, int col);
StmtP MakePropertySet(const MemberInfo* m, ExprP object, std::vector<ExprP> index, ExprP value, int line, int col);

// Statements (nodes_statements.cpp, nodes_loops.cpp, nodes_try.cpp).
StmtP MakeAssign(ExprP target, ExprP value, int line, int col);
StmtP MakeOpAssign(Tok op, ExprP target, ExprP value, int line, int col);
StmtP MakeAppend(ExprP target, ExprP value, int line, int col); // s := s + x, s += x
StmtP MakeCharAssign(ExprP target, ExprP index, ExprP value, int line, int col);
StmtP MakeExprStmt(ExprP e);
StmtP MakeBlock(std::vector<StmtP> body);
StmtP MakeIf(ExprP cond, StmtP then, StmtP otherwise);
StmtP MakeWhile(ExprP cond, StmtP body, int line, int col);
StmtP MakeRepeat(StmtP body, ExprP cond, int line, int col);
StmtP MakeFor(ExprP var, ExprP from, ExprP to, bool down, StmtP body, int line, int col);
enum class ForInKind { String, Array, List };
StmtP MakeForIn(ExprP var, ExprP collection, ForInKind kind, StmtP body, int line, int col);
struct CaseLabel {
    Value low, high; // equal for a single value
};
struct CaseBranchNode {
    std::vector<CaseLabel> labels;
    StmtP body;
};
StmtP MakeCase(ExprP selector, bool isString, std::vector<CaseBranchNode> branches, StmtP otherwise);
StmtP MakeFlow(Flow f);
StmtP MakeExitValue(ExprP resultSlot, ExprP value, int line, int col);
struct HandlerNode {
    const ClassInfo* cls = nullptr;
    ExprP var; // LValue or null
    StmtP body;
};
StmtP MakeTryExcept(StmtP body, std::vector<HandlerNode> handlers, StmtP otherwise, bool hasOtherwise);
StmtP MakeTryFinally(StmtP body, StmtP finally);
StmtP MakeRaise(ExprP exception, int line, int col); // null: re-raise
StmtP MakeInit(ExprP target, ExprP value); // value null: the type's default

} // namespace zev::script
