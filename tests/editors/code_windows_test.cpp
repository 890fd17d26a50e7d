#include "code_windows_fixture.h"

#include "completion/code_snippets.h"

namespace zev {
namespace {

using test::CodeWindowsFixture;
using Step = ParameterInputModel::Step;

struct ParameterInput : CodeWindowsFixture {
    ParameterInput()
    {
        AddNode(d(), "Start")->npc_text = "Hello there.";
        AddNode(d(), "Shop")->npc_text = "What do you need?";
        AddFloatNode(d(), "Idle");
        Variable("counter", SCOPE_LOCAL);
        Variable("seen", SCOPE_NONE);
        Variable("imported", SCOPE_IMPORT);
        for (const char* n : { "PID_KNIFE", "pid_rock", "MY_PID_X", "PID" }) {
            IncEntry e;
            e.name = n;
            definitions.Add(e);
        }
        app.conditions().WriteInteger("Skill", "ItemCount", 2);
        app.conditions().WriteString("Skill", "Item1", "Small Guns");
        app.conditions().WriteString("Skill", "Item1SSLEnum", "SKILL_SMALL_GUNS");
        app.conditions().WriteString("Skill", "Item2", "Speech");
        app.conditions().WriteString("Skill", "Item2SSLEnum", "SKILL_CONVERSANT");
    }
};

TEST_F(ParameterInput, AParameterUsedTwiceIsReplacedInBothPlaces)
{
    const CodeSnippet s = Preset("twice", "x := %n%;\r\ny := %n% + %other%;\r\n", { { PARAM_INTEGER, "n" } });
    paramView.script = [](ParameterInputModel& m) {
        EXPECT_EQ(m.page(), ParamPage::Spin);
        EXPECT_EQ(m.mainButton(), "OK");
        EXPECT_EQ(m.prompt(), "ask n");
        m.SetSpinValue(5);
        return m.Next() == Step::Done;
    };
    EXPECT_EQ(params.Run(s, &paramView), "x := 5;\r\ny := 5 + %other%;\r\n");
    EXPECT_TRUE(Logged("PARAM TYPE: Integer"));
}

TEST_F(ParameterInput, APresetWithoutParametersGivesItsCodeUnchanged)
{
    const CodeSnippet s = Preset("none", "display_msg(\"%x%\");\r\n");
    paramView.script = [](ParameterInputModel& m) {
        EXPECT_EQ(m.mainButton(), "OK");
        EXPECT_EQ(m.page(), ParamPage::None);
        return m.Next() == Step::Done;
    };
    EXPECT_EQ(params.Run(s, &paramView), s.code);
    EXPECT_EQ(paramView.shown, 1);
}

TEST_F(ParameterInput, EachPageOffersItsSourceAndGivesItsValue)
{
    const CodeSnippet s = Preset("all", "%n%|%b%|%f%|%s%|%k%|%l%|%v%|%p%|%g%|%i%",
        { { PARAM_NODE, "n" }, { PARAM_BOOLEAN, "b" }, { PARAM_FLOATNODE, "f" }, { PARAM_STRING, "s" },
            { PARAM_SKILL, "k" }, { PARAM_LOCAL_VAR, "l" }, { PARAM_SCRIPT_VAR, "v" }, { PARAM_PID, "p" },
            { PARAM_GLOBAL_VAR, "g" }, { PARAM_INTEGER, "i" } });
    ASSERT_TRUE(params.Begin(s));
    using Items = std::vector<std::string>;
    EXPECT_EQ(params.pageLabel(), "Select a node:");
    EXPECT_EQ(params.items(), (Items { "Start", "Shop" }));
    EXPECT_EQ(params.preview(), "Hello there."); // the first node is shown chosen
    params.Choose(1);
    EXPECT_EQ(params.preview(), "What do you need?");
    EXPECT_EQ(params.mainButton(), "Next parameter");
    EXPECT_EQ(params.Next(), Step::Advanced);

    EXPECT_EQ(params.items(), (Items { "False", "True" }));
    params.Choose(1);
    params.Next();
    EXPECT_EQ(params.page(), ParamPage::DropDown);
    EXPECT_EQ(params.items(), Items { "Idle" });
    params.Next();
    EXPECT_EQ(params.page(), ParamPage::Memo);
    params.SetMemo("two\r\nlines");
    params.Next();
    EXPECT_EQ(params.memo(), ""); // cleared for the next string
    EXPECT_EQ(params.items(), (Items { "Small Guns", "Speech" }));
    params.Choose(1);
    params.Next();
    EXPECT_EQ(params.items(), Items { "LVAR_counter" });
    params.Choose(0);
    params.Next();
    EXPECT_EQ(params.items(), Items { "seen" });
    params.Choose(0);
    params.Next();
    EXPECT_EQ(params.pageLabel(), "Select data:");
    EXPECT_EQ(params.items(), (Items { "PID_KNIFE", "pid_rock" }));
    params.Choose(1);
    params.Next();
    EXPECT_EQ(params.page(), ParamPage::FreeText);
    params.SetFreeText("GVAR_QUEST");
    params.Next();
    EXPECT_EQ(params.mainButton(), "OK");
    params.SetSpinValue(123456); // beyond the spin's range
    EXPECT_EQ(params.spinValue(), 9999);
    EXPECT_EQ(params.Next(), Step::Done);
    EXPECT_EQ(
        params.result(), "Shop|True|Idle|two\\nlines|SKILL_CONVERSANT|LVAR_counter|seen|pid_rock|GVAR_QUEST|9999");
    for (const char* t : { "NodePTR", "Boolean", "FloatNodePTR", "String", "Player Skill", "Local Var", "Script Var",
             "Item/Critter PID", "Global Var" })
        EXPECT_TRUE(Logged(std::string("PARAM TYPE: ") + t)) << t;
}

TEST_F(ParameterInput, AListPageWithNothingChosenWarnsAndStays)
{
    const CodeSnippet s = Preset("lists", "%a%%b%", { { PARAM_SKILL, "a" }, { PARAM_STAT, "b" } });
    ASSERT_TRUE(params.Begin(s));
    EXPECT_EQ(params.Next(), Step::Stay);
    EXPECT_EQ(params.current(), 0);
    params.Choose(0);
    EXPECT_EQ(params.Next(), Step::Advanced);
    EXPECT_TRUE(params.items().empty()); // conditions.ini has no "Stat" section
    EXPECT_EQ(params.Next(), Step::Stay);
    EXPECT_EQ(params.current(), 1);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { "warning: No skill selected!", "warning: No stat selected!" }));
    // Cancel gives no result.
    paramView.script = [](ParameterInputModel& m) {
        m.SetSpinValue(3);
        return false;
    };
    EXPECT_EQ(params.Run(Preset("i", "%i%", { { PARAM_INTEGER, "i" } }), &paramView), std::nullopt);
    EXPECT_EQ(params.Run(s, nullptr), std::nullopt);
}

