#include "app/startup_data.h"

#include <zlib.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <new>

namespace zev {

namespace {

// Why reading stopped; caught at the top of the load, never leaves it.
struct Stop {
    std::string what;
};

constexpr std::string_view kKeptWhatWasRead = ", kept what was read";

// Field-by-field reading of one file image. Nothing is ever sized by a count from the file: every
// table grows one entry at a time, so memory stays bounded by the bytes actually present.
class FieldReader {
public:
    FieldReader(std::string_view bytes, std::size_t pos, std::string_view image)
        : m_bytes(bytes)
        , m_pos(pos)
        , m_image(image)
    {
    }

    void SetSection(std::string_view section) { m_section = section; }
    std::size_t Remaining() const { return m_bytes.size() - m_pos; }
    std::size_t Pos() const { return m_pos; }

    uint8_t Byte()
    {
        if (Remaining() < 1)
            Truncated();
        return static_cast<uint8_t>(m_bytes[m_pos++]);
    }

    int32_t Int32()
    {
        if (Remaining() < 4)
            Truncated();
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | static_cast<uint8_t>(m_bytes[m_pos + static_cast<std::size_t>(i)]);
        m_pos += 4;
        return static_cast<int32_t>(v);
    }

    // An int32 that must not be negative: a count or a length.
    std::size_t NonNegative(std::string_view what)
    {
        std::size_t at = m_pos;
        int32_t v = Int32();
        if (v < 0)
            Fail("negative " + std::string(what) + " " + std::to_string(v) + " in " + std::string(m_section)
                + " at byte " + std::to_string(at));
        return static_cast<std::size_t>(v);
    }

    // A text and its filler byte. A text cut by the end of the data keeps the part present.
    void Text(std::size_t length, std::string& out)
    {
        std::size_t n = std::min(length, Remaining());
        out.assign(m_bytes.substr(m_pos, n));
        m_pos += n;
        if (n < length)
            Truncated();
        Byte();
    }

    [[noreturn]] void Fail(const std::string& what) const { throw Stop { what + std::string(kKeptWhatWasRead) }; }

