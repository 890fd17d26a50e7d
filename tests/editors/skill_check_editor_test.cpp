#include "editors_fixture.h"

#include "editors/skill_check_editor.h"

namespace zev {
namespace {

using test::EditorsFixture;

struct ScriptedSkillView : SkillCheckEditorView {
    std::function<bool(SkillCheckEditorModel&)> script;
    int shown = 0;
    bool exec(SkillCheckEditorModel& model) override
    {
        ++shown;
        return script ? script(model) : false;
    }
};

struct SkillChecks : EditorsFixture {
    ScriptedSkillView view;
    SkillCheckEditorModel model { app };
    dlgnode* a = nullptr;
    dlgnode* b = nullptr;

    SkillChecks()
    {
        a = Node("A", "Node A speaks.");
        b = Node("Win", "You did it.");
        Node("Lose", "You failed.");
        model.SetView(&view);
    }
    skillcheck* Check(
        dlgnode& owner, std::string_view name, std::string_view success = "Win", std::string_view failure = "Lose")
    {
        skillcheck* s = AddSkillCheck(owner);
        s->name = name;
        s->skill = 2;
        s->on_success = success;
        s->on_failure = failure;
        return s;
    }
    // Every field filled; OK goes through the editor's own check.
    void FillAndAccept(std::string name, int owner, int modifier = 0)
    {
        view.script = [=](SkillCheckEditorModel& m) {
            m.SetName(name);
            m.ChooseSkill(6);
            m.SetModifier(modifier);
            m.ChooseSuccess(1);
            m.ChooseFailure(2);
            m.ChooseOwner(owner);
            return m.Accept();
        };
    }
};

constexpr std::string_view kHead = "Can't create skill check. The following errors\r\nwere detected:\r\n\r\n";
constexpr std::string_view kTail = "\r\nCorrect them and try again.";

TEST_F(SkillChecks, GenerateNumbersByCountAndSkipsANameThatIsHeld)
{
    model.BeginAdd();
    model.ChooseSkill(1);
    model.Generate();
    EXPECT_EQ(model.name(), "Skill_Check_000_Big_Guns");

    Check(*a, "one");
    Check(*b, "two");
    model.ChooseSkill(6);
    model.Generate();
    EXPECT_EQ(model.name(), "Skill_Check_002_First_Aid");

    // After a deletion the count names a check that still exists.
    Check(*a, "Skill_Check_003_First_Aid");
    Check(*a, "Skill_Check_004_First_Aid");
    model.Generate();
    EXPECT_EQ(model.name(), "Skill_Check_005_First_Aid");

    // The edited check's own name is no clash for it.
    ASSERT_TRUE(model.BeginEdit("Skill_Check_004_First_Aid"));
    model.ChooseSkill(6);
    model.Generate();
    EXPECT_EQ(model.name(), "Skill_Check_004_First_Aid");
}

TEST_F(SkillChecks, ValidationListsTheMissingItemsInOrderAndKeepsTheEditorOpen)
{
    model.BeginAdd();
    EXPECT_FALSE(model.okEnabled());
    EXPECT_FALSE(model.Accept());
    EXPECT_EQ(dialogs.Last()->text,
        std::string(kHead)
            + "The skill check name is empty.\r\nNode association not specified.\r\nSuccess node not "
              "specified.\r\nFailure node not specified.\r\n"
            + std::string(kTail));
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);

