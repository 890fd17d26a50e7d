#pragma once

// The runtime shared by the program's three LL(1) parsers (dialogue files, code presets,
// definition files): the source buffer, character reading with line and column counting, symbol
// positions, the error list with error-distance suppression, the listing and the events.
// A concrete parser supplies the scanner's state machine, the productions and the messages.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zev {

// Error codes every parser of the program shares beyond its grammar's own.
inline constexpr int kErrNumberOutOfRange = 91;
inline constexpr int kErrTooManyEntries = 92;

struct TSymbolPosition {
    int32_t Line = 0; // from 1
    int32_t Col = 0; // offset from the CR (or lone LF) that ended the previous line; -2 on line 1
    int32_t Len = 0;
    int32_t Pos = 0; // offset of the first character in the source buffer
};

struct TParseError {
    int32_t ErrorCode = 0;
    int32_t Col = 0;
    int32_t Line = 0;
    std::string Data;
    int32_t ErrorType = 0; // 0 for syntax errors
};

enum TParseStatusType { cstInvalid = 0, cstBeginParse = 1, cstEndParse = 2, cstLineNum = 3, cstString = 4 };
enum TGenListType { glNever = 0, glAlways = 1, glOnError = 2 };

using StatusUpdateFn = std::function<void(TParseStatusType, std::string_view status, int32_t line)>;

class TBaseScanner {
public:
    TBaseScanner();
    virtual ~TBaseScanner();

    // The source buffer; owned by the scanner. Taking it for writing drops a file source.
    std::string& SrcStream();
    const std::string& SrcStream() const { return m_src; }

    // Reads a file through a window that moves along with the scanner instead of the source buffer,
    // so a large file is never held whole; bytes behind the window are read again when asked for.
    bool OpenFileSource(const std::string& path, std::string& error);
    // Why the file stopped giving bytes during a parse (it then reads as ending there); empty if not.
    const std::string& FileSourceError() const;
    // Drops the buffer and any file source.
    void ReleaseSource();
    // How much a file window reads at least, and how long a symbol it keeps when it moves on;
    // tests shrink them to put window edges everywhere.
    void SetWindowSizes(int64_t chunk, int64_t keepLimit);

    // Appends a 0 byte (to a buffer source), rewinds and reads the first character.
    void Reset();
    // The byte at position; 0 at or past the end; byte 26 reads as 0.
    int CharAt(int64_t position) const
    {
        const uint64_t offset = static_cast<uint64_t>(position - m_windowStart);
        const int c
            = offset < m_windowSize ? static_cast<unsigned char>(m_window[offset]) : CharOutsideWindow(position);
        return c == 26 ? 0 : c;
    }
    // Reads the next symbol into NextSymbol and returns its number.
    virtual int Get() = 0;

    // The text of a symbol, read from the source.
    std::string GetName(const TSymbolPosition& s) const;
    // The same without a copy while the window holds it; valid until the next read.
    std::string_view SymbolText(const TSymbolPosition& s) const;

    TSymbolPosition CurrentSymbol; // the one last consumed
    TSymbolPosition NextSymbol; // the look-ahead
    void SetStatusUpdate(StatusUpdateFn fn) { m_status = std::move(fn); }

protected:
    void NextCh()
    {
        m_prevCh = m_ch;
        ++m_bufferPosition;
        m_ch = CharAt(m_bufferPosition);
        if (m_ch == '\r' || (m_ch == '\n' && m_prevCh != '\r')) {
            ++m_currLine;
            m_startOfLine = m_bufferPosition;
            if (m_status)
                m_status(cstLineNum, {}, m_currLine);
        }
    }
    // At "/*": skips to just past the closing "*/", or to the end of the input when none follows.
    void SkipBlockComment()
    {
        NextCh();
        NextCh();
        while (m_ch != 0) {
            if (m_ch == '*' && CharAt(m_bufferPosition + 1) == '/') {
                NextCh();
                NextCh();
                return;
            }
            NextCh();
        }
    }
    // Starts a symbol at the current character.
    void BeginSymbol()
    {
        CurrentSymbol = NextSymbol;
        NextSymbol.Pos = static_cast<int32_t>(m_bufferPosition);
        NextSymbol.Col = static_cast<int32_t>(m_bufferPosition - m_startOfLine);
        NextSymbol.Line = m_currLine;
        NextSymbol.Len = 0;
    }

