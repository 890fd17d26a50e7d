#include "script/engine/parser.h"

namespace zev::script {

AstStmtPtr Parser::ParseStatement()
{
    Depth depth(*this);
    switch (Cur().kind) {
    case Tok::KwBegin:
        return ParseBlock();
    case Tok::KwIf:
        return ParseIf();
    case Tok::KwCase:
        return ParseCase();
    case Tok::KwWhile:
        return ParseWhile();
    case Tok::KwRepeat:
        return ParseRepeat();
    case Tok::KwFor:
        return ParseFor();
    case Tok::KwTry:
        return ParseTry();
    case Tok::KwVar:
        return ParseInlineVar();
    case Tok::KwConst:
        return ParseInlineConst();
    case Tok::KwBreak:
    case Tok::KwContinue: {
        auto s = NewStmt(At(Tok::KwBreak) ? AstStmt::Kind::Break : AstStmt::Kind::Continue, Cur());
        ++m_pos;
        return s;
    }
    case Tok::KwExit: {
        auto s = NewStmt(AstStmt::Kind::Exit, Cur());
        ++m_pos;
        if (Accept(Tok::LParen)) {
            if (!At(Tok::RParen))
                s->expr = ParseExpr();
            Expect(Tok::RParen);
        }
        return s;
    }
    case Tok::KwRaise: {
        auto s = NewStmt(AstStmt::Kind::Raise, Cur());
        ++m_pos;
        if (!At(Tok::Semicolon) && !At(Tok::KwEnd) && !At(Tok::Eof) && !At(Tok::KwElse) && !At(Tok::KwUntil)
            && !At(Tok::KwExcept) && !At(Tok::KwFinally))
            s->expr = ParseExpr();
        return s;
    }
    case Tok::Semicolon:
    case Tok::KwEnd:
    case Tok::KwUntil:
    case Tok::KwElse:
        return NewStmt(AstStmt::Kind::Empty, Cur()); // empty statement before a separator or closer
    default:
        return ParseSimpleStatement();
    }
}

// stmtlist -> stmt {';' stmt}, ending before one of the enders. Errors resynchronise here.
void Parser::ParseStatementList(std::vector<AstStmtPtr>& out, std::initializer_list<Tok> enders)
{
    auto atEnder = [&] {
        for (Tok t : enders)
            if (At(t))
                return true;
        return At(Tok::Eof);
    };
    while (!atEnder()) {
        size_t before = m_pos;
        try {
            auto s = ParseStatement();
            if (s->kind != AstStmt::Kind::Empty)
                out.push_back(std::move(s));
            if (!atEnder())
                Expect(Tok::Semicolon);
        } catch (Failed&) {
            Sync();
            if (m_pos == before || (IsCloser(Cur().kind) && !atEnder()))
                ++m_pos;
        }
    }
}

// block -> 'begin' stmtlist 'end'
AstStmtPtr Parser::ParseBlock()
{
    auto s = NewStmt(AstStmt::Kind::Block, Cur());
    Expect(Tok::KwBegin);
    ParseStatementList(s->body, { Tok::KwEnd });
    Expect(Tok::KwEnd);
    return s;
}

// if -> 'if' expr 'then' stmt ['else' stmt]
AstStmtPtr Parser::ParseIf()
{
    auto s = NewStmt(AstStmt::Kind::If, Cur());
    ++m_pos;
    s->expr = ParseExpr();
    Expect(Tok::KwThen);
    s->then = ParseStatement();
    if (Accept(Tok::KwElse))
        s->otherwise = ParseStatement();
    return s;
}

// case -> 'case' expr 'of' {labels ':' stmt ';'} ['else' stmtlist] 'end'
AstStmtPtr Parser::ParseCase()
{
    auto s = NewStmt(AstStmt::Kind::Case, Cur());
    ++m_pos;
    s->expr = ParseExpr();
    Expect(Tok::KwOf);
    while (!At(Tok::KwElse) && !At(Tok::KwEnd) && !At(Tok::Eof)) {
        AstCaseBranch b;
        do {
            auto lo = ParseExpr();
            if (At(Tok::DotDot)) {
                auto r = NewExpr(AstExpr::Kind::Range, Cur());
                ++m_pos;
                r->line = lo->line;
                r->col = lo->col;
                r->kids.push_back(std::move(lo));
                r->kids.push_back(ParseExpr());
                lo = std::move(r);
            }
            b.labels.push_back(std::move(lo));
        } while (Accept(Tok::Comma));
        Expect(Tok::Colon);
        b.body = ParseStatement();
        s->branches.push_back(std::move(b));
        if (!Accept(Tok::Semicolon))
            break;
    }
    if (Accept(Tok::KwElse))
        ParseStatementList(s->elseBody, { Tok::KwEnd });
    Expect(Tok::KwEnd);
    return s;
}

AstStmtPtr Parser::ParseWhile()
{
    auto s = NewStmt(AstStmt::Kind::While, Cur());
    ++m_pos;
    s->expr = ParseExpr();
    Expect(Tok::KwDo);
    s->then = ParseStatement();
    return s;
}

AstStmtPtr Parser::ParseRepeat()
{
    auto s = NewStmt(AstStmt::Kind::Repeat, Cur());
    ++m_pos;
    ParseStatementList(s->body, { Tok::KwUntil });
    Expect(Tok::KwUntil);
    s->expr = ParseExpr();
    return s;
}

// for -> 'for' ['var'] ident (':=' expr ('to'|'downto') expr | 'in' expr) 'do' stmt
AstStmtPtr Parser::ParseFor()
{
    auto s = NewStmt(AstStmt::Kind::For, Cur());
    ++m_pos;
    if (Accept(Tok::KwVar)) {
        s->var = std::make_unique<AstVarDecl>(); // the loop declares its variable
        s->var->line = Cur().line;
        s->var->col = Cur().col;
    }
    s->target = NewExpr(AstExpr::Kind::Name, Cur());
    s->target->text = ExpectIdent();
    if (s->var) {
        s->var->names.push_back(s->target->text);
        s->var->positions.emplace_back(s->target->line, s->target->col);
    }
    if (Accept(Tok::KwIn)) {
        s->kind = AstStmt::Kind::ForIn;
        s->expr = ParseExpr();
    } else {
        Expect(Tok::Assign);
        s->expr = ParseExpr();
        if (At(Tok::KwTo) || At(Tok::KwDownto))
            s->op = m_toks[m_pos++].kind;
        else
            FailExpected("\"to\"");
        s->expr2 = ParseExpr();
    }
    Expect(Tok::KwDo);
    s->then = ParseStatement();
    return s;
}

// try -> 'try' stmtlist ('except' handlers 'end' | 'finally' stmtlist 'end')
// handlers -> stmtlist | {'on' [ident ':'] ident 'do' stmt ';'} ['else' stmtlist]
AstStmtPtr Parser::ParseTry()
{
    auto s = NewStmt(AstStmt::Kind::TryExcept, Cur());
    ++m_pos;
    ParseStatementList(s->body, { Tok::KwExcept, Tok::KwFinally });
    if (Accept(Tok::KwFinally)) {
        s->kind = AstStmt::Kind::TryFinally;
        ParseStatementList(s->elseBody, { Tok::KwEnd });
        Expect(Tok::KwEnd);
        return s;
    }
    Expect(Tok::KwExcept);
    if (!At(Tok::KwOn)) {
        s->hasExcept = true;
        ParseStatementList(s->elseBody, { Tok::KwEnd });
        Expect(Tok::KwEnd);
        return s;
    }
    while (At(Tok::KwOn)) {
        AstHandler h;
        h.line = Cur().line;
        h.col = Cur().col;
        ++m_pos;
        h.classLine = Cur().line;
        h.classCol = Cur().col;
        std::string first = ExpectIdent();
        if (Accept(Tok::Colon)) {
            h.varName = first;
            h.classLine = Cur().line;
            h.classCol = Cur().col;
            h.className = ExpectIdent();
        } else {
            h.className = first;
        }
        Expect(Tok::KwDo);
        h.body = ParseStatement();
        s->handlers.push_back(std::move(h));
        if (!Accept(Tok::Semicolon))
            break;
    }
    if (Accept(Tok::KwElse)) {
        s->hasExcept = true;
        ParseStatementList(s->elseBody, { Tok::KwEnd });
    }
    Expect(Tok::KwEnd);
    return s;
}

// simple -> designator [(':=' | '+=' | '-=' | '*=' | '/=') expr]
AstStmtPtr Parser::ParseSimpleStatement()
{
    const Token& start = Cur();
    if (start.kind != Tok::Ident && start.kind != Tok::LParen)
        FailExpected("statement");
    auto target = ParseExpr();
    Tok k = Cur().kind;
    if (k == Tok::Assign || k == Tok::PlusAssign || k == Tok::MinusAssign || k == Tok::StarAssign
        || k == Tok::SlashAssign) {
        auto s = NewStmt(AstStmt::Kind::Assign, Cur());
        s->line = target->line;
        s->col = target->col;
        s->op = k;
        ++m_pos;
        s->target = std::move(target);
        s->expr = ParseExpr();
        return s;
    }
    auto s = NewStmt(AstStmt::Kind::Expr, start);
    s->expr = std::move(target);
    return s;
}

// A `var` inside a statement list: one declaration (a following `x := 1` is an assignment).
AstStmtPtr Parser::ParseInlineVar()
{
    auto s = NewStmt(AstStmt::Kind::Var, Cur());
    ++m_pos;
    bool failed = false;
    s->var = ParseVarDeclKeepingNames(failed);
    if (!s->var)
        return NewStmt(AstStmt::Kind::Empty, Cur());
    // The error is reported and skipped; leave the `;` it stopped after to the statement list.
    if (failed && m_pos > 0 && m_toks[m_pos - 1].kind == Tok::Semicolon)
        --m_pos;
    return s;
}

AstStmtPtr Parser::ParseInlineConst()
{
    auto s = NewStmt(AstStmt::Kind::Const, Cur());
    ++m_pos;
    s->constant = ParseConstDecl();
    return s;
}

} // namespace zev::script
