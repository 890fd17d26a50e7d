// ZEVFuncs: player options.

#include "app/app.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_handlers.h"

namespace zev {

namespace {

HostString* OptionText(option& o, int64_t field)
{
    switch (field) {
    case FIELD_PLAYEROPTION_OPTIONTEXT:
        return &o.text;
    case FIELD_PLAYEROPTION_NODELINK:
        return &o.link_target;
    case FIELD_PLAYEROPTION_NOTES:
        return &o.notes;
    default:
        return nullptr;
    }
}

int32_t* OptionInteger(option& o, int64_t field)
{
    switch (field) {
    case FIELD_PLAYEROPTION_REACTION:
        return &o.reaction;
    case FIELD_PLAYEROPTION_GENDERFLAGS:
        return &o.gender;
    case FIELD_PLAYEROPTION_INTCHECK:
        return &o.intelligence;
    default:
        return nullptr;
    }
}

} // namespace

namespace handlers {

void AddPlayerOption(ZEVFuncs& f, Call& c)
{
    std::string dest = c.GetString("destnodename");
    int i = FindNodeIndex(f.dlg(), dest);
    if (i < 0) {
        f.Print("Error: requested node " + Quoted(dest) + " does not exist!");
        return;
    }
    Added<option> added = TryAddOption(*f.dlg().nodes[i]);
    if (!added) {
        f.Refuse(added.result);
        return;
    }
    option& o = *added.record;
    o.text = c.GetString("opttext");
    o.link_target = c.GetString("nodelink");
    o.notes = c.GetString("notes");
    o.reaction = REACTION_NEUTRAL;
    o.gender = GENDER_ANY;
    o.intelligence = 4;
    ResolveLinks(f.dlg());
    f.Notify();
}

// The link cache follows every change of a link text, so nothing reads a stale target.
void SetPlayerOptionLink(ZEVFuncs& f, Call& c)
{
    option* o = f.OptionAt(c.GetInteger("Nodeindex"), c.GetInteger("OptionIndex"));
    if (!o)
        return;
    o->link_target = c.GetString("Newdata");
    ResolveLinks(f.dlg());
    f.Notify();
}

// The old link is kept in the notes, on a line of its own; the new link is a plain one.
void MoveNodelinkToNotes(ZEVFuncs& f, Call& c)
{
    option* o = f.OptionAt(c.GetInteger("Nodeindex"), c.GetInteger("Optionindex"));
    if (!o)
        return;
    if (!o->link_target.empty())
        o->notes = o->notes.empty() ? o->link_target.str() : o->notes.str() + "\\n" + o->link_target.str();
    o->link_target = c.GetString("Replacedata");
    o->to_skill_check = 0;
    o->to_custom_proc = 0;
    ResolveLinks(f.dlg());
    f.Notify();
}

void GetPlayerOptionStringData(ZEVFuncs& f, Call& c)
{
    if (option* o = f.OptionOf(c.GetString("Node"), c.GetInteger("Option")))
        if (HostString* s = OptionText(*o, c.GetInteger("Field")))
            c.SetString("result", s->str());
}

void GetPlayerOptionIntegerData(ZEVFuncs& f, Call& c)
{
    if (option* o = f.OptionOf(c.GetString("Node"), c.GetInteger("Option")))
        if (int32_t* v = OptionInteger(*o, c.GetInteger("Field")))
            c.SetInteger("result", *v);
}

void SetPlayerOptionStringData(ZEVFuncs& f, Call& c)
{
    option* o = f.OptionOf(c.GetString("Node"), c.GetInteger("Option"));
    int64_t field = c.GetInteger("Field");
    HostString* s = o ? OptionText(*o, field) : nullptr;
    if (!s)
        return;
    *s = c.GetString("newdata");
    if (field == FIELD_PLAYEROPTION_NODELINK)
        ResolveLinks(f.dlg());
}

void SetPlayerOptionIntegerData(ZEVFuncs& f, Call& c)
{
    option* o = f.OptionOf(c.GetString("Node"), c.GetInteger("Option"));
    if (int32_t* v = o ? OptionInteger(*o, c.GetInteger("Field")) : nullptr)
        *v = static_cast<int32_t>(c.GetInteger("newdata"));
}

void EditPlayerOption(ZEVFuncs& f, Call& c)
{
    if (!f.app().windows().Has(CoreWindow::PlayerOptionEditor)) {
        f.NotAvailable("EditPlayerOption");
        return;
    }
    f.app().windows().EditPlayerOption(c.GetString("Node"), static_cast<int>(c.GetInteger("OptionNum")));
}

void DeletePlayerOption(ZEVFuncs& f, Call& c)
{
    int node = FindNodeIndex(f.dlg(), c.GetString("Node"));
    int64_t index = c.GetInteger("OptionIndex");
    if (!f.OptionAt(node, index))
        return;
    FreeOption(RemoveOptionAt(f.dlg(), node, static_cast<int>(index)));
    f.Notify();
}

void SetOptionToSkillCheck(ZEVFuncs& f, Call& c)
{
    option* o = f.OptionOf(c.GetString("node"), c.GetInteger("opt_ind"));
    if (!o)
        return;
    o->to_custom_proc = 0;
    o->to_skill_check = 1;
    o->link_target = c.GetString("skillcheck");
    ResolveLinks(f.dlg());
}

} // namespace handlers

} // namespace zev
