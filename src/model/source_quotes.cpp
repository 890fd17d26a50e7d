#include "model/source_quotes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace zev {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// Follows the line numbers through the bytes and quotes the wanted lines as they pass.
class LineQuoter {
public:
    LineQuoter(const std::vector<int64_t>& wanted, std::size_t maxBytes, SourceQuotes& out)
        : m_wanted(wanted)
        , m_maxBytes(maxBytes)
        , m_out(out)
    {
        std::sort(m_wanted.begin(), m_wanted.end());
        m_next = m_wanted.begin();
        StartLine();
    }

    void Take(const char* bytes, std::size_t size)
    {
        const char* p = bytes;
        const char* const end = bytes + size;
        // The next CR and LF at or after p, each searched for once it is passed.
        const char* cr = nullptr;
        const char* lf = nullptr;
        while (p < end) {
            if (m_afterCr) {
                m_afterCr = false;
                if (*p == '\n') { // the rest of a CR LF
                    ++p;
                    continue;
                }
            }
            if (!cr || cr < p)
                cr = Find(p, end, '\r');
            if (!lf || lf < p)
                lf = Find(p, end, '\n');
            const char* stop = std::min(cr, lf);
            if (stop > p)
                Quote(p, static_cast<std::size_t>(stop - p));
            if (stop == end)
                return;
            m_afterCr = *stop == '\r';
            ++m_line;
            m_lineHasBytes = false;
            StartLine();
            p = stop + 1;
        }
    }

    void Finish()
    {
        m_out.lineCount = m_line - (m_lineHasBytes ? 0 : 1);
        // A line break at the end opens no line of its own.
        m_out.lines.erase(m_out.lines.upper_bound(m_out.lineCount), m_out.lines.end());
    }

private:
    static const char* Find(const char* from, const char* end, char c)
    {
        const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
        return found ? static_cast<const char*>(found) : end;
    }

    void Quote(const char* bytes, std::size_t size)
    {
        m_lineHasBytes = true;
        if (!m_quoting)
            return;
        m_quoting->length += static_cast<int64_t>(size);
        if (m_quoting->text.size() < m_maxBytes)
            m_quoting->text.append(bytes, std::min(size, m_maxBytes - m_quoting->text.size()));
    }

    void StartLine()
    {
        while (m_next != m_wanted.end() && *m_next < m_line)
            ++m_next;
        m_quoting = m_next != m_wanted.end() && *m_next == m_line ? &m_out.lines[m_line] : nullptr;
    }

    std::vector<int64_t> m_wanted;
    std::vector<int64_t>::const_iterator m_next;
    std::size_t m_maxBytes;
    SourceQuotes& m_out;
    QuotedLine* m_quoting = nullptr;
    int64_t m_line = 1;
    bool m_lineHasBytes = false;
    bool m_afterCr = false;
};

} // namespace

SourceQuotes QuoteSourceLines(const std::string& path, const std::vector<int64_t>& wanted, std::size_t maxBytes)
{
    SourceQuotes quotes;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return quotes;
    LineQuoter quoter(wanted, maxBytes, quotes);
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        quoter.Take(buffer, got);
    if (std::ferror(file.get()))
        return {};
    quoter.Finish();
    return quotes;
}

std::string ParseErrorLogText(const SourceQuotes& quotes, const std::vector<ParseErrorLogEntry>& entries)
{
    std::string text;
    for (const ParseErrorLogEntry& e : entries) {
        auto quoted = quotes.lines.find(e.line);
        std::string source = "Null line. (Probably end of file?)";
        if (quoted != quotes.lines.end()) {
            source = quoted->second.text.substr(0, kMaxQuotedSourceText);
            if (quoted->second.length > static_cast<int64_t>(kMaxQuotedSourceText))
                source += " [...]";
        }
        // Each entry ends its line, or the next one's heading would run on from this source line.
        text += "Error on line " + std::to_string(e.line) + " column " + std::to_string(e.col) + ":\r\n" + e.message
            + "\r\n" + source + "\r\n";
    }
    return text;
}

} // namespace zev
