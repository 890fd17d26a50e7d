#include "editors_fixture.h"

#include "editors/float_node_editor.h"

namespace zev {
namespace {

using test::EditorsFixture;

struct ScriptedFloatView : FloatNodeEditorView {
    std::function<bool(FloatNodeEditorModel&)> script;
    int shown = 0;
    bool exec(FloatNodeEditorModel& model) override
    {
        ++shown;
        return script ? script(model) : false;
    }
};

struct FloatNodes : EditorsFixture {
    ScriptedFloatView view;
    FloatNodeEditorModel model { app };
    floatnode* f = nullptr;

    FloatNodes()
    {
        Node("Regular");
        f = AddFloatNode(d(), "Greetings");
        f->notes = "said in passing";
        for (const char* m : { "Hi.", "Hello.", "Hey.", "Yo." })
            AddFloatMessage(*f, m);
        model.SetView(&view);
    }
    std::vector<std::string> Messages(const floatnode& n) const
    {
        std::vector<std::string> out;
        for (int i = 0; i < n.message_count; ++i)
            out.push_back(n.messages[i].str());
        return out;
    }
};

TEST_F(FloatNodes, AddAndCancelLeavesTheTableAsItWas)
{
    view.script = [this](FloatNodeEditorModel& m) {
        EXPECT_EQ(m.editedIndex(), 1);
        EXPECT_EQ(m.name(), "");
        EXPECT_TRUE(m.rows().empty());
        m.SetName("Barks");
        m.SetText("Grr.");
        EXPECT_TRUE(m.AddMessage());
        EXPECT_EQ(d().float_node_count, 1) << "not counted before OK";
        return false;
    };
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(d().float_node_count, 1);
    EXPECT_EQ(d().float_nodes[1], nullptr);
    EXPECT_FALSE(app.modified());
}

TEST_F(FloatNodes, AddAndOkCountsTheRecordAndNotifiesThroughTheScriptConsole)
{
    test::RecordingScripts scripts;
    app.SetScriptLines(&scripts);
    view.script = [](FloatNodeEditorModel& m) {
        m.SetName("Barks");
        m.SetDescription("dog noises");
        m.SetText("Grr.");
        m.AddMessage();
        m.SetText("Woof.");
        m.AddMessage();
        m.SelectMessage(0);
        m.DeleteMessage();
        return m.Accept();
    };
    EXPECT_TRUE(model.Add());
    ASSERT_EQ(d().float_node_count, 2);
    const floatnode& added = *d().float_nodes[1];
    EXPECT_EQ(added.name, "Barks");
    EXPECT_EQ(added.notes, "dog noises");
    EXPECT_EQ(Messages(added), (std::vector<std::string> { "Woof." }));
    EXPECT_EQ(scripts.lines, (std::vector<std::string> { "DialogueChangeNotify;" }));
    ASSERT_EQ(editor().floatRows().size(), 2u);
    EXPECT_EQ(editor().floatRows()[1].lines, "1");
}

TEST_F(FloatNodes, WithoutAScriptHostTheDialogueIsMarkedDirectly)
{
    view.script = [](FloatNodeEditorModel& m) { return m.Accept(); };
    EXPECT_TRUE(model.Add());
    EXPECT_TRUE(app.modified());
}

TEST_F(FloatNodes, EditCancelKeepsMessageDeletionsButNotTheName)
{
    view.script = [](FloatNodeEditorModel& m) {
        EXPECT_EQ(m.name(), "Greetings");
        EXPECT_EQ(m.description(), "said in passing");
        EXPECT_EQ(m.rows().size(), 4u);
        EXPECT_EQ(m.rows()[3].index, "3");
        EXPECT_EQ(m.rows()[3].text, "Yo.");
        m.SelectMessage(1);
        m.DeleteMessage();
        m.SelectMessage(1);
        m.DeleteMessage();
        m.SetName("Renamed");
        m.SetDescription("changed");
        return false;
    };
    EXPECT_FALSE(model.Edit(0));
    EXPECT_EQ(f->name, "Greetings");
    EXPECT_EQ(f->notes, "said in passing");
    EXPECT_EQ(Messages(*f), (std::vector<std::string> { "Hi.", "Yo." }));
    EXPECT_TRUE(app.modified()) << "the deletions are in the dialogue";
    EXPECT_EQ(model.text(), "") << "the message field is cleared afterwards";
}

TEST_F(FloatNodes, AnUntouchedCancelChangesNothing)
{
    EXPECT_FALSE(model.Edit(0));
    EXPECT_EQ(view.shown, 1);
    EXPECT_FALSE(app.modified());
    EXPECT_FALSE(model.Edit(5));
    EXPECT_EQ(view.shown, 1);
}

TEST_F(FloatNodes, ARegularNodesNameIsRefusedAnotherFloatNodesIsAccepted)
{
    AddFloatNode(d(), "Other");
    int attempts = 0;
    view.script = [&attempts](FloatNodeEditorModel& m) {
        m.SetName("Regular");
        ++attempts;
        EXPECT_FALSE(m.Accept());
        m.SetName("Other");
        return m.Accept();
    };
    EXPECT_TRUE(model.Edit(0));
    EXPECT_EQ(attempts, 1);
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.Last()->text,
        "Regular already exists as a regular node.\r\nPlease pick a unique node name\r\nfor this floater node.");
    EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);
    EXPECT_EQ(f->name, "Other");
    EXPECT_EQ(d().float_nodes[1]->name, "Other");
    EXPECT_TRUE(app.modified());
}