TEST_F(ParameterInput, TheVariableAndPidRefusals)
{
    const CodeSnippet s = Preset("vp", "%v%%p%", { { PARAM_LOCAL_VAR, "v" }, { PARAM_PID, "p" } });
    ASSERT_TRUE(params.Begin(s));
    EXPECT_EQ(params.Next(), Step::Stay);
    params.Choose(0);
    EXPECT_EQ(params.Next(), Step::Advanced);
    EXPECT_EQ(params.Next(), Step::Stay);
    EXPECT_EQ(Boxes(), (std::vector<std::string> { "warning: No variable selected!", "warning: No PID selected!" }));
}

TEST_F(ParameterInput, AnUnknownTypeCodeClosesWithoutResult)
{
    // At the first page the window is not even shown.
    EXPECT_EQ(params.Run(Preset("bad", "%x%", { { 0, "x" } }), &paramView), std::nullopt);
    EXPECT_EQ(paramView.shown, 0);
    EXPECT_TRUE(Logged("PARAM TYPE: Unknown"));
    // Later, the main button fails and the window closes.
    paramView.script = [](ParameterInputModel& m) { return m.Next() == Step::Done; };
    EXPECT_EQ(params.Run(Preset("bad2", "%a%%x%", { { PARAM_INTEGER, "a" }, { 13, "x" } }), &paramView), std::nullopt);
    EXPECT_EQ(Boxes(),
        (std::vector<std::string> {
            "warning: ERROR!\r\n\r\nCurrent_param=0", "warning: ERROR!\r\n\r\nCurrent_param=1" }));
}

struct CustomProcs : CodeWindowsFixture {
    CustomProcs()
    {
        AddNode(d(), "Start");
        AddNode(d(), "Second");
        presets.Add(Preset("Go to node", "call %n%;\r\n", { { PARAM_NODE, "n" } }));
    }
    custom_proc* Proc(std::string_view name, std::string_view code, int node)
    {
        custom_proc* p = AddCustomProc(d(), name);
        p->code = code;
        p->associate_node = node;
        return p;
    }
};

