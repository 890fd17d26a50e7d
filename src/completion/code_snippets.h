#pragma once

#include <string>
#include <string_view>

#include "completion/code_snippets_scanner.h"
#include "completion/completion_records.h"
#include "model/parser_runtime.h"

namespace zev {

// Error code beyond the grammar's own terminals: a parameter that starts with neither a type
// keyword nor an identifier.
inline constexpr int kErrInvalidParameter = 27;

// The name of a parameter type as log lines show it ("Integer", "NodePTR", ...; "Unknown").
std::string_view ParamTypeName(int32_t code);

// The reader of "codesnippets.def": appends each preset of the file to the table it was given,
// keeps going after errors, and never adds beyond the table's capacities (a preset or parameter
// too many is reported with error 92 and dropped). Its errors are not shown, so it makes no
// listing unless GenListWhen asks for one.
class TCodeSnippets : public TBaseGrammar {
public:
    explicit TCodeSnippets(CodeSnippetTable& table);

    // The value of a string token: without its quotes; \" \\ \t and \n (CR LF) decoded, any other
    // backslash kept with the character after it.
    static std::string DecodeString(std::string_view token);

protected:
    void ParseStart() override;

private:
    // Productions.
    void CodeSnippets();
    void CodePreset();
    void ParamDef(CodeSnippet& snippet);
    void CodeLine(CodeSnippet& snippet);

    // Reads symbol n, or reports it missing; true when it was read.
    bool Take(int n);
    bool StartsParam() const;
    void SkipToPreset();
    void TooMany();

    CodeSnippetTable& m_table;
    // A parameter without a type keyword takes the type of the one before it, across presets.
    int32_t m_paramType = PARAM_NONE;
};

} // namespace zev
