#pragma once

// The syntax colouring of the code editors, line by line: keywords (ignoring case), the three
// comment styles and strings in double quotes. Block comments run over line ends, so each line
// starts in the state the line before it ended in.

#include <cstdint>
#include <string_view>
#include <vector>

namespace zev {

enum class ScriptStyle : uint8_t { Default = 0, Keyword = 1, Comment = 2, String = 3, Number = 4 };

// Where a line starts: outside any comment, or inside one of the block comments.
enum class ScriptLexState : int { Code = 0, BraceComment = 1, ParenStarComment = 2, SlashStarComment = 3 };

// True for the fourteen keywords of the game script, in any case.
bool IsScriptKeyword(std::string_view word);

// Styles one line (without its line end) into `styles`, one entry per byte, and returns the state
// the next line starts in. Bytes from 128 up count as word characters, so a keyword next to a
// letter of another script is no keyword.
ScriptLexState HighlightScriptLine(std::string_view line, ScriptLexState start, std::vector<ScriptStyle>& styles);

} // namespace zev