    mutable int64_t m_size = 0; // a file that shrinks while being read ends earlier
    int m_ch = 0;
    int m_prevCh = 0;
    int64_t m_bufferPosition = -1;
    int32_t m_currLine = 1;
    int64_t m_startOfLine = -2;
    StatusUpdateFn m_status;

private:
    struct FileSource;
    // The slow path of CharAt: points the window at the buffer again, or reads the file around position.
    int CharOutsideWindow(int64_t position) const;
    void ClearWindow() const;

    std::string m_src;
    std::unique_ptr<FileSource> m_file;
    mutable std::string m_scratch; // SymbolText's copy of a symbol the window does not hold
    int64_t m_windowChunk;
    int64_t m_keepLimit;
    // The bytes [m_windowStart, m_windowStart + m_windowSize) of the source.
    mutable const char* m_window = nullptr;
    mutable int64_t m_windowStart = 0;
    mutable uint64_t m_windowSize = 0;
};

class TBaseGrammar {
public:
    virtual ~TBaseGrammar() = default;

    std::string SourceFileName;
    TGenListType GenListWhen = glOnError;
    bool ClearSourceStream = true;

    std::function<void(const TParseError&)> OnError;
    std::function<void()> OnSuccess;
    std::function<void(int numErrors)> OnFailure;
    std::function<std::string(int code, std::string_view data)> OnCustomError;
    std::function<void()> BeforeParse;
    std::function<void()> AfterParse;
    std::function<void()> BeforeGenList;
    std::function<void(bool& printErrorCount)> AfterGenList;
    std::function<void(int& symbol)> AfterGet;
    void SetOnStatusUpdate(StatusUpdateFn fn);

    // Parses SourceFileName (or what the source buffer holds when it is empty). Returns false
    // when the file cannot be read (IoError() says why): at once, or after a parse of what could
    // be read when the file failed or shrank on the way.
    bool Execute();
    // No stored error and the source could be read.
    bool Successful() const { return m_errors.empty() && m_ioError.empty(); }
    const std::string& IoError() const { return m_ioError; }
    const std::vector<TParseError>& Errors() const { return m_errors; }
    // Errors beyond the 100,000 stored ones are only counted (no event fires for them).
    int64_t UnstoredErrors() const { return m_unstoredErrors; }
    const std::string& ListStream() const { return m_list; }
    TBaseScanner& Scanner() { return *m_scanner; }

    // The message of an error code: the parser's own table, else the custom-error event, else
    // "Error: " + code, with " (" + data + ")" when data is not blank.
    std::string ErrorMsg(int code, std::string_view data) const;
    // The text of the current (last consumed) symbol.
    std::string LexString() const { return m_scanner->GetName(m_scanner->CurrentSymbol); }
    // Appends an error; a null position gives line and column 0.
    void StoreError(int code, const TSymbolPosition* position, int type, std::string data);

protected:
    explicit TBaseGrammar(std::unique_ptr<TBaseScanner> scanner, int maxT, int noSym)
        : m_scanner(std::move(scanner))
        , m_maxT(maxT)
        , m_noSym(noSym)
    {
    }

    // The productions; called with the scanner reset and the first symbol read.
    virtual void ParseStart() = 0;
    // The parser's message for a code, or nullptr when its table has none.
    virtual const char* MessageText(int code) const = 0;
    // Semantic actions for pragmas (directive lines); none by default.
    virtual void HandlePragma(int /*symbol*/) { }

    void Parse();
    void Get();
    void Expect(int n);
    void SynErr(int n);
    void GenerateListing();

    std::unique_ptr<TBaseScanner> m_scanner;
    int m_sym = 0; // the look-ahead's number
    int m_errDist = 2;
    int m_maxT;
    int m_noSym;

private:
    std::vector<TParseError> m_errors;
    int64_t m_unstoredErrors = 0;
    std::string m_list;
    std::string m_ioError;
    int m_listColAdjust = 1;
    StatusUpdateFn m_status;
};

// The messages every parser shares, indexed by code: the token classes 0 to 5 ("EOF expected" ..
// "HexLiteral expected"), '"x" expected' for each terminal up to maxT, "not expected" for the
// unknown symbol and the text of kErrTooManyEntries. Codes a parser adds are empty until it fills
// them.
std::vector<std::string> StandardMessages(int maxT, int noSym, std::string_view (*terminalText)(int));
// A table's message for a code; nullptr where it has none (ErrorMsg then falls back).
const char* MessageAt(const std::vector<std::string>& table, int code);

// Loads a whole file into bytes; false with the reason when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

} // namespace zev