TEST_F(CustomProcs, AddStoresTheCodeWithoutItsFinalBreakAndNoNodeAsMinusOne)
{
    procs.Open(CustomProcEditorModel::kFromMainMenu, 1);
    EXPECT_EQ(procs.node(), -1); // only the option dialog preselects
    EXPECT_EQ(procs.presets(), std::vector<std::string> { "Go to node" });
    procs.SetName("Reward");
    procs.SetCode("give_exp(10);\r\nline2\r\n");
    procs.Add();
    ASSERT_EQ(d().custom_proc_count, 1);
    EXPECT_EQ(d().custom_procs[0]->name, "Reward");
    EXPECT_EQ(d().custom_procs[0]->code, "give_exp(10);\r\nline2");
    EXPECT_EQ(d().custom_procs[0]->associate_node, -1);
    EXPECT_EQ(procs.procedures(), std::vector<std::string> { "Reward" });
    EXPECT_EQ(procs.name(), "");
    EXPECT_EQ(procs.code(), "");
    EXPECT_TRUE(app.modified());
}

TEST_F(CustomProcs, FromTheOptionDialogTheEditedNodeIsPreselected)
{
    procs.Open(CustomProcEditorModel::kFromOptionDialog, 1);
    EXPECT_EQ(procs.node(), 1);
    EXPECT_EQ(procs.nodes(), (std::vector<std::string> { "Start", "Second" }));
    EXPECT_FALSE(app.modified()); // the preselection is no choice of the designer
    procs.SetName("P");
    procs.Add();
    EXPECT_EQ(d().custom_procs[0]->associate_node, 1);
    procs.Open(CustomProcEditorModel::kFromOptionDialog, 7); // no such node
    EXPECT_EQ(procs.node(), -1);
}

TEST_F(CustomProcs, APressOnEmptyListSpaceStoresTheEditsWithTheFinalBreak)
{
    Proc("a", "old", 0);
    procs.Open(0, -1);
    procs.SelectProcedure(0);
    EXPECT_EQ(procs.name(), "a");
    EXPECT_EQ(procs.code(), "old");
    EXPECT_EQ(procs.node(), 0);
    procs.SetName("renamed");
    procs.SetCode("new\r\n");
    procs.ClickEmpty();
    EXPECT_EQ(d().custom_procs[0]->name, "renamed");
    EXPECT_EQ(d().custom_procs[0]->code, "new\r\n");
    EXPECT_EQ(procs.selected(), -1);
    EXPECT_EQ(procs.name(), "");
    EXPECT_EQ(procs.procedures(), std::vector<std::string> { "renamed" });
    EXPECT_TRUE(app.modified());
    // With nothing selected the press stores nothing.
    app.SetModified(false);
    procs.SetName("stray");
    procs.ClickEmpty();
    EXPECT_EQ(d().custom_procs[0]->name, "renamed");
    EXPECT_FALSE(app.modified());
}

TEST_F(CustomProcs, SelectingAnotherProcedureKeepsTheEditsOfTheFirst)
{
    Proc("a", "code a", -1);
    Proc("b", "code b", 5); // a node index beyond the table shows as none
    procs.Open(0, -1);
    procs.SelectProcedure(0);
    procs.SetCode("edited a\r\n");
    procs.SelectProcedure(1);
    EXPECT_EQ(d().custom_procs[0]->code, "edited a\r\n");
    EXPECT_EQ(procs.code(), "code b");
    EXPECT_EQ(procs.node(), -1);
}

TEST_F(CustomProcs, OkStoresTheSelectedProcedureAndCancelDropsTheEdits)
{
    Proc("a", "code", -1);
    test::ScriptedProcView view;
    view.script = [](CustomProcEditorModel& m) {
        m.SelectProcedure(0);
        m.SetCode("dropped\r\n");
        return false;
    };
    EXPECT_FALSE(procs.Run(&view, 0, -1));
    EXPECT_EQ(d().custom_procs[0]->code, "code");
    view.script = [](CustomProcEditorModel& m) {
        m.SelectProcedure(0);
        m.SetCode("kept\r\n");
        m.ChooseNode(1);
        return true;
    };
    EXPECT_TRUE(procs.Run(&view, 0, -1));
    EXPECT_EQ(d().custom_procs[0]->code, "kept\r\n");
    EXPECT_EQ(d().custom_procs[0]->associate_node, 1);
    EXPECT_EQ(procs.code(), "");
}

