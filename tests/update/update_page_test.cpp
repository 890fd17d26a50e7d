// Reading the information page, comparing versions, and keeping the page's addresses and file
// name within bounds.

#include <gtest/gtest.h>

#include <string>

#include "app/settings.h"
#include "support/temp_dir.h"
#include "update/update_page.h"

namespace zev {
namespace {

TEST(UpdatePage, ReadsEveryTagWhateverTheCaseOfMetaNameAndContent)
{
    const std::string page = "<html><head>\r\n"
                             "<META NAME=\"zevProduct\" CONTENT=\"ZEV Dialogue Tool\">\r\n"
                             "<meta name=\"zevVersion\" content=\"0.26\">\r\n"
                             "  <Meta Name = \"zevDownload\" Content=\"https://h/zev_0.26.deb\">\r\n"
                             "<META NAME=\"zevClientSideName\" CONTENT=\"zev.deb\">\n"
                             "<META NAME=\"zevRedirection\" CONTENT=\"https://h/notes.html\">\n"
                             "<META NAME=\"zevRunParameters\" CONTENT=\"--quiet --now\">\n"
                             "<META NAME=\"zevAuthor\" CONTENT=\"Someone\">\n"
                             "<meta name=\"zevEmail\" content=\"a@b.c\">\n"
                             "</head><body>META NAME without quotes</body></html>";
    UpdateInfo info = ParseUpdatePage(page);
    EXPECT_EQ(info.product, "ZEV Dialogue Tool");
    EXPECT_EQ(info.version, "0.26");
    EXPECT_EQ(info.download, "https://h/zev_0.26.deb");
    EXPECT_EQ(info.clientSideName, "zev.deb");
    EXPECT_EQ(info.redirection, "https://h/notes.html");
    EXPECT_EQ(info.runParameters, "--quiet --now");
    EXPECT_EQ(info.author, "Someone");
    EXPECT_EQ(info.email, "a@b.c");
}

TEST(UpdatePage, PassesOverUnknownTagsBrokenLinesAndTheSecondTagOfALine)
{
    UpdateInfo info = ParseUpdatePage("<META NAME=\"zevversion\" CONTENT=\"9.9\">\n" // the name's case counts
                                      "<META NAME=\"zevProduct\" CONTENT=\"unterminated>\n"
                                      "<META NAME=\"zevDownload>\n"
                                      "<META NAME=\"zevAuthor\">\n" // no CONTENT=
                                      "<META NAME=\"description\" CONTENT=\"zevVersion\">\n"
                                      "<META NAME=\"zevVersion\" CONTENT=\"1\"><META NAME=\"zevEmail\" CONTENT=\"x\">\n"
                                      "<META NAME=\"zevVersion\" CONTENT=\"\">\n"
                                      "<META NAME=\"zevVersion\" CONTENT=\"0.30\">");
    EXPECT_EQ(info.version, "0.30") << "the last of a name counts";
    EXPECT_EQ(info.product, "");
    EXPECT_EQ(info.download, "");
    EXPECT_EQ(info.author, "");
    EXPECT_EQ(info.email, "") << "one tag per line";
    // A CONTENT= before the tag belongs to another tag.
    EXPECT_EQ(
        ParseUpdatePage("<meta content=\"1.0\" name=\"x\"><META NAME=\"zevVersion\" CONTENT=\"0.3\">").version, "0.3");
}

TEST(UpdatePage, SurvivesAnyBytes)
{
    std::string junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 7919) & 0xff);
    junk += std::string("META NAME\0\"zevVersion\"CONTENT=\"", 31);
    EXPECT_EQ(ParseUpdatePage(junk).product, "");
    EXPECT_EQ(ParseUpdatePage("").version, "");
    EXPECT_EQ(ParseUpdatePage("META NAME").version, "");
    EXPECT_EQ(ParseUpdatePage("META NAME=\"zevVersion\" CONTENT=").version, "");
}

struct VersionCase {
    const char* installed;
    const char* published;
    bool newer;
};

