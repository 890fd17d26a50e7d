#include "code_windows_fixture.h"

#include "base/number_text.h"
#include "base/text_replace.h"
#include "editors/value_text.h"

namespace zev {
namespace {

using test::CodeWindowsFixture;

struct VariableManager : CodeWindowsFixture {
    VariableManager() { variables.Begin(); }
    void Fill(std::string name, int scope, int type, std::string value, std::string notes = {})
    {
        variables.SetName(std::move(name));
        variables.SetScope(scope);
        variables.SetHasDefault(type >= 0);
        variables.SetType(type);
        variables.SetValue(std::move(value));
        variables.SetNotes(std::move(notes));
    }
};

TEST_F(VariableManager, AVariableWithoutDefaultValueIsListedAsSuch)
{
    Fill("plain", SCOPE_EXPORT, -1, "ignored");
    variables.Add();
    ASSERT_EQ(d().variable_count, 1);
    EXPECT_EQ(d().variables[0]->value_type, -1);
    EXPECT_TRUE(d().variables[0]->value.IsEmpty());
    ASSERT_EQ(variables.rows().size(), 1u);
    EXPECT_EQ(variables.rows()[0].name, "[export] plain");
    EXPECT_EQ(variables.rows()[0].type, "N/A (no default value)");
    EXPECT_EQ(variables.rows()[0].value, "");
    // The fields are ready for the next one.
    EXPECT_EQ(variables.name(), "");
    EXPECT_EQ(variables.scope(), 0);
    EXPECT_FALSE(variables.hasDefault());
    EXPECT_TRUE(app.modified());
}

TEST_F(VariableManager, AddConvertsTheValueByType)
{
    Fill("s", SCOPE_NONE, VALUE_STRING, "  text ");
    variables.Add();
    Fill("i", SCOPE_IMPORT, VALUE_INTEGER, "$1F");
    variables.Add();
    Fill("f", SCOPE_LOCAL, VALUE_FLOAT, " -2.5e1 ");
    variables.Add();
    ASSERT_EQ(d().variable_count, 3);
    EXPECT_EQ(d().variables[0]->value.AsString(), "  text ");
    EXPECT_EQ(d().variables[1]->value.AsInt(), 31);
    EXPECT_EQ(d().variables[2]->value.AsFloat(), -25.0);
    EXPECT_EQ(d().variables[2]->scope, SCOPE_LOCAL);
    const auto& rows = variables.rows();
    EXPECT_EQ(rows[1].name, "[import] i");
    EXPECT_EQ(rows[1].type, "integer");
    EXPECT_EQ(rows[1].value, "31");
    EXPECT_EQ(rows[2].name, "[local] f");
    EXPECT_EQ(rows[2].type, "float");
    EXPECT_EQ(rows[2].value, "-25");
}

TEST_F(VariableManager, AValueThatDoesNotConvertIsRefusedAndKeptForCorrection)
{
    Fill("n", SCOPE_NONE, VALUE_INTEGER, "12abc", "note");
    variables.Add();
    Fill("x", SCOPE_NONE, VALUE_FLOAT, "1,5");
    variables.Add();
    EXPECT_EQ(d().variable_count, 0);
    EXPECT_EQ(Boxes(),
        (std::vector<std::string> {
            "error: '12abc' is not a valid integer value", "error: '1,5' is not a valid floating point value" }));
    EXPECT_EQ(variables.value(), "1,5");
    EXPECT_EQ(variables.name(), "x");
    EXPECT_FALSE(app.modified());

    // Apply on a row: nothing of it stored, neither the value nor the type nor the other fields.
    TVariable* v = Variable("kept");
    v->value_type = VALUE_INTEGER;
    v->value.SetInt(4);
    variables.Begin();
    variables.SetSelection({ 0 });
    variables.SetName("renamed");
    variables.SetValue("four");
    variables.Apply();
    EXPECT_EQ(v->name, "kept");
    EXPECT_EQ(v->value_type, VALUE_INTEGER);
    EXPECT_EQ(v->value.AsInt(), 4);
}

TEST_F(VariableManager, TwoLineNotesAreStoredWithOneBackslashN)
{
    Fill("v", SCOPE_NONE, -1, "", "first line\r\nsecond line");
    variables.Add();
    EXPECT_EQ(d().variables[0]->notes, "first line\\nsecond line");
    variables.SetSelection({ 0 });
    EXPECT_EQ(variables.notes(), "first line\r\nsecond line");
    EXPECT_TRUE(Logged("varTYPE:=-1"));
    EXPECT_FALSE(variables.hasDefault());
    // Selecting nothing clears the fields.
    variables.SetSelection({});
    EXPECT_EQ(variables.notes(), "");
    EXPECT_EQ(variables.name(), "");
    EXPECT_FALSE(variables.applyEnabled());
}

TEST_F(VariableManager, SelectingARowLoadsItAndApplyStoresEveryField)
{
    TVariable* v = Variable("old", SCOPE_IMPORT);
    v->value_type = VALUE_FLOAT;
    v->value.SetFloat(0.1);
    v->notes = "a\\nb";
    variables.Begin();
    variables.SetSelection({ 0 });
    EXPECT_TRUE(Logged("varTYPE:=2"));
    EXPECT_TRUE(variables.applyEnabled());
    EXPECT_EQ(variables.name(), "old");
    EXPECT_EQ(variables.scope(), SCOPE_IMPORT);
    EXPECT_TRUE(variables.hasDefault());
    EXPECT_EQ(variables.typeText(), "Float");
    EXPECT_EQ(variables.value(), "0.1");

    variables.SetName("new");
    variables.SetNotes("only");
    variables.SetScope(SCOPE_EXPORT);
    variables.SetHasDefault(false);
    EXPECT_EQ(variables.type(), -1);
    EXPECT_EQ(variables.typeText(), "<none>");
    variables.Apply();
    EXPECT_EQ(v->name, "new");
    EXPECT_EQ(v->notes, "only");
    EXPECT_EQ(v->scope, SCOPE_EXPORT);
    EXPECT_EQ(v->value_type, -1);
    EXPECT_EQ(variables.rows()[0].type, "N/A (no default value)");
    EXPECT_TRUE(variables.selection().empty());
    EXPECT_EQ(variables.name(), "");
}

TEST_F(VariableManager, ApplyOnThreeRowsChangesTypeValueAndScopeButNotNamesOrNotes)
{
    for (const char* n : { "one", "two", "three", "untouched" }) {
        Variable(n)->notes = std::string(n) + " note";
    }
    variables.Begin();
    variables.SetSelection({ 2, 0, 1, 7 }); // out of range rows are dropped
    ASSERT_EQ(variables.selection(), (std::vector<int> { 0, 1, 2 }));
    variables.SetName("ignored");
    variables.SetNotes("ignored");
    variables.SetScope(SCOPE_LOCAL);
    variables.SetHasDefault(true);
    variables.SetType(VALUE_INTEGER);
    variables.SetValue("-7");
    variables.Apply();
    EXPECT_TRUE(Logged("Selected 3 items."));
    for (int i = 0; i < 3; ++i) {
        const TVariable& v = *d().variables[i];
        EXPECT_EQ(v.value_type, VALUE_INTEGER);
        EXPECT_EQ(v.value.AsInt(), -7);
        EXPECT_EQ(v.scope, SCOPE_LOCAL);
        EXPECT_EQ(v.notes, v.name.str() + " note");
    }
    EXPECT_EQ(VariableNames(), (std::vector<std::string> { "one", "two", "three", "untouched" }));
    EXPECT_EQ(d().variables[3]->value_type, -1);
    EXPECT_EQ(variables.rows()[2].name, "[local] three");
}

TEST_F(VariableManager, RearrangeSortsIgnoringCaseAndTellsThePlugins)
{
    Variable("b")->notes = "of b";
    Variable("A");
    Variable("C");
    variables.Begin();
    variables.Rearrange();
    EXPECT_EQ(VariableNames(), (std::vector<std::string> { "A", "b", "C" }));
    EXPECT_EQ(d().variables[1]->notes, "of b");
    EXPECT_EQ(variables.rows()[1].name, "b");
    EXPECT_EQ(events, (std::vector<std::string> { "plugins" }));
}

TEST_F(VariableManager, MovesExchangeNeighboursAndStopAtTheEnds)
{
    Variable("a");
    Variable("b");
    Variable("c");
    variables.Begin();
    variables.SetSelection({ 0 });
    variables.MoveUp(); // the top one
    EXPECT_EQ(VariableNames(), (std::vector<std::string> { "a", "b", "c" }));
    EXPECT_FALSE(app.modified());
    variables.MoveDown();
    variables.MoveDown();
    EXPECT_EQ(VariableNames(), (std::vector<std::string> { "b", "c", "a" }));
    EXPECT_EQ(variables.selection(), std::vector<int> { 2 });
    EXPECT_EQ(variables.name(), "a");
    variables.MoveDown(); // the bottom one
    EXPECT_EQ(VariableNames(), (std::vector<std::string> { "b", "c", "a" }));
    variables.SetSelection({ 1, 2 });
    variables.Delete(); // the first selected
    EXPECT_EQ(VariableNames(), (std::vector<std::string> { "b", "a" }));
    EXPECT_TRUE(app.modified());
}

TEST_F(VariableManager, AddAtCapacityIsRefusedWithABox)
{
    for (int i = 0; i < kMaxVariables; ++i)
        Variable("v" + std::to_string(i));
    variables.Begin();
    Fill("one too many", SCOPE_NONE, VALUE_INTEGER, "1");
    variables.Add();
    EXPECT_EQ(d().variable_count, kMaxVariables);
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Error);
    EXPECT_NE(dialogs.History()[0].text.find("1001"), std::string::npos);
    EXPECT_EQ(variables.name(), "one too many");
    EXPECT_FALSE(app.modified());
}

TEST_F(VariableManager, OkMarksTheDialogueModifiedAndCancelOnlyCloses)
{
    test::ScriptedVariablesView view;
    view.script = [](ScriptVariablesModel&) { return false; };
    EXPECT_FALSE(variables.Open(&view));
    EXPECT_FALSE(app.modified());
    view.script = [](ScriptVariablesModel&) { return true; };
    EXPECT_TRUE(variables.Open(&view));
    EXPECT_TRUE(app.modified());
}

TEST(ValueText, IntegersAsStrToIntReadsThem)
{
    EXPECT_EQ(ParseIntegerText("2147483647"), 2147483647);
    EXPECT_EQ(ParseIntegerText("-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseIntegerText("  +12"), 12);
    EXPECT_EQ(ParseIntegerText("$FFFFFFFF"), -1);
    EXPECT_EQ(ParseIntegerText("0x10"), 16);
    for (const char* bad : { "2147483648", "-2147483649", "$100000000", "", "-", "$", "12 ", "1.0", "0x" })
        EXPECT_EQ(ParseIntegerText(bad), std::nullopt) << bad;
}

TEST(ValueText, FloatsAsStrToFloatReadsThemWhateverTheLocale)
{
    EXPECT_EQ(ParseFloatText(" 2.5 "), 2.5);
    EXPECT_EQ(ParseFloatText(".5"), 0.5);
    EXPECT_EQ(ParseFloatText("3."), 3.0);
    EXPECT_EQ(ParseFloatText("-1E3"), -1000.0);
    for (const char* bad : { "", "1,5", "1e", "e5", ".", "inf", "nan", "1e400", "0x10", "--1" })
        EXPECT_EQ(ParseFloatText(bad), std::nullopt) << bad;
    EXPECT_EQ(FloatToStr(0.1), "0.1");
    EXPECT_EQ(FloatToStr(1e20), "1E20");
    EXPECT_EQ(FloatToStr(-1.5e-7), "-1.5E-7");
    EXPECT_EQ(FloatToStr(-0.0), "0");
}

TEST(ValueText, LineBreaksAndFinalBreaks)
{
    EXPECT_EQ(BreaksToBackslashN("a\r\nb\nc\rd"), "a\\nb\\nc\\nd");
    EXPECT_EQ(BackslashNToBreaks("a\\nb"), "a\r\nb");
    EXPECT_EQ(WithoutFinalBreak("a\r\nb\r\n"), "a\r\nb");
    EXPECT_EQ(WithoutFinalBreak("a\r\n\r\n"), "a\r\n");
    EXPECT_EQ(WithoutFinalBreak(""), "");
    EXPECT_EQ(ReplaceAll("%x% + %x%", "%x%", "5"), "5 + 5");
}

} // namespace
} // namespace zev
