#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "base/ini_file.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

using Names = std::vector<std::string>;

struct IniFixture : ::testing::Test {
    test::TempDir dir;
    std::string path = dir.File("test.ini");

    IniFile With(std::string_view bytes)
    {
        dir.Write("test.ini", bytes);
        return IniFile(path);
    }
    std::string Bytes() const { return test::ReadFileBytes(path); }
    std::vector<std::string> FilesInDir() const
    {
        std::vector<std::string> out;
        for (auto& e : std::filesystem::directory_iterator(dir.path()))
            out.push_back(e.path().filename().string());
        return out;
    }
};

// --- Reading ---

TEST_F(IniFixture, NamesMatchWithoutCaseAndValuesKeepTheirBytes)
{
    IniFile ini = With("[Global Config]\r\n"
                       "  Debugmode =  1  \r\n"
                       "Path=C:\\Games\\ a ; not a comment\r\n"
                       "Quoted=\"kept\"\r\n"
                       "Eq=a=b\r\n"
                       "Empty=\r\n"
                       "\t[ Dialogue Engine ]  trailing text\r\n"
                       "EvaluateConditions=0\r\n");
    EXPECT_TRUE(ini.ReadBool("global config", "DEBUGMODE", false));
    EXPECT_EQ(ini.ReadString("GLOBAL CONFIG", "path", "x"), "C:\\Games\\ a ; not a comment");
    EXPECT_EQ(ini.ReadString("Global Config", "Quoted", ""), "\"kept\"");
    EXPECT_EQ(ini.ReadString("Global Config", "Eq", ""), "a=b");
    EXPECT_EQ(ini.ReadString("Global Config", "Empty", "default"), ""); // present, so not the default
    EXPECT_TRUE(ini.ValueExists("Global Config", "empty"));
    EXPECT_FALSE(ini.ReadBool("dialogue engine", "evaluateconditions", true));
    EXPECT_EQ(ini.ReadString("Global Config", "EvaluateConditions", "none"), "none");
    // Only ASCII letters fold.
    IniFile eight = With("[\xC4rger]\nK=1\n");
    EXPECT_TRUE(eight.SectionExists("\xC4RGER"));
    EXPECT_FALSE(eight.SectionExists("\xE4rger"));
}

TEST_F(IniFixture, FirstOfDuplicatesCountsAndRepeatedSectionsJoin)
{
    IniFile ini = With("Orphan=1\n"
                       "[A]\nk=first\nK=second\n"
                       "[B]\nb=1\n"
                       "[a]\nlate=3\nk=third\n");
    EXPECT_EQ(ini.ReadString("A", "k", ""), "first");
    EXPECT_EQ(ini.ReadString("A", "late", ""), "3");
    EXPECT_EQ(ini.ReadSection("a"), (Names { "k", "late" }));
    EXPECT_EQ(ini.ReadSections(), (Names { "A", "B" }));
    EXPECT_FALSE(ini.ValueExists("", "Orphan"));
    EXPECT_TRUE(ini.SectionExists("b"));
    EXPECT_FALSE(ini.SectionExists("C"));
}

TEST_F(IniFixture, CommentsMalformedLinesAndByteOrderMarkAreSkipped)
{
    IniFile ini = With("\xEF\xBB\xBF[S]\n"
                       "; k=comment\n"
                       "#k=hash\n"
                       "just text\n"
                       "=no key\n"
                       "[broken\n"
                       "k=real\n"
                       "[]\n"
                       "x=in unnamed\n");
    EXPECT_EQ(ini.ReadSection("S"), (Names { "k" }));
    EXPECT_EQ(ini.ReadString("S", "k", ""), "real"); // "[broken" does not open a section
    EXPECT_FALSE(ini.ValueExists("S", "x"));
}