    [[noreturn]] void Truncated() const
    {
        Fail(std::string(m_image) + "truncated at byte " + std::to_string(m_bytes.size()) + " while reading "
            + std::string(m_section));
    }

private:
    std::string_view m_bytes;
    std::size_t m_pos;
    std::string_view m_image;
    std::string_view m_section;
};

// Counts are checked when their block is reached, so the blocks before a bad count are kept.
std::size_t CheckCount(const FieldReader& r, int32_t count, std::size_t capacity, std::string_view section)
{
    if (count < 0)
        r.Fail("negative count " + std::to_string(count) + " for " + std::string(section));
    if (static_cast<std::size_t>(count) > capacity)
        r.Fail(std::to_string(count) + " entries for " + std::string(section) + " exceed the capacity of "
            + std::to_string(capacity));
    return static_cast<std::size_t>(count);
}

std::vector<std::size_t> Lengths(FieldReader& r, std::size_t count)
{
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < count; ++i)
        lengths.push_back(r.NonNegative("text length"));
    return lengths;
}

void ReadStrings(
    FieldReader& r, int32_t fileCount, std::size_t capacity, std::string_view section, std::vector<std::string>& out)
{
    r.SetSection(section);
    std::size_t count = CheckCount(r, fileCount, capacity, section);
    for (std::size_t length : Lengths(r, count)) {
        out.emplace_back();
        r.Text(length, out.back());
    }
}

void ReadSites(FieldReader& r, int32_t fileCount, std::vector<SiteEntry>& out)
{
    r.SetSection("the site table");
    std::size_t count = CheckCount(r, fileCount, kSitesCapacity, "the site table");
    std::vector<std::size_t> lengths = Lengths(r, count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        out.emplace_back();
        for (std::size_t k = 0; k < 3; ++k)
            r.Text(lengths[i * 3 + k], out.back().texts[k]);
    }
}

void ReadFlagged(FieldReader& r, int32_t fileCount, std::vector<FlaggedString>& out)
{
    r.SetSection("the flagged string table");
    std::size_t count = CheckCount(r, fileCount, kFlaggedCapacity, "the flagged string table");
    std::vector<std::size_t> lengths;
    for (std::size_t i = 0; i < count; ++i)
        lengths.push_back(r.Byte());
    for (std::size_t length : lengths) {
        out.emplace_back();
        r.Text(length, out.back().text);
        out.back().flag = r.Byte();
    }
}

// Groups of the file are appended to those held; those that no longer fit are read past and dropped.
void ReadGroups(FieldReader& r, int32_t fileCount, std::size_t capacity, bool byteLengths, std::string_view section,
    std::vector<NameGroup>& held, std::vector<std::string>& notes)
{
    r.SetSection(section);
    std::size_t count = CheckCount(r, fileCount, capacity, section);
    std::size_t base = held.size();
    std::size_t kept = std::min(count, capacity - std::min(base, capacity));
    if (kept < count)
        notes.push_back(std::to_string(count - kept) + " of " + std::string(section)
            + " not added, the table is full (capacity " + std::to_string(capacity) + ")");
    NameGroup dropped;
    auto group = [&](std::size_t i) -> NameGroup& { return i < kept ? held[base + i] : dropped; };

    std::vector<std::size_t> nameLengths = Lengths(r, count);
    for (std::size_t i = 0; i < count; ++i) {
        if (i < kept)
            held.emplace_back();
        r.Text(nameLengths[i], group(i).name);
    }
    std::vector<std::size_t> itemCounts;
    for (std::size_t i = 0; i < count; ++i)
        itemCounts.push_back(r.NonNegative("item count"));
    for (std::size_t i = 0; i < count; ++i) {
        NameGroup& g = group(i);
        g.items.clear();
        std::vector<std::size_t> lengths;
        for (std::size_t j = 0; j < itemCounts[i]; ++j)
            lengths.push_back(byteLengths ? r.Byte() : r.NonNegative("item length"));
        for (std::size_t length : lengths) {
            g.items.emplace_back();
            r.Text(length, g.items.back());
        }
    }
}

void ReadBody(FieldReader& r, StartupTables& t, std::vector<std::string>& notes)
{
    t.stringsA.clear();
    t.stringsB.clear();
    t.sites.clear();
    t.flagged.clear();
    r.SetSection("the table counts");
    int32_t countB = r.Int32();
    int32_t countS = r.Int32();
    int32_t countGA = r.Int32();
    int32_t countA = r.Int32();
    int32_t countF = r.Int32();
    int32_t countGB = r.Int32();
    ReadStrings(r, countA, kStringsACapacity, "string table A", t.stringsA);
    ReadStrings(r, countB, kStringsBCapacity, "string table B", t.stringsB);
    ReadSites(r, countS, t.sites);
    ReadGroups(r, countGA, kGroupsACapacity, true, "the kind-A groups", t.groupsA, notes);
    ReadFlagged(r, countF, t.flagged);
    ReadGroups(r, countGB, kGroupsBCapacity, false, "the kind-B groups", t.groupsB, notes);
}

// Inflates a complete zlib stream in memory, refusing one that is damaged, ends early or grows too large.
std::string Inflate(std::string_view in)
{
    z_stream zs {};
    if (inflateInit(&zs) != Z_OK)
        throw Stop { "cannot start zlib, the compressed body was not read" };
    struct End {
        z_stream* zs;
        ~End() { inflateEnd(zs); }
    } end { &zs };
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = static_cast<uInt>(in.size());
    std::string out;
    constexpr std::size_t kChunk = 64 * 1024;
    for (;;) {
        if (out.size() > kMaxInflatedSize)
            throw Stop { "the compressed body inflates to more than " + std::to_string(kMaxInflatedSize >> 20)
                + " MiB, nothing of it read" };
        std::size_t old = out.size();
        std::size_t room = std::min(kChunk, kMaxInflatedSize + 1 - old);
        out.resize(old + room);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + old);
        zs.avail_out = static_cast<uInt>(room);
        int rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(old + room - zs.avail_out);
        if (rc == Z_STREAM_END)
            return out;
        if (rc == Z_BUF_ERROR && zs.avail_in == 0)
            throw Stop { "the compressed body ends before its zlib stream does, nothing of it read" };
        if (rc != Z_OK && rc != Z_BUF_ERROR)
            throw Stop { "the compressed body cannot be inflated (zlib: "
                + std::string(zs.msg ? zs.msg : "error " + std::to_string(rc)) + "), nothing of it read" };
    }
}

