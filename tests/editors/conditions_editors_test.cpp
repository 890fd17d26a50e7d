#include "editors_fixture.h"

#include <cstdio>

#include "editors/conditions_editor.h"

namespace zev {
namespace {

using test::EditorsFixture;

constexpr std::string_view kConditionsIni = "[Main]\r\n"
                                            "CheckTypeCount=4\r\n"
                                            "CheckType1=Stat\r\n"
                                            "CheckType2=Local variable\r\n"
                                            "CheckType3=Script variable\r\n"
                                            "CheckType4=Twice\r\n"
                                            "[Stat]\r\n"
                                            "SSLCommand=stat(%s) %eval% %value%\r\n"
                                            "ItemCount=4\r\n"
                                            "Item1=Strength\r\nItem1Enum=1\r\nItem1SSLEnum=STAT_ST\r\n"
                                            "Item2=Perception\r\nItem2Enum=2\r\nItem2SSLEnum=STAT_PE\r\n"
                                            "Item3=Endurance\r\nItem3Enum=3\r\nItem3SSLEnum=STAT_EN\r\n"
                                            "Item4=Charisma\r\nItem4Enum=40\r\nItem4SSLEnum=STAT_CH\r\n"
                                            "[Local variable]\r\n"
                                            "SSLCommand=local_var(LVAR_%s) %eval% %value%\r\n"
                                            "source=local_vars\r\n"
                                            "[Script variable]\r\n"
                                            "SSLCommand=%s %eval% %value%\r\n"
                                            "source=script_vars\r\n"
                                            "[Twice]\r\n"
                                            "SSLCommand=%s %eval% %value% or %value% at 100%\r\n"
                                            "ItemCount=1\r\n"
                                            "Item1=Money\r\nItem1Enum=1\r\nItem1SSLEnum=dude_caps\r\n";

enum Type { kStat = 0, kLocal = 1, kScript = 2, kTwice = 3 };

struct ConditionsEditor : EditorsFixture {
    ConditionsEditorModel model { app };
    option* opt = nullptr;

    ConditionsEditor()
    {
        dir.Write("conditions.ini", kConditionsIni);
        opt = Option(*Node("A"), "ask", "A");
        Variable("script_one", SCOPE_NONE);
        Variable("local_one", SCOPE_LOCAL);
        Variable("imported", SCOPE_IMPORT);
        Variable("local_two", SCOPE_LOCAL);
    }
    void Variable(std::string_view name, int32_t scope) { AddVariable(d(), name)->scope = scope; }
    // A condition added through the controls.
    void AddWith(int type, int field, int eval, std::string value, int link = 0)
    {
        model.ChooseCheckType(type);
        model.SelectField(field);
        model.ChooseEval(eval);
        model.SetValue(std::move(value));
        model.ChooseLinkage(link);
        ASSERT_TRUE(model.Add());
    }
    std::size_t Warnings() const { return dialogs.History().size(); }
};

TEST(ConditionCode, OnlyTheFirstPlaceholdersAreReplacedAndTheValueIsNeverRead)
{
    EXPECT_EQ(ResolveConditionCode("f(%s) %eval% %value%, %value%", ">=", "6", "X"), "f(X) >= 6, %value%");
    // Other percent signs stay as written; a format would have eaten or misread them.
    EXPECT_EQ(ResolveConditionCode("%d %% f(%s, %s) %eval% %value%", "", "1", "X"), "%d %% f(X, %s)  1");
    // Typed text is no template: its placeholders and its "%s" stay.
    EXPECT_EQ(ResolveConditionCode("f(%s) == %value%", "==", "%s %eval%", "X"), "f(X) == %s %eval%");
    // A "%s" only after the value is still the template's.
    EXPECT_EQ(ResolveConditionCode("%value% < %s", "<", "%s", "X"), "%s < X");
    EXPECT_EQ(ResolveConditionCode("no placeholders", "==", "1", "X"), "no placeholders");
}

TEST_F(ConditionsEditor, OpenListsTheTypesAndTheOptionsConditions)
{
    AddCondition(*opt)->script_expr = "first";
    AddCondition(*opt)->script_expr = "second";
    bool shown = false;
    struct View : ConditionsEditorView {
        std::function<bool(ConditionsEditorModel&)> script;
        bool exec(ConditionsEditorModel& m) override { return script(m); }
    } view;
    view.script = [&](ConditionsEditorModel& m) {
        shown = true;
        EXPECT_EQ(m.checkTypes(), (std::vector<std::string> { "Stat", "Local variable", "Script variable", "Twice" }));
        EXPECT_EQ(m.checkType(), kStat);
        EXPECT_EQ(m.fields().size(), 4u);
        EXPECT_EQ(m.field(), 0);
        EXPECT_EQ(m.evalType(), 0);
        EXPECT_EQ(m.linkage(), 0);
        EXPECT_EQ(m.resolvedCode(), "");
        EXPECT_EQ(m.lines(), (std::vector<std::string> { "first", "second" }));
        EXPECT_FALSE(m.applyEnabled());
        return true;
    };
    model.SetView(&view);
    EXPECT_TRUE(model.Open(*opt));
    EXPECT_TRUE(shown);
    EXPECT_EQ(model.editedOption(), nullptr) << "the option is let go when the window closes";
}

TEST_F(ConditionsEditor, TheTemplateTakesTheOperatorTheValueAndTheEnumText)
{
    model.Begin(*opt);
    AddWith(kTwice, 0, 5, "6", 1);
    const condition& c = *opt->conditions[0];
    EXPECT_EQ(c.script_expr, "dude_caps >= 6 or %value% at 100%");
    EXPECT_EQ(model.chosenField(), "Money");
    EXPECT_EQ(c.check_type, 4);
    EXPECT_EQ(c.subject, 1);
    EXPECT_EQ(c.eval, 5);
    EXPECT_EQ(c.value, "6");
    EXPECT_EQ(c.link_next, 1);
    EXPECT_EQ(model.lines(), (std::vector<std::string> { "dude_caps >= 6 or %value% at 100%" }));
}

TEST_F(ConditionsEditor, CheckForTrueHasNoSymbolButStillNeedsAValue)
{
    model.Begin(*opt);
    model.SelectField(1);
    model.ChooseEval(0);
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(opt->condition_count, 0);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text, "The value check field is empty. Please enter a value.");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);
    model.SetValue("1");
    EXPECT_EQ(model.resolvedCode(), "stat(STAT_PE)  1");
    EXPECT_TRUE(model.Add());
    EXPECT_EQ(opt->conditions[0]->eval, 0);
}

