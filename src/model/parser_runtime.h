#pragma once

// The runtime shared by the program's three LL(1) parsers (dialogue files, code presets,
// definition files): the scanner base (base_scanner.h), the error list with error-distance
// suppression, the listing and the events. A concrete parser supplies its lexical rules as data,
// the productions and the messages.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/base_scanner.h"

namespace zev {

// Error codes every parser of the program shares beyond its grammar's own.
inline constexpr int kErrNumberOutOfRange = 91;
inline constexpr int kErrTooManyEntries = 92;

struct TParseError {
    int32_t ErrorCode = 0;
    int32_t Col = 0;
    int32_t Line = 0;
    std::string Data;
    int32_t ErrorType = 0; // 0 for syntax errors
};

enum TGenListType { glNever = 0, glAlways = 1, glOnError = 2 };

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

    // The message of an error code: the parser's messages, else the custom-error event, else
    // "Error: " + code, with " (" + data + ")" when data is not blank.
    std::string ErrorMsg(int code, std::string_view data) const;
    // The text of the current (last consumed) symbol.
    std::string LexString() const { return m_scanner->GetName(m_scanner->CurrentSymbol); }
    // Appends an error; a null position gives line and column 0.
    void StoreError(int code, const TSymbolPosition* position, int type, std::string data);

protected:
    // The messages start as those every parser shares (see StandardMessages), for the terminals of
    // the scanner's language.
    explicit TBaseGrammar(std::unique_ptr<TBaseScanner> scanner);

    // The productions; called with the scanner reset and the first symbol read.
    virtual void ParseStart() = 0;
    // A message of the parser's own beyond the shared ones.
    void SetMessage(int code, std::string text);
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
    int m_noSym;

private:
    std::vector<std::string> m_messages; // by code; empty where there is none
    std::vector<TParseError> m_errors;
    int64_t m_unstoredErrors = 0;
    std::string m_list;
    std::string m_ioError;
    int m_listColAdjust = 1;
    StatusUpdateFn m_status;
};

// The messages every parser shares, indexed by code: the token classes 0 to 5 ("EOF expected" ..
// "HexLiteral expected"), '"x" expected' for each terminal of the language, "not expected" for
// the unknown symbol and the text of kErrTooManyEntries. The other codes are empty.
std::vector<std::string> StandardMessages(const TScannerTable& language);

} // namespace zev
