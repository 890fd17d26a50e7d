#include "completion/completion_list.h"

#include <algorithm>
#include <climits>

#include "base/log.h"
#include "model/records.h"

namespace zev {

namespace {

// Counts as the records hold them, kept inside the tables' capacities.
int32_t Bounded(int32_t count, int32_t capacity)
{
    return std::clamp(count, 0, capacity);
}

int32_t ParamCount(const IncEntry& definition)
{
    return std::min(definition.param_count, kMaxDefParams);
}

std::string_view TypeWord(int32_t type)
{
    switch (type) {
    case DEF_PARAM_OBJECTPTR:
        return "objectptr ";
    case DEF_PARAM_INTEGER:
        return "integer ";
    case DEF_PARAM_STRING:
        return "string ";
    default:
        return {};
    }
}

std::string_view HintTypeSuffix(int32_t type)
{
    switch (type) {
    case DEF_PARAM_OBJECTPTR:
        return ": object";
    case DEF_PARAM_INTEGER:
        return ": integer";
    case DEF_PARAM_STRING:
        return ": string";
    case DEF_PARAM_PROCPTR:
        return ": procedure";
    default:
        return {};
    }
}

std::string DefinitionShown(const IncEntry& definition)
{
    std::string shown = definition.name;
    const int32_t count = ParamCount(definition);
    if (count < 1) {
        if (!definition.value.empty())
            shown.append(" = ").append(definition.value);
        return shown;
    }
    shown += " (";
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0)
            shown += ", ";
        shown.append(TypeWord(definition.param_types[static_cast<std::size_t>(i)]));
        shown += definition.param_names[static_cast<std::size_t>(i)];
    }
    shown += ')';
    return shown;
}

