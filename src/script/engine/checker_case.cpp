#include "script/engine/checker.h"
#include "script/engine/node_factory.h"
#include "script/engine/text_util.h"

namespace zev::script {

// case -> selector of labels: stmt; ... else stmts end. Labels are constants of the selector's type;
// a String selector also takes ranges of one-character Strings.
StmtP Checker::CheckCase(const AstStmt& s)
{
    ExprP sel = CheckExpr(*s.expr);
    const Type* st = sel->type;
    bool isString = st->kind == TypeKind::String;
    if (!st->isError() && st->kind != TypeKind::Integer && !isString) {
        Error(s.expr->line, s.expr->col, "Case selector must be an Integer or a String");
        st = TypeTable::Error();
    }
    std::vector<CaseBranchNode> branches;
    std::vector<CaseLabel> seen;
    auto constant = [&](const AstExpr& a) -> std::optional<Value> {
        ExprP x = CheckExpr(a);
        if (x->type->isError() || st->isError())
            return std::nullopt;
        x = Convert(std::move(x), st, a.line, a.col);
        if (x->type->isError())
            return std::nullopt;
        auto v = FoldConstant(*x);
        if (!v)
            Error(a.line, a.col, "Constant expression expected");
        return v;
    };
    auto overlaps = [&](const CaseLabel& l) {
        for (auto& o : seen) {
            if (isString) {
                if (CompareBytes(l.low.str(), o.high.str()) <= 0 && CompareBytes(o.low.str(), l.high.str()) <= 0)
                    return true;
            } else if (l.low.i <= o.high.i && o.low.i <= l.high.i) {
                return true;
            }
        }
        return false;
    };
    for (auto& b : s.branches) {
        CaseBranchNode node;
        for (auto& lab : b.labels) {
            const AstExpr& lo = lab->kind == AstExpr::Kind::Range ? *lab->kids[0] : *lab;
            const AstExpr& hi = lab->kind == AstExpr::Kind::Range ? *lab->kids[1] : *lab;
            auto l = constant(lo);
            auto h = lab->kind == AstExpr::Kind::Range ? constant(hi) : l;
            if (!l || !h)
                continue;
            CaseLabel cl { *l, *h };
            if (lab->kind == AstExpr::Kind::Range && isString && (l->str().size() != 1 || h->str().size() != 1)) {
                Error(lab->line, lab->col, "A String range needs one-character bounds");
                continue;
            }
            if (overlaps(cl))
                Error(lab->line, lab->col, "Duplicate case label");
            seen.push_back(cl);
            node.labels.push_back(cl);
        }
        node.body = b.body ? CheckStmt(*b.body) : MakeBlock({});
        branches.push_back(std::move(node));
    }
    StmtP otherwise = s.elseBody.empty() ? nullptr : CheckStmtList(s.elseBody, s.line, s.col);
    if (st->isError())
        return MakeBlock({});
    return MakeCase(std::move(sel), isString, std::move(branches), std::move(otherwise));
}

} // namespace zev::script
