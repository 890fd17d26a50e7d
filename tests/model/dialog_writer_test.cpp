#include <gtest/gtest.h>

#include <memory>

#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

constexpr std::string_view kHeaderComment
    = "/*\r\n\r\n    ZEV Dialogue Tool\r\n         dialogue script file\r\n\r\n"
      " -- hand editing this file is not recommended\r\n\r\n Created with version 0.25.4-stable\r\n\r\n*/\r\n\r\n";

struct WriterFixture : ::testing::Test {
    std::unique_ptr<dialog> d = std::make_unique<dialog>();
    ~WriterFixture() override { Clear(*d); }
    std::string Text() { return SerializeDialogue(*d); }
};

TEST_F(WriterFixture, AnEmptyDialogueIsTheHeaderAndTheNodesHeading)
{
    EXPECT_EQ(Text(),
        std::string(kHeaderComment)
            + "NPCName \"\"\r\nLocation \"\"\r\nDescription \"\"\r\nUnknown_Desc \"\"\r\n"
              "Known_Desc \"\"\r\nDetailed_Desc \"\"\r\n/* Regular nodes */\r\n\r\n");
}

TEST_F(WriterFixture, ANodeWithChecksCodeFemaleTextAndOptions)
{
    dlgnode* n = AddNode(*d, "Gate*/x");
    n->notes = "two\r\nlines";
    n->npc_text = "Say \"hi\"";
    n->npc_female_text = "Hi, miss";
    n->custom_code = "a;\r\n\r\nb;\r\n";
    skillcheck* s = AddSkillCheck(*n);
    s->name = "sc";
    s->skill = 5;
    s->difficulty_modifier = -10;
    s->on_success = "Win";
    s->on_failure = "Lose";
    option* plain = AddOption(*n);
    plain->intelligence = 4;
    plain->text = "Bye";
    plain->link_target = "done";
    option* rich = AddOption(*n);
    rich->intelligence = -3;
    rich->to_skill_check = 1;
    rich->reaction = REACTION_BAD;
    rich->gender = GENDER_FEMALE;
    rich->text = "Try";
    rich->link_target = "sc";
    rich->notes = "n";
    condition* c = AddCondition(*rich);
    c->check_type = CHECK_STAT;
    c->subject = 5;
    c->eval = 5;
    c->value = "6";
    condition* c2 = AddCondition(*rich);
    c2->check_type = LOCAL_VARIABLE;
    c2->variable_name = "lv";
    c2->eval = 1;
    c2->value = "\"x\"";
    c2->link_next = LINK_OR;
    option* odd = AddOption(*n);
    odd->reaction = 7; // unknown reactions are written neutral
    odd->to_custom_proc = 1;
    odd->to_skill_check = 1; // both flags: neither is written

    std::string text = Text();
    auto body = text.substr(text.find("/* Regular nodes */"));
    EXPECT_EQ(body,
        "/* Regular nodes */\r\n\r\n"
        "Node \"Gate*/x\"\r\n"
        "notes \"two\\nlines\"\r\n"
        "/* Skill checks for node Gate* /x */\r\n\r\n"
        "      define_skill_check sc {\r\n"
        "      skill_num = 5;\r\n"
        "      difficulty_modifier = -10;\r\n"
        "      onsuccess => Win;\r\n"
        "      onfailure => Lose;\r\n"
        "      }\r\n\r\n"
        "    insert_custom_code {\r\n"
        "    \"a;\",\r\n"
        "    \"\",\r\n"
        "    \"b;\"\r\n"
        "    }\r\n"
        "{\r\n"
        "NPCText \"Say \\\"hi\\\"\"\r\n"
        " NPCFemaleText \"Hi, miss\"\r\n"
        "      options {\r\n"
        "          int=4 Reaction=REACTION_NEUTRAL playertext \"Bye\" linkto \"done\"  notes \"\"\r\n"
        "          int=-3 linkflags skill_check Reaction=REACTION_BAD Gender=FEMALE playertext \"Try\" "
        "linkto \"sc\" conditions { CHECK_STAT intelligence >= 6 link_next NONE, "
        "LOCAL_VARIABLE lv == \"x\" link_next OR } notes \"n\"\r\n"
        "          int=0 Reaction=REACTION_NEUTRAL playertext \"\" linkto \"\"  notes \"\"\r\n"
        "              }\r\n"
        "}\r\n");
    // The dialogue in memory keeps its plain text.
    EXPECT_EQ(n->notes, "two\r\nlines");
    EXPECT_EQ(Text(), text);
}