TEST(UpdateVersion, ComparesWholeNumbersFromTheLeftWhileTheInstalledVersionHasParts)
{
    const VersionCase cases[] = {
        { "0.25", "0.26", true },
        { "0.25", "0.25", false },
        { "0.25", "0.24", false },
        { "0.25", "1.0", true },
        { "0.25", "0.25.1", false }, // the installed version ran out of parts
        { "0.25", "1", true },
        { "0.25", "0", false }, // a missing part counts 0
        { "0.25", "0.3", false }, // numbers, not text: 3 < 25
        { "0.25", "0.100", true },
        { "0.25", "0.26beta", false }, // not a number: 0
        { "0.25", "x.99", true }, // x counts 0, like the installed 0
        { "0.25", "", false },
        { "0.25", "99999999999999999999.0", false }, // too large to be a number
        { "1.2.3", "1.2.4", true },
        { "1.2.3", "1.2", false },
        { "1.2.3", "1.10", true },
    };
    for (const VersionCase& c : cases)
        EXPECT_EQ(IsNewerVersion(c.installed, c.published), c.newer) << c.installed << " vs " << c.published;
}

TEST(UpdateAddress, FollowsOnlyHttpAndHttpsWithAHost)
{
    for (const char* yes : { "http://h/p", "https://h", "HTTPS://H/P", "Http://127.0.0.1:8080/x?y" })
        EXPECT_TRUE(IsWebAddress(yes)) << yes;
    for (const char* no : { "", "http://", "http:///etc/passwd", "file:///etc/passwd", "ftp://h/f",
             "javascript:alert(1)", "update.html", "/update.html", " http://h", "httpx://h", "http:h" })
        EXPECT_FALSE(IsWebAddress(no)) << no;
}

TEST(UpdateAddress, NamesTheLastSegmentWithoutQueryOrFragment)
{
    EXPECT_EQ(FileNameOfAddress("https://h/dl/zev_0.26.deb?mirror=1#top"), "zev_0.26.deb");
    EXPECT_EQ(FileNameOfAddress("https://h"), "");
    EXPECT_EQ(FileNameOfAddress("https://h/"), "");
    EXPECT_EQ(FileNameOfAddress("https://h/a/..%2F..%2Fx"), "..%2F..%2Fx"); // no decoding: stays one name
}

TEST(UpdateFileName, KeepsAPlainNameInTheDownloadsFolder)
{
    const std::pair<std::string, std::string> kept[] = {
        { "zevdlg_0.26_amd64.deb", "zevdlg_0.26_amd64.deb" },
        { "../../.bashrc", "bashrc" },
        { "..\\..\\Windows\\evil.exe", "evil.exe" },
        { "/etc/passwd", "passwd" },
        { "set\nup\r.deb", "setup.deb" },
        { std::string("a\0b\x1f\x7f.deb", 9), "ab.deb" },
        { " .hidden. ", "hidden" },
        { "a\tb", "ab" },
    };
    for (const auto& [in, out] : kept) {
        std::optional<std::string> name = SafeClientFileName(in);
        ASSERT_TRUE(name) << in;
        EXPECT_EQ(*name, out) << in;
    }
    for (const char* refused : { "", ".", "..", "...", "dir/", "a/..", "\x01\x02", " . ", "../.." })
        EXPECT_FALSE(SafeClientFileName(refused)) << refused;

    std::optional<std::string> longName = SafeClientFileName(std::string(300, 'a') + ".deb");
    ASSERT_TRUE(longName);
    EXPECT_LE(longName->size(), 200u);
    EXPECT_TRUE(longName->ends_with(".deb"));
}

TEST(UpdateSetting, TheAddressIsUpdateURLOrAnHttpsDefault)
{
    test::TempDir dir;
    IniFile ini(dir.File("ZEVDlg.ini"));
    EXPECT_EQ(UpdateURL(ini), kDefaultUpdateURL);
    EXPECT_TRUE(kDefaultUpdateURL.starts_with("https://"));
    EXPECT_TRUE(IsWebAddress(kDefaultUpdateURL));
    ASSERT_TRUE(ini.WriteString(kSectionGlobalConfig, kKeyUpdateURL, ""));
    EXPECT_EQ(UpdateURL(ini), kDefaultUpdateURL) << "an empty value is no address";
    ASSERT_TRUE(ini.WriteString(kSectionGlobalConfig, kKeyUpdateURL, "http://mirror.example/zev.html"));
    EXPECT_EQ(UpdateURL(ini), "http://mirror.example/zev.html");
}

} // namespace
} // namespace zev