TEST_F(ConditionsEditor, VariableTypesListTheirScopeAndAnEnumTypeAfterThemStoresItsCode)
{
    model.Begin(*opt);
    model.ChooseCheckType(kLocal);
    EXPECT_EQ(model.fields(), (std::vector<std::string> { "local_one", "local_two" }));
    EXPECT_EQ(model.field(), -1) << "no variable is chosen for the user";
    model.ChooseCheckType(kScript);
    EXPECT_EQ(model.fields(), (std::vector<std::string> { "script_one" }));
    model.SelectField(0);
    model.ChooseCheckType(kStat);
    EXPECT_EQ(model.field(), 0);
    model.SelectField(3);
    model.ChooseEval(1);
    model.SetValue("7");
    ASSERT_TRUE(model.Add());
    const condition& enumerated = *opt->conditions[0];
    EXPECT_EQ(enumerated.check_type, 1);
    EXPECT_EQ(enumerated.subject, 40) << "the Enum code, not the position";
    EXPECT_TRUE(enumerated.variable_name.empty());
    EXPECT_EQ(enumerated.script_expr, "stat(STAT_CH) == 7");

    AddWith(kLocal, 1, 2, "0");
    const condition& variable = *opt->conditions[1];
    EXPECT_EQ(variable.check_type, 2);
    EXPECT_EQ(variable.subject, 1);
    EXPECT_EQ(variable.variable_name, "local_two");
    EXPECT_EQ(variable.script_expr, "local_var(LVAR_local_two) != 0");
}

TEST_F(ConditionsEditor, AVariableTypeWithoutAChosenVariableIsRefused)
{
    model.Begin(*opt);
    model.ChooseCheckType(kLocal);
    model.SetValue("1");
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(opt->condition_count, 0);
    EXPECT_EQ(dialogs.Last()->text, ConditionsEditorModel::kNoField);
}

TEST_F(ConditionsEditor, SelectingALineLoadsItsControls)
{
    condition* c = AddCondition(*opt);
    c->check_type = 1;
    c->subject = 3;
    c->eval = 4;
    c->value = "9";
    c->script_expr = "stored text";
    c->link_next = 2;
    model.Begin(*opt);
    model.ChooseCheckType(kLocal);
    model.SelectLine(0);
    EXPECT_EQ(model.checkType(), kStat);
    EXPECT_EQ(model.field(), 2);
    EXPECT_EQ(model.chosenField(), "Endurance");
    EXPECT_EQ(model.evalType(), 4);
    EXPECT_EQ(model.value(), "9");
    EXPECT_EQ(model.linkage(), 2);
    EXPECT_EQ(model.resolvedCode(), "stored text");
    EXPECT_TRUE(model.applyEnabled());

    model.SelectLine(-1);
    EXPECT_FALSE(model.applyEnabled());
    EXPECT_EQ(model.value(), "");
    EXPECT_EQ(model.resolvedCode(), "");
}

