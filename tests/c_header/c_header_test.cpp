// A dialogue built by the C++ model, read back by C code that knows only zevdlg/plugin.h.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "c_reader.h"
#include "model/dialog_ops.h"

namespace zev {
namespace {

std::string Describe(void (*fn)(const void*, char*, size_t), const void* record)
{
    std::string out(8192, '\0');
    fn(record, out.data(), out.size());
    out.resize(out.find('\0'));
    return out;
}

TEST(CHeader, SizesAgreeWithTheCompiledC)
{
    EXPECT_TRUE(zev_c_sizes_match());
}

TEST(CHeader, CReadsEveryKindOfRecordTheModelBuilt)
{
    auto d = std::make_unique<dialog>();
    d->npc_name = "Mira";
    d->location = "Den";
    dlgnode* n = AddNode(*d, "start");
    n->npc_text = "Hello, <PC>.";
    n->hidden = 1;
    skillcheck* sc = AddSkillCheck(*n);
    sc->name = "talk";
    sc->skill = 15;
    sc->difficulty_modifier = -10;
    sc->on_success = "yes";
    sc->on_failure = "no";
    option* o = AddOption(*n);
    o->text = "Bye";
    o->link_target = "done";
    o->intelligence = -3;
    o->to_skill_check = 1;
    o->gender = 2;
    condition* c = AddCondition(*o);
    c->check_type = CHECK_SKILL;
    c->subject = 5;
    c->eval = 5;
    c->value = "40";
    c->link_next = LINK_OR;
    floatnode* f = AddFloatNode(*d, "barks");
    AddFloatMessage(*f, "Go away.");
    AddFloatMessage(*f, "Scram!");
    time_event_data* e = AddTimedEvent(*d, "tick");
    e->enum_value = 7;
    e->is_random = 1;
    e->interval_min = 10;
    e->interval_max = 20;
    AddTimedEventLine(*e, "float_msg(self_obj, 1);");
    AddStartCondition(*d, "start", true);
    AddStartConditionLine(*d, 0, "local_var(1) == 2", "", 1, "2", 0, LINK_AND);
    custom_proc* p = AddCustomProc(*d, "helper");
    p->associate_node = 3;
    p->code = "a;\r\nb;\r\n";
    AddVariable(*d, "count")->value.SetInt(42);
    AddVariable(*d, "ratio")->value.SetFloat(0.25);
    AddVariable(*d, "label")->value.SetString("hi there");
    AddVariable(*d, "none")->scope = SCOPE_LOCAL;

    EXPECT_EQ(Describe(zev_c_describe, d.get()),
        "npc=Mira(4) loc=Den nodes=1 default=0\n"
        "node start hidden=1 checks=1 text=Hello, <PC>.\n"
        " check talk skill=15 mod=-10 ok=yes fail=no\n"
        " option Bye -> done int=-3 skill=1 proc=0 gender=2 conds=1\n"
        "  cond type=2 subject=5 eval=5 value=40 next=2\n"
        "float barks messages=2 last=Scram!\n"
        "event tick enum=7 random=1 min=10 max=20 lines=1 first=float_msg(self_obj, 1);\n"
        "start start lines=1 ssl=local_var(1) == 2 link=1\n"
        "proc helper node=3 code=8 bytes\n"
        "var count int 42\n"
        "var ratio float 0.25\n"
        "var label string hi there\n"
        "var none empty scope=3\n");

    dialog_oldformat* old = CopyDialogOldFormat(*d);
    old->file_name = "x.zev";
    EXPECT_EQ(Describe(zev_c_describe_old, old), "old x.zev/ nodes=1\nnode start options=1\n");
    FreeDialogOldFormat(old);
    Clear(*d);
}

TEST(CHeader, CReadsThePlayerCharacter)
{
    PlayerChar pc;
    pc.name = "Tester";
    pc.gender = 2;
    pc.luck = 9;
    pc.money = 150;
    pc.skills[0].name = "Small Guns";
    pc.skills[0].value = 35;
    pc.skills[17].name = "Outdoorsman";
    pc.skills[17].value = 60;
    EXPECT_EQ(
        Describe(zev_c_describe_player, &pc), "Tester g=2 age=16 st=5 lk=9 money=150 Small Guns=35 Outdoorsman=60");
}

} // namespace
} // namespace zev
