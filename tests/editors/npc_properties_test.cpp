#include "editors_fixture.h"

#include "editors/npc_properties.h"

namespace zev {
namespace {

using test::EditorsFixture;

struct ScriptedNpcView : NpcPropertiesView {
    std::function<bool(NpcPropertiesModel&)> script;
    int shown = 0;
    bool exec(NpcPropertiesModel& model) override
    {
        ++shown;
        return script ? script(model) : false;
    }
};

// The plug-ins are told after the texts are stored: what they read then is the new text.
struct WatchingPlugins : PluginBus {
    App* app = nullptr;
    std::vector<std::string> seen;
    void BroadcastPluginUpdate() override
    {
        seen.push_back(app->dlg().npc_name.str() + (app->modified() ? " (modified)" : ""));
    }
};

struct NpcProperties : EditorsFixture {
    NpcPropertiesModel model { app };
    ScriptedNpcView view;
    WatchingPlugins plugins;

    NpcProperties()
    {
        model.SetView(&view);
        plugins.app = &app;
        app.SetPluginBus(&plugins);
        d().npc_name = "Tandi";
        d().location = "Shady Sands";
        d().description = "Chief's daughter.\r\nLikes the brahmin.";
        d().unknown_desc = "You see a young woman.";
        d().known_desc = "You see Tandi.";
        d().detailed_desc = "She looks bored.";
    }
    ~NpcProperties() override { app.SetPluginBus(nullptr); }

    std::vector<std::string> Fields() const
    {
        const dialog& dl = app.dlg();
        return { dl.npc_name.str(), dl.location.str(), dl.description.str(), dl.unknown_desc.str(), dl.known_desc.str(),
            dl.detailed_desc.str() };
    }
    void EditAll(NpcPropertiesModel& m)
    {
        for (const auto& f : NpcPropertiesModel::kFields)
            m.SetText(f.field, "new " + std::string(f.label));
    }
};

TEST_F(NpcProperties, OpenFillsEachControlFromItsOwnField)
{
    std::vector<std::string> shown;
    view.script = [&](NpcPropertiesModel& m) {
        for (const auto& f : NpcPropertiesModel::kFields)
            shown.push_back(m.text(f.field));
        return false;
    };
    model.Open();
    EXPECT_EQ(shown, Fields()) << "each control shows the field of its row, in the window's order";
    EXPECT_EQ(view.shown, 1);
}

TEST_F(NpcProperties, OkMarksModifiedStoresTheSixTextsAndThenTellsThePlugins)
{
    view.script = [&](NpcPropertiesModel& m) {
        EditAll(m);
        EXPECT_EQ(d().npc_name.str(), "Tandi") << "nothing is stored before OK";
        return true;
    };
    ASSERT_FALSE(app.modified());
    EXPECT_TRUE(model.Open());
    EXPECT_EQ(Fields(),
        std::vector<std::string>({ "new NPC name", "new Location", "new Notes", "new Unknown (not spoken to NPC)",
            "new Known (spoken to NPC before)", "new Detailed look description" }));
    EXPECT_TRUE(app.modified());
    EXPECT_EQ(plugins.seen, std::vector<std::string>({ "new NPC name (modified)" }));
}

TEST_F(NpcProperties, CancelAfterEditingChangesNothing)
{
    const std::vector<std::string> before = Fields();
    view.script = [&](NpcPropertiesModel& m) {
        EditAll(m);
        return false;
    };
    EXPECT_FALSE(model.Open());
    EXPECT_EQ(Fields(), before);
    EXPECT_FALSE(app.modified());
    EXPECT_TRUE(plugins.seen.empty());
}

TEST_F(NpcProperties, UntouchedTextsKeepTheirBytesAndEmptyTextsStayEmpty)
{
    d().location = HostString();
    d().known_desc = "caf\xe9\r\n\xff";
    view.script = [](NpcPropertiesModel&) { return true; };
    EXPECT_TRUE(model.Open());
    EXPECT_EQ(d().known_desc.str(), "caf\xe9\r\n\xff");
    EXPECT_TRUE(d().location.empty());
    // A second opening shows the stored texts, not the ones of the first.
    view.script = [](NpcPropertiesModel& m) {
        EXPECT_EQ(m.text(NpcField::Known), "caf\xe9\r\n\xff");
        EXPECT_EQ(m.text(NpcField::Location), "");
        return false;
    };
    model.Open();
}

TEST_F(NpcProperties, WithoutAViewNothingIsShownOrStored)
{
    NpcPropertiesModel bare { app };
    EXPECT_FALSE(bare.Open());
    EXPECT_FALSE(app.modified());
    EXPECT_TRUE(plugins.seen.empty());
}

} // namespace
} // namespace zev