    model.SetName("check");
    model.ChooseOwner(0);
    model.ChooseFailure(2);
    EXPECT_TRUE(model.okEnabled());
    EXPECT_FALSE(model.Accept());
    EXPECT_EQ(dialogs.Last()->text, std::string(kHead) + "Success node not specified.\r\n" + std::string(kTail));
    model.ChooseSuccess(99); // not in the list: still none
    EXPECT_FALSE(model.Accept());
    model.ChooseSuccess(1);
    EXPECT_TRUE(model.Accept());
    EXPECT_EQ(a->skill_check_count, 0) << "Accept only checks";
}

TEST_F(SkillChecks, AddStoresTheFieldsInTheChosenOwnerAndMarksTheDialogue)
{
    FillAndAccept("Heal", 0, -9999);
    EXPECT_TRUE(model.Add());
    ASSERT_EQ(a->skill_check_count, 1);
    const skillcheck& s = *a->skill_checks[0];
    EXPECT_EQ(s.name, "Heal");
    EXPECT_EQ(s.skill, 7);
    EXPECT_EQ(s.difficulty_modifier, -9999);
    EXPECT_EQ(s.on_success, "Win");
    EXPECT_EQ(s.on_failure, "Lose");
    EXPECT_EQ(model.storedName(), "Heal");
    EXPECT_TRUE(app.modified());
    ASSERT_EQ(editor().skillRows().size(), 1u) << "the lists were refreshed";

    FillAndAccept("Top", 1, 9999);
    EXPECT_TRUE(model.Add());
    EXPECT_EQ(b->skill_checks[0]->difficulty_modifier, 9999);
    model.SetModifier(10000);
    EXPECT_EQ(model.modifier(), 9999);
    model.SetModifier(-10000);
    EXPECT_EQ(model.modifier(), -9999);
}

TEST_F(SkillChecks, TheOwnerPresetPreviewsAndCancel)
{
    view.script = [](SkillCheckEditorModel& m) {
        EXPECT_EQ(m.nodeItems(), (std::vector<std::string> { "A", "Win", "Lose" }));
        EXPECT_EQ(m.owner(), 1);
        EXPECT_EQ(m.successNode(), -1);
        m.ChooseSuccess(1);
        m.ChooseFailure(0);
        EXPECT_EQ(m.successPreview(), "You did it.");
        EXPECT_EQ(m.failurePreview(), "Node A speaks.");
        m.ChooseFailure(-1);
        EXPECT_EQ(m.failurePreview(), "");
        return false;
    };
    EXPECT_FALSE(model.Add(1));
    EXPECT_EQ(view.shown, 1);
    EXPECT_EQ(b->skill_check_count, 0);
    EXPECT_FALSE(app.modified());
}

TEST_F(SkillChecks, AFullOwnerRefusesTheNewCheck)
{
    for (int i = 0; i < kMaxSkillChecks; ++i)
        Check(*a, "c" + std::to_string(i));
    FillAndAccept("extra", 0);
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(a->skill_check_count, kMaxSkillChecks);
    EXPECT_NE(dialogs.Last()->text.find("already holds 21 skill checks"), std::string::npos);
    EXPECT_FALSE(app.modified());
}

TEST_F(SkillChecks, EditFillsTheFieldsAndAMissingSuccessNodeIsReported)
{
    skillcheck* s = Check(*b, "Gate", "Gone", "Lose");
    s->difficulty_modifier = -40;
    s->skill = 15;
    view.script = [](SkillCheckEditorModel& m) {
        EXPECT_EQ(m.name(), "Gate");
        EXPECT_EQ(m.owner(), 1);
        EXPECT_EQ(m.skill(), 14);
        EXPECT_EQ(m.modifier(), -40);
        EXPECT_EQ(m.successNode(), -1);
        EXPECT_EQ(m.successPreview(), "");
        EXPECT_EQ(m.failureNode(), 2);
        EXPECT_EQ(m.failurePreview(), "You failed.");
        EXPECT_FALSE(m.Accept());
        return false;
    };
    EXPECT_FALSE(model.Edit("Gate"));
    EXPECT_EQ(dialogs.Last()->text, std::string(kHead) + "Success node not specified.\r\n" + std::string(kTail));
    EXPECT_EQ(s->on_success, "Gone");

    EXPECT_FALSE(model.Edit(""));
    EXPECT_EQ(dialogs.Last()->text, "No skill check selected!");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Error);
    EXPECT_EQ(view.shown, 1);
}

TEST_F(SkillChecks, EditOverwritesTheSameCheckAndAnUnknownSkillCodeIsKept)
{
    skillcheck* s = Check(*a, "Gate");
    s->skill = 40;
    view.script = [](SkillCheckEditorModel& m) {
        EXPECT_EQ(m.skill(), -1);
        m.SetName("Gate2");
        m.SetModifier(12);
        m.ChooseSuccess(2);
        return m.Accept();
    };
    EXPECT_TRUE(model.Edit("Gate"));
    ASSERT_EQ(a->skill_check_count, 1);
    EXPECT_EQ(a->skill_checks[0], s);
    EXPECT_EQ(s->name, "Gate2");
    EXPECT_EQ(s->skill, 40);
    EXPECT_EQ(s->difficulty_modifier, 12);
    EXPECT_EQ(s->on_success, "Lose");
}