TEST_F(IniFixture, IntegersFollowPascalRules)
{
    IniFile ini = With("[N]\n"
                       "dec=-3\nplus=+12\nhex=$1F\nhexc=0x10\nallbits=$FFFFFFFF\nneghex=-$10\n"
                       "max=2147483647\nmin=-2147483648\nover=2147483648\nunder=-2147483649\nhexover=$100000000\n"
                       "junk=12a\nspace=1 2\nsign=-\ndollar=$\nempty=\nfloat=1.5\n");
    EXPECT_EQ(ini.ReadInteger("N", "dec", 0), -3);
    EXPECT_EQ(ini.ReadInteger("N", "plus", 0), 12);
    EXPECT_EQ(ini.ReadInteger("N", "hex", 0), 31);
    EXPECT_EQ(ini.ReadInteger("N", "hexc", 0), 16);
    EXPECT_EQ(ini.ReadInteger("N", "allbits", 0), -1);
    EXPECT_EQ(ini.ReadInteger("N", "neghex", 0), -16);
    EXPECT_EQ(ini.ReadInteger("N", "max", 0), INT32_MAX);
    EXPECT_EQ(ini.ReadInteger("N", "min", 0), INT32_MIN);
    for (const char* bad : { "over", "under", "hexover", "junk", "space", "sign", "dollar", "empty", "float", "none" })
        EXPECT_EQ(ini.ReadInteger("N", bad, 77), 77) << bad;
    EXPECT_TRUE(ini.ReadBool("N", "dec", false)); // any non-zero
    EXPECT_TRUE(ini.ReadBool("N", "junk", true));
    EXPECT_FALSE(ini.ReadBool("N", "junk", false));
}

TEST_F(IniFixture, AMissingFileReadsAsEmpty)
{
    IniFile ini(dir.File("absent.ini"));
    EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("S", "k", -3), -3);
    EXPECT_TRUE(ini.ReadBool("S", "k", true));
    EXPECT_TRUE(ini.ReadSections().empty());
    EXPECT_FALSE(ini.SectionExists("S"));
    EXPECT_TRUE(ini.EraseSection("S"));
    EXPECT_TRUE(ini.DeleteKey("S", "k"));
    EXPECT_FALSE(std::filesystem::exists(ini.Path())); // nothing to remove, nothing created
}

// --- Seeing the disk ---

TEST_F(IniFixture, EveryReadSeesTheFileAsItIsNow)
{
    IniFile ini = With("[S]\r\nk=0\r\n");
    ASSERT_EQ(ini.ReadInteger("S", "k", -1), 0);
    dir.Write("test.ini", "[S]\r\nk=1\r\n"); // same size, same moment, same file
    EXPECT_EQ(ini.ReadInteger("S", "k", -1), 1);
    std::string other = dir.Write("other.ini", "[S]\r\nk=2\r\nnew=yes\r\n");
    std::filesystem::rename(other, path); // replaced the way an editor saves
    EXPECT_EQ(ini.ReadInteger("S", "k", -1), 2);
    EXPECT_EQ(ini.ReadSection("S"), (Names { "k", "new" }));
    std::filesystem::remove(path);
    EXPECT_EQ(ini.ReadInteger("S", "k", -1), -1);
    // A write after someone else's change keeps that change.
    dir.Write("test.ini", "[S]\r\nforeign=1\r\n");
    ASSERT_TRUE(ini.WriteString("S", "k", "3"));
    EXPECT_EQ(Bytes(), "[S]\r\nforeign=1\r\nk=3\r\n");
}

TEST_F(IniFixture, TwoObjectsOnOneFileSeeEachOthersWrites)
{
    IniFile a(path), b(path);
    ASSERT_TRUE(a.WriteInteger("S", "k", 1));
    EXPECT_EQ(b.ReadInteger("S", "k", 0), 1);
    ASSERT_TRUE(b.WriteInteger("S", "k", 2));
    EXPECT_EQ(a.ReadInteger("S", "k", 0), 2);
}

// --- Writing keeps everything else ---

constexpr std::string_view kForeignCrlf = "; ZEVDlg configuration\r\n"
                                          "\r\n"
                                          "[Global Config]\r\n"
                                          "Debugmode = 0\r\n"
                                          "  DefaultSSLPath=\t C:\\ssl \r\n"
                                          "# old = setting\r\n"
                                          "garbage line\r\n"
                                          "\r\n"
                                          "[Unknown Plugin]\r\n"
                                          "Opaque=\x01\x80\xff\r\n"
                                          "\r\n"
                                          "; player\r\n"
                                          "[Player Character]\r\n"
                                          "Name=Vic\r\n";

