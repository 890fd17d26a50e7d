#include "editors_fixture.h"

#include <cstdio>

#include "editors/start_conditions.h"

namespace zev {
namespace {

using test::EditorsFixture;

constexpr std::string_view kStartIni = "[Condition Types]\n"
                                       "count=5\n"
                                       "cond1=Player gender\n"
                                       "cond2=Always\n"
                                       "cond3=karma\n"
                                       "cond4=Local variable\n"
                                       "cond5=Script variable\n"
                                       "[Player gender]\n"
                                       "data=gender == %selection%\n"
                                       "haseval=0\n"
                                       "hide_data_entry=1\n"
                                       "selector=inisect\n"
                                       "selectorcaption=Gender:\n"
                                       "inisect=Genders\n"
                                       "[Genders]\n"
                                       "count=2\n"
                                       "itemdisplay1=Male\nitem1=GENDER_MALE\n"
                                       "itemdisplay2=Female\nitem2=GENDER_FEMALE\n"
                                       "[Always]\n"
                                       "data=1\n"
                                       "haseval=0\n"
                                       "hide_data_entry=1\n"
                                       "do_setdefault=1\n"
                                       "[karma]\n"
                                       "data=karma %eval% %value% and karma != %value%\n"
                                       "[Local variable]\n"
                                       "data=local_var(LVAR_%selection%) %eval% %value%\n"
                                       "selector=localvars\n"
                                       "selectorcaption=Local variable:\n"
                                       "[Script variable]\n"
                                       "data=%selection% %eval% %value%\n"
                                       "selector=scriptvars\n"
                                       "selectorcaption=Script variable:\n";

// Positions in the sorted type list.
enum Type { kAlways = 0, kKarma = 1, kLocal = 2, kGender = 3, kScript = 4 };

struct StartConditions : EditorsFixture {
    StartConditionsModel model { app };

