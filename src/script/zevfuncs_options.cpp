// ZEVFuncs: player options.

#include "app/app.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_defs.h"

namespace zev {

using namespace zevdefs;

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

void ZEVFuncs::AddOptionFunctions(Defs& d)
{
    Def(d, "AddPlayerOption", { S("destnodename"), S("opttext"), S("nodelink"), S("notes") }, HostType::Void,
        [this](Call& c) {
            std::string dest = c.GetString("destnodename");
            int i = FindNodeIndex(m_app.dlg(), dest);
            if (i < 0) {
                Print("Error: requested node " + Quoted(dest) + " does not exist!");
                return;
            }
            option* o = AddOption(*m_app.dlg().nodes[i]);
            if (!o) {
                Print("Error: node " + Quoted(dest) + " already holds " + std::to_string(kMaxOptions)
                    + " player options; nothing was added.");
                return;
            }
            o->text = c.GetString("opttext");
            o->link_target = c.GetString("nodelink");
            o->notes = c.GetString("notes");
            o->reaction = REACTION_NEUTRAL;
            o->gender = GENDER_ANY;
            o->intelligence = 4;
            ResolveLinks(m_app.dlg());
            Notify();
        });

    // The link cache follows every change of a link text, so nothing reads a stale target.
    Def(d, "SetPlayerOptionLink", { I("Nodeindex"), I("OptionIndex"), S("Newdata") }, HostType::Void, [this](Call& c) {
        option* o = OptionAt(c.GetInteger("Nodeindex"), c.GetInteger("OptionIndex"));
        if (!o)
            return;
        o->link_target = c.GetString("Newdata");
        ResolveLinks(m_app.dlg());
        Notify();
    });

    // The old link is kept in the notes, on a line of its own; the new link is a plain one.
    Def(d, "MoveNodelinkToNotes", { I("Nodeindex"), I("Optionindex"), S("Replacedata") }, HostType::Void,
        [this](Call& c) {
            option* o = OptionAt(c.GetInteger("Nodeindex"), c.GetInteger("Optionindex"));
            if (!o)
                return;
            if (!o->link_target.empty())
                o->notes = o->notes.empty() ? o->link_target.str() : o->notes.str() + "\\n" + o->link_target.str();
            o->link_target = c.GetString("Replacedata");
            o->to_skill_check = 0;
            o->to_custom_proc = 0;
            ResolveLinks(m_app.dlg());
            Notify();
        });

    Def(d, "GetPlayerOptionStringData", { S("Node"), I("Option"), I("Field") }, HostType::String, [this](Call& c) {
        if (option* o = OptionOf(c.GetString("Node"), c.GetInteger("Option")))
            if (HostString* s = OptionText(*o, c.GetInteger("Field")))
                c.SetString("result", s->str());
    });

    Def(d, "GetPlayerOptionIntegerData", { S("Node"), I("Option"), I("Field") }, HostType::Integer, [this](Call& c) {
        if (option* o = OptionOf(c.GetString("Node"), c.GetInteger("Option")))
            if (int32_t* v = OptionInteger(*o, c.GetInteger("Field")))
                c.SetInteger("result", *v);
    });

    Def(d, "SetPlayerOptionStringData", { S("Node"), I("Option"), I("Field"), S("newdata") }, HostType::Void,
        [this](Call& c) {
            option* o = OptionOf(c.GetString("Node"), c.GetInteger("Option"));
            int64_t field = c.GetInteger("Field");
            HostString* s = o ? OptionText(*o, field) : nullptr;
            if (!s)
                return;
            *s = c.GetString("newdata");
            if (field == FIELD_PLAYEROPTION_NODELINK)
                ResolveLinks(m_app.dlg());
        });

    Def(d, "SetPlayerOptionIntegerData", { S("Node"), I("Option"), I("Field"), I("newdata") }, HostType::Void,
        [this](Call& c) {
            option* o = OptionOf(c.GetString("Node"), c.GetInteger("Option"));
            if (int32_t* v = o ? OptionInteger(*o, c.GetInteger("Field")) : nullptr)
                *v = static_cast<int32_t>(c.GetInteger("newdata"));
        });

    Def(d, "EditPlayerOption", { S("Node"), I("OptionNum") }, HostType::Void, [this](Call& c) {
        if (!m_app.windows().Has(CoreWindow::PlayerOptionEditor)) {
            NotAvailable("EditPlayerOption");
            return;
        }
        m_app.windows().EditPlayerOption(c.GetString("Node"), static_cast<int>(c.GetInteger("OptionNum")));
    });

    Def(d, "DeletePlayerOption", { S("Node"), I("OptionIndex") }, HostType::Void, [this](Call& c) {
        int node = FindNodeIndex(m_app.dlg(), c.GetString("Node"));
        int64_t index = c.GetInteger("OptionIndex");
        if (!OptionAt(node, index))
            return;
        FreeOption(RemoveOptionAt(m_app.dlg(), node, static_cast<int>(index)));
        Notify();
    });

    Def(d, "SetOptionToSkillCheck", { S("node"), I("opt_ind"), S("skillcheck") }, HostType::Void, [this](Call& c) {
        option* o = OptionOf(c.GetString("node"), c.GetInteger("opt_ind"));
        if (!o)
            return;
        o->to_custom_proc = 0;
        o->to_skill_check = 1;
        o->link_target = c.GetString("skillcheck");
        ResolveLinks(m_app.dlg());
    });
}

} // namespace zev
