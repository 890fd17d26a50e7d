#include "completion/def_scanner_base.h"

namespace zev {

namespace {

// Identifier letters: A-Z, a-z, "_" and the six Latin-1 letters Ä Å Ö ä å ö.
constexpr std::string_view kDefLetters
    = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_\xC4\xC5\xD6\xE4\xE5\xF6";
constexpr TCommentRule kDefComments[] = { { "/*", "*/" }, { "//", {} } };

} // namespace

TScannerRules DefLanguageRules(std::span<const std::string_view> terminals, int noSym,
    std::span<const TStringRule> strings, std::span<const TPragmaRule> pragmas)
{
    TScannerRules rules;
    rules.terminals = terminals;
    rules.noSym = noSym;
    rules.strings = strings;
    rules.pragmas = pragmas;
    rules.letters = kDefLetters;
    rules.identifierTail = "0123456789";
    rules.lineEnds = "\r\n";
    rules.comments = kDefComments;
    // "+" takes no fraction: "+1.5" is "+1" and ".5".
    rules.numbers.enabled = true;
    rules.numbers.hexPrefix = '$';
    rules.numbers.minusTakesFraction = true;
    rules.numbers.floatSuffix = 'f';
    return rules;
}

} // namespace zev
