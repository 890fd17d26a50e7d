// What the check survives: pages that cannot be read, lack their tags, never answer or never end,
// addresses it must not follow, and downloads that break off or grow too large. Each ends in the
// error box, even when the check is silent, and leaves no file behind.

#include "update_fixture.h"

namespace zev::test {
namespace {

TEST_F(UpdateCheckerTest, APageWithoutProductOrVersionOrThatCannotBeReadIsAnError)
{
    const std::string pages[] = {
        Page({ { "zevVersion", "0.26" }, { "zevDownload", server.Url("/dl/zev.deb") } }),
        Page({ { "zevProduct", "ZEV Dialogue Tool" }, { "zevDownload", server.Url("/dl/zev.deb") } }),
        "<html>not an information page</html>",
    };
    for (const std::string& page : pages) {
        server.ServePage("/info.html", page);
        dialogs.ClearHistory();
        ASSERT_TRUE(Check(true)) << page;
        ExpectOnlyTheErrorBox();
    }
    UsePage("/missing.html"); // 404
    dialogs.ClearHistory();
    ASSERT_TRUE(Check(true));
    ExpectOnlyTheErrorBox();
    EXPECT_TRUE(Log().back().starts_with("Update check failed: " + server.Url("/missing.html")));
    EXPECT_EQ(server.RequestCount("/dl/zev.deb"), 0);
}

TEST_F(UpdateCheckerTest, APageThatNeverAnswersTimesOut)
{
    TransferLimits limits = ShortLimits();
    limits.pageTimeout = std::chrono::seconds(1);
    MakeChecker(limits);
    server.Serve("/info.html", HttpReply::Of(HttpReply::Kind::Stall));
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Check());
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_LT(took, std::chrono::seconds(5));
    ExpectOnlyTheErrorBox();
}

TEST_F(UpdateCheckerTest, APageOverTheCapIsRefusedWithOrWithoutItsLength)
{
    const std::int64_t cap = TransferLimits {}.maxPageBytes;
    std::string padding(static_cast<std::size_t>(cap), 'x');
    // Exactly at the cap it is read.
    std::string page = PageFor("0.25");
    page += padding.substr(page.size());
    ASSERT_EQ(static_cast<std::int64_t>(page.size()), cap);
    server.ServePage("/info.html", page);
    ASSERT_TRUE(Check());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string> { std::string(kNoUpdatesText) }));

    for (bool announced : { true, false }) {
        SCOPED_TRACE(announced);
        if (announced)
            server.ServePage("/info.html", page + "x");
        else
            server.Serve("/info.html", HttpReply::Of(HttpReply::Kind::Endless, PageFor("0.26")));
        dialogs.ClearHistory();
        ASSERT_TRUE(Check());
        ExpectOnlyTheErrorBox();
        EXPECT_NE(Log().back().find("larger than 1048576 bytes"), std::string::npos) << Log().back();
    }
}

TEST_F(UpdateCheckerTest, OnlyHttpAndHttpsAddressesAreFollowed)
{
    struct Case {
        const char* what;
        bool asks; // whether the page gets as far as the questions
        std::function<void()> serve;
    };
    const std::string download = server.Url("/dl/zev.deb");
    server.ServePage("/dl/zev.deb", "payload");
    const Case cases[] = {
        { "an HTTP redirection to a file", false, [&] { server.Redirect("/info.html", "file:///etc/passwd"); } },
        { "a page redirection to ftp", false,
            [&] {
                server.ServePage("/info.html",
                    Page({ { "zevProduct", "p" }, { "zevVersion", "0.26" }, { "zevRedirection", "ftp://h/x.html" } }));
            } },
        { "a relative page redirection", false,
            [&] {
                server.ServePage("/info.html",
                    Page({ { "zevProduct", "p" }, { "zevVersion", "0.26" }, { "zevRedirection", "/other.html" } }));
            } },
        { "a download from a file", true,
            [&] {
                server.ServePage("/info.html",
                    Page({ { "zevProduct", "p" }, { "zevVersion", "0.26" }, { "zevDownload", "file:///etc/passwd" } }));
            } },
        { "an HTTP redirection of the download to a file", true,
            [&] {
                server.ServePage("/info.html",
                    Page({ { "zevProduct", "p" }, { "zevVersion", "0.26" }, { "zevDownload", server.Url("/dl/moved") },
                        { "zevClientSideName", "zev.deb" } }));
                server.Redirect("/dl/moved", "file:///etc/passwd");
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.serve();
        dialogs.ClearHistory();
        if (c.asks) {
            dialogs.PushButton(MsgResult::Yes);
            dialogs.PushButton(MsgResult::No);
        }
        ASSERT_TRUE(Check());
        EXPECT_EQ(dialogs.History().size(), c.asks ? 3u : 1u);
        EXPECT_EQ(BoxTexts().back(), kUpdateErrorText);
        EXPECT_TRUE(DownloadedNames().empty());
    }
    EXPECT_EQ(server.RequestCount("/other.html"), 0);
    EXPECT_EQ(server.RequestCount("/dl/zev.deb"), 0);
    EXPECT_TRUE(launches.launched.empty());
}

TEST_F(UpdateCheckerTest, ADownloadCutOffHalfWayLeavesNoFile)
{
    server.ServePage("/info.html", PageFor("0.26"));
    server.Serve("/dl/zev.deb", HttpReply::Of(HttpReply::Kind::CutOff, std::string(200'000, 'z')));
    dialogs.PushButton(MsgResult::Yes);
    dialogs.PushButton(MsgResult::No);
    ASSERT_TRUE(Check());
    EXPECT_EQ(BoxTexts().back(), kUpdateErrorText);
    EXPECT_EQ(server.RequestCount("/dl/zev.deb"), 1);
    EXPECT_TRUE(DownloadedNames().empty()) << ::testing::PrintToString(DownloadedNames());
    EXPECT_FALSE(progress.visible());
    EXPECT_FALSE(Logged(DownloadPath("zev.deb") + " downloaded."));
    EXPECT_TRUE(launches.launched.empty());
}

TEST_F(UpdateCheckerTest, ADownloadOverTheCapIsRefusedWithOrWithoutItsLength)
{
    TransferLimits limits = ShortLimits();
    limits.maxDownloadBytes = 10'000;
    MakeChecker(limits);
    server.ServePage("/info.html", PageFor("0.26"));
    for (bool announced : { true, false }) {
        SCOPED_TRACE(announced);
        if (announced)
            server.ServePage("/dl/zev.deb", std::string(10'001, 'z'));
        else
            server.Serve("/dl/zev.deb", HttpReply::Of(HttpReply::Kind::Endless, std::string(4096, 'z')));
        dialogs.ClearHistory();
        dialogs.PushButton(MsgResult::Yes);
        dialogs.PushButton(MsgResult::No);
        ASSERT_TRUE(Check());
        EXPECT_EQ(BoxTexts().back(), kUpdateErrorText);
        EXPECT_TRUE(DownloadedNames().empty()) << ::testing::PrintToString(DownloadedNames());
        EXPECT_NE(Log().back().find("larger than 10000 bytes"), std::string::npos) << Log().back();
    }
    // At the cap it arrives.
    server.ServePage("/dl/zev.deb", std::string(10'000, 'z'));
    for (MsgResult answer : { MsgResult::Yes, MsgResult::No, MsgResult::No })
        dialogs.PushButton(answer);
    ASSERT_TRUE(Check());
    EXPECT_EQ(ReadFileBytes(DownloadPath("zev.deb")).size(), 10'000u);
}

} // namespace
} // namespace zev::test
