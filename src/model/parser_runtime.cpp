#include "model/parser_runtime.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zev {

namespace {

bool Blank(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) > 32)
            return false;
    return true;
}

std::string RightAligned(int value, int width)
{
    std::string s = std::to_string(value);
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
    return s;
}

} // namespace

std::vector<std::string> StandardMessages(int maxT, int noSym, std::string_view (*terminalText)(int))
{
    std::vector<std::string> m(static_cast<std::size_t>(std::max(noSym, kErrTooManyEntries) + 1));
    m[0] = "EOF expected";
    m[1] = "identifier expected";
    m[2] = "integer value expected";
    m[3] = "_float expected";
    m[4] = "string constant expected";
    m[5] = "HexLiteral expected";
    for (int i = 6; i <= maxT; ++i)
        m[static_cast<std::size_t>(i)] = "\"" + std::string(terminalText(i)) + "\" expected";
    m[static_cast<std::size_t>(noSym)] = "not expected";
    m[kErrTooManyEntries] = "too many entries, entry dropped";
    return m;
}

const char* MessageAt(const std::vector<std::string>& table, int code)
{
    if (code < 0 || code >= static_cast<int>(table.size()) || table[static_cast<std::size_t>(code)].empty())
        return nullptr;
    return table[static_cast<std::size_t>(code)].c_str();
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = "Cannot open file \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    bytes.clear();
    // One allocation of the file's size (and the end mark Reset adds): growing by doubling would
    // hold up to twice a large file at once.
    if (std::fseek(f, 0, SEEK_END) == 0) {
        long size = std::ftell(f);
        if (size > 0)
            bytes.reserve(static_cast<std::size_t>(size) + 1);
        std::rewind(f);
    }
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    bool failed = std::ferror(f) != 0;
    int saved = errno;
    std::fclose(f);
    if (failed) {
        error = "Cannot read file \"" + path + "\": " + std::strerror(saved);
        return false;
    }
    return true;
}

// ---- Scanner

namespace {
constexpr int64_t kWindowChunk = int64_t { 1 } << 20;
// The symbols being read stay in the window when it moves, unless they are longer than this.
constexpr int64_t kKeepLimit = int64_t { 4 } << 20;
// Symbol positions are 32-bit.
constexpr int64_t kMaxFileSource = 0x7fffffff;
} // namespace

struct TBaseScanner::FileSource {
    std::FILE* file = nullptr;
    std::string path;
    std::string buffer;
    std::string error;
    ~FileSource()
    {
        if (file)
            std::fclose(file);
    }
};

TBaseScanner::TBaseScanner()
    : m_windowChunk(kWindowChunk)
    , m_keepLimit(kKeepLimit)
{
}
TBaseScanner::~TBaseScanner() = default;

std::string& TBaseScanner::SrcStream()
{
    // The caller may change the buffer: nothing may point into it any more.
    m_file.reset();
    ClearWindow();
    return m_src;
}

void TBaseScanner::ClearWindow() const
{
    m_window = nullptr;
    m_windowStart = 0;
    m_windowSize = 0;
}

