#include <gtest/gtest.h>

#include "app/scripted_dialogs.h"

namespace zev {
namespace {

TEST(FileFilters, ParseTheBarSeparatedForm)
{
    auto f = ParseFileFilters("ZEV Dialogue File format (*.zev)|*.zev|All files|*.*;*");
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].description, "ZEV Dialogue File format (*.zev)");
    EXPECT_EQ(f[0].patterns, "*.zev");
    EXPECT_EQ(f[1].patterns, "*.*;*");
    EXPECT_TRUE(ParseFileFilters("").empty());
    auto odd = ParseFileFilters("Only a description");
    ASSERT_EQ(odd.size(), 1u);
    EXPECT_EQ(odd[0].patterns, "");
}

TEST(ScriptedDialogs, AnswersFromTheQueueAndRecordsEveryBox)
{
    ScriptedDialogs d;
    d.PushAnswer("yes");
    d.PushAnswer("Cancel");
    d.PushAnswer("typed text");
    d.PushCancel();
    EXPECT_EQ(d.MessageBox("Save changes?", MsgIcon::Confirmation, MsgButtons::YesNoCancel), MsgResult::Yes);
    EXPECT_EQ(d.MessageBox("Again?", MsgIcon::Confirmation, MsgButtons::YesNoCancel), MsgResult::Cancel);
    EXPECT_EQ(d.InputBox("Caption", "Name:", "default"), "typed text");
    EXPECT_EQ(d.InputBox("Caption", "Name:", "default"), std::nullopt);
    ASSERT_EQ(d.History().size(), 4u);
    EXPECT_EQ(d.History()[0].text, "Save changes?");
    EXPECT_EQ(d.History()[0].icon, MsgIcon::Confirmation);
    EXPECT_EQ(d.History()[0].answer, "yes");
    EXPECT_EQ(d.History()[2].caption, "Caption");
    EXPECT_EQ(d.History()[3].answer, "cancel");
}

TEST(ScriptedDialogs, AnEmptyQueueGivesEachBoxItsDefault)
{
    ScriptedDialogs d;
    EXPECT_EQ(d.MessageBox("i", MsgIcon::Information, MsgButtons::Ok), MsgResult::Ok);
    EXPECT_EQ(d.MessageBox("q", MsgIcon::Confirmation, MsgButtons::YesNo), MsgResult::No);
    EXPECT_EQ(d.MessageBox("q", MsgIcon::Confirmation, MsgButtons::YesNoCancel), MsgResult::Cancel);
    EXPECT_EQ(d.InputBox("c", "p", "keep me"), "keep me");
    EXPECT_EQ(d.OpenFile({}), std::nullopt);
    EXPECT_EQ(d.PickFolder("Folder", "/tmp"), std::nullopt);
}

TEST(ScriptedDialogs, AButtonTheBoxDoesNotOfferGivesTheDefault)
{
    ScriptedDialogs d;
    d.PushButton(MsgResult::Yes);
    EXPECT_EQ(d.MessageBox("only OK", MsgIcon::Error, MsgButtons::Ok), MsgResult::Ok);
    d.PushText("/tmp/x.zev");
    FileBoxOptions o;
    o.title = "Save";
    o.filters = ParseFileFilters("ZEV Dialogue File format (*.zev)|*.zev");
    EXPECT_EQ(d.SaveFile(o), "/tmp/x.zev");
    ASSERT_NE(d.Last(), nullptr);
    EXPECT_EQ(d.Last()->file.filters.size(), 1u);
}

TEST(ScriptedDialogs, ShownBoxesReachTheObserver)
{
    ScriptedDialogs d;
    std::vector<std::string> seen;
    d.onShown
        = [&](const ScriptedDialogs::Shown& s) { seen.push_back(std::string(MsgIconName(s.icon)) + ":" + s.text); };
    d.Warning("careful");
    d.Error("broken");
    EXPECT_EQ(seen, (std::vector<std::string> { "warning:careful", "error:broken" }));
}

} // namespace
} // namespace zev