TEST_F(IniFixture, ChangingAValueTouchesOnlyItsBytes)
{
    IniFile ini = With(kForeignCrlf);
    ASSERT_TRUE(ini.WriteBool("GLOBAL CONFIG", "debugMODE", true)) << ini.LastError();
    std::string expected(kForeignCrlf);
    expected.replace(expected.find("Debugmode = 0"), 13, "Debugmode = 1");
    EXPECT_EQ(Bytes(), expected);
    ASSERT_TRUE(ini.WriteString("Global Config", "DefaultSSLPath", "D:\\out"));
    expected.replace(expected.find("C:\\ssl"), 6, "D:\\out");
    EXPECT_EQ(Bytes(), expected); // the tab before and the blank after the value stay
    EXPECT_EQ(ini.ReadString("Global Config", "DefaultSSLPath", ""), "D:\\out");
    EXPECT_EQ(ini.ReadString("Unknown Plugin", "Opaque", ""), "\x01\x80\xff");
}

TEST_F(IniFixture, NewKeysGoAfterTheLastEntryOfTheirSection)
{
    IniFile ini = With(kForeignCrlf);
    ASSERT_TRUE(ini.WriteInteger("global config", "AutoRemapNodes", 0));
    ASSERT_TRUE(ini.WriteInteger("Unknown Plugin", "Second", -3));
    ASSERT_TRUE(ini.WriteString("Player Character", "Gender", "2")); // last line of the file
    EXPECT_EQ(Bytes(),
        "; ZEVDlg configuration\r\n"
        "\r\n"
        "[Global Config]\r\n"
        "Debugmode = 0\r\n"
        "  DefaultSSLPath=\t C:\\ssl \r\n"
        "# old = setting\r\n"
        "garbage line\r\n"
        "AutoRemapNodes=0\r\n"
        "\r\n"
        "[Unknown Plugin]\r\n"
        "Opaque=\x01\x80\xff\r\n"
        "Second=-3\r\n"
        "\r\n"
        "; player\r\n"
        "[Player Character]\r\n"
        "Name=Vic\r\n"
        "Gender=2\r\n");
}

TEST_F(IniFixture, NewSectionsGoAtTheEndInTheFilesLineStyle)
{
    IniFile lf = With("[A]\nx=1\n");
    ASSERT_TRUE(lf.WriteString("B", "y", "2"));
    EXPECT_EQ(Bytes(), "[A]\nx=1\n\n[B]\ny=2\n");

    IniFile noFinalBreak = With("[A]\r\nx=1");
    ASSERT_TRUE(noFinalBreak.WriteString("A", "y", "2"));
    EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\ny=2");
    ASSERT_TRUE(noFinalBreak.WriteString("C", "z", "3"));
    EXPECT_EQ(Bytes(), "[A]\r\nx=1\r\ny=2\r\n\r\n[C]\r\nz=3\r\n");

    IniFile headerOnly = With("[A]");
    ASSERT_TRUE(headerOnly.WriteString("a", "k", "v"));
    EXPECT_EQ(Bytes(), "[A]\r\nk=v");

    IniFile fresh(dir.File("sub/new.ini"));
    std::filesystem::create_directories(dir.File("sub"));
    ASSERT_TRUE(fresh.WriteString("Player Character", "Name", "Chosen"));
    ASSERT_TRUE(fresh.WriteBool("Global Config", "Debugmode", false));
    EXPECT_EQ(test::ReadFileBytes(fresh.Path()),
        "[Player Character]\r\nName=Chosen\r\n\r\n[Global Config]\r\nDebugmode=0\r\n");
}

TEST_F(IniFixture, DuplicatesAreWrittenAtTheirFirstOccurrenceAndDeletedEverywhere)
{
    IniFile ini = With("[A]\nk=1\n[B]\nk=b\n[a]\nK=2\nnew=0\n");
    ASSERT_TRUE(ini.WriteString("A", "k", "9"));
    EXPECT_EQ(Bytes(), "[A]\nk=9\n[B]\nk=b\n[a]\nK=2\nnew=0\n");
    ASSERT_TRUE(ini.WriteString("A", "New", "1")); // lives in the second header of A
    EXPECT_EQ(Bytes(), "[A]\nk=9\n[B]\nk=b\n[a]\nK=2\nnew=1\n");
    ASSERT_TRUE(ini.DeleteKey("a", "K"));
    EXPECT_EQ(Bytes(), "[A]\n[B]\nk=b\n[a]\nnew=1\n");
    EXPECT_FALSE(ini.ValueExists("A", "k"));
    EXPECT_EQ(ini.ReadString("B", "k", ""), "b");
}

