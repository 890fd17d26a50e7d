#include "editors_fixture.h"

#include "editors/list_picker.h"
#include "editors/timed_events.h"

namespace zev {
namespace {

using test::EditorsFixture;

struct ScriptedEventsView : TimedEventsView {
    std::function<bool(TimedEventsModel&)> script;
    bool exec(TimedEventsModel& model) override { return script ? script(model) : false; }
};

struct ScriptedDataView : TimedEventDataView {
    std::function<bool(TimedEventDataModel&)> script;
    int shown = 0;
    bool exec(TimedEventDataModel& model) override
    {
        ++shown;
        return script ? script(model) : false;
    }
};

struct TimedEvents : EditorsFixture {
    ScriptedEventsView view;
    ScriptedDataView dataView;
    TimedEventsModel model { app };

    TimedEvents()
    {
        model.SetView(&view);
        model.SetDataView(&dataView);
    }
    time_event_data* Event(std::string_view name, std::vector<std::string> lines = {})
    {
        time_event_data* e = AddTimedEvent(d(), name);
        for (const std::string& line : lines)
            AddTimedEventLine(*e, line);
        return e;
    }
    std::vector<std::string> Lines(const time_event_data& e) const
    {
        std::vector<std::string> out;
        for (int i = 0; i < e.code_line_count; ++i)
            out.push_back(e.code[i]->line.str());
        return out;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < app.dlg().timed_event_count; ++i)
            out.push_back(app.dlg().timed_events[i]->fixed_param_name.str());
        return out;
    }
};

TEST(CodeLines, EveryLineEndEndsOneLineAndTheLastEmptyLineIsKept)
{
    EXPECT_EQ(SplitCodeLines(""), (std::vector<std::string> {}));
    EXPECT_EQ(SplitCodeLines("a"), (std::vector<std::string> { "a" }));
    EXPECT_EQ(SplitCodeLines("a\r\n\r\n"), (std::vector<std::string> { "a", "" }));
    EXPECT_EQ(SplitCodeLines("a\r\n\r\nb\r\n"), (std::vector<std::string> { "a", "", "b" }));
    EXPECT_EQ(SplitCodeLines("a\nb\rc\r\n"), (std::vector<std::string> { "a", "b", "c" }));
    EXPECT_EQ(SplitCodeLines("\r\n"), (std::vector<std::string> { "" }));
    const std::vector<std::string> lines { "x := 1;", "", "" };
    EXPECT_EQ(SplitCodeLines(JoinCodeLines(lines)), lines);
}

TEST_F(TimedEvents, RowsShowRandomAndStaticIntervals)
{
    time_event_data* r = Event("Wander", { "a", "b" });
    r->is_random = 1;
    r->interval_min = 10;
    r->interval_max = 30;
    time_event_data* s = Event("Tick");
    s->interval = 5;
    s->interval_min = 7;
    model.Begin();
    ASSERT_EQ(model.rows().size(), 2u);
    EXPECT_EQ(model.rows()[0].name, "Wander");
    EXPECT_EQ(model.rows()[0].actions, "2");
    EXPECT_EQ(model.rows()[0].random, "True");
    EXPECT_EQ(model.rows()[0].interval, "10-30");
    EXPECT_EQ(model.rows()[1].random, "False");
    EXPECT_EQ(model.rows()[1].interval, "5");
    EXPECT_EQ(model.defaultItems(), (std::vector<std::string> { "Wander", "Tick" }));
}

TEST_F(TimedEvents, OkWithoutTouchingTheDropDownKeepsDefaultEvent)
{
    Event("A");
    Event("B");
    d().default_event = 1;
    view.script = [](TimedEventsModel& m) {
        EXPECT_EQ(m.defaultChoice(), 1);
        return true;
    };
    EXPECT_TRUE(model.Open());
    EXPECT_EQ(d().default_event, 1);
    EXPECT_TRUE(app.modified());

    d().default_event = 7; // names no event: the first is shown, the value stays
    view.script = [](TimedEventsModel& m) {
        EXPECT_EQ(m.defaultChoice(), 0);
        return true;
    };
    EXPECT_TRUE(model.Open());
    EXPECT_EQ(d().default_event, 7);

    view.script = [](TimedEventsModel& m) {
        m.ChooseDefault(0);
        return true;
    };
    EXPECT_TRUE(model.Open());
    EXPECT_EQ(d().default_event, 0);
}

TEST_F(TimedEvents, AChoiceIsStoredOnlyOnOk)
{
    Event("A");
    Event("B");
    view.script = [](TimedEventsModel& m) {
        m.ChooseDefault(1);
        return false;
    };
    EXPECT_FALSE(model.Open());
    EXPECT_EQ(d().default_event, 0);
    EXPECT_FALSE(app.modified());
}

TEST_F(TimedEvents, AddStoresTheEventWithEveryCodeLineAndCancelCreatesNothing)
{
    model.Begin();
    dataView.script = [](TimedEventDataModel& m) {
        m.SetName("Patrol");
        m.SetEnumValue(3);
        m.ChooseIntervalType(1);
        m.SetMinimum(10);
        m.SetMaximum(30);
        m.SetCode("call walk;\r\n\r\nfloat_msg(self, 1);\r\n\r\n");
        return m.Accept();
    };
    EXPECT_TRUE(model.Add());
    ASSERT_EQ(d().timed_event_count, 1);
    const time_event_data& e = *d().timed_events[0];
    EXPECT_EQ(e.fixed_param_name, "Patrol");
    EXPECT_EQ(e.enum_value, 3);
    EXPECT_EQ(e.is_random, 1);
    EXPECT_EQ(e.interval_min, 10);
    EXPECT_EQ(e.interval_max, 30);
    EXPECT_EQ(Lines(e), (std::vector<std::string> { "call walk;", "", "float_msg(self, 1);", "" }));
    EXPECT_EQ(model.rows().size(), 1u);
    EXPECT_EQ(model.rows()[0].actions, "4");

    dataView.script = [](TimedEventDataModel& m) {
        EXPECT_EQ(m.name(), "") << "cleared for the next Add";
        EXPECT_EQ(m.code(), "");
        EXPECT_EQ(m.intervalType(), 0);
        m.SetName("Dropped");
        return false;
    };
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(d().timed_event_count, 1);
}

TEST_F(TimedEvents, EditCancelLeavesTheEventAndOkReplacesItsLines)
{
    time_event_data* e = Event("Tick", { "one", "two", "three" });
    e->interval = 5;
    e->enum_value = 2;
    dataView.script = [](TimedEventDataModel& m) {
        EXPECT_EQ(m.name(), "Tick");
        EXPECT_EQ(m.intervalType(), 0);
        EXPECT_EQ(m.minimum(), 5);
        EXPECT_EQ(m.code(), "one\r\ntwo\r\nthree\r\n");
        m.SetName("Tock");
        m.SetCode("");
        return false;
    };
    model.Begin();
    EXPECT_FALSE(model.Edit(0));
    EXPECT_EQ(e->fixed_param_name, "Tick");
    EXPECT_EQ(Lines(*e), (std::vector<std::string> { "one", "two", "three" }));

    dataView.script = [](TimedEventDataModel& m) {
        m.SetName("Tock");
        m.SetMinimum(8);
        m.SetEnumValue(25000);
        m.SetCode("only\r\n");
        return m.Accept();
    };
    EXPECT_TRUE(model.Edit(0));
    EXPECT_EQ(e->fixed_param_name, "Tock");
    EXPECT_EQ(e->interval, 8);
    EXPECT_EQ(e->is_random, 0);
    EXPECT_EQ(e->enum_value, 20000);
    EXPECT_EQ(Lines(*e), (std::vector<std::string> { "only" }));
    EXPECT_FALSE(model.Edit(1));
    EXPECT_EQ(dataView.shown, 2);
}

TEST_F(TimedEvents, DeletingKeepsDefaultEventOnTheSameEvent)
{
    for (const char* name : { "A", "B", "C", "D" })
        Event(name);
    d().default_event = 2; // C
    model.Begin();
    EXPECT_FALSE(model.Delete(4));
    EXPECT_TRUE(model.Delete(0));
    EXPECT_EQ(d().default_event, 1);
    EXPECT_EQ(Names()[d().default_event], "C");
    EXPECT_EQ(model.defaultChoice(), 1);
    EXPECT_TRUE(model.Delete(2)); // D, after the default
    EXPECT_EQ(d().default_event, 1);
    EXPECT_TRUE(model.Delete(1)); // the default itself, and the last: its predecessor
    EXPECT_EQ(d().default_event, 0);
    EXPECT_EQ(Names(), (std::vector<std::string> { "B" }));
    EXPECT_TRUE(model.Delete(0));
    EXPECT_EQ(d().default_event, 0);
    EXPECT_EQ(model.defaultChoice(), -1);
}

TEST_F(TimedEvents, DeletingTheDefaultMakesTheNextEventTheDefault)
{
    for (const char* name : { "A", "B", "C" })
        Event(name);
    d().default_event = 1;
    view.script = [](TimedEventsModel& m) {
        EXPECT_TRUE(m.Delete(1));
        return false;
    };
    EXPECT_FALSE(model.Open()) << "closed without OK";
    EXPECT_EQ(Names()[d().default_event], "C");
    EXPECT_TRUE(app.modified()) << "the deletion is in the dialogue";
}

TEST_F(TimedEvents, FullTablesRefuseWithAWarningAndChangeNothing)
{
    time_event_data* e = Event("Long", { "kept" });
    std::string code;
    for (int i = 0; i <= kMaxTimedEventLines; ++i)
        code += "line;\r\n";
    dataView.script = [&code](TimedEventDataModel& m) {
        m.SetCode(code);
        EXPECT_FALSE(m.Accept());
        return true; // a view that closes anyway
    };
    EXPECT_FALSE(model.Edit(0));
    EXPECT_EQ(Lines(*e), (std::vector<std::string> { "kept" }));
    EXPECT_NE(dialogs.Last()->text.find("66 lines"), std::string::npos);
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(d().timed_event_count, 1);

    while (d().timed_event_count < kMaxTimedEvents)
        Event("x");
    const int shown = dataView.shown;
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(dataView.shown, shown);
    EXPECT_EQ(d().timed_event_count, kMaxTimedEvents);
    EXPECT_NE(dialogs.Last()->text.find("129 timed events"), std::string::npos);
}

struct ScriptedPickerView : ListPickerView {
    std::function<bool(ListPickerModel&)> script;
    bool exec(ListPickerModel& model) override { return script ? script(model) : false; }
};

TEST(ListPicker, TheChosenEntryOnOkAndNothingOtherwise)
{
    ListPickerModel model;
    EXPECT_EQ(model.Select("c", "l", { "a" }), std::nullopt) << "no view";
    ScriptedPickerView view;
    model.SetView(&view);
    view.script = [](ListPickerModel& m) {
        EXPECT_EQ(m.caption(), "Select float node");
        EXPECT_EQ(m.label(), "Choose a float node to call:");
        EXPECT_EQ(m.chosen(), -1);
        m.Choose(1);
        return true;
    };
    EXPECT_EQ(model.Select("Select float node", "Choose a float node to call:", { "a", "b" }), 1);
    view.script = [](ListPickerModel& m) {
        m.Choose(0);
        return false;
    };
    EXPECT_EQ(model.Select("c", "l", { "a", "b" }), std::nullopt);
    view.script = [](ListPickerModel&) { return true; };
    EXPECT_EQ(model.Select("c", "l", { "a" }), std::nullopt) << "OK with nothing chosen";
    view.script = [](ListPickerModel& m) { return m.Activate(5); };
    EXPECT_EQ(model.Select("c", "l", { "a" }), std::nullopt);
    view.script = [](ListPickerModel& m) { return m.Activate(0); };
    EXPECT_EQ(model.Select("c", "l", { "a" }), 0);
}

} // namespace
} // namespace zev