TEST_F(WriterFixture, VariablesStartConditionsEventsFloatsAndProcedures)
{
    AddVariable(*d, "a")->scope = SCOPE_IMPORT;
    TVariable* i = AddVariable(*d, "i");
    i->scope = SCOPE_LOCAL;
    i->value_type = VALUE_INTEGER;
    i->value.SetInt(-5);
    TVariable* f = AddVariable(*d, "f");
    f->scope = SCOPE_EXPORT;
    f->value_type = VALUE_FLOAT;
    f->value.SetFloat(2.0);
    TVariable* s = AddVariable(*d, "s");
    s->value_type = VALUE_STRING;
    s->value.SetString("q\"x");
    s->notes = "note";
    AddStartCondition(*d, "A", false);
    AddStartConditionLine(*d, 0, "x > 1", "v", 3, "1", 0, 1);
    AddStartConditionLine(*d, 0, "y", "", 0, "", 2, 0);
    AddStartCondition(*d, "B", false);
    AddStartConditionLine(*d, 1, "z", "", 0, "", 1, 0);
    d->default_condition = -1;
    d->default_event = 1;
    time_event_data* e1 = AddTimedEvent(*d, "t1");
    e1->enum_value = 3;
    e1->interval = 60;
    AddTimedEventLine(*e1, "x;");
    time_event_data* e2 = AddTimedEvent(*d, "t2");
    e2->is_random = 1;
    e2->interval_min = 1;
    e2->interval_max = 9;
    AddTimedEventLine(*e2, "say(\"a\");");
    AddTimedEventLine(*e2, "b;");
    floatnode* fl = AddFloatNode(*d, "F");
    AddFloatMessage(*fl, "m1");
    AddFloatMessage(*fl, "m2");
    custom_proc* p = AddCustomProc(*d, "proc");
    p->associate_node = 2;
    p->code = "one;\r\ntwo;\r\n";

    EXPECT_EQ(Text(),
        std::string(kHeaderComment)
            + "vars {\r\n"
              "import var a notes \"\";\r\n"
              "local var i notes \"\" = -5;\r\n"
              "export var f notes \"\" = 2.0;\r\n"
              "var s notes \"note\" = \"q\\\"x\";\r\n"
              "}\r\n"
              "NPCName \"\"\r\nLocation \"\"\r\nDescription \"\"\r\nUnknown_Desc \"\"\r\n"
              "Known_Desc \"\"\r\nDetailed_Desc \"\"\r\n"
              "/* Dialogue starting conditions */\r\n\r\n"
              "start_conditions\r\n"
              "default_condition -1\r\n"
              "{\r\n"
              "cond target_node \"A\"\r\n"
              "{\r\n"
              "    SSL \"x > 1\" var_param \"v\" eval 3 value_to_check \"1\" ini_index 0 link 1,\r\n"
              "    SSL \"y\" var_param \"\" eval 0 value_to_check \"\" ini_index 2 link 0\r\n"
              "},\r\n"
              "cond target_node \"B\"\r\n"
              "{\r\n"
              "    SSL \"z\" var_param \"\" eval 0 value_to_check \"\" ini_index 1 link 0\r\n"
              "}\r\n"
              "};\r\n\r\n"
              "/* Timed events */\r\n\r\n"
              "// Intervals are entered in seconds (converted to game ticks by the script)\r\n"
              "// default_event points to an index from the timed event list\r\n"
              "// starting from zero\r\n"
              "Default_Event = 1\r\n"
              "TimeEvent fixed_param_name=\"t1\", enum=3\r\n"
              "IsRandomInterval = False\r\n"
              "Interval=60\r\n"
              "   code = {\r\n"
              "    \"x;\"\r\n"
              "  }\r\n"
              "TimeEvent fixed_param_name=\"t2\", enum=0\r\n"
              "IsRandomInterval = True\r\n"
              "IntervalMin=1\r\n"
              "IntervalMax=9\r\n"
              "   code = {\r\n"
              "    \"say(\\\"a\\\");\",\r\n"
              "    \"b;\"\r\n"
              "  }\r\n\r\n"
              "/* Float message nodes */\r\n\r\n"
              "Floatnode \"F\"\r\nnotes \"\"\r\n{\r\n\"m1\",\r\n\"m2\"\r\n}\r\n\r\n"
              "/* Regular nodes */\r\n\r\n"
              "/* Custom procedures */\r\n"
              "      custom_proc proc associate_node 2 {\r\n"
              "      \"one;\",\r\n"
              "      \"two;\"\r\n"
              "      }\r\n");
}

