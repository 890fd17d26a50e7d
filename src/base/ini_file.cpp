#include "base/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <unordered_map>
#include <utility>

namespace zev {

namespace {

enum class Kind : uint8_t { Blank, Comment, Section, Key, Other };

// One line of the file as offsets into its text: content [begin, end), line end [end, next).
// 32-bit offsets are enough, the file size is capped well below 4 GB.
struct Line {
    uint32_t begin = 0, end = 0, next = 0;
    uint32_t nameBegin = 0, nameEnd = 0; // section or key name
    uint32_t valueBegin = 0, valueEnd = 0;
    Kind kind = Kind::Other;
};

// One header of a section and the lines up to the next header: [header, end).
struct Block {
    std::size_t header = 0;
    std::size_t lastEntry = 0; // the header, or its last key or unrecognised line
    std::size_t end = 0;
};

struct Section {
    std::vector<Block> blocks;
    std::vector<std::size_t> keys; // line of each key's first occurrence
    std::unordered_map<std::string, std::size_t> index; // lower-case key name -> line
};

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerCopy(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = Lower(c);
    return out;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsBlankText(std::string_view s)
{
    return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

bool HasLineBreak(std::string_view s)
{
    return s.find_first_of("\r\n") != std::string_view::npos;
}

struct Doc {
    std::string text;
    std::vector<Line> lines;
    std::vector<Section> sections;
    std::unordered_map<std::string, std::size_t> sectionIndex; // lower-case name -> sections
    std::string eol = "\r\n";

    std::string_view Slice(uint32_t b, uint32_t e) const { return std::string_view(text).substr(b, e - b); }
    std::string_view Name(const Line& l) const { return Slice(l.nameBegin, l.nameEnd); }
    std::string_view Value(const Line& l) const { return Slice(l.valueBegin, l.valueEnd); }

    Section* Find(std::string_view section)
    {
        auto it = sectionIndex.find(LowerCopy(section));
        return it == sectionIndex.end() ? nullptr : &sections[it->second];
    }
    const Line* FindKey(std::string_view section, std::string_view key)
    {
        Section* s = Find(section);
        if (!s)
            return nullptr;
        auto it = s->index.find(LowerCopy(key));
        return it == s->index.end() ? nullptr : &lines[it->second];
    }

    void Clear()
    {
        text.clear();
        Parse();
    }
    void Parse();

private:
    void Classify(Line& l, uint32_t from) const;
};

void Trim(const std::string& t, uint32_t& b, uint32_t& e)
{
    while (b < e && IsBlank(t[b]))
        ++b;
    while (e > b && IsBlank(t[e - 1]))
        --e;
}

void Doc::Classify(Line& l, uint32_t from) const
{
    uint32_t p = from;
    while (p < l.end && IsBlank(text[p]))
        ++p;
    if (p == l.end) {
        l.kind = Kind::Blank;
        return;
    }
    const char* base = text.data();
    char c = text[p];
    if (c == ';' || c == '#') {
        l.kind = Kind::Comment;
    } else if (c == '[') {
        auto* close = static_cast<const char*>(std::memchr(base + p + 1, ']', l.end - p - 1));
        if (!close)
            return; // Other
        l.kind = Kind::Section;
        l.nameBegin = p + 1;
        l.nameEnd = static_cast<uint32_t>(close - base);
        Trim(text, l.nameBegin, l.nameEnd);
    } else if (auto* eq = static_cast<const char*>(std::memchr(base + p, '=', l.end - p))) {
        const auto at = static_cast<uint32_t>(eq - base);
        l.nameBegin = p;
        l.nameEnd = at;
        Trim(text, l.nameBegin, l.nameEnd);
        if (l.nameBegin == l.nameEnd)
            return; // "=value": no key, Other
        l.kind = Kind::Key;
        l.valueBegin = at + 1;
        l.valueEnd = l.end;
        Trim(text, l.valueBegin, l.valueEnd);
    }
}

void Doc::Parse()
{
    lines.clear();
    sections.clear();
    sectionIndex.clear();
    eol = "\r\n";
    bool eolSeen = false;
    const std::size_t n = text.size();
    const char* base = text.data();
    Section* open = nullptr;
    std::size_t pos = 0;
    while (pos < n) {
        Line l;
        l.begin = static_cast<uint32_t>(pos);
        auto* nl = static_cast<const char*>(std::memchr(base + pos, '\n', n - pos));
        std::size_t e = nl ? static_cast<std::size_t>(nl - base) : n;
        l.next = static_cast<uint32_t>(nl ? e + 1 : n);
        // CRs before the LF, or at the very end of the file, belong to the line end: a write that
        // adds a line after them must not turn them into part of a value.
        while (e > pos && base[e - 1] == '\r')
            --e;
        l.end = static_cast<uint32_t>(e);
        if (!eolSeen && nl) {
            eol = (nl > base && nl[-1] == '\r') ? "\r\n" : "\n";
            eolSeen = true;
        }
        bool bom = pos == 0 && text.compare(0, 3, "\xEF\xBB\xBF") == 0 && e >= 3;
        Classify(l, l.begin + (bom ? 3 : 0));
        const std::size_t idx = lines.size();
        lines.push_back(l);
        if (l.kind == Kind::Section) {
            if (open)
                open->blocks.back().end = idx;
            auto [it, added] = sectionIndex.emplace(LowerCopy(Name(l)), sections.size());
            if (added)
                sections.emplace_back();
            open = &sections[it->second];
            open->blocks.push_back({ idx, idx, idx + 1 });
        } else if (open && l.kind == Kind::Key) {
            open->blocks.back().lastEntry = idx;
            if (open->index.emplace(LowerCopy(Name(l)), idx).second)
                open->keys.push_back(idx);
        } else if (open && l.kind == Kind::Other) {
            open->blocks.back().lastEntry = idx;
        }
        pos = l.next;
    }
    if (open)
        open->blocks.back().end = lines.size();
}

// The text without the given line ranges [first, last], sorted and disjoint.
std::string WithoutLines(const Doc& d, const std::vector<std::pair<std::size_t, std::size_t>>& ranges)
{
    std::string out;
    out.reserve(d.text.size());
    std::size_t at = 0;
    for (auto [first, last] : ranges) {
        out.append(d.text, at, d.lines[first].begin - at);
        at = d.lines[last].next;
    }
    out.append(d.text, at, std::string::npos);
    return out;
}

// Pascal's StrToInt: decimal, "$" or "0x" hexadecimal, an optional sign.
std::optional<int32_t> ParseInteger(std::string_view s)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    unsigned base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == s.size())
        return std::nullopt;
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t v = 0;
    for (; i < s.size(); ++i) {
        char c = Lower(s[i]);
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else
            return std::nullopt;
        v = v * base + digit;
        if (v > limit)
            return std::nullopt;
    }
    uint32_t bits = static_cast<uint32_t>(v);
    if (negative)
        bits = 0u - bits;
    return static_cast<int32_t>(bits);
}

std::string NameProblem(std::string_view section, std::string_view key)
{
    if (section.empty() || HasLineBreak(section) || IsBlankText(section) || section.find(']') != section.npos)
        return "the section name \"" + std::string(section) + "\" cannot be stored";
    if (key.empty() || HasLineBreak(key) || IsBlankText(key) || key.find('=') != key.npos || key[0] == ';'
        || key[0] == '#' || key[0] == '[')
        return "the key name \"" + std::string(key) + "\" cannot be stored";
    return {};
}

timespec Now()
{
    timespec ts {};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts;
}

bool SameTime(const timespec& a, const timespec& b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size && SameTime(a.st_mtim, b.st_mtim)
        && SameTime(a.st_ctim, b.st_ctim);
}

int64_t Nanoseconds(const timespec& t)
{
    return static_cast<int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// Two writes within one tick of the file system's clock leave the same time stamp, so a file
// modified shortly before it was read may have changed again unseen; until a tick has passed since
// its stamp, it is read again (and parsed again only when its bytes differ). Linux file systems
// with sub-second stamps tick in at most 10 ms; stamps in whole seconds may be two seconds coarse.
bool Settled(const struct stat& st, const timespec& readAt)
{
    int64_t stamp = std::max(Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim));
    int64_t tick = stamp % 1'000'000'000 != 0 ? 50'000'000 : 2'000'000'000;
    return stamp + tick < Nanoseconds(readAt);
}

// Reads a whole regular file. False with a reason when it cannot be read.
bool ReadWhole(const std::string& path, std::string& text, struct stat& st, std::string& reason)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        reason = std::strerror(errno);
        return false;
    }
    bool ok = ::fstat(fd, &st) == 0;
    if (!ok)
        reason = std::strerror(errno);
    else if (!S_ISREG(st.st_mode))
        ok = false, reason = "not a regular file";
    else if (static_cast<uint64_t>(st.st_size) > IniFile::kMaxFileSize)
        ok = false, reason = "larger than " + std::to_string(IniFile::kMaxFileSize >> 20) + " MB";
    text.clear();
    if (ok)
        text.reserve(static_cast<std::size_t>(st.st_size));
    char buf[65536];
    while (ok) {
        ssize_t got = ::read(fd, buf, sizeof buf);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ok = false;
            reason = std::strerror(errno);
        } else if (got == 0) {
            break;
        } else if (text.size() + static_cast<std::size_t>(got) > IniFile::kMaxFileSize) {
            ok = false;
            reason = "larger than " + std::to_string(IniFile::kMaxFileSize >> 20) + " MB";
        } else {
            text.append(buf, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    return ok;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

} // namespace

struct IniFile::Cache {
    enum class State { Unknown, Missing, Unreadable, Loaded } state = State::Unknown;
    Doc doc;
    struct stat st { };
    timespec readAt {};
    std::string error; // why an existing file could not be read

    void Reset(State s, std::string why = {})
    {
        if (state == State::Loaded || !doc.text.empty())
            doc.Clear();
        state = s;
        error = std::move(why);
    }
};

IniFile::IniFile(std::string path)
    : m_path(std::move(path))
    , m_cache(std::make_unique<Cache>())
{
}
IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

bool IniFile::Refresh() const
{
    Cache& c = *m_cache;
    struct stat st { };
    if (::stat(m_path.c_str(), &st) != 0) {
        int err = errno;
        if (err == ENOENT || err == ENOTDIR || m_path.empty())
            c.Reset(Cache::State::Missing);
        else
            c.Reset(Cache::State::Unreadable, std::strerror(err));
        return c.state == Cache::State::Missing;
    }
    if (c.state == Cache::State::Loaded && SameFile(st, c.st) && Settled(c.st, c.readAt))
        return true;
    timespec readAt = Now();
    std::string text;
    std::string reason;
    if (!ReadWhole(m_path, text, st, reason)) {
        c.Reset(Cache::State::Unreadable, reason);
        return false;
    }
    if (c.state != Cache::State::Loaded || text != c.doc.text) {
        c.doc.text = std::move(text);
        c.doc.Parse();
    }
    c.st = st;
    c.readAt = readAt;
    c.state = Cache::State::Loaded;
    return true;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    Refresh();
    const Line* l = m_cache->doc.FindKey(section, key);
    return std::string(l ? m_cache->doc.Value(*l) : def);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t def) const
{
    Refresh();
    const Line* l = m_cache->doc.FindKey(section, key);
    if (!l)
        return def;
    return ParseInteger(m_cache->doc.Value(*l)).value_or(def);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool IniFile::SectionExists(std::string_view section) const
{
    Refresh();
    return m_cache->doc.Find(section) != nullptr;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const
{
    Refresh();
    return m_cache->doc.FindKey(section, key) != nullptr;
}

std::vector<std::string> IniFile::ReadSection(std::string_view section) const
{
    Refresh();
    Doc& d = m_cache->doc;
    std::vector<std::string> out;
    if (const Section* s = d.Find(section))
        for (std::size_t line : s->keys)
            out.emplace_back(d.Name(d.lines[line]));
    return out;
}

std::vector<std::string> IniFile::ReadSections() const
{
    Refresh();
    Doc& d = m_cache->doc;
    std::vector<std::string> out;
    for (const Section& s : d.sections)
        out.emplace_back(d.Name(d.lines[s.blocks.front().header]));
    return out;
}

bool IniFile::Fail(const std::string& what)
{
    m_lastError = what;
    return false;
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    m_lastError.clear();
    if (std::string problem = NameProblem(section, key); !problem.empty())
        return Fail("Cannot write to " + m_path + ": " + problem);
    if (HasLineBreak(value))
        return Fail("Cannot write to " + m_path + ": the value of \"" + std::string(key) + "\" holds a line break");
    if (!Refresh())
        return Fail("Cannot read " + m_path + ": " + m_cache->error);
    Doc& d = m_cache->doc;
    std::string out;
    if (const Line* l = d.FindKey(section, key)) {
        if (d.Value(*l) == value)
            return true;
        out.reserve(d.text.size() + value.size());
        out.append(d.text, 0, l->valueBegin).append(value).append(d.text, l->valueEnd, std::string::npos);
    } else if (const Section* s = d.Find(section)) {
        // After the last entry of the section's first header.
        const Line& after = d.lines[s->blocks.front().lastEntry];
        std::string entry = std::string(key) + "=" + std::string(value);
        // A line ended by LF can take the entry after it; a last line without LF (nothing, or
        // stray CRs) gets a line end first.
        if (after.next > after.end && d.text[after.next - 1] == '\n')
            out.append(d.text, 0, after.next).append(entry).append(d.eol).append(d.text, after.next, std::string::npos);
        else
            out.append(d.text).append(d.eol).append(entry);
    } else {
        out = d.text;
        if (!d.lines.empty()) {
            if (d.text.back() != '\n')
                out += d.eol;
            if (d.lines.back().kind != Kind::Blank)
                out += d.eol;
        }
        out.append("[").append(section).append("]").append(d.eol);
        out.append(key).append("=").append(value).append(d.eol);
    }
    return Commit(out);
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value)
{
    return WriteString(section, key, std::to_string(value));
}

bool IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    return WriteString(section, key, value ? "1" : "0");
}

bool IniFile::EraseSection(std::string_view section)
{
    m_lastError.clear();
    if (!Refresh())
        return Fail("Cannot read " + m_path + ": " + m_cache->error);
    Doc& d = m_cache->doc;
    const Section* s = d.Find(section);
    if (!s)
        return true;
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const Block& b : s->blocks) {
        std::size_t last = b.lastEntry;
        while (last + 1 < b.end && d.lines[last + 1].kind == Kind::Blank)
            ++last;
        ranges.emplace_back(b.header, last);
    }
    return Commit(WithoutLines(d, ranges));
}

bool IniFile::DeleteKey(std::string_view section, std::string_view key)
{
    m_lastError.clear();
    if (!Refresh())
        return Fail("Cannot read " + m_path + ": " + m_cache->error);
    Doc& d = m_cache->doc;
    const Section* s = d.Find(section);
    if (!s || !d.FindKey(section, key))
        return true;
    const std::string wanted = LowerCopy(key);
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const Block& b : s->blocks)
        for (std::size_t i = b.header + 1; i < b.end; ++i)
            if (d.lines[i].kind == Kind::Key && LowerCopy(d.Name(d.lines[i])) == wanted)
                ranges.emplace_back(i, i);
    return Commit(WithoutLines(d, ranges));
}

bool IniFile::Commit(const std::string& text)
{
    // Write through a symbolic link to its target rather than replacing the link.
    std::string target = m_path;
    std::error_code ec;
    if (std::filesystem::is_symlink(m_path, ec)) {
        auto real = std::filesystem::canonical(m_path, ec);
        if (!ec)
            target = real.string();
    }
    struct stat orig { };
    const bool hadFile = ::stat(target.c_str(), &orig) == 0;

    // A name of our own beside the target; one left behind by a crash is stepped over.
    std::string temp;
    int fd = -1;
    for (int attempt = 1; attempt <= 100 && fd < 0; ++attempt) {
        temp = target + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return Fail("Cannot write " + m_path + ": " + std::strerror(errno));

    bool ok = true;
    if (hadFile) {
        ok = ::fchmod(fd, orig.st_mode & 07777) == 0;
        if (ok && ::fchown(fd, orig.st_uid, orig.st_gid) != 0) {
            // Only a privileged process can give the file back to its owner; the content matters more.
        }
    }
    ok = ok && WriteAll(fd, text) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        return Fail("Cannot write " + m_path + ": " + std::strerror(err));
    }
    // Make the rename itself durable.
    std::string folder = std::filesystem::path(target).parent_path().string();
    int dfd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }

    Cache& c = *m_cache;
    c.readAt = Now();
    if (::stat(m_path.c_str(), &c.st) != 0) {
        c.state = Cache::State::Unknown; // read again next time
        return true;
    }
    c.doc.text = text;
    c.doc.Parse();
    c.state = Cache::State::Loaded;
    c.error.clear();
    return true;
}

} // namespace zev
