#include "script/engine/parser.h"

namespace zev::script {

namespace {

bool IsRelOp(Tok t)
{
    return t == Tok::Eq || t == Tok::NotEq || t == Tok::Less || t == Tok::LessEq || t == Tok::Greater
        || t == Tok::GreaterEq || t == Tok::KwIn;
}
bool IsAddOp(Tok t)
{
    return t == Tok::Plus || t == Tok::Minus || t == Tok::KwOr || t == Tok::KwXor;
}
bool IsMulOp(Tok t)
{
    return t == Tok::Star || t == Tok::Slash || t == Tok::KwDiv || t == Tok::KwMod || t == Tok::KwAnd || t == Tok::KwShl
        || t == Tok::KwShr;
}

} // namespace

void Parser::Measure(AstExpr& e)
{
    int h = 0;
    for (auto& k : e.kids)
        h = std::max(h, k->height + 1);
    e.height = h;
    if (h > kMaxDepth) {
        m_diag.Add(MessageKind::SyntaxError, "Expression too complex", e.line, e.col);
        throw Abort {};
    }
}

AstExprPtr Parser::MakeBinary(Tok op, const Token& at, AstExprPtr l, AstExprPtr r)
{
    auto e = NewExpr(AstExpr::Kind::Binary, at);
    e->op = op;
    e->kids.push_back(std::move(l));
    e->kids.push_back(std::move(r));
    Measure(*e);
    return e;
}

// expr -> simple [relop simple]
AstExprPtr Parser::ParseExpr()
{
    Depth depth(*this);
    auto l = ParseSimple();
    if (IsRelOp(Cur().kind)) {
        const Token& op = Cur();
        ++m_pos;
        auto r = ParseSimple();
        l = MakeBinary(op.kind, op, std::move(l), std::move(r));
    }
    return l;
}

// simple -> term {addop term}
AstExprPtr Parser::ParseSimple()
{
    auto l = ParseTerm();
    while (IsAddOp(Cur().kind)) {
        const Token& op = Cur();
        ++m_pos;
        auto r = ParseTerm();
        l = MakeBinary(op.kind, op, std::move(l), std::move(r));
    }
    return l;
}

// term -> factor {mulop factor}
AstExprPtr Parser::ParseTerm()
{
    auto l = ParseFactor();
    while (IsMulOp(Cur().kind)) {
        const Token& op = Cur();
        ++m_pos;
        auto r = ParseFactor();
        l = MakeBinary(op.kind, op, std::move(l), std::move(r));
    }
    return l;
}

// factor -> ('not' | '-' | '+') factor | primary
AstExprPtr Parser::ParseFactor()
{
    Depth depth(*this);
    Tok k = Cur().kind;
    if (k == Tok::KwNot || k == Tok::Minus || k == Tok::Plus) {
        auto e = NewExpr(AstExpr::Kind::Unary, Cur());
        e->op = k;
        ++m_pos;
        e->kids.push_back(ParseFactor());
        Measure(*e);
        return e;
    }
    return ParsePrimary();
}

// primary -> literal | 'nil' | '(' expr ')' | '[' elements ']' | ident {postfix}
AstExprPtr Parser::ParsePrimary()
{
    const Token& t = Cur();
    switch (t.kind) {
    case Tok::IntLit: {
        auto e = NewExpr(AstExpr::Kind::IntLit, t);
        e->ival = t.ival;
        ++m_pos;
        return e;
    }
    case Tok::FloatLit: {
        auto e = NewExpr(AstExpr::Kind::FloatLit, t);
        e->fval = t.fval;
        ++m_pos;
        return e;
    }
    case Tok::StrLit: {
        auto e = NewExpr(AstExpr::Kind::StrLit, t);
        e->text = t.text;
        ++m_pos;
        return ParsePostfix(std::move(e));
    }
    case Tok::KwTrue:
    case Tok::KwFalse: {
        auto e = NewExpr(AstExpr::Kind::BoolLit, t);
        e->ival = t.kind == Tok::KwTrue;
        ++m_pos;
        return e;
    }
    case Tok::KwNil: {
        auto e = NewExpr(AstExpr::Kind::Nil, t);
        ++m_pos;
        return e;
    }
    case Tok::LParen: {
        ++m_pos;
        auto e = ParseExpr();
        Expect(Tok::RParen);
        return ParsePostfix(std::move(e));
    }
    case Tok::LBracket:
        return ParseArrayLiteral();
    case Tok::Ident: {
        auto e = NewExpr(AstExpr::Kind::Name, t);
        e->text = t.text;
        ++m_pos;
        return ParsePostfix(std::move(e));
    }
    default:
        FailExpected("expression");
    }
}

// postfix -> '.' ident | '[' expr {',' expr} ']' | '(' [args] ')'
AstExprPtr Parser::ParsePostfix(AstExprPtr base)
{
    for (;;) {
        if (At(Tok::Dot)) {
            ++m_pos;
            auto e = NewExpr(AstExpr::Kind::Member, Cur());
            e->text = ExpectIdent();
            e->kids.push_back(std::move(base));
            base = std::move(e);
        } else if (At(Tok::LBracket)) {
            auto e = NewExpr(AstExpr::Kind::Index, Cur());
            ++m_pos;
            e->kids.push_back(std::move(base));
            do
                e->kids.push_back(ParseExpr());
            while (Accept(Tok::Comma));
            Expect(Tok::RBracket);
            base = std::move(e);
        } else if (At(Tok::LParen)) {
            auto e = NewExpr(AstExpr::Kind::Call, Cur());
            e->line = base->line; // a call is reported at its name
            e->col = base->col;
            ++m_pos;
            e->kids.push_back(std::move(base));
            ParseArgs(*e, Tok::RParen);
            base = std::move(e);
        } else {
            return base;
        }
        Measure(*base);
    }
}

// args -> [arg {',' arg}] ; arg -> expr [':' expr [':' expr]] (widths only mean something to Write)
void Parser::ParseArgs(AstExpr& call, Tok closer)
{
    if (Accept(closer))
        return;
    do {
        auto a = ParseExpr();
        if (At(Tok::Colon)) {
            auto w = NewExpr(AstExpr::Kind::WriteArg, Cur());
            w->line = a->line;
            w->col = a->col;
            w->kids.push_back(std::move(a));
            while (Accept(Tok::Colon) && w->kids.size() < 3)
                w->kids.push_back(ParseExpr());
            Measure(*w);
            a = std::move(w);
        }
        call.kids.push_back(std::move(a));
    } while (Accept(Tok::Comma));
    Expect(closer);
}

// arrayliteral -> '[' [element {',' element}] ']' ; element -> expr ['..' expr]
AstExprPtr Parser::ParseArrayLiteral()
{
    auto e = NewExpr(AstExpr::Kind::ArrayLit, Cur());
    ++m_pos;
    if (Accept(Tok::RBracket))
        return e;
    do {
        auto item = ParseExpr();
        if (At(Tok::DotDot)) {
            auto r = NewExpr(AstExpr::Kind::Range, Cur());
            ++m_pos;
            r->line = item->line;
            r->col = item->col;
            r->kids.push_back(std::move(item));
            r->kids.push_back(ParseExpr());
            Measure(*r);
            item = std::move(r);
        }
        e->kids.push_back(std::move(item));
    } while (Accept(Tok::Comma));
    Expect(Tok::RBracket);
    Measure(*e);
    return e;
}

} // namespace zev::script
