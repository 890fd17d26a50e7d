#include "editors/npc_properties.h"

#include "app/app.h"

namespace zev {

NpcPropertiesModel::NpcPropertiesModel(App& app)
    : m_app(app)
{
}

bool NpcPropertiesModel::Open()
{
    Begin();
    if (!m_view || !m_view->exec(*this))
        return false;
    Apply();
    return true;
}

void NpcPropertiesModel::Begin()
{
    const dialog& d = m_app.dlg();
    for (const FieldInfo& f : kFields)
        SetText(f.field, (d.*f.member).str());
}

void NpcPropertiesModel::Apply()
{
    m_app.DialogueChanged();
    dialog& d = m_app.dlg();
    for (const FieldInfo& f : kFields)
        d.*f.member = text(f.field);
    m_app.BroadcastPluginUpdate();
}

} // namespace zev