bool TBaseScanner::OpenFileSource(const std::string& path, std::string& error)
{
    ReleaseSource();
    auto source = std::make_unique<FileSource>();
    source->path = path;
    source->file = std::fopen(path.c_str(), "rb");
    if (!source->file) {
        error = "Cannot open file \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    int64_t size = -1;
    if (std::fseek(source->file, 0, SEEK_END) == 0)
        size = std::ftell(source->file);
    if (size <= 0 || std::fseek(source->file, 0, SEEK_SET) != 0) {
        // Not seekable (a pipe, a device), or no size to go by (empty, or a /proc file that has
        // bytes all the same): read it whole.
        source.reset();
        return ReadWholeFile(path, m_src, error);
    }
    if (size > kMaxFileSource) {
        error = "Cannot read file \"" + path + "\": larger than 2 GB";
        return false;
    }
    // A folder opens but cannot be read: find out now, not in the middle of a parse.
    char probe;
    if (std::fread(&probe, 1, 1, source->file) != 1) {
        int saved = errno;
        error = "Cannot read file \"" + path + "\": " + std::strerror(saved ? saved : EIO);
        return false;
    }
    m_file = std::move(source);
    m_size = size;
    return true;
}

void TBaseScanner::SetWindowSizes(int64_t chunk, int64_t keepLimit)
{
    m_windowChunk = std::max<int64_t>(chunk, 1);
    m_keepLimit = std::max<int64_t>(keepLimit, 0);
    ClearWindow();
}

const std::string& TBaseScanner::FileSourceError() const
{
    static const std::string none;
    return m_file ? m_file->error : none;
}

void TBaseScanner::ReleaseSource()
{
    m_file.reset();
    ClearWindow();
    std::string().swap(m_src);
    m_scratch.clear();
    m_size = 0;
}

void TBaseScanner::Reset()
{
    ClearWindow();
    if (m_file) {
        m_file->error.clear();
    } else {
        m_src.push_back('\0');
        m_size = static_cast<int64_t>(m_src.size());
    }
    m_ch = 0;
    m_prevCh = 0;
    m_currLine = 1;
    m_startOfLine = -2;
    m_bufferPosition = -1;
    CurrentSymbol = {};
    NextSymbol = {};
    NextCh();
}

int TBaseScanner::CharOutsideWindow(int64_t position) const
{
    if (position < 0 || position >= m_size)
        return 0;
    if (!m_file) {
        if (position >= static_cast<int64_t>(m_src.size()))
            return 0; // the buffer was cut after Reset
        m_window = m_src.data();
        m_windowStart = 0;
        m_windowSize = m_src.size();
        return static_cast<unsigned char>(m_src[static_cast<std::size_t>(position)]);
    }
    // Keep the symbols being read, so their text is still at hand after the move.
    int64_t start = position;
    int64_t keep = std::min(CurrentSymbol.Pos, NextSymbol.Pos);
    if (keep >= 0 && keep < position && position - keep <= m_keepLimit)
        start = keep;
    int64_t length = std::min(std::max(m_windowChunk, 2 * (position - start + 1)), m_size - start);
    FileSource& f = *m_file;
    f.buffer.resize(static_cast<std::size_t>(length));
    std::size_t got = 0;
    if (std::fseek(f.file, static_cast<long>(start), SEEK_SET) == 0)
        got = std::fread(f.buffer.data(), 1, f.buffer.size(), f.file);
    if (static_cast<int64_t>(got) < length) {
        // Cut short or unreadable since it was opened: it ends here, and the parse says why.
        if (f.error.empty())
            f.error = "Cannot read file \"" + f.path + "\": "
                + (std::ferror(f.file) ? std::strerror(errno ? errno : EIO) : "it became shorter while being read");
        m_size = start + static_cast<int64_t>(got);
        f.buffer.resize(got);
    }
    m_window = f.buffer.data();
    m_windowStart = start;
    m_windowSize = f.buffer.size();
    return position < m_size ? static_cast<unsigned char>(f.buffer[static_cast<std::size_t>(position - start)]) : 0;
}

std::string_view TBaseScanner::SymbolText(const TSymbolPosition& s) const
{
    // Symbols never hold a 0 or byte 26 (both end the input), so the source's bytes are the text.
    if (s.Len >= 0 && s.Pos >= m_windowStart
        && static_cast<uint64_t>(s.Pos - m_windowStart) + static_cast<uint64_t>(s.Len) <= m_windowSize)
        return { m_window + (s.Pos - m_windowStart), static_cast<std::size_t>(s.Len) };
    m_scratch = GetName(s);
    return m_scratch;
}

std::string TBaseScanner::GetName(const TSymbolPosition& s) const
{
    if (s.Len >= 0 && s.Pos >= m_windowStart
        && static_cast<uint64_t>(s.Pos - m_windowStart) + static_cast<uint64_t>(s.Len) <= m_windowSize)
        return std::string(m_window + (s.Pos - m_windowStart), static_cast<std::size_t>(s.Len));
    std::string out;
    out.reserve(static_cast<std::size_t>(s.Len > 0 ? s.Len : 0));
    for (int32_t i = 0; i < s.Len; ++i)
        out += static_cast<char>(CharAt(static_cast<int64_t>(s.Pos) + i));
    return out;
}

// ---- Grammar

void TBaseGrammar::SetOnStatusUpdate(StatusUpdateFn fn)
{
    m_status = fn;
    m_scanner->SetStatusUpdate(std::move(fn));
}

bool TBaseGrammar::Execute()
{
    m_errors.clear();
    m_unstoredErrors = 0;
    m_list.clear();
    m_ioError.clear();
    m_listColAdjust = 1;
    if (!Blank(SourceFileName)) {
        std::string error;
        // A source that is dropped afterwards need not be held whole.
        bool read = ClearSourceStream ? m_scanner->OpenFileSource(SourceFileName, error)
                                      : ReadWholeFile(SourceFileName, m_scanner->SrcStream(), error);
        if (!read) {
            m_scanner->ReleaseSource();
            m_ioError = error;
            return false;
        }
    }
    if (BeforeParse)
        BeforeParse();
    if (m_status)
        m_status(cstBeginParse, {}, -1);
    Parse();
    if (m_status)
        m_status(cstEndParse, {}, -1);
    if (AfterParse)
        AfterParse();
    if (GenListWhen == glAlways || (GenListWhen == glOnError && !m_errors.empty()))
        GenerateListing();
    m_ioError = m_scanner->FileSourceError();
    if (ClearSourceStream)
        m_scanner->ReleaseSource();
    if (m_errors.empty()) {
        if (OnSuccess)
            OnSuccess();
    } else if (OnFailure) {
        OnFailure(static_cast<int>(m_errors.size()));
    }
    return m_ioError.empty();
}

void TBaseGrammar::Parse()
{
    m_errDist = 2;
    m_scanner->Reset();
    Get();
    ParseStart();
}

void TBaseGrammar::Get()
{
    for (;;) {
        m_sym = m_scanner->Get();
        if (m_sym < m_noSym) {
            ++m_errDist;
            break;
        }
        if (m_sym == m_noSym) {
            // An unknown symbol is reported where it stands and skipped.
            SynErr(m_noSym);
        } else {
            HandlePragma(m_sym);
        }
        // Neither leaves a trace: the last consumed symbol stays current.
        m_scanner->NextSymbol = m_scanner->CurrentSymbol;
    }
    if (AfterGet)
        AfterGet(m_sym);
}

void TBaseGrammar::Expect(int n)
{
    if (m_sym == n)
        Get();
    else
        SynErr(n);
}

void TBaseGrammar::SynErr(int n)
{
    if (m_errDist >= 2)
        StoreError(n, &m_scanner->NextSymbol, 0, {});
    m_errDist = 0;
}

void TBaseGrammar::StoreError(int code, const TSymbolPosition* position, int type, std::string data)
{
    TParseError e;
    e.ErrorCode = code;
    e.Line = position ? position->Line : 0;
    e.Col = position ? position->Col : 0;
    e.Data = std::move(data);
    e.ErrorType = type;
    // Gigabytes of junk would otherwise keep an error every few bytes.
    constexpr std::size_t kMaxStoredErrors = 100000;
    if (m_errors.size() >= kMaxStoredErrors) {
        ++m_unstoredErrors;
        return;
    }
    m_errors.push_back(std::move(e));
    if (OnError)
        OnError(m_errors.back());
}

std::string TBaseGrammar::ErrorMsg(int code, std::string_view data) const
{
    if (const char* text = MessageText(code))
        return text;
    if (OnCustomError)
        return OnCustomError(code, data);
    std::string s = "Error: " + std::to_string(code);
    if (!Blank(data)) {
        s += " (";
        s += data;
        s += ")";
    }
    return s;
}

void TBaseGrammar::GenerateListing()
{
    if (BeforeGenList)
        BeforeGenList();
    const TBaseScanner& sc = *m_scanner;
    int printed = 0;
    // Errors by line, each line's in report order: one pass over the source, not one per line.
    std::vector<const TParseError*> byLine;
    byLine.reserve(m_errors.size());
    for (const TParseError& e : m_errors)
        byLine.push_back(&e);
    std::stable_sort(
        byLine.begin(), byLine.end(), [](const TParseError* a, const TParseError* b) { return a->Line < b->Line; });
    std::size_t nextError = 0;
    // Past this column the caret is not drawn under the symbol: a damaged file's single long line
    // with many errors would otherwise make a listing of its length times its errors.
    constexpr int kMaxCaretIndent = 1024;
    auto printErrorsOf = [&](int32_t lineNo, const std::string& text) {
        while (nextError < byLine.size() && byLine[nextError]->Line < lineNo)
            ++nextError;
        for (; nextError < byLine.size() && byLine[nextError]->Line == lineNo; ++nextError) {
            const TParseError& e = *byLine[nextError];
            m_list += "*****  ";
            int width = e.Col + m_listColAdjust - 2;
            if (width > kMaxCaretIndent) {
                m_list += "(column " + std::to_string(e.Col) + ") ";
            } else {
                for (int p = 0; p < width; ++p)
                    m_list += (p < static_cast<int>(text.size()) && text[static_cast<std::size_t>(p)] == '\t') ? '\t'
                                                                                                               : ' ';
            }
            m_list += "^ ";
            m_list += ErrorMsg(e.ErrorCode, e.Data);
            m_list += "\r\n";
            ++printed;
        }
    };

    int64_t pos = 0;
    int32_t lineNo = 0;
    for (;;) {
        std::string text;
        int c = sc.CharAt(pos);
        while (c != 0 && c != '\n' && c != '\r') {
            text += static_cast<char>(c);
            c = sc.CharAt(++pos);
        }
        if (c == 0 && text.empty())
            break;
        if (c == '\r' && sc.CharAt(pos + 1) == '\n') {
            m_listColAdjust = 0;
            pos += 2;
        } else if (c != 0) {
            ++pos;
        }
        ++lineNo;
        m_list += RightAligned(lineNo, 5) + "  " + text + "\r\n";
        printErrorsOf(lineNo, text);
        if (c == 0)
            break;
    }
    printErrorsOf(lineNo + 1, {});

    bool printErrorCount = true;
    if (AfterGenList)
        AfterGenList(printErrorCount);
    if (printErrorCount) {
        m_list += "\r\n" + RightAligned(printed, 5) + " error";
        if (printed != 1)
            m_list += "s\r\n";
    }
}

} // namespace zev
