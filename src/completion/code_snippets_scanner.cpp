#include "completion/code_snippets_scanner.h"

#include <iterator>

namespace zev {

namespace {

// From snipsym::bool_ on.
constexpr std::string_view kTerminals[] = { "bool", "int", "stat", "skill", "script_var", "pid_id", "map_var",
    "local_var", "node", "floatnode", "string", "=", "CodePreset", "(", ",", ")", "desc", "{", "}", ";" };
// A backslash takes the next character with it, so "\\" before the quote does not escape it.
constexpr TStringRule kStrings[] = { { .delimiter = '"', .escape = '\\' } };
// A pragma runs to the end of its line and leaves no trace.
constexpr TPragmaRule kPragmas[] = { { '#', snipsym::pragma } };

static_assert(std::size(kTerminals) == snipsym::maxT - toksym::firstTerminal + 1);

const TScannerTable& Language()
{
    static const TScannerTable table(DefLanguageRules(kTerminals, snipsym::noSym, kStrings, kPragmas));
    return table;
}

} // namespace

TCodeSnippetsScanner::TCodeSnippetsScanner()
    : TDefScannerBase(Language())
{
}

} // namespace zev