TEST_F(ConditionsEditor, ApplyChangesOverwritesTheSelectedCondition)
{
    model.Begin(*opt);
    AddWith(kStat, 0, 1, "5");
    AddWith(kStat, 1, 1, "6", 2);
    model.SelectLine(0);
    model.ChooseCheckType(kScript);
    model.SelectField(0);
    model.SetValue("8");
    EXPECT_TRUE(model.ApplyChanges());
    const condition& c = *opt->conditions[0];
    EXPECT_EQ(c.check_type, 3);
    EXPECT_EQ(c.variable_name, "script_one");
    EXPECT_EQ(c.subject, 0);
    EXPECT_EQ(c.script_expr, "script_one == 8");
    EXPECT_EQ(model.lines()[0], "script_one == 8");
    EXPECT_EQ(opt->conditions[1]->value, "6");
    EXPECT_EQ(Warnings(), 0u);
}

TEST_F(ConditionsEditor, ApplyOnAVariableThatIsGoneIsRefusedWithTheReason)
{
    model.Begin(*opt);
    AddWith(kLocal, 1, 1, "5");
    delete RemoveVariableAt(d(), 3); // local_two
    Variable("local_three", SCOPE_LOCAL);
    model.SelectLine(0);
    EXPECT_EQ(model.field(), -1) << "its place now holds another variable";
    EXPECT_FALSE(model.ApplyChanges());
    EXPECT_EQ(dialogs.Last()->text, "The condition could not be changed: no field is chosen.");
    EXPECT_EQ(opt->conditions[0]->variable_name, "local_two");
}

TEST_F(ConditionsEditor, DeletingTheFirstOfTwoKeepsTheSecondAsItWas)
{
    model.Begin(*opt);
    AddWith(kStat, 0, 1, "1", 1);
    AddWith(kStat, 1, 3, "2", 2);
    model.SelectLine(0);
    EXPECT_TRUE(model.Delete());
    ASSERT_EQ(opt->condition_count, 1);
    EXPECT_EQ(opt->conditions[1], nullptr);
    EXPECT_EQ(opt->conditions[0]->link_next, 2);
    EXPECT_EQ(model.lines(), (std::vector<std::string> { "stat(STAT_PE) > 2" }));
    EXPECT_FALSE(model.applyEnabled());
    EXPECT_FALSE(model.Delete()) << "nothing selected: nothing happens";
    EXPECT_EQ(opt->condition_count, 1);
}

TEST_F(ConditionsEditor, CancelKeepsAnAddedConditionAndMarksTheDialogue)
{
    struct View : ConditionsEditorView {
        bool exec(ConditionsEditorModel& m) override
        {
            m.SetValue("3");
            EXPECT_TRUE(m.Add());
            return false; // Cancel
        }
    } view;
    model.SetView(&view);
    EXPECT_FALSE(model.Open(*opt));
    ASSERT_EQ(opt->condition_count, 1);
    EXPECT_EQ(opt->conditions[0]->script_expr, "stat(STAT_ST)  3");
    EXPECT_TRUE(app.modified()) << "written at once, so a quit must ask";
}

TEST_F(ConditionsEditor, APendingOptionTakesConditionsWithoutMarkingTheDialogue)
{
    option& pending = *new option();
    model.Begin(pending);
    AddWith(kStat, 0, 1, "1");
    AddWith(kStat, 1, 1, "2");
    model.SelectLine(0);
    EXPECT_TRUE(model.Delete());
    EXPECT_EQ(pending.condition_count, 1);
    EXPECT_FALSE(app.modified()) << "the option dialog marks it when it counts the option";
    model.End();
    FreeOption(&pending);
}

TEST_F(ConditionsEditor, AFullOptionRefusesAnotherCondition)
{
    while (AddCondition(*opt)) { }
    model.Begin(*opt);
    model.SetValue("1");
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(opt->condition_count, kMaxConditions);
    EXPECT_EQ(dialogs.Last()->text,
        "This option already holds 65 conditions, as many as an option can hold.\r\nNo condition was added.");
    EXPECT_EQ(model.lines().size(), static_cast<std::size_t>(kMaxConditions));
}

TEST_F(ConditionsEditor, WithoutConditionsIniNothingCanBeAdded)
{
    std::remove(dir.File("conditions.ini").c_str());
    model.Begin(*opt);
    EXPECT_TRUE(model.checkTypes().empty());
    EXPECT_EQ(model.checkType(), -1);
    model.SetValue("1");
    EXPECT_EQ(model.resolvedCode(), "");
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(opt->condition_count, 0);
    EXPECT_EQ(dialogs.Last()->text, ConditionsEditorModel::kNoCheckTypes);
}

TEST_F(ConditionsEditor, ADamagedCountMakesNoHugeList)
{
    dir.Write("conditions.ini", "[Main]\nCheckTypeCount=2000000000\nCheckType1=Stat\n[Stat]\nItemCount=-5\n");
    model.Begin(*opt);
    EXPECT_EQ(model.checkTypes().size(), static_cast<std::size_t>(kMaxDefinitionItems));
    EXPECT_TRUE(model.fields().empty());
    EXPECT_EQ(model.field(), -1);
}

} // namespace
} // namespace zev
