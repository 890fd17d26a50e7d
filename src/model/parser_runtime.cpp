#include "model/parser_runtime.h"

#include <algorithm>

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

std::vector<std::string> StandardMessages(const TScannerTable& language)
{
    const int maxT = language.MaxT();
    const int noSym = language.NoSym();
    std::vector<std::string> m(static_cast<std::size_t>(std::max(noSym, kErrTooManyEntries) + 1));
    m[0] = "EOF expected";
    m[1] = "identifier expected";
    m[2] = "integer value expected";
    m[3] = "_float expected";
    m[4] = "string constant expected";
    m[5] = "HexLiteral expected";
    for (int i = 6; i <= maxT; ++i)
        m[static_cast<std::size_t>(i)] = "\"" + std::string(language.TerminalText(i)) + "\" expected";
    m[static_cast<std::size_t>(noSym)] = "not expected";
    m[kErrTooManyEntries] = "too many entries, entry dropped";
    return m;
}

// ---- Grammar

TBaseGrammar::TBaseGrammar(std::unique_ptr<TBaseScanner> scanner)
    : m_scanner(std::move(scanner))
    , m_noSym(m_scanner->Table().NoSym())
    , m_messages(StandardMessages(m_scanner->Table()))
{
}

void TBaseGrammar::SetMessage(int code, std::string text)
{
    if (code < 0)
        return;
    if (static_cast<std::size_t>(code) >= m_messages.size())
        m_messages.resize(static_cast<std::size_t>(code) + 1);
    m_messages[static_cast<std::size_t>(code)] = std::move(text);
}

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
    if (code >= 0 && static_cast<std::size_t>(code) < m_messages.size()
        && !m_messages[static_cast<std::size_t>(code)].empty())
        return m_messages[static_cast<std::size_t>(code)];
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