TEST(WriterEncoding, FullAndQuotesTreatments)
{
    EXPECT_EQ(EncodeFull("a\"b\r\nc\rd\ne"), "a\\\"b\\nc\\nd\ne");
    // A line break read from a "\n" inside a one-line value is encoded too, or the file would not read back.
    EXPECT_EQ(EncodeQuotes("a\"b\rc\r\nd"), "a\\\"b\\nc\\nd");
    EXPECT_EQ(EncodeFull("back\\slash"), "back\\slash");
}

TEST(WriterEncoding, FloatsAreFixedWithAPointAndFifteenDigits)
{
    EXPECT_EQ(FormatFloatValue(2.0), "2.0");
    EXPECT_EQ(FormatFloatValue(-0.0), "-0.0");
    EXPECT_EQ(FormatFloatValue(0.0), "0.0");
    EXPECT_EQ(FormatFloatValue(0.1), "0.1");
    EXPECT_EQ(FormatFloatValue(-1.25), "-1.25");
    EXPECT_EQ(FormatFloatValue(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatFloatValue(1e20), "100000000000000000000.0");
    EXPECT_EQ(FormatFloatValue(1.5e-10), "0.00000000015");
    EXPECT_EQ(FormatFloatValue(123456789012345678.0), "123456789012346000.0");
    EXPECT_EQ(FormatFloatValue(0.999999999999999999), "1.0");
}

TEST_F(WriterFixture, ConditionsWhoseCodesHaveNoNameStillWriteAReadableLine)
{
    option* o = AddOption(*AddNode(*d, "n"));
    condition* unknownType = AddCondition(*o);
    unknownType->check_type = 0;
    unknownType->eval = 1;
    unknownType->value = "1";
    condition* skillAsStat = AddCondition(*o);
    skillAsStat->check_type = CHECK_STAT;
    skillAsStat->subject = 15;
    skillAsStat->eval = 3;
    skillAsStat->value = "\"open\\\"";
    condition* noOperator = AddCondition(*o);
    noOperator->check_type = CHECK_SKILL;
    noOperator->subject = 0;
    noOperator->value = "5";
    noOperator->link_next = 9;
    std::string text = Text();
    EXPECT_NE(text.find("conditions { UNKNOWN_CHECK unknown == 1 link_next NONE, "
                        "CHECK_STAT speech > \"open\\\"\" link_next NONE, "
                        "CHECK_SKILL unknown   link_next NONE }"),
        std::string::npos)
        << text;
}

TEST(WriterFile, WritesSetsTheFileNameAndFailsCleanly)
{
    test::TempDir dir;
    auto d = std::make_unique<dialog>();
    AddNode(*d, "n");
    std::string error;
    std::string path = dir.File("out.zev");
    ASSERT_TRUE(WriteDialogueFile(*d, path, error)) << error;
    EXPECT_EQ(d->file_name, path);
    EXPECT_EQ(test::ReadFileBytes(path), SerializeDialogue(*d));

    std::string blocker = dir.Write("file", "x");
    EXPECT_FALSE(WriteDialogueFile(*d, blocker + "/sub.zev", error));
    EXPECT_NE(error.find("sub.zev"), std::string::npos);
    EXPECT_EQ(d->file_name, path);
    Clear(*d);
}

} // namespace
} // namespace zev