bool HasMagic(std::string_view bytes)
{
    return bytes.substr(0, kStartupMagic.size()) == kStartupMagic;
}

} // namespace

bool StartupData::LoadStartupDataFromBytes(std::string_view bytes, Logger& log, std::string_view sourceName)
{
    return Load(bytes, log, sourceName, {});
}

bool StartupData::Load(std::string_view bytes, Logger& log, std::string_view sourceName, std::vector<std::string> notes)
{
    m_loadProblem.clear();
    if (!HasMagic(bytes))
        return false;
    bool magicRight = true;
    std::string inflated;
    try {
        FieldReader outer(bytes, kStartupMagic.size(), "");
        outer.SetSection("the flag byte");
        if (outer.Byte() != kStartupCompressedFlag) {
            ReadBody(outer, m_tables, notes);
        } else {
            outer.SetSection("the compressed body's header");
            outer.Int32(); // reserved
            std::size_t length = outer.NonNegative("length");
            if (length > outer.Remaining())
                throw Stop { "the compressed body of " + std::to_string(length)
                    + " bytes runs past the end of the file (" + std::to_string(outer.Remaining())
                    + " bytes left), nothing of it read" };
            inflated = Inflate(bytes.substr(outer.Pos(), length));
            if (!HasMagic(inflated)) {
                magicRight = false;
            } else {
                FieldReader inner(inflated, kStartupMagic.size(), "the inflated body ");
                inner.SetSection("the inner flag byte");
                if (inner.Byte() == kStartupCompressedFlag)
                    throw Stop { "the compressed body is compressed again, nothing of it read" };
                ReadBody(inner, m_tables, notes);
            }
        }
    } catch (const Stop& stop) {
        notes.push_back(stop.what);
    } catch (const std::bad_alloc&) {
        notes.push_back("out of memory while reading" + std::string(kKeptWhatWasRead));
    }
    for (const std::string& note : notes) {
        std::string line = std::string(sourceName) + ": " + note;
        log.Log(line, kMainApp);
        if (!m_loadProblem.empty())
            m_loadProblem += '\n';
        m_loadProblem += line;
    }
    return magicRight;
}

bool StartupData::LoadStartupData(const std::string& fileName, Logger& log)
{
    m_loadProblem.clear();
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    // Stop soon past the limit, so a huge file costs no more than a large compressed body would.
    std::string bytes;
    std::string chunk(64 * 1024, '\0');
    while (in && bytes.size() <= kMaxInflatedSize) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        bytes.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    }
    std::vector<std::string> notes;
    if (bytes.size() > kMaxInflatedSize) {
        bytes.resize(kMaxInflatedSize);
        notes.push_back("larger than " + std::to_string(kMaxInflatedSize >> 20) + " MiB, only its beginning is read");
    }
    return Load(bytes, log, fileName, std::move(notes));
}

const NameGroup* StartupData::FindGroupB(std::string_view name) const
{
    for (const NameGroup& g : m_tables.groupsB)
        if (g.name == name)
            return &g;
    return nullptr;
}

std::string StartupData::RandomGroupText(std::string_view groupName, Logger& log, Random& random) const
{
    const NameGroup* g = FindGroupB(groupName);
    if (!g)
        return "Error";
    auto count = static_cast<int32_t>(std::min<std::size_t>(g->items.size(), std::numeric_limits<int32_t>::max()));
    int32_t index = random.Below(count);
    log.Log("RandomDataCNT: " + std::to_string(count) + " index: " + std::to_string(index), kMainApp);
    return count == 0 ? std::string() : g->items[static_cast<std::size_t>(index)];
}

} // namespace zev
