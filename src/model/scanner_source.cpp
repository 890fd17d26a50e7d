// The scanner's source: a buffer, or a file read through a window that moves along with it.
#include "model/base_scanner.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace zev {

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

TBaseScanner::TBaseScanner(const TScannerTable& table)
    : m_table(table)
    , m_windowChunk(kWindowChunk)
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

} // namespace zev
