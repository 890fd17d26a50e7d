#include <gtest/gtest.h>

#include "base/log.h"
#include "script/func_desc.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev::test {
namespace {

script::HostUnit FiveFunctions()
{
    script::HostUnit u("T");
    for (const char* n : { "beta", "Alpha", "delta", "Gamma", "epsilon" })
        u.AddFunction(
            n, { { "x", script::HostType::String, std::nullopt } }, script::HostType::Void, [](script::HostCall&) {});
    return u;
}

TEST(FuncDesc, DumpingTwiceKeepsNamesAndDescriptionsButRewritesDeclarations)
{
    TempDir dir;
    Logger log;
    LogCapture capture(log);
    FuncDescStore store(dir.File("func_desc.ini"));
    store.Dump(FiveFunctions(), EngineClasses(), log);
    EXPECT_EQ(store.Names(), (std::vector<std::string> { "beta", "Alpha", "delta", "Gamma", "epsilon" }));
    EXPECT_EQ(store.Description("beta"), "procedure beta(x : String);\\n\\n<insert description here>");
    store.SetDescription("beta", "Mine");
    store.ini().WriteString("Functions", "beta_decl", "stale");
    capture.lines.clear();
    store.Dump(FiveFunctions(), EngineClasses(), log);
    int exists = 0;
    for (const std::string& m : capture.Messages())
        exists += m.find(" already exists.") != std::string::npos;
    EXPECT_EQ(exists, 5 + static_cast<int>(EngineClasses().size()));
    EXPECT_EQ(store.Description("beta"), "Mine");
    EXPECT_EQ(store.Declaration("beta"), "procedure beta(x : String);");
}

TEST(FuncDesc, HtmlIndexHasRowsOfFourAndTheDescriptionIsMarkedUp)
{
    std::string table = FuncDescStore::IndexTable({ "a", "b", "c", "d", "e" });
    EXPECT_EQ(
        table.find("<table class=\"funclist\" width=\"100%\"  border=\"1\" cellspacing=\"1\" cellpadding=\"4\">\n"),
        0u);
    EXPECT_NE(table.find("<tr><td><a href=\"ScriptFunctions.html#a\">a</a></td>\n<td>"), std::string::npos);
    EXPECT_NE(table.find("</tr>\n<tr><td><a href=\"ScriptFunctions.html#e\">e</a></td>\n</tr>\n\n</table>\n"),
        std::string::npos);
    EXPECT_NE(FuncDescStore::IndexTable({ "a", "b", "c", "d" }).find("</tr>\n<tr></tr>\n"), std::string::npos);
    EXPECT_EQ(HtmlDescription("procedure X(a : String; b : String);\\nNOTE: var"),
        "<b>procedure</b> X(a:<b> string</b>; b:<b> string</b>);<br><span class=\"note\">NOTE:</span> <b>var</b>");
}

TEST(FuncDesc, DumpHelpToHtmlWritesTheListingAndThePage)
{
    TempDir dir;
    Logger log;
    FuncDescStore store(dir.File("func_desc.ini"));
    store.Dump(FiveFunctions(), {}, log);
    store.SetDescription("Alpha", "First : line\\nsecond");
    HtmlDumpResult missing = DumpHelpToHtml(store, dir.File("none.htm"), dir.path());
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(ReadFileBytes(dir.File("ZEVFunctions_NEW.pas")).find("First : line\r\nsecond"), std::string::npos);

    std::string tpl = dir.Write("t.htm", "<html>\\n%%InsertIndexHere%%<hr>%%InsertFunctionsHere%%</html>");
    HtmlDumpResult r = DumpHelpToHtml(store, tpl, dir.path());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.functionCount, 5);
    std::string page = ReadFileBytes(dir.File("doc/ScriptFunctions.html"));
    EXPECT_NE(page.find("First: line<br>second"), std::string::npos);
    EXPECT_LT(page.find("#Alpha"), page.find("#beta"));
    EXPECT_EQ(page.rfind("<html>\r\n", 0), 0u);
    EXPECT_GT(r.pageLines, 10);
}

TEST(FuncDesc, TheEditorWritesEveryChangeAtOnce)
{
    TempDir dir;
    Logger log;
    FuncDescStore store(dir.File("func_desc.ini"));
    store.Dump(FiveFunctions(), {}, log);
    FuncDescEditorModel editor(store);
    ASSERT_EQ(editor.names().size(), 5u);
    editor.SetMemo("ignored"); // nothing selected
    editor.Select(1);
    editor.SetMemo("line one\r\nline two");
    EXPECT_EQ(FuncDescStore(dir.File("func_desc.ini")).Description("Alpha"), "line one\\nline two");
    editor.Select(0);
    editor.Select(1);
    EXPECT_EQ(editor.memo(), "line one\r\nline two");
}

} // namespace
} // namespace zev::test