// ASCII only: in UTF-8 mode the bytes from 192 up start sequences, so folding them would match
// characters that differ.
unsigned char FoldCase(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (FoldCase(static_cast<unsigned char>(text[i])) != FoldCase(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && StartsWithIgnoringCase(a, b);
}

int FindHintName(const std::vector<std::string>& hintNames, std::string_view word)
{
    for (std::size_t i = 0; i < hintNames.size(); ++i)
        if (EqualsIgnoringCase(hintNames[i], word))
            return static_cast<int>(i);
    return -1;
}

bool IsWordAt(std::string_view line, int pos)
{
    return IsHintWordChar(static_cast<unsigned char>(line[static_cast<std::size_t>(pos - 1)]));
}

// Left over the group closed by the ")" at `pos` (1-based); the position left of its "(", or 0.
int SkipGroup(std::string_view line, int pos)
{
    int depth = 1;
    --pos;
    while (pos > 0 && depth > 0) {
        const char c = line[static_cast<std::size_t>(pos - 1)];
        if (c == ')')
            ++depth;
        else if (c == '(')
            --depth;
        --pos;
    }
    return pos;
}

// The word in front of the "(" at `pos` (1-based), blanks and other non-word characters between.
std::string_view WordBeforeParen(std::string_view line, int pos)
{
    int end = pos - 1;
    while (end > 0 && !IsWordAt(line, end))
        --end;
    int start = end;
    while (start > 0 && IsWordAt(line, start))
        --start;
    return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

} // namespace

void RefreshCompletionList(const dialog& dlg, const DefinitionTable& definitions, Logger& log, CompletionLists& lists)
{
    log.Log("Refreshing autocomplete list...", kMainApp);
    lists.shown.clear();
    lists.insert.clear();
    lists.hintNames.clear();

    const int32_t floats = Bounded(dlg.float_node_count, kMaxFloatNodes);
    const int32_t nodes = Bounded(dlg.node_count, kMaxNodes);
    const int32_t variables = Bounded(dlg.variable_count, kMaxVariables);
    const auto total = static_cast<std::size_t>(floats + nodes + variables + definitions.count());
    lists.shown.reserve(total);
    lists.insert.reserve(total);
    lists.hintNames.reserve(static_cast<std::size_t>(definitions.count()));

    for (int32_t i = 0; i < floats; ++i) {
        if (const floatnode* f = dlg.float_nodes[i]) {
            lists.insert.push_back(f->name.str());
            lists.shown.push_back(f->name.str());
        }
    }
    for (int32_t i = 0; i < nodes; ++i) {
        const dlgnode* n = dlg.nodes[i];
        if (!n)
            continue;
        std::string shown;
        shown.reserve(n->name.size() + n->npc_text.size() + 3);
        shown.append(n->name.view()).append(" \"").append(n->npc_text.view()).append("\"");
        lists.insert.push_back(n->name.str());
        lists.shown.push_back(std::move(shown));
    }
    for (int32_t i = 0; i < variables; ++i) {
        const TVariable* v = dlg.variables[i];
        if (!v)
            continue;
        std::string text = v->scope == SCOPE_LOCAL ? "LVAR_" + v->name.str() : v->name.str();
        lists.insert.push_back(text);
        lists.shown.push_back(std::move(text));
    }
    for (const IncEntry& definition : definitions) {
        lists.hintNames.push_back(definition.name);
        lists.insert.push_back(definition.name);
        lists.shown.push_back(DefinitionShown(definition));
    }
}

std::string ParameterHintText(const IncEntry& definition)
{
    const int32_t count = ParamCount(definition);
    if (count <= 0)
        return "\"* No parameters expected *\"";
    std::string text = "\"";
    for (int32_t i = 0; i < count; ++i) {
        if (i > 0)
            text += ", \", \""; // the separator shows inside the part before it
        text += definition.param_names[static_cast<std::size_t>(i)];
        text.append(HintTypeSuffix(definition.param_types[static_cast<std::size_t>(i)]));
    }
    text += '"';
    return text;
}

std::vector<std::string> HintParts(std::string_view hintText)
{
    std::vector<std::string> parts;
    std::size_t pos = hintText.find('"');
    while (pos != std::string_view::npos) {
        const std::size_t close = hintText.find('"', pos + 1);
        if (close == std::string_view::npos) {
            // An unclosed quote: the rest is the last part.
            parts.emplace_back(hintText.substr(pos + 1));
            break;
        }
        parts.emplace_back(hintText.substr(pos + 1, close - pos - 1));
        pos = hintText.find('"', close + 1);
    }
    return parts;
}

HintSearch FindParameterHint(std::string_view line, int caret, const std::vector<std::string>& hintNames)
{
    HintSearch result;
    const int length = static_cast<int>(std::min<std::size_t>(line.size(), INT_MAX));
    int pos = std::clamp(caret, 0, length); // 1-based: the character before the caret
    while (pos > 0) {
        const char c = line[static_cast<std::size_t>(pos - 1)];
        if (c == ',') {
            ++result.parameter;
            --pos;
        } else if (c == ')') {
            pos = SkipGroup(line, pos);
        } else if (c == '(') {
            const std::string_view word = WordBeforeParen(line, pos);
            if (!word.empty()) {
                const int index = FindHintName(hintNames, word);
                if (index >= 0) {
                    result.found = true;
                    result.word = std::string(word);
                    result.definition = index;
                    return result;
                }
            }
            --pos;
        } else {
            --pos;
        }
    }
    result.parameter = 0;
    return result;
}

bool ParameterHint::Execute(
    std::string_view line, int caret, const CompletionLists& lists, const DefinitionTable& definitions)
{
    const HintSearch search = FindParameterHint(line, caret, lists.hintNames);
    // The name list and the table are rebuilt apart; a name without its definition is no call.
    if (!search.found || search.definition >= definitions.count()) {
        // The word is forgotten with the text, or the next hint for it would show nothing.
        m_word.clear();
        m_text.clear();
        m_current = 0;
        return false;
    }
    m_current = search.parameter;
    if (search.word != m_word) {
        m_word = search.word;
        m_text = ParameterHintText(definitions[search.definition]);
    }
    return true;
}

bool IsHintWordChar(unsigned char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
        return true;
    return c >= 192 && c != 215 && c != 247;
}

std::string_view WordBeforeCaret(std::string_view line, int caret)
{
    const std::size_t end = caret <= 0 ? 0 : std::min(static_cast<std::size_t>(caret), line.size());
    std::size_t start = end;
    while (start > 0 && IsHintWordChar(static_cast<unsigned char>(line[start - 1])))
        --start;
    return line.substr(start, end - start);
}

std::vector<int> NarrowCompletion(const CompletionLists& lists, std::string_view prefix)
{
    std::vector<int> out;
    NarrowCompletion(lists, prefix, out);
    return out;
}

void NarrowCompletion(const CompletionLists& lists, std::string_view prefix, std::vector<int>& out)
{
    out.clear();
    out.reserve(lists.shown.size());
    for (std::size_t i = 0; i < lists.shown.size(); ++i)
        if (StartsWithIgnoringCase(lists.shown[i], prefix))
            out.push_back(static_cast<int>(i));
}

} // namespace zev
