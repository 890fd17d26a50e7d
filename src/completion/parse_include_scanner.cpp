#include "completion/parse_include_scanner.h"

#include <iterator>

namespace zev {

namespace {

// From incsym::AddDefine on.
constexpr std::string_view kTerminals[]
    = { "AddDefine", "(", "integer", "procptr", "string", "objectptr", ",", ")", "=", ";" };
// Strings have no escapes: a double quote, anything but a line end and the double quote, a double quote.
constexpr TStringRule kStrings[] = { { .delimiter = '"' } };

static_assert(std::size(kTerminals) == incsym::maxT - toksym::firstTerminal + 1);

const TScannerTable& Language()
{
    static const TScannerTable table(DefLanguageRules(kTerminals, incsym::noSym, kStrings, {}));
    return table;
}

} // namespace

TParseIncludeScanner::TParseIncludeScanner()
    : TDefScannerBase(Language())
{
}

} // namespace zev
