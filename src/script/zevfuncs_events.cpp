// ZEVFuncs: float nodes, timed events and the timed-event editor's commands.

#include <cstdio>

#include "app/app.h"
#include "model/dialog_ops.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_defs.h"

namespace zev {

using namespace zevdefs;

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

void ZEVFuncs::AddEventFunctions(Defs& d)
{
    Def(d, "AddFloatNode", { S("nodename"), S("desc") }, HostType::Void, [this](Call& c) {
        std::string name = c.GetString("nodename"), desc = c.GetString("desc");
        int i = FindFloatNodeIndex(m_app.dlg(), name);
        if (i >= 0) {
            Print("The specified float node already exists at index " + std::to_string(i));
            return;
        }
        floatnode* f = AddFloatNode(m_app.dlg(), name);
        if (!f) {
            Print("Error! The float node table is full (" + std::to_string(kMaxFloatNodes) + " float nodes); "
                + Quoted(name) + " was not added.");
            return;
        }
        f->notes = desc;
        Print("Added floatnode " + Quoted(name) + " (" + desc + ")");
    });

    Def(d, "AddMSGToFloatNode", { S("node"), S("msg") }, HostType::Void, [this](Call& c) {
        std::string name = c.GetString("node");
        int i = FindFloatNodeIndex(m_app.dlg(), name);
        if (i >= 0 && !AddFloatMessage(*m_app.dlg().float_nodes[i], c.GetString("msg")))
            Print("Error! Float node " + Quoted(name) + " already holds " + std::to_string(kMaxFloatMessages)
                + " messages; nothing was added.");
    });

    Def(d, "EditFloatNode", { S("node") }, HostType::Void, [this](Call& c) {
        int i = FindFloatNodeIndex(m_app.dlg(), c.GetString("node"));
        if (i < 0)
            return;
        if (!m_app.windows().Has(CoreWindow::FloatNodeEditor)) {
            NotAvailable("EditFloatNode");
            return;
        }
        if (m_app.windows().EditFloatNode(i)) {
            Refresh();
            m_app.DialogueChanged();
        }
    });

    Def(d, "SelectFloatNode", {}, HostType::String, [this](Call& c) {
        if (!m_app.windows().Has(CoreWindow::ListPicker)) {
            NotAvailable("SelectFloatNode");
            return;
        }
        const dialog& dl = m_app.dlg();
        std::vector<std::string> names;
        for (int i = 0; i < dl.float_node_count; ++i)
            names.push_back(dl.float_nodes[i]->name.str());
        std::optional<int> chosen
            = m_app.windows().SelectItem("Select float node", "Choose a float node to call:", names);
        if (chosen && *chosen >= 0 && *chosen < dl.float_node_count)
            c.SetString("result", dl.float_nodes[*chosen]->name.str());
    });

    Def(d, "AddTimedEvent", { S("name"), I("interval1"), I("interval2") }, HostType::Void, [this](Call& c) {
        std::string name = c.GetString("name");
        dialog& dl = m_app.dlg();
        int32_t position = dl.timed_event_count;
        time_event_data* e = AddTimedEvent(dl, name);
        if (!e) {
            Print("Error! The timed event table is full (" + std::to_string(kMaxTimedEvents) + " events); "
                + Quoted(name) + " was not added.");
            return;
        }
        e->enum_value = position;
        e->is_random = 1;
        e->interval_min = static_cast<int32_t>(c.GetInteger("interval1"));
        e->interval_max = static_cast<int32_t>(c.GetInteger("interval2"));
        Print("Added Timed Event: " + name + " ( index=" + std::to_string(position) + " )");
    });

    Def(d, "AddCodeToEvent", { S("eventname"), S("codeline") }, HostType::Void, [this](Call& c) {
        int i = FindTimedEventIndex(m_app.dlg(), c.GetString("eventname"));
        if (i < 0)
            return;
        time_event_data& e = *m_app.dlg().timed_events[i];
        if (!AddTimedEventLine(e, c.GetString("codeline"))) {
            Print("Error! Timed event " + Quoted(e.fixed_param_name.view()) + " already holds "
                + std::to_string(kMaxTimedEventLines) + " code lines; nothing was added.");
            return;
        }
        Print("Added code line (currentdlg.timedevents[te_ind].actioncnt) to timed event "
            + Quoted(e.fixed_param_name.view()) + " ( index=" + std::to_string(e.enum_value) + " )");
    });

    Def(d, "GetTimedEventData", { S("event") }, HostType::String, [this](Call& c) {
        int i = FindTimedEventIndex(m_app.dlg(), c.GetString("event"));
        if (i >= 0)
            c.SetString("result", TimerCall(*m_app.dlg().timed_events[i]));
    });

    Def(d, "SelectTimedEvent", {}, HostType::String, [this](Call& c) {
        if (!m_app.windows().Has(CoreWindow::ListPicker)) {
            NotAvailable("SelectTimedEvent");
            return;
        }
        const dialog& dl = m_app.dlg();
        std::vector<std::string> names;
        for (int i = 0; i < dl.timed_event_count; ++i)
            names.push_back(dl.timed_events[i]->fixed_param_name.str());
        std::optional<int> chosen
            = m_app.windows().SelectItem("Select timed event", "Choose a timed event to add:", names);
        if (chosen && *chosen >= 0 && *chosen < dl.timed_event_count)
            c.SetString("result", TimerCall(*dl.timed_events[*chosen]));
    });

    Def(d, "AddTimeEventCommand", { S("Name"), S("script"), S("Shortcut") }, HostType::Void, [this](Call& c) {
        std::string name = c.GetString("Name");
        HelperScripts& h = m_host.helpers();
        if (!h.AddTimeEventCommand(c.GetString("script"), name, c.GetString("Shortcut"))) {
            Print("Cannot add item " + Quoted(name) + ": the table holds " + std::to_string(kMaxTimeEventCommands)
                + " entries.");
            return;
        }
        m_app.windows().AddTimeEventMenuItem(
            name, c.GetString("Shortcut"), static_cast<int>(h.timeEventCommands().size()) - 1);
        Print("Added item: " + name);
    });

    Def(d, "AddTimeEventCode", { S("line") }, HostType::Void, [this](Call& c) {
        if (!m_app.windows().Has(CoreWindow::TimeEventCodeEditor)) {
            NotAvailable("AddTimeEventCode");
            return;
        }
        m_app.windows().InsertTimeEventCode(c.GetString("line"));
    });
}

} // namespace zev
