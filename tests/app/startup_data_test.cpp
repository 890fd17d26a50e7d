#include <gtest/gtest.h>
#include <zlib.h>

#include <set>
#include <string>
#include <vector>

#include "app/startup_data.h"
#include "app/startup_data_writer.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

// Hand-assembled file bytes, independent of the writer.
struct Raw {
    std::string s;
    Raw& i32(int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            s += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
        return *this;
    }
    Raw& u8(int v)
    {
        s += static_cast<char>(v);
        return *this;
    }
    Raw& text(std::string_view t)
    {
        s += t;
        s += '\0';
        return *this;
    }
    Raw& raw(std::string_view t)
    {
        s += t;
        return *this;
    }
};

Raw Head(int flag = 0)
{
    return Raw {}.raw("WLSDATA").u8(flag);
}

StartupTables Sample()
{
    StartupTables t;
    t.stringsA = { "alpha", "", "gamma" };
    t.stringsB = { "b0", "b1 is longer" };
    t.sites = { SiteEntry { { "Harbour", "a quiet town", "north" } }, SiteEntry { { "", "", "x" } } };
    t.groupsA = { NameGroup { "Names", { "Ann", "", "Bo" } }, NameGroup { "Empty", {} },
        NameGroup { "Long", { std::string(255, 'q') } } };
    t.flagged = { FlaggedString { "first", 1 }, FlaggedString { "", 0 }, FlaggedString { "x", 255 } };
    t.groupsB
        = { NameGroup { "Except_MSG", { "one", "two", "three" } }, NameGroup { "Big", { std::string(300, 'z'), "" } } };
    return t;
}

// How much of the tables a load kept: grows with every byte of a file.
std::size_t Amount(const StartupTables& t)
{
    std::size_t n = 0;
    auto texts = [&](const std::vector<std::string>& v) {
        for (const std::string& s : v)
            n += 1 + s.size();
    };
    texts(t.stringsA);
    texts(t.stringsB);
    for (const SiteEntry& e : t.sites)
        texts({ e.texts.begin(), e.texts.end() });
    for (const auto* groups : { &t.groupsA, &t.groupsB }) {
        for (const NameGroup& g : *groups) {
            n += 1 + g.name.size();
            texts(g.items);
        }
    }
    for (const FlaggedString& f : t.flagged)
        n += 1 + f.text.size() + f.flag;
    return n;
}

bool TextsArePrefixes(const std::vector<std::string>& part, const std::vector<std::string>& full)
{
    if (part.size() > full.size())
        return false;
    for (std::size_t i = 0; i < part.size(); ++i)
        if (!full[i].starts_with(part[i]))
            return false;
    return true;
}

bool GroupsArePrefixes(const std::vector<NameGroup>& part, const std::vector<NameGroup>& full)
{
    if (part.size() > full.size())
        return false;
    for (std::size_t i = 0; i < part.size(); ++i)
        if (!full[i].name.starts_with(part[i].name) || !TextsArePrefixes(part[i].items, full[i].items))
            return false;
    return true;
}

// Every entry kept is the start of the full one; no entry appears that the full tables lack.
::testing::AssertionResult IsPrefix(const StartupTables& part, const StartupTables& full)
{
    auto flat = [](const std::vector<SiteEntry>& sites) {
        std::vector<std::string> out;
        for (const SiteEntry& e : sites)
            out.insert(out.end(), e.texts.begin(), e.texts.end());
        return out;
    };
    std::vector<std::string> partFlagged, fullFlagged;
    for (const FlaggedString& f : part.flagged)
        partFlagged.push_back(f.text + (f.flag ? std::string(1, static_cast<char>(f.flag)) : ""));
    for (const FlaggedString& f : full.flagged)
        fullFlagged.push_back(f.text + std::string(1, static_cast<char>(f.flag)));
    if (!TextsArePrefixes(part.stringsA, full.stringsA) || !TextsArePrefixes(part.stringsB, full.stringsB)
        || part.sites.size() > full.sites.size() || !TextsArePrefixes(flat(part.sites), flat(full.sites))
        || !GroupsArePrefixes(part.groupsA, full.groupsA) || !TextsArePrefixes(partFlagged, fullFlagged)
        || !GroupsArePrefixes(part.groupsB, full.groupsB))
        return ::testing::AssertionFailure() << "the tables kept are not a prefix of the file's";
    return ::testing::AssertionSuccess();
}

