#pragma once

// What the code editors propose: the completion list (names of the dialogue and of the definition
// table, each with the text shown and the text inserted) and the parameter hint (the parameters of
// the procedure whose call the caret stands in). Rebuilt from the dialogue and the definitions on
// every refresh of the editor lists; the popups only read it.

#include <string>
#include <string_view>
#include <vector>

#include "completion/completion_records.h"

namespace zev {

class Logger;
struct dialog;

struct CompletionLists {
    // Entry i of one belongs to entry i of the other.
    std::vector<std::string> shown;
    std::vector<std::string> insert;
    // The definition names in table order; a name's position is its definition's index.
    std::vector<std::string> hintNames;
};

// Float nodes, nodes with their NPC line, variables ("LVAR_" for locals), then the definitions;
// nothing sorted. Logs "Refreshing autocomplete list...".
void RefreshCompletionList(const dialog& dlg, const DefinitionTable& definitions, Logger& log, CompletionLists& lists);

// The quoted parameter texts of one definition, each but the last carrying its separator:
// "\"who: object, \", \"n: integer\"", or
// "\"* No parameters expected *\"".
std::string ParameterHintText(const IncEntry& definition);

// The quoted parts of a hint text, in order, for showing the current one in bold.
std::vector<std::string> HintParts(std::string_view hintText);

// The procedure whose call the caret stands in. `caret` is the byte offset of the caret in the line
// (0 = before the first character).
struct HintSearch {
    bool found = false;
    std::string word; // as written in the line
    int definition = -1; // position in hintNames
    int parameter = 0; // commas counted: the current parameter
};
HintSearch FindParameterHint(std::string_view line, int caret, const std::vector<std::string>& hintNames);

// The parameter hint's state between openings: the text is rebuilt only when the word changes.
class ParameterHint {
public:
    // True when the hint opens; text() and current() then say what it shows. When it does not
    // open the text is cleared.
    bool Execute(std::string_view line, int caret, const CompletionLists& lists, const DefinitionTable& definitions);
    const std::string& text() const { return m_text; }
    int current() const { return m_current; }

private:
    std::string m_word;
    std::string m_text;
    int m_current = 0;
};

// Word characters of the game script: digits, A-Z, a-z, "_", and the bytes 192-255 but 215 and 247.
bool IsHintWordChar(unsigned char c);
// The word before the caret that narrows the completion list (the same word characters).
std::string_view WordBeforeCaret(std::string_view line, int caret);
// The positions of the entries whose shown text begins with `prefix`, ignoring case, in list order;
// every entry for an empty prefix.
std::vector<int> NarrowCompletion(const CompletionLists& lists, std::string_view prefix);
// Same, reusing `out` (typing narrows on every key).
void NarrowCompletion(const CompletionLists& lists, std::string_view prefix, std::vector<int>& out);

} // namespace zev
