#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "model/zev_parser.h"
#include "support/temp_dir.h"

namespace zev {
namespace {

// Parses text into its own dialogue.
struct Read {
    std::unique_ptr<dialog> d = std::make_unique<dialog>();
    TZEV parser;
    explicit Read(std::string_view text, TGenListType list = glOnError)
    {
        parser.SetTarget(d.get());
        parser.GenListWhen = list;
        parser.SetConditionScriptBuilder([](const condition& c) { return "expr" + std::to_string(c.subject); });
        parser.Scanner().SrcStream() = std::string(text);
        parser.Execute();
    }
    ~Read() { Clear(*d); }
    std::string Errors() const
    {
        std::string out;
        for (const auto& e : parser.Errors())
            out += std::to_string(e.Line) + ":" + std::to_string(e.Col) + ": " + parser.ErrorMsg(e.ErrorCode, e.Data)
                + "\n";
        return out;
    }
};

constexpr std::string_view kHeader = "NPCName \"n\" Location \"l\" Description \"d\" Unknown_Desc \"u\" "
                                     "Known_Desc \"k\" Detailed_Desc \"dd\"\r\n";

TEST(ZevReader, ReadsTheShippedSampleWithoutErrors)
{
    std::string text = test::ReadFileBytes(std::string(ZEV_SOURCE_DIR) + "/data/dialogue/sample.zev");
    ASSERT_FALSE(text.empty());
    Read r(text);
    EXPECT_EQ(r.Errors(), "");
    EXPECT_EQ(r.d->npc_name, "Marta the Trader");
    EXPECT_EQ(r.d->node_count, 12);
    EXPECT_EQ(r.d->variable_count, 5);
    EXPECT_EQ(r.d->start_condition_count, 2);
    EXPECT_EQ(r.d->default_condition, 1);
    EXPECT_EQ(r.d->float_nodes[0]->message_count, 3);
    EXPECT_EQ(r.d->timed_events[0]->is_random, 1);
    EXPECT_EQ(r.d->custom_procs[0]->code, "inc_local_var(LVAR_times_met);\r\n");
    const dlgnode& start = *r.d->nodes[0];
    EXPECT_EQ(start.skill_check_count, 1);
    EXPECT_EQ(start.skill_checks[0]->difficulty_modifier, -10);
    EXPECT_EQ(start.options[1]->to_skill_check, 1);
    EXPECT_EQ(start.options[2]->intelligence, -3);
    EXPECT_EQ(start.options[3]->conditions[0]->check_type, CHECK_MONEY);
    EXPECT_EQ(start.options[3]->conditions[0]->script_expr, "expr1");
    // The writer gives the same bytes back.
    EXPECT_EQ(SerializeDialogue(*r.d), text);
}

TEST(ZevReader, EverythingTheWriterWritesReadsBackUnchanged)
{
    auto d = std::make_unique<dialog>();
    d->npc_name = "N\"p\"c";
    d->description = "line one\r\nline \"two\"\twith tab";
    d->location = "a\rb";
    AddVariable(*d, "f")->value_type = VALUE_FLOAT;
    d->variables[0]->value.SetFloat(2.0);
    TVariable* s = AddVariable(*d, "s");
    s->value_type = VALUE_STRING;
    s->value.SetString("say \"hi\"");
    s->scope = SCOPE_EXPORT;
    dlgnode* n = AddNode(*d, "Node \"1\"");
    n->custom_code = "a;\r\n\r\nb;\r\n";
    n->npc_text = "Hello\r\n<PC>";
    AddSkillCheck(*n)->name = "sc";
    n->skill_checks[0]->skill = 5;
    n->skill_checks[0]->difficulty_modifier = -10;
    n->skill_checks[0]->on_success = "Win";
    n->skill_checks[0]->on_failure = "Lose";
    option* o = AddOption(*n);
    o->text = "opt";
    o->link_target = "done";
    o->intelligence = 7;
    o->gender = GENDER_MALE;
    o->reaction = REACTION_GOOD;
    o->to_custom_proc = 1;
    condition* c = AddCondition(*o);
    c->check_type = CHECK_SKILL;
    c->subject = 5;
    c->eval = 6;
    c->value = "\"str\"";
    c->link_next = LINK_AND;
    AddStartCondition(*d, "Node \"1\"", false);
    AddStartConditionLine(*d, 0, "x \"y\"", "v", 2, "3", 1, 2);
    d->default_condition = -1;
    floatnode* f = AddFloatNode(*d, "fl");
    AddFloatMessage(*f, "m \"q\"");
    time_event_data* e = AddTimedEvent(*d, "t");
    e->interval = 5;
    AddTimedEventLine(*e, "x(\"1\");");
    AddCustomProc(*d, "p")->code = "one;\r\n";

    std::string first = SerializeDialogue(*d);
    Read r(first);
    EXPECT_EQ(r.Errors(), "");
    EXPECT_EQ(SerializeDialogue(*r.d), first);
    EXPECT_EQ(r.d->description, d->description);
    EXPECT_EQ(r.d->location, "a\r\nb"); // a lone CR comes back as a line break
    EXPECT_EQ(r.d->variables[0]->value_type, VALUE_FLOAT);
    EXPECT_EQ(r.d->variables[0]->value.AsFloat(), 2.0);
    EXPECT_EQ(r.d->variables[1]->value.AsString(), "say \"hi\"");
    EXPECT_EQ(r.d->nodes[0]->name, "Node \"1\"");
    EXPECT_EQ(r.d->nodes[0]->custom_code, "a;\r\n\r\nb;\r\n");
    EXPECT_EQ(r.d->nodes[0]->options[0]->conditions[0]->value, "\"str\"");
    EXPECT_EQ(r.d->start_conditions[0]->lines[0]->ssl, "x \"y\"");
    EXPECT_EQ(r.d->default_condition, -1);
    Clear(*d);
}

TEST(ZevReader, HandWrittenFormsTheGrammarAllows)
{
    std::string text = "# directive line\n// comment\n/* block */";
    text += kHeader;
    text
        += "Node \"a\" notes \"\" { NPCText \"x\\ny\\tz\" options {\n"
           "  playertext \"p\" linkto \"b\" conditions { CHECK_STAT strength >= 5 link_next AND, CHECK_SKILL speech } "
           "notes \"\"\n"
           "} }\nNode \"b\" notes \"\" { NPCText \"\" options { } }\n"
           "Default_Event = 0 TimeEvent fixed_param_name=\"t\", enum=1 IsRandomInterval = False Interval=3 code = { }\n"
           "custom_proc p associate_node 1 { }\n"
           "exec_script_code { \"Print('hi');\", \"x;\" };\n"
           "Floatnode \"f\" notes \"\" { }\n";
    text += "NPCName \"again\" Location \"\" Description \"\" Unknown_Desc \"\" Known_Desc \"\" Detailed_Desc \"\"";
    Read r(text);
    EXPECT_EQ(r.Errors(), "");
    EXPECT_EQ(r.d->npc_name, "again");
    ASSERT_EQ(r.d->node_count, 2);
    EXPECT_EQ(r.d->nodes[0]->npc_text, "x\r\ny\tz");
    const option& o = *r.d->nodes[0]->options[0];
    EXPECT_EQ(o.intelligence, 4);
    EXPECT_EQ(o.reaction, 0);
    ASSERT_EQ(o.condition_count, 2);
    // The second condition has no operator part: it takes the previous one's.
    EXPECT_EQ(o.conditions[1]->eval, 5);
    EXPECT_EQ(o.conditions[1]->value, "5");
    EXPECT_EQ(o.conditions[1]->link_next, LINK_AND);
    EXPECT_EQ(o.conditions[1]->subject, 15);
    EXPECT_EQ(r.d->timed_events[0]->code_line_count, 0);
    EXPECT_EQ(r.parser.ExecScriptLines(), (std::vector<std::string> { "Print('hi');", "x;" }));
}

TEST(ZevReader, RepeatedSectionsResetOrAppendAndLoadsReplaceTheTables)
{
    auto d = std::make_unique<dialog>();
    TZEV parser;
    parser.SetTarget(d.get());
    auto parse = [&](std::string text) {
        parser.Scanner().SrcStream() = std::move(text);
        parser.Execute();
        return parser.Successful();
    };
    std::string cond = "start_conditions default_condition 0 { cond target_node \"x\" { } };\n";
    ASSERT_TRUE(parse(cond + cond
        + "custom_proc a associate_node 0 { \"1\" }\ncustom_proc b associate_node 0 { }\n"
          "Node \"n\" notes \"\" { NPCText \"\" options { playertext \"\" linkto \"\" "
          "conditions { CHECK_STAT luck > 3 } notes \"\" } }"));
    EXPECT_EQ(d->start_condition_count, 1);
    EXPECT_EQ(d->custom_proc_count, 2);
    // A second file: only its own procedures; a condition without an operator takes the last one
    // read, also from the previous load.
    ASSERT_TRUE(parse("custom_proc c associate_node 1 { }\nNode \"m\" notes \"\" { NPCText \"\" options { "
                      "playertext \"\" linkto \"\" conditions { CHECK_SKILL speech } notes \"\" } }"));
    ASSERT_EQ(d->custom_proc_count, 1);
    EXPECT_EQ(d->custom_procs[0]->name, "c");
    EXPECT_EQ(d->node_count, 1);
    EXPECT_EQ(d->start_condition_count, 0);
    const condition& c = *d->nodes[0]->options[0]->conditions[0];
    EXPECT_EQ(c.eval, 3);
    EXPECT_EQ(c.value, "3");
    Clear(*d);
}

TEST(ZevReader, ErrorsCarryTheirPositionsAndAreSuppressedNearEachOther)
{
    // CR LF file: the first symbol of line 3 has column 2.
    Read r(std::string(kHeader) + "\r\nNode \"a\" notes \"\" { NPCText \"\" options { playertext \"p\" } }");
    EXPECT_EQ(r.Errors(), "3:58: \"linkto\" expected\n");

    Read adjacent(std::string(kHeader) + "Node notes \"\"");
    // "string expected" at notes, then nothing near it.
    EXPECT_EQ(adjacent.Errors().substr(0, 32), "2:7: string constant expected\n2:");

    Read unknown("@ NPCName");
    EXPECT_EQ(unknown.Errors().substr(0, 18), "1:2: not expected\n");

    Read lf("\n\nfoo");
    EXPECT_EQ(lf.Errors(), "3:1: invalid Main\n");
}

TEST(ZevReader, NumbersOutOfRangeAndTablesBeyondCapacityAreReportedNotFatal)
{
    std::string text = std::string(kHeader) + "Node \"a\" notes \"\" { NPCText \"\" options {\r\n";
    text += " int=99999999999 playertext \"p\" linkto \"x\" notes \"\"\r\n";
    for (int i = 0; i < kMaxOptions; ++i)
        text += " playertext \"p\" linkto \"x\" notes \"\"\r\n";
    text += "} }";
    Read r(text);
    ASSERT_EQ(r.parser.Errors().size(), 2u);
    EXPECT_EQ(r.parser.Errors()[0].ErrorCode, kErrNumberOutOfRange);
    EXPECT_EQ(r.parser.Errors()[0].Line, 3);
    EXPECT_EQ(r.parser.Errors()[0].Col, 7);
    EXPECT_EQ(r.parser.Errors()[1].ErrorCode, kErrTooManyEntries);
    EXPECT_EQ(r.parser.Errors()[1].Line, 3 + kMaxOptions);
    EXPECT_EQ(r.d->nodes[0]->option_count, kMaxOptions);
    EXPECT_EQ(r.d->nodes[0]->options[0]->intelligence, 0);
}

// A float node's messages fill a table of their own; those beyond it are reported where they stand,
// read and dropped, and nothing is written past the table.
TEST(ZevReader, MessagesBeyondAFloatNodesTableAreReportedAndDropped)
{
    auto floatNode = [](int messages) {
        std::string text = std::string(kHeader) + "Floatnode \"f\" notes \"\" {\r\n";
        for (int i = 0; i < messages; ++i)
            text += std::string(i ? "," : " ") + "\"m" + std::to_string(i) + "\"\r\n";
        return text + "}\r\nNode \"after\" notes \"\" { NPCText \"\" options { } }\r\n";
    };
    Read full(floatNode(kMaxFloatMessages));
    EXPECT_EQ(full.Errors(), "");
    ASSERT_EQ(full.d->float_nodes[0]->message_count, kMaxFloatMessages);

    Read over(floatNode(kMaxFloatMessages + 3));
    // The header is line 1 and "Floatnode" line 2; message i stands on line 3 + i after ",".
    EXPECT_EQ(over.Errors(),
        "260:3: too many entries, entry dropped\n261:3: too many entries, entry dropped\n"
        "262:3: too many entries, entry dropped\n");
    const floatnode& f = *over.d->float_nodes[0];
    EXPECT_EQ(f.message_count, kMaxFloatMessages);
    EXPECT_EQ(f.messages[kMaxFloatMessages - 1], "m256");
    EXPECT_EQ(f.notes, "");
    ASSERT_EQ(over.d->node_count, 1); // the reading went on after it
    EXPECT_EQ(over.d->nodes[0]->name, "after");
    EXPECT_EQ(SerializeDialogue(*over.d), SerializeDialogue(*full.d));
}

TEST(ZevReader, ListingNumbersLinesAndMarksErrors)
{
    // The unknown symbol resets the error distance, so the missing string right after it is dropped;
    // a one-error listing ends without a line end.
    Read one("Node\r\n\t@x", glAlways);
    EXPECT_EQ(one.parser.ListStream(),
        "    1  Node\r\n"
        "    2  \t@x\r\n"
        "*****  \t^ not expected\r\n"
        "\r\n    1 error");

    // An error at the end of file stands on the line after the last.
    Read eof("Node \"a\"\r\n", glAlways);
    EXPECT_EQ(eof.parser.ListStream(),
        "    1  Node \"a\"\r\n"
        "*****  ^ \"notes\" expected\r\n"
        "\r\n    1 error");

    // Two errors far enough apart; on line 1 before any CR LF the marker sits one column right.
    Read two("NPCName \"a\" \"l\" Description \"d\" Unknown_Desc \"u\" Known_Desc \"k\" Detailed_Desc 7", glOnError);
    std::string line = "NPCName \"a\" \"l\" Description \"d\" Unknown_Desc \"u\" Known_Desc \"k\" Detailed_Desc 7";
    EXPECT_EQ(two.parser.ListStream(),
        "    1  " + line + "\r\n" + "*****  " + std::string(line.find("\"l") + 1, ' ') + "^ \"Location\" expected\r\n"
            + "*****  " + std::string(line.find('7') + 1, ' ') + "^ string constant expected\r\n"
            + "\r\n    2 errors\r\n");

    Read clean(std::string(kHeader), glOnError);
    EXPECT_TRUE(clean.parser.Successful());
    EXPECT_EQ(clean.parser.ListStream(), "");
    Read always(std::string(kHeader), glAlways);
    EXPECT_EQ(always.parser.ListStream().substr(always.parser.ListStream().size() - 16), "\r\n    0 errors\r\n");
}

TEST(ZevReader, LinksToOneNodeShareItsNameUntilOneIsChanged)
{
    dialog d;
    dlgnode* a = AddNode(d, "A");
    dlgnode* b = AddNode(d, "B");
    for (int i = 0; i < 3; ++i)
        AddOption(*a)->link_target = "B";
    AddOption(*b)->link_target = "A";
    std::string text = SerializeDialogue(d);
    Clear(d);

    Read r(text);
    ASSERT_TRUE(r.parser.Errors().empty()) << r.Errors();
    dlgnode& ra = *r.d->nodes[0];
    dlgnode& rb = *r.d->nodes[1];
    EXPECT_EQ(ra.options[0]->link_target.Raw(), rb.name.Raw());
    EXPECT_EQ(ra.options[2]->link_target.Raw(), rb.name.Raw());
    EXPECT_EQ(rb.options[0]->link_target.Raw(), ra.name.Raw()); // named before the node was read
    // Strings are values: changing one leaves the others alone.
    ra.options[1]->link_target = "C";
    EXPECT_EQ(rb.name, "B");
    EXPECT_EQ(ra.options[0]->link_target, "B");
    EXPECT_EQ(SerializeDialogue(*r.d).find("linkto \"B\""), text.find("linkto \"B\""));
}

} // namespace
} // namespace zev