struct StartupFixture : ::testing::Test {
    Logger log;
    test::LogCapture capture { log };
    StartupData data;
    Random random { 42 };
};

TEST_F(StartupFixture, FlagZeroWithAllCountsZeroLoadsEmptyTables)
{
    std::string bytes = Head(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).s;
    EXPECT_EQ(StartupDataWriter(StartupTables {}).Bytes(false), bytes);
    ASSERT_TRUE(data.LoadStartupDataFromBytes(bytes, log));
    EXPECT_EQ(data.tables(), StartupTables {});
    EXPECT_EQ(data.RandomGroupText("Except_MSG", log, random), "Error");
    EXPECT_TRUE(capture.lines.empty());
}

TEST_F(StartupFixture, ReadsTheDocumentedLayout)
{
    // counts B S GA A F GB, then A, B, sites, kind-A groups, flagged strings, kind-B groups
    Raw r = Head(7);
    r.i32(1).i32(1).i32(1).i32(1).i32(1).i32(1);
    r.i32(2).text("aa");
    r.i32(3).text("bbb");
    r.i32(1).i32(0).i32(2).text("s").text("").text("tt");
    r.i32(1).text("G").i32(2).u8(1).u8(2).text("x").text("yy");
    r.u8(4).text("flag").u8(9);
    r.i32(10).text("Except_MSG").i32(1).i32(5).text("hello");
    StartupTables want;
    want.stringsA = { "aa" };
    want.stringsB = { "bbb" };
    want.sites = { SiteEntry { { "s", "", "tt" } } };
    want.groupsA = { NameGroup { "G", { "x", "yy" } } };
    want.flagged = { FlaggedString { "flag", 9 } };
    want.groupsB = { NameGroup { "Except_MSG", { "hello" } } };
    ASSERT_TRUE(data.LoadStartupDataFromBytes(r.s, log));
    EXPECT_EQ(data.tables(), want);
    EXPECT_EQ(data.loadProblem(), "");
    std::string written = StartupDataWriter(want).Bytes(false);
    written[7] = 7; // the writer's flag is 0; everything else must match byte for byte
    EXPECT_EQ(written, r.s);
}

TEST_F(StartupFixture, EveryTableReadsBackCompressedOrNot)
{
    StartupTables full = Sample();
    StartupDataWriter writer(full);
    ASSERT_EQ(writer.Check(), "");
    std::string plain = writer.Bytes(false);
    std::string packed = writer.Bytes(true);
    ASSERT_EQ(packed[7], 1);
    // The compressed form holds a complete uncompressed file.
    std::string inner(plain.size(), '\0');
    uLongf size = inner.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(inner.data()), &size,
                  reinterpret_cast<const Bytef*>(packed.data()) + 16, packed.size() - 16),
        Z_OK);
    EXPECT_EQ(inner.substr(0, size), plain);

    StartupData other;
    ASSERT_TRUE(data.LoadStartupDataFromBytes(plain, log));
    ASSERT_TRUE(other.LoadStartupDataFromBytes(packed, log));
    EXPECT_EQ(data.tables(), full);
    EXPECT_EQ(other.tables(), full);
    EXPECT_TRUE(capture.lines.empty());
}

TEST_F(StartupFixture, RandomGroupTextPicksEveryItemAndLogsTheDraw)
{
    StartupTables t;
    t.groupsB = { NameGroup { "Empty", {} }, NameGroup { "Except_MSG", { "one", "two", "three" } },
        NameGroup { "Except_MSG", { "shadowed" } } };
    ASSERT_TRUE(data.LoadStartupDataFromBytes(StartupDataWriter(t).Bytes(false), log));
    std::set<std::string> seen;
    for (int i = 0; i < 60; ++i) {
        std::string text = data.RandomGroupText("Except_MSG", log, random);
        ASSERT_FALSE(text.empty());
        seen.insert(text);
        const auto& [message, category] = capture.lines.back();
        EXPECT_EQ(category, "MainApp");
        int index = text == "one" ? 0 : text == "two" ? 1 : 2;
        EXPECT_EQ(message, "RandomDataCNT: 3 index: " + std::to_string(index));
    }
    EXPECT_EQ(seen, (std::set<std::string> { "one", "two", "three" }));
    EXPECT_EQ(data.RandomGroupText("Empty", log, random), "");
    EXPECT_EQ(capture.lines.back().first, "RandomDataCNT: 0 index: 0");
    std::size_t lines = capture.lines.size();
    EXPECT_EQ(data.RandomGroupText("except_msg", log, random), "Error"); // exact names only
    EXPECT_EQ(capture.lines.size(), lines);
}

