#pragma once

#include <vector>

#include "script/engine/ast.h"
#include "script/engine/lexer.h"
#include "script/engine/messages.h"

namespace zev::script {

// Recursive descent over the token vector. A syntax error is reported, the parser skips to the next
// statement or declaration and goes on, so one pass reports every independent mistake.
class Parser {
public:
    Parser(std::vector<Token> tokens, Diagnostics& diag);
    AstProgram ParseProgram();

    // Deeper nesting than this is refused: it would only serve to exhaust the native stack.
    static constexpr int kMaxDepth = 400;

private:
    struct Failed { }; // a reported syntax error unwinding to the nearest resynchronisation point
    struct Abort { }; // an error after which nothing sensible can follow

    // Cursor.
    const Token& Cur() const { return m_toks[m_pos]; }
    const Token& Ahead(size_t n) const;
    bool At(Tok t) const { return Cur().kind == t; }
    bool Accept(Tok t);
    const Token& Expect(Tok t);
    std::string ExpectIdent();
    [[noreturn]] void Fail(const Token& at, const std::string& text);
    [[noreturn]] void FailExpected(std::string_view what);
    void Sync();
    static bool IsCloser(Tok t)
    {
        return t == Tok::KwEnd || t == Tok::KwUntil || t == Tok::KwExcept || t == Tok::KwFinally;
    }
    // Counts nesting for the lifetime of one parse function.
    struct Depth {
        explicit Depth(Parser& p);
        ~Depth() { --m_p.m_depth; }
        Parser& m_p;
    };

    // Declarations (parser.cpp).
    void ParseItems(std::vector<AstItem>& items, bool topLevel);
    bool ParseDeclaration(std::vector<AstItem>& items, bool statementContext);
    void ParseVarSection(std::vector<AstItem>& items, bool statementContext);
    void ParseConstSection(std::vector<AstItem>& items, bool statementContext);
    void ParseTypeSection(std::vector<AstItem>& items);
    std::unique_ptr<AstVarDecl> ParseVarDecl();
    // Parses one declaration; after a syntax error past its names it keeps them as a broken declaration.
    std::unique_ptr<AstVarDecl> ParseVarDeclKeepingNames(bool& failed);
    std::unique_ptr<AstConstDecl> ParseConstDecl();
    std::unique_ptr<AstRoutine> ParseRoutine();
    void ParseParams(AstRoutine& r);
    std::unique_ptr<AstType> ParseType();
    bool LooksLikeVarDecl() const;
    bool LooksLikeConstDecl() const;

    // Statements (parser_statements.cpp).
    AstStmtPtr ParseStatement();
    AstStmtPtr ParseStatementGuarded();
    void ParseStatementList(std::vector<AstStmtPtr>& out, std::initializer_list<Tok> enders);
    AstStmtPtr ParseBlock();
    AstStmtPtr ParseIf();
    AstStmtPtr ParseCase();
    AstStmtPtr ParseWhile();
    AstStmtPtr ParseRepeat();
    AstStmtPtr ParseFor();
    AstStmtPtr ParseTry();
    AstStmtPtr ParseSimpleStatement();
    AstStmtPtr ParseInlineVar();
    AstStmtPtr ParseInlineConst();

    // Expressions (parser_expressions.cpp).
    AstExprPtr ParseExpr();
    AstExprPtr ParseSimple();
    AstExprPtr ParseTerm();
    AstExprPtr ParseFactor();
    AstExprPtr ParsePrimary();
    AstExprPtr ParsePostfix(AstExprPtr base);
    AstExprPtr ParseArrayLiteral();
    void ParseArgs(AstExpr& call, Tok closer);
    AstExprPtr MakeBinary(Tok op, const Token& at, AstExprPtr l, AstExprPtr r);
    void Measure(AstExpr& e);

    std::vector<Token> m_toks;
    size_t m_pos = 0;
    Diagnostics& m_diag;
    int m_depth = 0;
    size_t m_lastErrorPos = SIZE_MAX;
    bool m_finalBlockSeen = false;
};

AstExprPtr NewExpr(AstExpr::Kind kind, const Token& at);
AstStmtPtr NewStmt(AstStmt::Kind kind, const Token& at);

} // namespace zev::script
