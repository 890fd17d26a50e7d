#include "completion/code_snippets.h"

#include <array>
#include <utility>

#include "model/parser_runtime.h"

namespace zev {

namespace S = snipsym;

namespace {

// The parameter type a keyword gives; 0 for any other symbol.
int32_t TypeCode(int symbol)
{
    switch (symbol) {
    case S::int_:
        return PARAM_INTEGER;
    case S::node:
        return PARAM_NODE;
    case S::bool_:
        return PARAM_BOOLEAN;
    case S::floatnode:
        return PARAM_FLOATNODE;
    case S::stringKw:
        return PARAM_STRING;
    case S::skill:
        return PARAM_SKILL;
    case S::stat:
        return PARAM_STAT;
    case S::local_var:
        return PARAM_LOCAL_VAR;
    case S::script_var:
        return PARAM_SCRIPT_VAR;
    case S::pid_id:
        return PARAM_PID;
    case S::map_var:
        return PARAM_MAP_VAR;
    default:
        return PARAM_NONE;
    }
}

} // namespace

std::string_view ParamTypeName(int32_t code)
{
    switch (code) {
    case PARAM_INTEGER:
        return "Integer";
    case PARAM_NODE:
        return "NodePTR";
    case PARAM_BOOLEAN:
        return "Boolean";
    case PARAM_FLOATNODE:
        return "FloatNodePTR";
    case PARAM_STRING:
        return "String";
    case PARAM_SKILL:
        return "Player Skill";
    case PARAM_STAT:
        return "Player Stat";
    case PARAM_GLOBAL_VAR:
        return "Global Var";
    case PARAM_LOCAL_VAR:
        return "Local Var";
    case PARAM_SCRIPT_VAR:
        return "Script Var";
    case PARAM_PID:
        return "Item/Critter PID";
    case PARAM_MAP_VAR:
        return "Map Var";
    default:
        return "Unknown";
    }
}

TCodeSnippets::TCodeSnippets(CodeSnippetTable& table)
    : TBaseGrammar(std::make_unique<TCodeSnippetsScanner>())
    , m_table(table)
{
    SetMessage(kErrInvalidParameter, "invalid Parameter definition");
    // Nobody reads this parser's listing, and a listing grows with errors times columns.
    GenListWhen = glNever;
}

std::string TCodeSnippets::DecodeString(std::string_view token)
{
    if (!token.empty())
        token.remove_prefix(1);
    if (!token.empty() && token.back() == '"')
        token.remove_suffix(1);
    std::string out;
    out.reserve(token.size());
    for (std::size_t i = 0; i < token.size(); ++i) {
        char c = token[i];
        if (c != '\\' || i + 1 == token.size()) {
            out += c;
            continue;
        }
        switch (token[i + 1]) {
        case '"':
            out += '"';
            break;
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += "\r\n";
            break;
        default:
            out += c;
            continue; // the backslash stays; the next character is read normally
        }
        ++i;
    }
    return out;
}

void TCodeSnippets::ParseStart()
{
    CodeSnippets();
}

bool TCodeSnippets::Take(int n)
{
    if (m_sym == n) {
        Get();
        return true;
    }
    SynErr(n);
    return false;
}

bool TCodeSnippets::StartsParam() const
{
    return m_sym == S::ident || TypeCode(m_sym) != PARAM_NONE;
}

// Error 92 stands at the dropped entry's first symbol and is stored whatever the error distance.
void TCodeSnippets::TooMany()
{
    StoreError(kErrTooManyEntries, &m_scanner->NextSymbol, 0, {});
}

// Where a preset must start but something else stands: report it (within the error distance) and
// skip to the next "CodePreset", so one damaged preset does not cost the ones after it.
void TCodeSnippets::SkipToPreset()
{
    SynErr(S::CodePreset);
    while (m_sym != S::CodePreset && m_sym != S::EOF_)
        Get();
}

// ---- Productions

// CodeSnippets = CodePreset { CodePreset } .
void TCodeSnippets::CodeSnippets()
{
    m_paramType = PARAM_NONE;
    do {
        if (m_sym != S::CodePreset)
            SkipToPreset();
        if (m_sym == S::CodePreset)
            CodePreset();
    } while (m_sym != S::EOF_);
}

// CodePreset = "CodePreset" ident "(" [ Param { "," Param } ] ")" "desc" "=" string
//              "{" [ string { "," string } ] "}" ";" .
void TCodeSnippets::CodePreset()
{
    bool dropped = m_table.full();
    if (dropped)
        TooMany();
    CodeSnippet s;
    Expect(S::CodePreset);
    if (Take(S::ident))
        s.name = LexString();
    Expect(S::lparen);
    if (StartsParam()) {
        ParamDef(s);
        while (m_sym == S::comma) {
            Get();
            ParamDef(s);
        }
    }
    Expect(S::rparen);
    Expect(S::desc);
    Expect(S::assign);
    if (Take(S::string))
        s.desc = DecodeString(LexString());
    Expect(S::lbrace);
    if (m_sym == S::string) {
        CodeLine(s);
        while (m_sym == S::comma) {
            Get();
            CodeLine(s);
        }
    }
    Expect(S::rbrace);
    Expect(S::semicolon);
    // Counted also after errors inside it; a preset beyond the capacity was only read.
    if (!dropped)
        m_table.Add(std::move(s));
}

// Param = ( type | ) ident "=" string .
// type  = "int" | "node" | "bool" | "floatnode" | "string" | "skill" | "stat" | "local_var"
//       | "script_var" | "pid_id" | "map_var" .
void TCodeSnippets::ParamDef(CodeSnippet& snippet)
{
    bool full = snippet.param_count >= kMaxSnippetParams;
    if (full)
        TooMany();
    Param p;
    if (int32_t type = TypeCode(m_sym)) {
        Get();
        m_paramType = type;
    } else if (m_sym != S::ident) {
        SynErr(kErrInvalidParameter);
    }
    p.param_type = m_paramType;
    if (Take(S::ident))
        p.name = LexString();
    Expect(S::assign);
    if (Take(S::string))
        p.prompt = DecodeString(LexString());
    if (!full)
        snippet.params[static_cast<std::size_t>(snippet.param_count++)] = std::move(p);
}

// CodeLine = string .
void TCodeSnippets::CodeLine(CodeSnippet& snippet)
{
    if (Take(S::string))
        snippet.code += DecodeString(LexString()) + "\r\n";
}

} // namespace zev
