#include "editors/script_highlight.h"

#include <algorithm>
#include <array>

namespace zev {

namespace {

constexpr std::array<std::string_view, 14> kKeywords = { "BEGIN", "CALL", "CRITICAL", "DO", "ELSE", "END", "EXPORT",
    "FOR", "IF", "IMPORT", "PROCEDURE", "THEN", "VARIABLE", "WHILE" };

bool IsWordStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 128;
}

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool IsWordChar(unsigned char c)
{
    return IsWordStart(c) || IsDigit(c);
}

unsigned char Upper(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

std::string_view BlockEnd(ScriptLexState state)
{
    switch (state) {
    case ScriptLexState::BraceComment:
        return "}";
    case ScriptLexState::ParenStarComment:
        return "*)";
    default:
        return "*/";
    }
}

void Mark(std::vector<ScriptStyle>& styles, std::size_t from, std::size_t to, ScriptStyle style)
{
    std::fill(
        styles.begin() + static_cast<std::ptrdiff_t>(from), styles.begin() + static_cast<std::ptrdiff_t>(to), style);
}

// Skips the word, number or string starting at `i`, styling it; returns where the next token starts.
std::size_t Token(std::string_view line, std::size_t i, std::vector<ScriptStyle>& styles)
{
    const auto c = static_cast<unsigned char>(line[i]);
    std::size_t end = i + 1;
    if (c == '"') {
        end = line.find('"', i + 1);
        end = end == std::string_view::npos ? line.size() : end + 1; // unclosed: to the line end
        Mark(styles, i, end, ScriptStyle::String);
    } else if (IsWordStart(c)) {
        while (end < line.size() && IsWordChar(static_cast<unsigned char>(line[end])))
            ++end;
        if (IsScriptKeyword(line.substr(i, end - i)))
            Mark(styles, i, end, ScriptStyle::Keyword);
    } else if (IsDigit(c)) {
        while (end < line.size() && (IsDigit(static_cast<unsigned char>(line[end])) || line[end] == '.'))
            ++end;
        Mark(styles, i, end, ScriptStyle::Number);
    }
    return end;
}

} // namespace

bool IsScriptKeyword(std::string_view word)
{
    return std::any_of(kKeywords.begin(), kKeywords.end(), [word](std::string_view k) {
        return k.size() == word.size() && std::equal(k.begin(), k.end(), word.begin(), [](char a, char b) {
            return a == static_cast<char>(Upper(static_cast<unsigned char>(b)));
        });
    });
}

ScriptLexState HighlightScriptLine(std::string_view line, ScriptLexState start, std::vector<ScriptStyle>& styles)
{
    styles.assign(line.size(), ScriptStyle::Default);
    ScriptLexState state = start;
    std::size_t i = 0;
    while (i < line.size()) {
        if (state != ScriptLexState::Code) {
            const std::string_view close = BlockEnd(state);
            const std::size_t at = line.find(close, i);
            const std::size_t end = at == std::string_view::npos ? line.size() : at + close.size();
            Mark(styles, i, end, ScriptStyle::Comment);
            if (at == std::string_view::npos)
                return state;
            i = end;
            state = ScriptLexState::Code;
            continue;
        }
        const char c = line[i];
        const char next = i + 1 < line.size() ? line[i + 1] : '\0';
        if (c == '{') {
            state = ScriptLexState::BraceComment;
            Mark(styles, i, i + 1, ScriptStyle::Comment);
            ++i;
        } else if ((c == '(' || c == '/') && next == '*') {
            state = c == '(' ? ScriptLexState::ParenStarComment : ScriptLexState::SlashStarComment;
            Mark(styles, i, i + 2, ScriptStyle::Comment);
            i += 2;
        } else if (c == '/' && next == '/') {
            Mark(styles, i, line.size(), ScriptStyle::Comment);
            return ScriptLexState::Code;
        } else {
            i = Token(line, i, styles);
        }
    }
    return state;
}

} // namespace zev