TEST_F(CustomProcs, DeleteRemovesTheSelectedProcedureOnly)
{
    Proc("a", "", -1);
    Proc("b", "", -1);
    procs.Open(0, -1);
    procs.Delete(); // nothing selected
    EXPECT_EQ(d().custom_proc_count, 2);
    procs.SelectProcedure(0);
    procs.Delete();
    ASSERT_EQ(d().custom_proc_count, 1);
    EXPECT_EQ(d().custom_procs[0]->name, "b");
    EXPECT_EQ(procs.procedures(), std::vector<std::string> { "b" });
    EXPECT_EQ(procs.selected(), -1);
    EXPECT_TRUE(app.modified());
}

TEST_F(CustomProcs, GenerateNeedsAProcedureAndAPreset)
{
    Proc("a", "old", -1);
    procs.Open(0, -1);
    procs.ChoosePreset(0);
    procs.Generate();
    EXPECT_EQ(
        Boxes(), std::vector<std::string> { "information: Create a new procedure or select an existing one first." });
    EXPECT_EQ(paramView.shown, 0);

    procs.SelectProcedure(0);
    procs.ChoosePreset(-1);
    procs.Generate(); // no preset: nothing
    EXPECT_EQ(paramView.shown, 0);

    procs.ChoosePreset(0);
    paramView.script = [](ParameterInputModel& m) {
        m.Choose(1);
        return m.Next() == ParameterInputModel::Step::Done;
    };
    procs.Generate();
    EXPECT_EQ(procs.code(), "call Second;\r\n");
    // Cancelled parameters leave the code.
    paramView.script = [](ParameterInputModel&) { return false; };
    procs.Generate();
    EXPECT_EQ(procs.code(), "call Second;\r\n");
}

TEST_F(CustomProcs, AddAtCapacityIsRefusedWithABox)
{
    for (int i = 0; i < kMaxCustomProcs; ++i)
        Proc("p" + std::to_string(i), "", -1);
    procs.Open(0, -1);
    procs.SetName("one too many");
    procs.Add();
    EXPECT_EQ(d().custom_proc_count, kMaxCustomProcs);
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Error);
    EXPECT_NE(dialogs.History()[0].text.find("401"), std::string::npos);
    EXPECT_EQ(procs.name(), "one too many");
}

struct NodeCode : CodeWindowsFixture {
    NodeCode()
    {
        AddNode(d(), "Start");
        AddNode(d(), "Shop");
    }
};

TEST_F(NodeCode, CreateReplacesTheTextAndOkDropsTheFinalBreak)
{
    presets.Add(Preset("Set flag", "set_flag(%b%);\r\n", { { PARAM_BOOLEAN, "b" } }));
    test::ScriptedNodeCodeView view;
    view.script = [](NodeCodeEditorModel& m) {
        EXPECT_EQ(m.code(), "old code");
        m.Create(); // no preset chosen: nothing
        EXPECT_EQ(m.code(), "old code");
        m.ChoosePreset(0);
        m.Create();
        return true;
    };
    paramView.script = [](ParameterInputModel& m) {
        m.Choose(1);
        return m.Next() == ParameterInputModel::Step::Done;
    };
    EXPECT_EQ(nodeCode.Run(&view, "old code"), "set_flag(True);");
    EXPECT_EQ(nodeCode.presets(), std::vector<std::string> { "Set flag" });
    view.script = [](NodeCodeEditorModel&) { return false; };
    EXPECT_EQ(nodeCode.Run(&view, "x"), std::nullopt);
}

TEST_F(NodeCode, TheShippedPresetsRunThroughTheParameterInput)
{
    TCodeSnippets reader(presets);
    reader.SourceFileName = ZEV_SOURCE_DIR "/data/def/codesnippets.def";
    ASSERT_TRUE(reader.Execute());
    ASSERT_TRUE(reader.Successful());
    nodeCode.Begin("");
    int gotoNode = -1;
    for (int i = 0; i < presets.count(); ++i)
        if (presets[i].name == "GotoNode")
            gotoNode = i;
    ASSERT_GE(gotoNode, 0);
    EXPECT_EQ(nodeCode.presets()[static_cast<std::size_t>(gotoNode)], "Continue at another node");
    nodeCode.ChoosePreset(gotoNode);
    paramView.script = [](ParameterInputModel& m) {
        EXPECT_EQ(m.prompt(), "Node to continue with");
        m.Choose(1);
        return m.Next() == ParameterInputModel::Step::Done;
    };
    nodeCode.Create();
    EXPECT_EQ(nodeCode.Accept(), "call Shop;");
}

} // namespace
} // namespace zev