TEST_F(StartupFixture, EveryPrefixOfAFileLoadsWhatItHolds)
{
    StartupTables full = Sample();
    std::string plain = StartupDataWriter(full).Bytes(false);
    std::size_t last = 0;
    for (std::size_t n = 0; n <= plain.size(); ++n) {
        SCOPED_TRACE(n);
        StartupData part;
        bool ok = part.LoadStartupDataFromBytes(std::string_view(plain).substr(0, n), log);
        ASSERT_EQ(ok, n >= 7);
        ASSERT_TRUE(IsPrefix(part.tables(), full));
        ASSERT_GE(Amount(part.tables()), last);
        last = Amount(part.tables());
        if (n >= 7 && n < plain.size())
            ASSERT_NE(
                part.loadProblem().find("truncated at byte " + std::to_string(n) + " while reading"), std::string::npos)
                << part.loadProblem();
        else
            ASSERT_EQ(part.loadProblem(), "");
    }
    EXPECT_EQ(last, Amount(full));

    std::string packed = StartupDataWriter(full).Bytes(true);
    for (std::size_t n = 7; n < packed.size(); ++n) {
        StartupData part;
        ASSERT_TRUE(part.LoadStartupDataFromBytes(std::string_view(packed).substr(0, n), log)) << n;
        ASSERT_EQ(part.tables(), StartupTables {}) << n; // a compressed body is read whole or not at all
        ASSERT_NE(part.loadProblem(), "") << n;
    }
}

TEST_F(StartupFixture, ATextCutByTheEndKeepsWhatWasRead)
{
    std::string bytes = Head().i32(0).i32(0).i32(0).i32(1).i32(0).i32(0).i32(0x7FFFFFFF).raw("abc").s;
    ASSERT_TRUE(data.LoadStartupDataFromBytes(bytes, log));
    EXPECT_EQ(data.stringsA(), std::vector<std::string> { "abc" });
    ASSERT_EQ(capture.lines.size(), 1u);
    EXPECT_EQ(capture.lines[0].first,
        "messages.dat: truncated at byte " + std::to_string(bytes.size())
            + " while reading string table A, kept what was read");
}

TEST_F(StartupFixture, HostileCountsAreRefusedAndEarlierBlocksKept)
{
    StartupTables full = Sample();
    std::string plain = StartupDataWriter(full).Bytes(false);
    // Count fields in file order B S GA A F GB; the blocks are read A B S GA F GB.
    const int blockOf[6] = { 1, 2, 3, 0, 4, 5 };
    const int32_t over[6] = { 502, 502, 52, 12, 502, 162 };
    for (int k = 0; k < 6; ++k) {
        for (int32_t bad : { over[k], int32_t { 0x7FFFFFFF }, int32_t { -1 }, int32_t { -0x7FFFFFFF - 1 } }) {
            SCOPED_TRACE(std::to_string(k) + " " + std::to_string(bad));
            std::string bytes = plain;
            std::string patch = Raw {}.i32(bad).s;
            bytes.replace(8 + 4 * static_cast<std::size_t>(k), 4, patch);
            StartupData d;
            ASSERT_TRUE(d.LoadStartupDataFromBytes(bytes, log));
            EXPECT_NE(d.loadProblem().find(bad < 0 ? "negative count" : "exceed the capacity"), std::string::npos)
                << d.loadProblem();
            const StartupTables& t = d.tables();
            std::size_t sizes[6] = { t.stringsA.size(), t.stringsB.size(), t.sites.size(), t.groupsA.size(),
                t.flagged.size(), t.groupsB.size() };
            std::size_t fullSizes[6] = { 3, 2, 2, 3, 3, 2 };
            for (int b = 0; b < 6; ++b)
                EXPECT_EQ(sizes[b], b < blockOf[k] ? fullSizes[b] : 0u) << "block " << b;
        }
    }
}

