// ZEVFuncs: float nodes, timed events and the timed-event editor's commands.

#include <cstdio>
#include <optional>
#include <vector>

#include "app/app.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "script/helper_scripts.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_handlers.h"

namespace zev {

namespace {

// The game script call that starts a timed event.
std::string TimerCall(const time_event_data& e)
{
    char buf[96];
    if (e.is_random)
        std::snprintf(
            buf, sizeof buf, "flush_add_timer_event_sec(self_obj, random(%d, %d),", e.interval_min, e.interval_max);
    else
        std::snprintf(buf, sizeof buf, "flush_add_timer_event_sec(self_obj, %d,", e.interval);
    return buf + e.fixed_param_name.str() + ");";
}

} // namespace

namespace handlers {

void AddFloatNode(ZEVFuncs& f, Call& c)
{
    std::string name = c.GetString("nodename"), desc = c.GetString("desc");
    Added<floatnode> added = TryAddFloatNode(f.dlg(), name);
    if (!added) {
        f.Refuse(added.result);
        return;
    }
    added.record->notes = desc;
    f.Print("Added floatnode " + Quoted(name) + " (" + desc + ")");
}

void AddMSGToFloatNode(ZEVFuncs& f, Call& c)
{
    int i = FindFloatNodeIndex(f.dlg(), c.GetString("node"));
    if (i < 0)
        return;
    EditResult r = TryAddFloatMessage(*f.dlg().float_nodes[i], c.GetString("msg"));
    if (!r.ok())
        f.Refuse(r);
}

void EditFloatNode(ZEVFuncs& f, Call& c)
{
    int i = FindFloatNodeIndex(f.dlg(), c.GetString("node"));
    if (i < 0)
        return;
    if (!f.app().windows().Has(CoreWindow::FloatNodeEditor)) {
        f.NotAvailable("EditFloatNode");
        return;
    }
    if (f.app().windows().EditFloatNode(i)) {
        f.Refresh();
        f.app().DialogueChanged();
    }
}

void SelectFloatNode(ZEVFuncs& f, Call& c)
{
    if (!f.app().windows().Has(CoreWindow::ListPicker)) {
        f.NotAvailable("SelectFloatNode");
        return;
    }
    const dialog& d = f.dlg();
    std::vector<std::string> names;
    for (int i = 0; i < d.float_node_count; ++i)
        names.push_back(d.float_nodes[i]->name.str());
    std::optional<int> chosen
        = f.app().windows().SelectItem("Select float node", "Choose a float node to call:", names);
    if (chosen && *chosen >= 0 && *chosen < d.float_node_count)
        c.SetString("result", d.float_nodes[*chosen]->name.str());
}

void AddTimedEvent(ZEVFuncs& f, Call& c)
{
    std::string name = c.GetString("name");
    int32_t position = f.dlg().timed_event_count;
    Added<time_event_data> added = TryAddTimedEvent(f.dlg(), name);
    if (!added) {
        f.Refuse(added.result);
        return;
    }
    time_event_data& e = *added.record;
    e.enum_value = position;
    e.is_random = 1;
    e.interval_min = static_cast<int32_t>(c.GetInteger("interval1"));
    e.interval_max = static_cast<int32_t>(c.GetInteger("interval2"));
    f.Print("Added Timed Event: " + name + " ( index=" + std::to_string(position) + " )");
}

void AddCodeToEvent(ZEVFuncs& f, Call& c)
{
    int i = FindTimedEventIndex(f.dlg(), c.GetString("eventname"));
    if (i < 0)
        return;
    time_event_data& e = *f.dlg().timed_events[i];
    Added<action> added = TryAddTimedEventLine(e, c.GetString("codeline"));
    if (!added) {
        f.Refuse(added.result);
        return;
    }
    f.Print("Added code line (currentdlg.timedevents[te_ind].actioncnt) to timed event "
        + Quoted(e.fixed_param_name.view()) + " ( index=" + std::to_string(e.enum_value) + " )");
}

void GetTimedEventData(ZEVFuncs& f, Call& c)
{
    int i = FindTimedEventIndex(f.dlg(), c.GetString("event"));
    if (i >= 0)
        c.SetString("result", TimerCall(*f.dlg().timed_events[i]));
}

void SelectTimedEvent(ZEVFuncs& f, Call& c)
{
    if (!f.app().windows().Has(CoreWindow::ListPicker)) {
        f.NotAvailable("SelectTimedEvent");
        return;
    }
    const dialog& d = f.dlg();
    std::vector<std::string> names;
    for (int i = 0; i < d.timed_event_count; ++i)
        names.push_back(d.timed_events[i]->fixed_param_name.str());
    std::optional<int> chosen
        = f.app().windows().SelectItem("Select timed event", "Choose a timed event to add:", names);
    if (chosen && *chosen >= 0 && *chosen < d.timed_event_count)
        c.SetString("result", TimerCall(*d.timed_events[*chosen]));
}

void AddTimeEventCommand(ZEVFuncs& f, Call& c)
{
    std::string name = c.GetString("Name");
    HelperScripts& h = f.host().helpers();
    if (!h.AddTimeEventCommand(c.GetString("script"), name, c.GetString("Shortcut"))) {
        f.Print("Cannot add item " + Quoted(name) + ": the table holds " + std::to_string(kMaxTimeEventCommands)
            + " entries.");
        return;
    }
    f.app().windows().AddTimeEventMenuItem(
        name, c.GetString("Shortcut"), static_cast<int>(h.timeEventCommands().size()) - 1);
    f.Print("Added item: " + name);
}

void AddTimeEventCode(ZEVFuncs& f, Call& c)
{
    if (!f.app().windows().Has(CoreWindow::TimeEventCodeEditor)) {
        f.NotAvailable("AddTimeEventCode");
        return;
    }
    f.app().windows().InsertTimeEventCode(c.GetString("line"));
}

} // namespace handlers

} // namespace zev