TEST_F(IniFixture, ErasingASectionKeepsTheCommentsOfTheNext)
{
    IniFile ini = With("[A]\r\nx=1\r\nmalformed\r\n\r\n; about B\r\n[B]\r\ny=2\r\n[a]\r\nz=3\r\n");
    ASSERT_TRUE(ini.EraseSection("a"));
    EXPECT_EQ(Bytes(), "; about B\r\n[B]\r\ny=2\r\n");
    EXPECT_FALSE(ini.SectionExists("A"));
    EXPECT_EQ(ini.ReadSections(), (Names { "B" }));
}

TEST_F(IniFixture, WritesKeepTheFilesModeAndGoThroughSymbolicLinks)
{
    IniFile real = With("[S]\nk=0\n");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    std::string link = dir.File("link.ini");
    std::filesystem::create_symlink(path, link);
    IniFile viaLink(link);
    ASSERT_TRUE(viaLink.WriteInteger("S", "k", 5)) << viaLink.LastError();
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Bytes(), "[S]\nk=5\n");
    struct stat st { };
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(FilesInDir().size(), 2u); // no temporary file left
}

// --- Failed writes change nothing ---

TEST_F(IniFixture, AWriteThatCannotHappenReturnsFalseWithTheReason)
{
    std::string blocker = dir.Write("blocker", "not a folder");
    IniFile ini(blocker + "/ZEVDlg.ini");
    EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
    EXPECT_FALSE(ini.WriteString("S", "k", "v"));
    EXPECT_NE(ini.LastError().find(blocker + "/ZEVDlg.ini"), std::string::npos) << ini.LastError();
    EXPECT_NE(ini.LastError().find("Not a directory"), std::string::npos) << ini.LastError();
    EXPECT_EQ(test::ReadFileBytes(blocker), "not a folder");
    // A later success clears the report.
    IniFile good(path);
    EXPECT_TRUE(good.WriteString("S", "k", "v"));
    EXPECT_TRUE(good.LastError().empty());
}

TEST_F(IniFixture, AWriteThatFailsHalfwayLeavesTheOldFile)
{
    std::string original = "[S]\r\nk=" + std::string(4000, 'a') + "\r\n";
    IniFile ini = With(original);
    // Let the file system refuse the temporary file beyond 1 KB.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    bool wrote = ini.WriteString("S", "k", std::string(4000, 'b'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(wrote);
    EXPECT_NE(ini.LastError().find(path), std::string::npos);
    EXPECT_EQ(Bytes(), original);
    EXPECT_EQ(FilesInDir(), Names { "test.ini" });
    EXPECT_EQ(ini.ReadString("S", "k", ""), std::string(4000, 'a'));
}

TEST_F(IniFixture, NamesAndValuesThatWouldNotReadBackAreRefused)
{
    const std::string original = "[S]\nk=1\n";
    IniFile ini = With(original);
    EXPECT_FALSE(ini.WriteString("S", "k", "two\r\nInjected=1"));
    EXPECT_FALSE(ini.WriteString("S", "a=b", "1"));
    EXPECT_FALSE(ini.WriteString("S", "", "1"));
    EXPECT_FALSE(ini.WriteString("S", ";k", "1"));
    EXPECT_FALSE(ini.WriteString("S", " k", "1"));
    EXPECT_FALSE(ini.WriteString("S]x", "k", "1"));
    EXPECT_FALSE(ini.WriteString("", "k", "1"));
    EXPECT_FALSE(ini.LastError().empty());
    EXPECT_EQ(Bytes(), original);
}