TEST_F(SkillChecks, ChangingTheOwnerMovesTheCheckUnlessTheNewOwnerIsFull)
{
    skillcheck* first = Check(*a, "First");
    Check(*a, "Second");
    view.script = [](SkillCheckEditorModel& m) {
        m.ChooseOwner(1);
        return m.Accept();
    };
    EXPECT_TRUE(model.Edit("First"));
    ASSERT_EQ(a->skill_check_count, 1);
    EXPECT_EQ(a->skill_checks[0]->name, "Second");
    EXPECT_EQ(a->skill_checks[1], nullptr);
    ASSERT_EQ(b->skill_check_count, 1);
    EXPECT_EQ(b->skill_checks[0], first);

    dlgnode* lose = d().nodes[2];
    for (int i = 0; i < kMaxSkillChecks; ++i)
        Check(*lose, "c" + std::to_string(i));
    view.script = [](SkillCheckEditorModel& m) {
        m.ChooseOwner(2);
        const bool accepted = m.Accept();
        EXPECT_FALSE(accepted);
        return accepted;
    };
    EXPECT_FALSE(model.Edit("First"));
    EXPECT_EQ(b->skill_check_count, 1);
    EXPECT_EQ(lose->skill_check_count, kMaxSkillChecks);
    EXPECT_NE(dialogs.Last()->text.find("Node Lose already holds 21"), std::string::npos);
}

TEST_F(SkillChecks, DeletingALinkedCheckAsksAndOnYesRelinksEveryOptionToTheSuccessNode)
{
    Check(*b, "Roll", "Win", "Lose");
    option* o1 = Option(*a, "try", "Roll");
    o1->to_skill_check = 1;
    Option(*a, "leave", "done");
    option* o3 = Option(*b, "again", "Roll");
    o3->to_skill_check = 1;
    Option(*b, "near", "Roll2");

    dialogs.PushButton(MsgResult::No);
    EXPECT_FALSE(model.Delete("Roll"));
    const std::string lines = "Node A, option 0\r\nNode Win, option 0\r\n";
    EXPECT_NE(dialogs.Last()->text.find("with links to this skill check:'\r\n\r\n" + lines
                  + "\r\nAre you sure you wish to delete this item?"),
        std::string::npos);
    EXPECT_EQ(dialogs.Last()->buttons, MsgButtons::YesNo);
    EXPECT_EQ(b->skill_check_count, 1);
    EXPECT_EQ(o1->link_target, "Roll");
    EXPECT_EQ(o1->to_skill_check, 1);
    EXPECT_FALSE(app.modified());

    dialogs.PushButton(MsgResult::Yes);
    EXPECT_TRUE(model.Delete("Roll"));
    EXPECT_EQ(b->skill_check_count, 0);
    for (const option* o : { o1, o3 }) {
        EXPECT_EQ(o->link_target, "Win");
        EXPECT_EQ(o->to_skill_check, 0);
        EXPECT_EQ(o->link_index, 1);
    }
    EXPECT_EQ(a->options[1]->link_target, "done");
    EXPECT_EQ(b->options[1]->link_target, "Roll2");
}

TEST_F(SkillChecks, AnUnlinkedCheckIsDeletedWithoutAQuestion)
{
    Check(*a, "Solo");
    Check(*b, "Solo");
    EXPECT_FALSE(model.Delete(""));
    EXPECT_FALSE(model.Delete("Nope"));
    EXPECT_TRUE(model.Delete("Solo"));
    EXPECT_TRUE(dialogs.History().empty());
    EXPECT_EQ(a->skill_check_count, 0) << "the first of the name goes";
    EXPECT_EQ(b->skill_check_count, 1);
    EXPECT_TRUE(app.modified());
}

TEST(SkillCheckLinks, OnlyExactNamesAreListed)
{
    dialog d;
    dlgnode* n = AddNode(d, "N");
    AddOption(*n)->link_target = "roll";
    AddOption(*n)->link_target = "Roll";
    AddOption(*n)->link_target = "Roll ";
    EXPECT_EQ(SkillCheckLinkLines(d, "Roll"), "Node N, option 1\r\n");
    EXPECT_EQ(SkillCheckLinkLines(d, "x"), "");
    Clear(d);
}

} // namespace
} // namespace zev