TEST_F(StartupFixture, HostileLengthsAndItemCountsAreRefused)
{
    std::string negative = Head().i32(0).i32(0).i32(0).i32(1).i32(0).i32(0).i32(-2).text("x").s;
    ASSERT_TRUE(data.LoadStartupDataFromBytes(negative, log));
    EXPECT_TRUE(data.stringsA().empty());
    EXPECT_NE(data.loadProblem().find("negative text length -2 in string table A"), std::string::npos);

    // A huge item count in a short file: read until the end, nothing sized by the count.
    Raw huge = Head().i32(0).i32(0).i32(0).i32(0).i32(0).i32(1).i32(1).text("G").i32(0x7FFFFFFF);
    huge.i32(1).i32(2).i32(3);
    StartupData d;
    ASSERT_TRUE(d.LoadStartupDataFromBytes(huge.s, log));
    ASSERT_EQ(d.groupsB().size(), 1u);
    EXPECT_EQ(d.groupsB()[0], (NameGroup { "G", {} }));
    EXPECT_NE(d.loadProblem().find("truncated"), std::string::npos);

    std::string negItems = Head().i32(0).i32(0).i32(1).i32(0).i32(0).i32(0).i32(1).text("G").i32(-5).s;
    StartupData e;
    ASSERT_TRUE(e.LoadStartupDataFromBytes(negItems, log));
    EXPECT_NE(e.loadProblem().find("negative item count -5 in the kind-A groups"), std::string::npos);
}

TEST_F(StartupFixture, DamagedCompressedBodiesAreRefused)
{
    std::string plain = StartupDataWriter(Sample()).Bytes(false);
    std::string packed = StartupDataWriter::WrapCompressed(plain);
    auto load = [&](const std::string& bytes) {
        StartupData d;
        bool ok = d.LoadStartupDataFromBytes(bytes, log);
        EXPECT_EQ(d.tables(), StartupTables {});
        return std::make_pair(ok, d.loadProblem());
    };
    std::string corrupt = packed;
    for (std::size_t i = 20; i < corrupt.size(); i += 7)
        corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
    auto [corruptOk, corruptLine] = load(corrupt);
    EXPECT_TRUE(corruptOk);
    EXPECT_TRUE(corruptLine.starts_with("messages.dat: the compressed body cannot be inflated (zlib: ")) << corruptLine;

    std::string shortLength = packed;
    shortLength.replace(12, 4, Raw {}.i32(static_cast<int32_t>(packed.size() - 16 - 5)).s);
    EXPECT_NE(load(shortLength).second.find("ends before its zlib stream does"), std::string::npos);
    std::string longLength = packed;
    longLength.replace(12, 4, Raw {}.i32(0x7FFFFFFF).s);
    EXPECT_NE(load(longLength).second.find("runs past the end of the file"), std::string::npos);
    std::string negLength = packed;
    negLength.replace(12, 4, Raw {}.i32(-1).s);
    EXPECT_NE(load(negLength).second.find("negative length -1"), std::string::npos);

    EXPECT_NE(load(StartupDataWriter::WrapCompressed(packed)).second.find("compressed again"), std::string::npos);
    EXPECT_EQ(
        load(StartupDataWriter::WrapCompressed("NOTDATA" + plain.substr(7))), std::make_pair(false, std::string()));

    std::string bomb = "WLSDATA";
    bomb += '\0';
    bomb.resize(kMaxInflatedSize + 1024, '\0');
    EXPECT_NE(load(StartupDataWriter::WrapCompressed(bomb)).second.find("more than 64 MiB"), std::string::npos);
}

TEST_F(StartupFixture, MissingFilesAndWrongMagicLoadNothingSilently)
{
    test::TempDir dir;
    EXPECT_FALSE(data.LoadStartupData(dir.File("messages.dat"), log));
    EXPECT_FALSE(data.LoadStartupData(dir.path(), log));
    EXPECT_FALSE(data.LoadStartupData(dir.Write("bad.dat", "WLSDATB" + std::string(40, '\0')), log));
    EXPECT_FALSE(data.LoadStartupDataFromBytes("WLSDAT", log));
    EXPECT_TRUE(capture.lines.empty());
    EXPECT_TRUE(data.LoadStartupDataFromBytes("WLSDATA", log)); // right magic, nothing else
    EXPECT_EQ(
        capture.lines.at(0).first, "messages.dat: truncated at byte 7 while reading the flag byte, kept what was read");
}

