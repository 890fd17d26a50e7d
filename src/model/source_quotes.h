#pragma once

// The parse error log of a file: each error with its source line quoted. The lines are read back
// in one forward pass that keeps only the quoted ones, so a damaged file of gigabytes costs no
// more memory than its log.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace zev {

// At most this much of a source line is quoted; " [...]" marks the cut.
inline constexpr std::size_t kMaxQuotedSourceText = 512;

struct QuotedLine {
    std::string text; // the line's first bytes, up to the cap
    int64_t length = 0; // the whole line's
};

struct SourceQuotes {
    // Lines split at CR LF, LF or CR; a final line break adds no line. 0 for a file that cannot
    // be read to its end, which quotes nothing.
    int64_t lineCount = 0;
    std::map<int64_t, QuotedLine> lines; // by number from 1: those asked for that the file has
};

// Reads path once, counting its lines and keeping at most maxBytes of each wanted one.
SourceQuotes QuoteSourceLines(const std::string& path, const std::vector<int64_t>& wanted, std::size_t maxBytes);

struct ParseErrorLogEntry {
    int32_t line = 0;
    int32_t col = 0;
    std::string message;
};

// "Error on line %d column %d:\r\n%s\r\n%s\r\n" for each entry: its message and its source line
// from quotes (cut at kMaxQuotedSourceText), or "Null line. (Probably end of file?)" for a line
// the file does not have.
std::string ParseErrorLogText(const SourceQuotes& quotes, const std::vector<ParseErrorLogEntry>& entries);

} // namespace zev
