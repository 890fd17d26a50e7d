#pragma once

// The scanner every parser of the program uses: the source (a buffer, or a file read through a
// moving window), character reading with line and column counting, and the symbols, cut by the
// rules of the language it was built with.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "model/scanner_rules.h"

namespace zev {

struct TSymbolPosition {
    int32_t Line = 0; // from 1
    int32_t Col = 0; // offset from the CR (or lone LF) that ended the previous line; -2 on line 1
    int32_t Len = 0;
    int32_t Pos = 0; // offset of the first character in the source buffer
};

enum TParseStatusType { cstInvalid = 0, cstBeginParse = 1, cstEndParse = 2, cstLineNum = 3, cstString = 4 };

using StatusUpdateFn = std::function<void(TParseStatusType, std::string_view status, int32_t line)>;

class TBaseScanner {
public:
    // The table must outlive the scanner (grammars keep theirs for good).
    explicit TBaseScanner(const TScannerTable& table);
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
    // Reads the next symbol into NextSymbol and returns its number: blanks (bytes 1 to 32) and
    // comments are skipped; an unknown character is one symbol noSym; a 0 byte ends the input.
    int Get();

    // The lexical rules the scanner was built with.
    const TScannerTable& Table() const { return m_table; }

    // The text of a symbol, read from the source.
    std::string GetName(const TSymbolPosition& s) const;
    // The same without a copy while the window holds it; valid until the next read.
    std::string_view SymbolText(const TSymbolPosition& s) const;

    TSymbolPosition CurrentSymbol; // the one last consumed
    TSymbolPosition NextSymbol; // the look-ahead
    void SetStatusUpdate(StatusUpdateFn fn) { m_status = std::move(fn); }

private:
    struct FileSource;

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
    // Takes the current character into the symbol being read.
    void Consume()
    {
        ++NextSymbol.Len;
        NextCh();
    }
    // Moves past the current character and the run after it that the window holds, up to a byte
    // stops names; returns how many it passed. Stops must name 0, byte 26 (both end the input), CR
    // and LF (NextCh counts lines at them).
    int32_t SkipRun(const std::array<bool, 256>& stops);
    bool Flag(int c, uint8_t flag) const { return (m_table.m_flags[static_cast<uint8_t>(c)] & flag) != 0; }
    // The text stands at the current character.
    bool At(std::string_view text) const;
    void SkipBlanksAndComments();
    bool SkipComment();
    // Starts a symbol at the current character.
    void BeginSymbol();
    // The end of the input inside a symbol: end of file, standing at the symbol's start.
    int EndOfInputInside();
    int ScanIdentifier();
    int ScanNumber(bool allowFraction);
    int ScanFraction();
    int ScanSigned();
    int ScanOperator();
    int ScanString(const TScannerTable::StringKind& kind);
    int ScanPragma(const TPragmaRule& pragma);

    // The slow path of CharAt: points the window at the buffer again, or reads the file around position.
    int CharOutsideWindow(int64_t position) const;
    void ClearWindow() const;

    const TScannerTable& m_table;
    mutable int64_t m_size = 0; // a file that shrinks while being read ends earlier
    int m_ch = 0;
    int m_prevCh = 0;
    int64_t m_bufferPosition = -1;
    int32_t m_currLine = 1;
    int64_t m_startOfLine = -2;
    StatusUpdateFn m_status;

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

// Loads a whole file into bytes; false with the reason when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

} // namespace zev
