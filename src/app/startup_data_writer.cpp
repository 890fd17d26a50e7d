#include "app/startup_data_writer.h"

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <limits>

namespace zev {

namespace {

constexpr std::size_t kMaxInt32 = static_cast<std::size_t>(std::numeric_limits<int32_t>::max());

void PutInt32(std::string& out, std::size_t value)
{
    auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutText(std::string& out, std::string_view text)
{
    out += text;
    out += '\0'; // filler
}

void PutGroups(std::string& out, const std::vector<NameGroup>& groups, bool byteLengths)
{
    for (const NameGroup& g : groups)
        PutInt32(out, g.name.size());
    for (const NameGroup& g : groups)
        PutText(out, g.name);
    for (const NameGroup& g : groups)
        PutInt32(out, g.items.size());
    for (const NameGroup& g : groups) {
        for (const std::string& item : g.items) {
            if (byteLengths)
                out += static_cast<char>(item.size());
            else
                PutInt32(out, item.size());
        }
        for (const std::string& item : g.items)
            PutText(out, item);
    }
}

std::string Header(char flag)
{
    std::string out(kStartupMagic);
    out += flag;
    return out;
}

std::string CheckCount(std::size_t count, std::size_t capacity, std::string_view table)
{
    if (count > capacity)
        return std::string(table) + " holds " + std::to_string(count) + " entries, more than its capacity of "
            + std::to_string(capacity);
    return {};
}

std::string CheckText(std::string_view text, std::size_t limit, std::string_view where)
{
    if (text.size() > limit)
        return std::string(where) + " is " + std::to_string(text.size()) + " bytes long, more than "
            + std::to_string(limit);
    return {};
}

std::string CheckGroups(
    const std::vector<NameGroup>& groups, std::size_t capacity, std::size_t itemLimit, std::string_view table)
{
    std::string problem = CheckCount(groups.size(), capacity, table);
    for (const NameGroup& g : groups) {
        if (problem.empty())
            problem = CheckText(g.name, kMaxInt32, "a group name of " + std::string(table));
        if (problem.empty() && g.items.size() > kMaxInt32)
            problem = "group \"" + g.name + "\" has too many items";
        for (const std::string& item : g.items)
            if (problem.empty())
                problem = CheckText(item, itemLimit, "an item of group \"" + g.name + "\"");
    }
    return problem;
}

} // namespace

std::string StartupDataWriter::Check() const
{
    const StartupTables& t = m_tables;
    std::string problem = CheckCount(t.stringsA.size(), kStringsACapacity, "string table A");
    if (problem.empty())
        problem = CheckCount(t.stringsB.size(), kStringsBCapacity, "string table B");
    if (problem.empty())
        problem = CheckCount(t.sites.size(), kSitesCapacity, "the site table");
    if (problem.empty())
        problem = CheckCount(t.flagged.size(), kFlaggedCapacity, "the flagged string table");
    for (const auto* table : { &t.stringsA, &t.stringsB })
        for (const std::string& s : *table)
            if (problem.empty())
                problem = CheckText(s, kMaxInt32, "a string");
    for (const SiteEntry& e : t.sites)
        for (const std::string& s : e.texts)
            if (problem.empty())
                problem = CheckText(s, kMaxInt32, "a site text");
    for (const FlaggedString& f : t.flagged)
        if (problem.empty())
            problem = CheckText(f.text, 255, "a flagged string");
    if (problem.empty())
        problem = CheckGroups(t.groupsA, kGroupsACapacity, 255, "the kind-A groups");
    if (problem.empty())
        problem = CheckGroups(t.groupsB, kGroupsBCapacity, kMaxInt32, "the kind-B groups");
    return problem;
}

std::string StartupDataWriter::Body() const
{
    const StartupTables& t = m_tables;
    std::string out;
    for (std::size_t count :
        { t.stringsB.size(), t.sites.size(), t.groupsA.size(), t.stringsA.size(), t.flagged.size(), t.groupsB.size() })
        PutInt32(out, count);
    for (const auto* table : { &t.stringsA, &t.stringsB }) {
        for (const std::string& s : *table)
            PutInt32(out, s.size());
        for (const std::string& s : *table)
            PutText(out, s);
    }
    for (const SiteEntry& e : t.sites)
        for (const std::string& s : e.texts)
            PutInt32(out, s.size());
    for (const SiteEntry& e : t.sites)
        for (const std::string& s : e.texts)
            PutText(out, s);
    PutGroups(out, t.groupsA, true);
    for (const FlaggedString& f : t.flagged)
        out += static_cast<char>(f.text.size());
    for (const FlaggedString& f : t.flagged) {
        PutText(out, f.text);
        out += static_cast<char>(f.flag);
    }
    PutGroups(out, t.groupsB, false);
    return out;
}

std::string StartupDataWriter::Bytes(bool compressed) const
{
    if (!Check().empty())
        return {};
    std::string plain = Header('\0') + Body();
    return compressed ? WrapCompressed(plain) : plain;
}

std::string StartupDataWriter::WrapCompressed(std::string_view innerFile)
{
    uLongf size = compressBound(static_cast<uLong>(innerFile.size()));
    std::string stream(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(stream.data()), &size, reinterpret_cast<const Bytef*>(innerFile.data()),
            static_cast<uLong>(innerFile.size()), Z_BEST_COMPRESSION)
            != Z_OK
        || size > kMaxInt32)
        return {};
    stream.resize(size);
    std::string out = Header(static_cast<char>(kStartupCompressedFlag));
    PutInt32(out, 0); // reserved
    PutInt32(out, stream.size());
    return out + stream;
}

bool StartupDataWriter::WriteFile(const std::string& path, bool compressed, std::string& error) const
{
    error = Check();
    if (!error.empty())
        return false;
    std::string bytes = Bytes(compressed);
    if (bytes.empty()) {
        error = "cannot compress the data";
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool ReadStartupSource(std::string_view text, StartupTables& tables, std::string& error)
{
    constexpr std::string_view kOpen = "[group ";
    NameGroup* group = nullptr;
    std::size_t lineNo = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        auto fail = [&](const std::string& what) {
            error = "line " + std::to_string(lineNo) + ": " + what;
            return false;
        };
        if (line.find_first_not_of(" \t") == std::string_view::npos || line.front() == '#')
            continue;
        if (line.front() == '[') {
            if (!line.starts_with(kOpen) || line.back() != ']')
                return fail("expected \"[group NAME]\"");
            std::string_view name = line.substr(kOpen.size(), line.size() - kOpen.size() - 1);
            if (name.empty())
                return fail("a group needs a name");
            for (const NameGroup& g : tables.groupsB)
                if (g.name == name)
                    return fail("group \"" + std::string(name) + "\" appears twice");
            if (tables.groupsB.size() >= kGroupsBCapacity)
                return fail("more than " + std::to_string(kGroupsBCapacity) + " groups");
            tables.groupsB.push_back(NameGroup { std::string(name), {} });
            group = &tables.groupsB.back();
            continue;
        }
        if (!group)
            return fail("an item before the first \"[group NAME]\" line");
        if (line.front() == '\\')
            line.remove_prefix(1);
        group->items.emplace_back(line);
    }
    return true;
}

} // namespace zev
