#include "script/engine/parser.h"

#include "script/engine/stack_guard.h"

namespace zev::script {

AstExprPtr NewExpr(AstExpr::Kind kind, const Token& at)
{
    auto e = std::make_unique<AstExpr>();
    e->kind = kind;
    e->line = at.line;
    e->col = at.col;
    return e;
}

AstStmtPtr NewStmt(AstStmt::Kind kind, const Token& at)
{
    auto s = std::make_unique<AstStmt>();
    s->kind = kind;
    s->line = at.line;
    s->col = at.col;
    return s;
}

Parser::Parser(std::vector<Token> tokens, Diagnostics& diag)
    : m_toks(std::move(tokens))
    , m_diag(diag)
{
    if (m_toks.empty() || m_toks.back().kind != Tok::Eof)
        m_toks.push_back(Token {});
}

const Token& Parser::Ahead(size_t n) const
{
    size_t p = m_pos + n;
    return p < m_toks.size() ? m_toks[p] : m_toks.back();
}

bool Parser::Accept(Tok t)
{
    if (!At(t))
        return false;
    ++m_pos;
    return true;
}

const Token& Parser::Expect(Tok t)
{
    if (!At(t))
        FailExpected("\"" + std::string(TokName(t)) + "\"");
    return m_toks[m_pos++];
}

std::string Parser::ExpectIdent()
{
    if (!At(Tok::Ident))
        FailExpected("identifier");
    return m_toks[m_pos++].text;
}

void Parser::Fail(const Token& at, const std::string& text)
{
    // One message per position: a cascade from the same token says nothing new.
    if (m_lastErrorPos != m_pos)
        m_diag.Add(MessageKind::SyntaxError, text, at.line, at.col);
    m_lastErrorPos = m_pos;
    if (m_diag.Full())
        throw Abort {};
    throw Failed {};
}

void Parser::FailExpected(std::string_view what)
{
    const Token& t = Cur();
    if (t.kind == Tok::Invalid)
        Fail(t, t.text);
    Fail(t, "Expected " + std::string(what) + " but found \"" + TokDisplay(t) + "\"");
}

Parser::Depth::Depth(Parser& p)
    : m_p(p)
{
    if (++p.m_depth > kMaxDepth || StackNearlyExhausted()) {
        p.m_diag.Add(MessageKind::SyntaxError, "Nesting too deep", p.Cur().line, p.Cur().col);
        throw Abort {};
    }
}

// Skips to a point where a statement or declaration can start: after a `;`, or before a keyword that
// opens a declaration or closes a block. Callers move on by one token when this made no progress.
void Parser::Sync()
{
    while (!At(Tok::Eof)) {
        Tok k = Cur().kind;
        if (k == Tok::Semicolon) {
            ++m_pos;
            return;
        }
        if (k == Tok::KwVar || k == Tok::KwConst || k == Tok::KwType || k == Tok::KwProcedure || k == Tok::KwFunction
            || IsCloser(k))
            return;
        ++m_pos;
    }
}

AstProgram Parser::ParseProgram()
{
    AstProgram prog;
    try {
        try {
            if (Accept(Tok::KwProgram)) {
                ExpectIdent();
                Expect(Tok::Semicolon);
            }
            if (Accept(Tok::KwUses)) {
                do
                    ExpectIdent();
                while (Accept(Tok::Comma));
                Expect(Tok::Semicolon);
            }
        } catch (Failed&) {
            Sync();
        }
        ParseItems(prog.items, true);
    } catch (Abort&) {
    }
    return prog;
}

// items -> { declaration | statement ';' } ; a `begin ... end.` block ends the program.
void Parser::ParseItems(std::vector<AstItem>& items, bool topLevel)
{
    while (!At(Tok::Eof) && !m_finalBlockSeen) {
        size_t before = m_pos;
        try {
            if (ParseDeclaration(items, true))
                continue;
            if (Accept(Tok::Semicolon))
                continue;
            AstItem item;
            item.kind = AstItem::Kind::Stmt;
            bool isBlock = At(Tok::KwBegin);
            item.stmt = ParseStatement();
            items.push_back(std::move(item));
            if (topLevel && isBlock && At(Tok::Dot)) {
                m_finalBlockSeen = true; // text after `end.` is ignored, as Pascal does
                return;
            }
            if (!At(Tok::Eof))
                Expect(Tok::Semicolon);
        } catch (Failed&) {
            Sync();
            if (m_pos == before || IsCloser(Cur().kind))
                ++m_pos;
        }
    }
}

// Returns false when the cursor does not start a declaration.
bool Parser::ParseDeclaration(std::vector<AstItem>& items, bool statementContext)
{
    switch (Cur().kind) {
    case Tok::KwVar:
        ++m_pos;
        ParseVarSection(items, statementContext);
        return true;
    case Tok::KwConst:
        ++m_pos;
        ParseConstSection(items, statementContext);
        return true;
    case Tok::KwType:
        ++m_pos;
        ParseTypeSection(items);
        return true;
    case Tok::KwProcedure:
    case Tok::KwFunction: {
        AstItem item;
        item.kind = AstItem::Kind::Routine;
        item.routine = ParseRoutine();
        items.push_back(std::move(item));
        return true;
    }
    default:
        return false;
    }
}

bool Parser::LooksLikeVarDecl() const
{
    size_t p = 0;
    for (;;) {
        if (Ahead(p).kind != Tok::Ident)
            return false;
        Tok next = Ahead(p + 1).kind;
        if (next == Tok::Colon)
            return true;
        if (next != Tok::Comma)
            return false;
        p += 2;
    }
}

bool Parser::LooksLikeConstDecl() const
{
    return At(Tok::Ident) && (Ahead(1).kind == Tok::Eq || Ahead(1).kind == Tok::Colon);
}

// varsection -> decl ';' { decl ';' } ; in statement context a following `x := ...` is a statement.
void Parser::ParseVarSection(std::vector<AstItem>& items, bool statementContext)
{
    bool first = true;
    while (first || LooksLikeVarDecl() || (!statementContext && At(Tok::Ident))) {
        first = false;
        try {
            AstItem item;
            item.kind = AstItem::Kind::Var;
            bool failed = false;
            item.var = ParseVarDeclKeepingNames(failed);
            if (item.var)
                items.push_back(std::move(item));
            if (failed)
                continue;
            if (!At(Tok::Eof) || !statementContext)
                Expect(Tok::Semicolon);
        } catch (Failed&) {
            Sync();
        }
    }
}

std::unique_ptr<AstVarDecl> Parser::ParseVarDeclKeepingNames(bool& failed)
{
    size_t start = m_pos;
    failed = false;
    try {
        return ParseVarDecl();
    } catch (Failed&) {
        failed = true;
    }
    // Re-read the names only: later uses of them should not add "Unknown name" messages.
    auto d = std::make_unique<AstVarDecl>();
    size_t resume = m_pos;
    m_pos = start;
    d->line = Cur().line;
    d->col = Cur().col;
    while (At(Tok::Ident) && m_pos < resume) {
        d->positions.emplace_back(Cur().line, Cur().col);
        d->names.push_back(Cur().text);
        ++m_pos;
        if (!Accept(Tok::Comma))
            break;
    }
    m_pos = resume;
    d->broken = true;
    Sync();
    if (d->names.empty())
        return nullptr;
    return d;
}

// vardecl -> ident {',' ident} ':' type ['=' expr] | ident ':=' expr
std::unique_ptr<AstVarDecl> Parser::ParseVarDecl()
{
    auto d = std::make_unique<AstVarDecl>();
    d->line = Cur().line;
    d->col = Cur().col;
    do {
        d->positions.emplace_back(Cur().line, Cur().col);
        d->names.push_back(ExpectIdent());
    } while (Accept(Tok::Comma));
    if (Accept(Tok::Assign)) {
        if (d->names.size() > 1)
            Fail(m_toks[m_pos - 1], "Expected \":\" but found \":=\"");
        d->init = ParseExpr();
        return d;
    }
    Expect(Tok::Colon);
    d->type = ParseType();
    if (Accept(Tok::Eq) || Accept(Tok::Assign)) {
        if (d->names.size() > 1)
            Fail(m_toks[m_pos - 1], "Only one variable can be initialized");
        d->init = ParseExpr();
    }
    return d;
}

void Parser::ParseConstSection(std::vector<AstItem>& items, bool statementContext)
{
    bool first = true;
    while (first || LooksLikeConstDecl()) {
        first = false;
        try {
            AstItem item;
            item.kind = AstItem::Kind::Const;
            item.constant = ParseConstDecl();
            items.push_back(std::move(item));
            if (!At(Tok::Eof) || !statementContext)
                Expect(Tok::Semicolon);
        } catch (Failed&) {
            Sync();
        }
    }
}

// constdecl -> ident [':' type] '=' expr
std::unique_ptr<AstConstDecl> Parser::ParseConstDecl()
{
    auto d = std::make_unique<AstConstDecl>();
    d->line = Cur().line;
    d->col = Cur().col;
    d->name = ExpectIdent();
    if (Accept(Tok::Colon))
        d->type = ParseType();
    Expect(Tok::Eq);
    d->value = ParseExpr();
    return d;
}

// typesection -> ident '=' type ';' { ident '=' type ';' }
void Parser::ParseTypeSection(std::vector<AstItem>& items)
{
    bool first = true;
    while (first || (At(Tok::Ident) && Ahead(1).kind == Tok::Eq)) {
        first = false;
        try {
            AstItem item;
            item.kind = AstItem::Kind::Type;
            item.type = std::make_unique<AstTypeDecl>();
            item.type->line = Cur().line;
            item.type->col = Cur().col;
            item.type->name = ExpectIdent();
            Expect(Tok::Eq);
            item.type->type = ParseType();
            items.push_back(std::move(item));
            Expect(Tok::Semicolon);
        } catch (Failed&) {
            Sync();
        }
    }
}

// type -> ident | 'array' ['[' lo '..' hi {',' lo '..' hi} ']'] 'of' (type | 'const')
std::unique_ptr<AstType> Parser::ParseType()
{
    Depth depth(*this);
    auto t = std::make_unique<AstType>();
    t->line = Cur().line;
    t->col = Cur().col;
    if (Accept(Tok::KwArray)) {
        if (Accept(Tok::LBracket)) {
            t->kind = AstType::Kind::StaticArray;
            do {
                t->bounds.push_back(ParseSimple());
                Expect(Tok::DotDot);
                t->bounds.push_back(ParseSimple());
            } while (Accept(Tok::Comma));
            Expect(Tok::RBracket);
            Expect(Tok::KwOf);
            t->elem = ParseType();
        } else {
            Expect(Tok::KwOf);
            if (Accept(Tok::KwConst)) {
                t->kind = AstType::Kind::ArrayOfConst;
            } else {
                t->kind = AstType::Kind::DynArray;
                t->elem = ParseType();
            }
        }
    } else {
        t->kind = AstType::Kind::Named;
        t->name = ExpectIdent();
    }
    return t;
}

// routine -> ('procedure' | 'function') ident [params] [':' type] ';' {decl} block ';'
std::unique_ptr<AstRoutine> Parser::ParseRoutine()
{
    Depth depth(*this);
    auto r = std::make_unique<AstRoutine>();
    r->line = Cur().line;
    r->col = Cur().col;
    r->isFunction = Cur().kind == Tok::KwFunction;
    ++m_pos;
    bool headerOk = true;
    try {
        r->line = Cur().line;
        r->col = Cur().col;
        r->name = ExpectIdent();
        if (Accept(Tok::LParen)) {
            if (!Accept(Tok::RParen)) {
                ParseParams(*r);
                Expect(Tok::RParen);
            }
        }
        if (r->isFunction) {
            Expect(Tok::Colon);
            r->result = ParseType();
        }
        Expect(Tok::Semicolon);
    } catch (Failed&) {
        headerOk = false;
        while (!At(Tok::Eof) && !At(Tok::KwBegin) && !At(Tok::KwVar) && !At(Tok::KwConst))
            ++m_pos;
    }
    // Local declarations up to the body.
    while (!At(Tok::Eof) && !At(Tok::KwBegin)) {
        size_t before = m_pos;
        try {
            if (!ParseDeclaration(r->decls, false))
                FailExpected("\"begin\"");
        } catch (Failed&) {
            Sync();
            if (m_pos == before)
                ++m_pos;
        }
    }
    try {
        auto body = ParseBlock();
        if (!At(Tok::Eof))
            Expect(Tok::Semicolon);
        if (headerOk)
            r->body = std::move(body);
    } catch (Failed&) {
        Sync();
    }
    return r;
}

// params -> group {';' group} ; group -> ['const'|'var'|'out'] ident {',' ident} ':' type ['=' expr]
void Parser::ParseParams(AstRoutine& r)
{
    do {
        AstParam::Mode mode = AstParam::Mode::Value;
        if (Accept(Tok::KwConst))
            mode = AstParam::Mode::Const;
        else if (Accept(Tok::KwVar) || Accept(Tok::KwOut))
            mode = AstParam::Mode::Var;
        size_t first = r.params.size();
        do {
            AstParam p;
            p.line = Cur().line;
            p.col = Cur().col;
            p.mode = mode;
            p.name = ExpectIdent();
            r.params.push_back(std::move(p));
        } while (Accept(Tok::Comma));
        Expect(Tok::Colon);
        auto type = ParseType();
        AstExprPtr def;
        if (Accept(Tok::Eq))
            def = ParseExpr();
        for (size_t i = first; i < r.params.size(); ++i) {
            r.params[i].type = (i + 1 == r.params.size()) ? std::move(type) : nullptr;
        }
        // The names of a group share the type held by the group's last entry; the checker looks ahead.
        if (def)
            r.params.back().defaultValue = std::move(def);
    } while (Accept(Tok::Semicolon));
}

} // namespace zev::script