TEST_F(FloatNodes, MessageSelectionModifyAndEmptyMessages)
{
    ASSERT_TRUE(model.BeginEdit(0));
    EXPECT_FALSE(model.modifyEnabled());
    EXPECT_FALSE(model.ModifyMessage());
    EXPECT_FALSE(model.DeleteMessage());
    model.SelectMessage(2);
    EXPECT_TRUE(model.modifyEnabled());
    EXPECT_EQ(model.text(), "Hey.");
    model.SetText("Hey there.");
    EXPECT_TRUE(model.ModifyMessage());
    EXPECT_EQ(f->messages[2], "Hey there.");
    model.SelectMessage(-1);
    EXPECT_FALSE(model.modifyEnabled());
    EXPECT_EQ(model.text(), "");
    EXPECT_TRUE(model.AddMessage()) << "an empty text is an empty message";
    EXPECT_EQ(Messages(*f), (std::vector<std::string> { "Hi.", "Hello.", "Hey there.", "Yo.", "" }));
    EXPECT_EQ(model.rows().size(), 5u);
    model.End();
}

TEST_F(FloatNodes, FullTablesRefuseWithAWarning)
{
    while (f->message_count < kMaxFloatMessages)
        AddFloatMessage(*f, "m");
    ASSERT_TRUE(model.BeginEdit(0));
    model.SetText("one more");
    EXPECT_FALSE(model.AddMessage());
    EXPECT_EQ(f->message_count, kMaxFloatMessages);
    EXPECT_EQ(model.text(), "one more") << "the text is kept to be used elsewhere";
    EXPECT_NE(dialogs.Last()->text.find("257 messages"), std::string::npos);
    model.End();

    while (d().float_node_count < kMaxFloatNodes)
        AddFloatNode(d(), "x");
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(view.shown, 0);
    EXPECT_EQ(d().float_node_count, kMaxFloatNodes);
    EXPECT_NE(dialogs.Last()->text.find("513 float nodes"), std::string::npos);
}

TEST_F(FloatNodes, DeleteRemovesTheFloatNodeAndLeavesStartConditionsAlone)
{
    AddFloatNode(d(), "Second");
    zev::AddStartCondition(d(), "Greetings", false);
    EXPECT_FALSE(model.Delete(2));
    EXPECT_TRUE(model.Delete(0));
    ASSERT_EQ(d().float_node_count, 1);
    EXPECT_EQ(d().float_nodes[0]->name, "Second");
    EXPECT_EQ(d().start_conditions[0]->target_node, "Greetings");
    EXPECT_TRUE(app.modified());
    EXPECT_EQ(editor().floatRows().size(), 1u);
}

} // namespace
} // namespace zev
