#pragma once

#include <span>
#include <string_view>

#include "model/base_scanner.h"

namespace zev {

// The scanners of the code preset file and the definition files: the same letters, numbers and
// comments; a line ends at CR or at LF, so a comment, a string or a pragma never runs on past the
// end of its line in a file with LF line ends.
class TDefScannerBase : public TBaseScanner {
protected:
    explicit TDefScannerBase(const TScannerTable& table)
        : TBaseScanner(table)
    {
    }
};

// The rules of a definition language: the shared ones with its terminals, strings and pragmas.
TScannerRules DefLanguageRules(std::span<const std::string_view> terminals, int noSym,
    std::span<const TStringRule> strings, std::span<const TPragmaRule> pragmas);

} // namespace zev