TEST_F(StartupFixture, LoadingASecondFileAppendsGroupsUpToCapacity)
{
    test::TempDir dir;
    StartupTables first = Sample();
    for (int i = 0; i < 45; ++i)
        first.groupsA.push_back(NameGroup { "a" + std::to_string(i), { "item" } });
    for (int i = 0; i < 98; ++i)
        first.groupsB.push_back(NameGroup { "b" + std::to_string(i), { std::to_string(i) } });
    ASSERT_EQ(first.groupsA.size(), 48u);
    ASSERT_EQ(first.groupsB.size(), 100u);
    std::string path = dir.File("one.dat");
    std::string error;
    ASSERT_TRUE(StartupDataWriter(first).WriteFile(path, true, error)) << error;

    ASSERT_TRUE(data.LoadStartupData(path, log));
    EXPECT_EQ(data.tables(), first);
    ASSERT_TRUE(data.LoadStartupData(path, log));
    EXPECT_EQ(data.stringsA(), first.stringsA); // plain tables are replaced, not doubled
    EXPECT_EQ(data.flagged(), first.flagged); // read past the dropped kind-A groups
    ASSERT_EQ(data.groupsA().size(), kGroupsACapacity);
    ASSERT_EQ(data.groupsB().size(), kGroupsBCapacity);
    EXPECT_EQ(data.groupsA()[48], first.groupsA[0]);
    EXPECT_EQ(data.groupsB()[160], first.groupsB[60]);
    EXPECT_EQ(capture.Messages(),
        (std::vector<std::string> { path + ": 45 of the kind-A groups not added, the table is full (capacity 51)",
            path + ": 39 of the kind-B groups not added, the table is full (capacity 161)" }));
}

TEST(StartupDataWriterTest, RefusesTablesTheLayoutCannotHold)
{
    StartupTables t;
    t.flagged = { FlaggedString { std::string(256, 'f'), 0 } };
    EXPECT_NE(StartupDataWriter(t).Check().find("flagged string is 256 bytes long"), std::string::npos);
    EXPECT_EQ(StartupDataWriter(t).Bytes(false), "");
    t = {};
    t.groupsA = { NameGroup { "g", { std::string(256, 'i') } } };
    EXPECT_NE(StartupDataWriter(t).Check(), "");
    t = {};
    t.stringsA.resize(kStringsACapacity + 1);
    EXPECT_NE(StartupDataWriter(t).Check().find("capacity of 11"), std::string::npos);
    t.stringsA.resize(kStringsACapacity);
    EXPECT_EQ(StartupDataWriter(t).Check(), "");
}

TEST(StartupSourceTest, ReadsGroupsAndReportsTheLineOfAnError)
{
    StartupTables t;
    std::string error;
    ASSERT_TRUE(ReadStartupSource("# comment\r\n\n[group Except_MSG]\r\nfirst line\n  \n\\# not a comment\n\\\n"
                                  "[group Other]\nx",
        t, error))
        << error;
    ASSERT_EQ(t.groupsB.size(), 2u);
    EXPECT_EQ(t.groupsB[0], (NameGroup { "Except_MSG", { "first line", "# not a comment", "" } }));
    EXPECT_EQ(t.groupsB[1], (NameGroup { "Other", { "x" } }));

    auto failure = [](std::string_view text) {
        StartupTables tables;
        std::string e;
        EXPECT_FALSE(ReadStartupSource(text, tables, e));
        return e;
    };
    EXPECT_EQ(failure("# c\nloose item\n"), "line 2: an item before the first \"[group NAME]\" line");
    EXPECT_EQ(failure("[group A]\n[group A]\n"), "line 2: group \"A\" appears twice");
    EXPECT_EQ(failure("[groups A]\n"), "line 1: expected \"[group NAME]\"");
    EXPECT_EQ(failure("[group ]\n"), "line 1: a group needs a name");
}

TEST(ShippedStartupData, HasTheErrorReportLines)
{
    std::string path = std::string(ZEV_DIST_DIR) + "/messages.dat";
    std::string bytes = test::ReadFileBytes(path);
    ASSERT_GT(bytes.size(), 8u) << path << " is missing: build the zev_messages_dat target";
    EXPECT_EQ(bytes[7], 1); // shipped compressed
    Logger log;
    StartupData data;
    ASSERT_TRUE(data.LoadStartupData(path, log));
    EXPECT_EQ(data.loadProblem(), "");
    const NameGroup* lines = data.FindGroupB("Except_MSG");
    ASSERT_NE(lines, nullptr);
    EXPECT_GE(lines->items.size(), 12u);
    for (const std::string& line : lines->items)
        EXPECT_FALSE(line.empty());
}

} // namespace
} // namespace zev
