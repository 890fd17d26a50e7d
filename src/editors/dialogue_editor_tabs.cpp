// The Dialogue Editor's buttons that open the other editors: start conditions, the Floater tab with
// the timed events, the Skill Checks tab.
#include "editors/dialogue_editor.h"

#include <algorithm>

#include "app/app.h"
#include "editors/float_node_editor.h"
#include "editors/skill_check_editor.h"
#include "editors/start_conditions.h"
#include "editors/timed_events.h"

namespace zev {

void DialogueEditorModel::SelectFloatRow(int row)
{
    m_floatRow = row >= 0 && row < static_cast<int>(m_floatRows.size()) ? row : -1;
    changed.Emit();
}

void DialogueEditorModel::SelectSkillRow(int row)
{
    m_skillRow = row >= 0 && row < static_cast<int>(m_skillRows.size()) ? row : -1;
    changed.Emit();
}

void DialogueEditorModel::StartConditions()
{
    if (m_sub.startConditions && m_sub.startConditions->Open())
        m_app.DialogueChanged();
}

void DialogueEditorModel::FloatAdd()
{
    if (m_sub.floatNodes)
        m_sub.floatNodes->Add();
}

void DialogueEditorModel::FloatEdit()
{
    FloatEditRow(m_floatRow);
}

void DialogueEditorModel::FloatEditRow(int row)
{
    if (!m_sub.floatNodes || row < 0 || row >= static_cast<int>(m_floatRows.size()))
        return;
    const int index = row; // the floater list shows every float node in table order
    m_sub.floatNodes->Edit(index);
    SelectFloatRow(row);
}

void DialogueEditorModel::FloatDelete()
{
    if (!m_sub.floatNodes || m_floatRow < 0)
        return;
    m_sub.floatNodes->Delete(m_floatRow);
    SelectFloatRow(std::min(m_floatRow, static_cast<int>(m_floatRows.size()) - 1));
}

void DialogueEditorModel::TimedEvents()
{
    if (m_sub.timedEvents)
        m_sub.timedEvents->Open();
}

void DialogueEditorModel::SkillAdd()
{
    if (m_sub.skillChecks)
        m_sub.skillChecks->Add();
}

void DialogueEditorModel::SkillEdit()
{
    SkillEditRow(m_skillRow);
}

void DialogueEditorModel::SkillEditRow(int row)
{
    if (!m_sub.skillChecks)
        return;
    const bool valid = row >= 0 && row < static_cast<int>(m_skillRows.size());
    const std::string name = valid ? m_skillRows[static_cast<std::size_t>(row)].name : std::string();
    // Without a selection the editor says "No skill check selected!".
    m_sub.skillChecks->Edit(name);
    if (valid)
        SelectSkillRow(RowOfSkill(m_sub.skillChecks->storedName().empty() ? name : m_sub.skillChecks->storedName()));
}

void DialogueEditorModel::SkillDelete()
{
    if (!m_sub.skillChecks || m_skillRow < 0)
        return;
    m_sub.skillChecks->Delete(m_skillRows[static_cast<std::size_t>(m_skillRow)].name);
    SelectSkillRow(std::min(m_skillRow, static_cast<int>(m_skillRows.size()) - 1));
}

int DialogueEditorModel::RowOfSkill(const std::string& name) const
{
    for (std::size_t i = 0; i < m_skillRows.size(); ++i)
        if (m_skillRows[i].name == name)
            return static_cast<int>(i);
    return -1;
}

} // namespace zev