    StartConditions()
    {
        dir.Write("start_conditions.ini", kStartIni);
        Node("A", "Hello there.");
        Node("B", "Back again?");
        floatnode* f = AddFloatNode(d(), "F");
        AddFloatMessage(*f, "one");
        AddFloatMessage(*f, "two");
        AddVariable(d(), "met")->scope = SCOPE_LOCAL;
        AddVariable(d(), "gold")->scope = SCOPE_NONE;
        AddVariable(d(), "count")->scope = SCOPE_LOCAL;
    }
    void AddFor(std::string target, int type)
    {
        model.ChooseType(type);
        model.SetTarget(std::move(target));
        ASSERT_TRUE(model.AddStartCondition());
    }
    void AddKarmaLine(std::string value)
    {
        model.ChooseType(kKarma);
        model.ChooseEval(5);
        model.SetValue(std::move(value));
        ASSERT_TRUE(model.AddLine());
    }
};

TEST(StartConditionCode, EveryPlaceholderIsReplacedAndInsertedTextIsNotReadAgain)
{
    EXPECT_EQ(ResolveStartConditionCode("v(%selection%) %eval% %value% or %value% %eval% %selection%", ">", "2", "S"),
        "v(S) > 2 or 2 > S");
    EXPECT_EQ(ResolveStartConditionCode("%value%%eval%", "==", "%eval%%selection%", "S"), "%eval%%selection%==");
    EXPECT_EQ(ResolveStartConditionCode("100% %valu%", "", "1", "S"), "100% %valu%");
}

TEST_F(StartConditions, OpenListsRowsTargetsAndTypesSortedByName)
{
    zev::AddStartCondition(d(), "A", false);
    AddStartConditionLine(d(), 0, "x", "", 0, "", 0, 0);
    struct View : StartConditionsView {
        bool exec(StartConditionsModel& m) override
        {
            EXPECT_EQ(m.rows().size(), 1u);
            EXPECT_EQ(m.rows()[0].index, "1");
            EXPECT_EQ(m.rows()[0].lines, "1");
            EXPECT_EQ(m.rows()[0].target, "A");
            EXPECT_EQ(m.targets(), (std::vector<std::string> { "A", "B", "F" }));
            EXPECT_EQ(m.types(),
                (std::vector<std::string> { "Always", "karma", "Local variable", "Player gender", "Script variable" }));
            EXPECT_FALSE(m.applyEnabled());
            return true;
        }
    } view;
    model.SetView(&view);
    EXPECT_TRUE(model.Open()) << "OK: the caller marks the dialogue modified";
}

TEST_F(StartConditions, ATypeChangeShowsTheTypesControlsAndCode)
{
    model.Begin();
    model.ChooseType(kAlways);
    EXPECT_FALSE(model.evalVisible());
    EXPECT_FALSE(model.valueVisible());
    EXPECT_TRUE(model.makeDefault());
    EXPECT_FALSE(model.selectorVisible());
    EXPECT_EQ(model.code(), "1");
    model.ChooseType(kKarma);
    EXPECT_TRUE(model.evalVisible());
    EXPECT_TRUE(model.valueVisible());
    EXPECT_FALSE(model.makeDefault());
    model.ChooseEval(3);
    model.SetValue("5");
    EXPECT_EQ(model.code(), "karma > 5 and karma != 5") << "both values replaced";
    model.ChooseType(-1);
    EXPECT_EQ(model.type(), kKarma) << "no type text: nothing happens";
}

TEST_F(StartConditions, AnIniSectionSelectorOffersItsChoicesAndPutsTheItemIntoTheCode)
{
    model.Begin();
    AddFor("A", kGender);
    EXPECT_TRUE(model.selectorVisible());
    EXPECT_EQ(model.selectorCaption(), "Gender:");
    EXPECT_EQ(model.selectorItems(), (std::vector<std::string> { "Male", "Female" }));
    model.ChooseSelector(1);
    EXPECT_EQ(model.code(), "gender == GENDER_FEMALE");
    model.ChooseLinkage(2);
    ASSERT_TRUE(model.AddLine());
    const cond_data& line = *d().start_conditions[0]->lines[0];
    EXPECT_EQ(line.ssl, "gender == GENDER_FEMALE");
    EXPECT_EQ(line.var_param, "Female");
    EXPECT_EQ(line.ini_index, kGender);
    EXPECT_EQ(line.link, 2);
    EXPECT_EQ(model.lines(), (std::vector<std::string> { "gender == GENDER_FEMALE" }));
    EXPECT_EQ(model.rows()[0].lines, "1");

    model.ChooseType(kKarma);
    model.ChooseLinkage(0);
    model.SelectLine(0);
    EXPECT_EQ(model.type(), kGender);
    EXPECT_EQ(model.selector(), 1);
    EXPECT_EQ(model.linkage(), 2);
    EXPECT_EQ(model.code(), "gender == GENDER_FEMALE");
}

TEST_F(StartConditions, VariableSelectorsListTheirScope)
{
    model.Begin();
    model.ChooseType(kLocal);
    EXPECT_EQ(model.selectorItems(), (std::vector<std::string> { "met", "count" }));
    model.ChooseSelector(1);
    model.ChooseEval(1);
    model.SetValue("0");
    EXPECT_EQ(model.code(), "local_var(LVAR_count) == 0");
    model.ChooseType(kScript);
    EXPECT_EQ(model.selectorItems(), (std::vector<std::string> { "gold" }));
    EXPECT_EQ(model.selector(), -1) << "a new list chooses nothing";
}

TEST_F(StartConditions, AMakeDefaultTypeSetsTheDefaultWhichSurvivesAnEarlierDelete)
{
    model.Begin();
    AddFor("A", kKarma);
    EXPECT_EQ(model.selectedRow(), 0) << "the new start condition is selected";
    d().default_condition = -1;
    AddFor("B", kAlways);
    EXPECT_EQ(model.defaultCondition(), 1);
    model.SelectRow(0);
    EXPECT_TRUE(model.DeleteStartCondition());
    ASSERT_EQ(d().start_condition_count, 1);
    EXPECT_EQ(model.defaultCondition(), 0);
    EXPECT_EQ(d().start_conditions[0]->target_node, "B");
    EXPECT_EQ(model.rows()[0].target, "B");
    EXPECT_FALSE(model.applyEnabled());
    EXPECT_FALSE(model.DeleteStartCondition()) << "nothing selected";
}

TEST_F(StartConditions, ThePreviewShowsANodesTextOrAFloatNodesMessages)
{
    model.Begin();
    AddFor("F", kKarma);
    EXPECT_EQ(model.preview(), "[Displays one of the following random messages from float node \"F\"]\r\none\r\ntwo");
    model.SetTarget("A");
    EXPECT_EQ(model.preview(), "Hello there.");
    model.SetTarget("no such node");
    EXPECT_EQ(model.preview(), "Hello there.") << "left as it was";
    model.SelectRow(-1);
    EXPECT_EQ(model.preview(), "");
    EXPECT_EQ(model.target(), "");
}

TEST_F(StartConditions, ApplyChangesRetargetsAndMakesDefaultByTheChosenType)
{
    model.Begin();
    AddFor("A", kKarma);
    AddFor("A", kKarma);
    d().default_condition = 0;
    model.SelectRow(1);
    model.SetTarget("B");
    EXPECT_TRUE(model.ApplyChanges());
    EXPECT_EQ(d().start_conditions[1]->target_node, "B");
    EXPECT_EQ(model.rows()[1].target, "B");
    EXPECT_EQ(model.defaultCondition(), 0);
    model.ChooseType(kAlways);
    EXPECT_TRUE(model.ApplyChanges());
    EXPECT_EQ(model.defaultCondition(), 1);
}

TEST_F(StartConditions, LinesAreAddedModifiedAndDeletedOnTheSelectedStartCondition)
{
    model.Begin();
    model.ChooseType(kKarma);
    EXPECT_FALSE(model.AddLine()) << "no start condition selected";
    AddFor("A", kKarma);
    AddKarmaLine("1");
    AddKarmaLine("2");
    model.SelectLine(0);
    EXPECT_EQ(model.value(), "1");
    model.SetValue("7");
    EXPECT_TRUE(model.ModifyLine());
    starting_condition& s = *d().start_conditions[0];
    EXPECT_EQ(s.lines[0]->ssl, "karma >= 7 and karma != 7");
    EXPECT_EQ(s.lines[0]->value_to_check, "7");
    model.SelectLine(0);
    EXPECT_TRUE(model.DeleteLine());
    ASSERT_EQ(s.line_count, 1);
    EXPECT_EQ(s.lines[0]->value_to_check, "2");
    EXPECT_EQ(model.rows()[0].lines, "1");
    EXPECT_FALSE(model.ModifyLine()) << "no line selected";
}

TEST_F(StartConditions, CancelKeepsTheLinesAndTheyWereMarkedWhenMade)
{
    struct View : StartConditionsView {
        bool exec(StartConditionsModel& m) override
        {
            m.ChooseType(kKarma);
            m.SetTarget("A");
            m.AddStartCondition();
            m.SetValue("3");
            m.AddLine();
            return false;
        }
    } view;
    model.SetView(&view);
    EXPECT_FALSE(model.Open());
    ASSERT_EQ(d().start_condition_count, 1);
    EXPECT_EQ(d().start_conditions[0]->line_count, 1);
    EXPECT_TRUE(app.modified()) << "kept, so a quit must ask";
}

TEST_F(StartConditions, FullTablesRefuseWithAWarningAndChangeNothing)
{
    model.Begin();
    AddFor("A", kKarma);
    while (AddStartConditionLine(d(), 0, "x", "", 0, "", kKarma, 0)) { }
    model.SelectRow(0);
    EXPECT_FALSE(model.AddLine());
    EXPECT_EQ(d().start_conditions[0]->line_count, kMaxStartConditionLines);
    EXPECT_EQ(dialogs.Last()->text,
        "This start condition already holds 31 condition lines, as many as it can hold.\r\nNo line was added.");
    while (zev::AddStartCondition(d(), "B", false)) { }
    EXPECT_FALSE(model.AddStartCondition());
    EXPECT_EQ(d().start_condition_count, kMaxStartConditions);
    EXPECT_EQ(dialogs.Last()->text,
        "The dialogue already holds 513 start conditions, as many as it can hold.\r\nNo start condition was added.");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);
}

TEST_F(StartConditions, WithoutTheDefinitionFileNoLineCanBeMade)
{
    std::remove(dir.File("start_conditions.ini").c_str());
    model.Begin();
    EXPECT_TRUE(model.types().empty());
    model.SetValue("1");
    EXPECT_EQ(model.code(), "<error: no data defined>");
    model.SetTarget("A");
    EXPECT_TRUE(model.AddStartCondition()) << "a start condition needs no type";
    EXPECT_FALSE(model.AddLine());
    EXPECT_EQ(d().start_conditions[0]->line_count, 0);
    EXPECT_EQ(dialogs.Last()->text, StartConditionsModel::kNoType);
}

TEST_F(StartConditions, ALineOfATypeNoLongerDefinedIsNotModifiedUnderAnother)
{
    model.Begin();
    AddFor("A", kKarma);
    AddStartConditionLine(d(), 0, "old", "", 1, "4", 99, 0);
    model.SelectRow(0);
    model.ChooseType(kKarma);
    model.SelectLine(0);
    EXPECT_EQ(model.type(), -1);
    EXPECT_EQ(model.value(), "4");
    EXPECT_FALSE(model.ModifyLine());
    EXPECT_EQ(d().start_conditions[0]->lines[0]->ini_index, 99);
    EXPECT_EQ(d().start_conditions[0]->lines[0]->ssl, "old");
}

} // namespace
} // namespace zev
