#include "runner/termination_query.h"

#include "model/codes.h"

namespace zev {

bool TerminationQueryModel::IsFixedEnd(std::string_view linkTarget)
{
    return linkTarget == kLinkDone || linkTarget == kLinkCombat;
}

void TerminationQueryModel::Fill(const option& o)
{
    m_target = o.link_target.empty() ? std::string(kEmptyTarget) : o.link_target.str();
    m_notes = o.notes.str();
    m_editCaption = kEditNodeCaption;
    if (m_target == kLinkCombat)
        m_notes = kCombatNotes;
    if (!IsFixedEnd(o.link_target.view())) {
        m_editEnabled = true;
        if (o.link_target.empty())
            m_notes = kNullLinkNotes;
    } else {
        m_notes = kFixedEndNotes;
    }
}

} // namespace zev