TEST_F(IniFixture, AnExistingFileThatCannotBeReadIsNeverOverwritten)
{
    std::filesystem::create_directories(path); // a folder where the file should be
    IniFile ini(path);
    EXPECT_EQ(ini.ReadInteger("S", "k", 4), 4);
    EXPECT_FALSE(ini.WriteInteger("S", "k", 1));
    EXPECT_NE(ini.LastError().find("Cannot read"), std::string::npos) << ini.LastError();
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

// --- Hostile bytes ---

TEST_F(IniFixture, OddBytesNeitherCrashNorGetLost)
{
    std::string nul("[S\0x]\nk\0=v\0w\n[", 14);
    std::string tricky
        = nul + "\r\r\n[T]\rk=1\r\n" + std::string(1 << 20, '[') + "\n=\n[U]\nlong=" + std::string(1 << 20, 'z');
    IniFile ini = With(tricky);
    EXPECT_EQ(ini.ReadString(std::string("S\0x", 3), std::string("k\0", 2), ""), std::string("v\0w", 3));
    EXPECT_FALSE(ini.ValueExists("T", "k")); // a lone CR does not end a line
    EXPECT_EQ(ini.ReadString("U", "long", "").size(), 1u << 20);
    ASSERT_TRUE(ini.WriteString("U", "added", "1"));
    EXPECT_EQ(Bytes(), tricky + "\nadded=1"); // the line end of the first line
}

TEST_F(IniFixture, RandomFilesKeepEveryOtherEntryThroughAWrite)
{
    std::mt19937 rng(20260808);
    const std::string alphabet("[]=;# \t\r\nabAB\0\xff", 15);
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        std::size_t length = rng() % 200;
        for (std::size_t i = 0; i < length; ++i)
            bytes += alphabet[rng() % alphabet.size()];
        IniFile ini = With(bytes);
        std::vector<std::pair<std::string, std::string>> before;
        for (auto& s : ini.ReadSections())
            for (auto& k : ini.ReadSection(s))
                before.emplace_back(s, k);
        std::vector<std::string> values;
        for (auto& [s, k] : before)
            values.push_back(ini.ReadString(s, k, ""));
        ASSERT_TRUE(ini.WriteString("Zz", "key", "val")) << ini.LastError();
        EXPECT_EQ(ini.ReadString("zz", "KEY", ""), "val") << testing::PrintToString(bytes);
        for (std::size_t i = 0; i < before.size(); ++i) {
            if (before[i].first == "Zz" || before[i].first == "zz")
                continue;
            EXPECT_EQ(ini.ReadString(before[i].first, before[i].second, "<gone>"), values[i])
                << testing::PrintToString(bytes);
        }
    }
}

TEST_F(IniFixture, ALargeFileIsReadAndWrittenWhole)
{
    std::string big;
    for (int s = 0; s < 1000; ++s) {
        big += "[Section" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 100; ++k)
            big += "Key" + std::to_string(k) + "=" + std::string(45, static_cast<char>('a' + k % 26)) + "\r\n";
    }
    ASSERT_GT(big.size(), 5'000'000u);
    IniFile ini = With(big);
    EXPECT_EQ(ini.ReadString("section999", "key99", ""), std::string(45, 'a' + 99 % 26));
    EXPECT_EQ(ini.ReadSections().size(), 1000u);
    ASSERT_TRUE(ini.WriteInteger("Section500", "Key50", 7));
    EXPECT_EQ(ini.ReadInteger("Section500", "Key50", 0), 7);
    EXPECT_EQ(Bytes().size(), big.size() - 44);
}

} // namespace
} // namespace zev

namespace zev {
namespace {

// Found by fuzzing: CRs that end the file belong to the line end, so a write that adds a line
// after them neither turns them into part of a value nor hides a new section header behind them.
TEST(IniFileStrayCarriageReturns, AWriteAfterThemKeepsValuesAndHeaders)
{
    test::TempDir dir;
    for (std::string tail : { "[s]\r\nk=11\r", "[s]\r\nk=11\n\r", "[s]\r\nk=11\r\r" }) {
        std::string path = dir.Write("cr.ini", tail);
        IniFile ini(path);
        ASSERT_EQ(ini.ReadString("s", "k", ""), "11");
        ASSERT_TRUE(ini.WriteString("new", "x", "1"));
        EXPECT_EQ(ini.ReadString("s", "k", ""), "11");
        EXPECT_EQ(ini.ReadString("new", "x", ""), "1");
        EXPECT_EQ(ini.ReadSection("s"), std::vector<std::string> { "k" });
        ASSERT_TRUE(ini.WriteString("s", "y", "2"));
        EXPECT_EQ(ini.ReadString("s", "y", ""), "2");
        EXPECT_EQ(ini.ReadString("s", "k", ""), "11");
    }
}

} // namespace
} // namespace zev
