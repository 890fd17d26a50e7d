#include "completion/parse_include.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/log.h"
#include "model/parser_runtime.h"

namespace zev {

namespace S = incsym;

namespace {

// The parameter type a keyword gives; 0 for any other symbol.
int32_t TypeCode(int symbol)
{
    switch (symbol) {
    case S::objectptr:
        return DEF_PARAM_OBJECTPTR;
    case S::integerKw:
        return DEF_PARAM_INTEGER;
    case S::stringKw:
        return DEF_PARAM_STRING;
    case S::procptr:
        return DEF_PARAM_PROCPTR;
    default:
        return DEF_PARAM_NONE;
    }
}

bool Blank(const std::string& s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) <= 32; });
}

} // namespace

TParseInclude::TParseInclude(DefinitionTable& table)
    : TBaseGrammar(std::make_unique<TParseIncludeScanner>())
    , m_table(table)
{
    // Nobody reads this parser's listing, and a listing grows with errors times columns.
    GenListWhen = glNever;
}

void TParseInclude::ParseStart()
{
    ParseInclude();
}

bool TParseInclude::Take(int n)
{
    if (m_sym == n) {
        Get();
        return true;
    }
    SynErr(n);
    return false;
}

// Error 92 stands at the dropped entry's first symbol and is stored whatever the error distance.
void TParseInclude::TooMany()
{
    StoreError(kErrTooManyEntries, &m_scanner->NextSymbol, 0, {});
}

// Where a statement must start but something else stands: report it (within the error distance)
// and skip to the next "AddDefine", so one damaged statement does not cost the ones after it.
void TParseInclude::SkipToDefine()
{
    SynErr(S::AddDefine);
    while (m_sym != S::AddDefine && m_sym != S::EOF_)
        Get();
}

// ---- Productions

// ParseInclude = Define { Define } .
void TParseInclude::ParseInclude()
{
    do {
        if (m_sym != S::AddDefine)
            SkipToDefine();
        if (m_sym == S::AddDefine)
            Define();
    } while (m_sym != S::EOF_);
}

// Define = "AddDefine" ident [ "(" ParamList ] [ "=" integer ] ";" .
void TParseInclude::Define()
{
    bool dropped = m_table.full();
    if (dropped)
        TooMany();
    IncEntry e;
    Expect(S::AddDefine);
    if (Take(S::ident))
        e.name = LexString();
    if (m_sym == S::lparen)
        ParamList(e);
    if (m_sym == S::assign) {
        Get();
        if (Take(S::integer))
            e.value = LexString(); // as written, sign included
    }
    Expect(S::semicolon);
    // Counted also after errors inside it; a definition beyond the capacity was only read.
    if (!dropped)
        m_table.Add(std::move(e));
}

// ParamList = "(" [ type ] [ ident { "," [ type ] ident } ] ")" .
// type      = "objectptr" | "integer" | "string" | "procptr" .
// Parameters fill the slot param_count: "," moves on to the next slot and ")" closes the last, so
// k names count k and "()" or a lone type counts one parameter with an empty name. A slot beyond
// the capacity is reported at its first symbol and read without being stored.
void TParseInclude::ParamList(IncEntry& entry)
{
    Expect(S::lparen);
    int32_t slot = 0;
    auto type = [&](bool keep) {
        if (int32_t code = TypeCode(m_sym)) {
            Get();
            if (keep)
                entry.param_types[static_cast<std::size_t>(slot)] = code;
        }
    };
    type(true);
    if (m_sym == S::ident) {
        Get();
        entry.param_names[0] = LexString();
        while (m_sym == S::comma) {
            Get();
            if (slot < kMaxDefParams)
                ++slot;
            bool keep = slot < kMaxDefParams;
            if (!keep)
                TooMany();
            type(keep);
            if (Take(S::ident) && keep)
                entry.param_names[static_cast<std::size_t>(slot)] = LexString();
        }
    }
    Expect(S::rparen);
    entry.param_count = std::min(slot + 1, kMaxDefParams);
}

DefLoadResult LoadDef(TParseInclude& parser, const std::string& fileName, Logger& log)
{
    log.Log("Loading definition " + fileName, kMainApp);
    DefLoadResult result;
    if (Blank(fileName)) {
        // A blank name would parse whatever the source buffer holds; it names no file.
        result.ioError = "Cannot open file \"" + fileName + "\": No such file or directory";
        return result;
    }
    int32_t before = parser.Table().count();
    parser.SourceFileName = fileName;
    result.read = parser.Execute();
    result.ioError = parser.IoError();
    result.added = parser.Table().count() - before;
    result.errors = parser.Errors();
    return result;
}

} // namespace zev
