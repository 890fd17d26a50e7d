#include "editors/float_node_editor.h"

#include <algorithm>

#include "app/app.h"
#include "model/dialog_edits.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

// An Add's record is not in the table yet, so the table's removal cannot reach it.
bool RemovePendingMessageAt(floatnode& f, int index)
{
    const int32_t count = std::clamp(f.message_count, 0, kMaxFloatMessages);
    if (index < 0 || index >= count)
        return false;
    for (int32_t i = index; i + 1 < count; ++i)
        f.messages[i] = std::move(f.messages[i + 1]);
    f.messages[count - 1] = HostString();
    f.message_count = count - 1;
    return true;
}

} // namespace

std::string FloatNameClashText(std::string_view name)
{
    return std::string(name)
        + " already exists as a regular node.\r\nPlease pick a unique node name\r\nfor this "
          "floater node.";
}

FloatNodeEditorModel::FloatNodeEditorModel(App& app)
    : m_app(app)
{
}

FloatNodeEditorModel::~FloatNodeEditorModel()
{
    End();
}

floatnode* FloatNodeEditorModel::Edited() const
{
    if (m_pending)
        return m_pending.get();
    const dialog& d = m_app.dlg();
    return m_index >= 0 && m_index < std::min(d.float_node_count, kMaxFloatNodes) ? d.float_nodes[m_index] : nullptr;
}

void FloatNodeEditorModel::Clear()
{
    m_name.clear();
    m_description.clear();
    m_rows.clear();
    m_selected = -1;
    m_text.clear();
    m_messagesChanged = false;
}

void FloatNodeEditorModel::Notify()
{
    // Without a script host to run the line the dialogue is marked here, so the change is never
    // left unmarked.
    if (!m_app.scripts().ExecuteScriptConsole(kChangeNotify))
        m_app.DialogueChanged();
}

bool FloatNodeEditorModel::BeginAdd()
{
    End();
    const dialog& d = m_app.dlg();
    if (TableFull(d.float_nodes, d.float_node_count)) {
        m_app.dialogs().Warning("The dialogue already holds " + std::to_string(kMaxFloatNodes)
            + " float nodes, as many as it can hold.\r\nNo float node was added.");
        return false;
    }
    m_pending = std::make_unique<floatnode>();
    m_index = d.float_node_count;
    changed.Emit();
    return true;
}

bool FloatNodeEditorModel::BeginEdit(int index)
{
    End();
    m_index = index;
    const floatnode* f = Edited();
    if (!f) {
        m_index = -1;
        return false;
    }
    m_name = f->name.str();
    m_description = f->notes.str();
    FillRows();
    changed.Emit();
    return true;
}

void FloatNodeEditorModel::End()
{
    m_pending.reset();
    m_index = -1;
    Clear();
}

bool FloatNodeEditorModel::Add()
{
    if (!BeginAdd())
        return false;
    const bool ok = m_view && m_view->exec(*this) && Store();
    End();
    if (ok) {
        Notify();
        m_app.RefreshEditorLists();
    }
    return ok;
}

bool FloatNodeEditorModel::Edit(int index)
{
    if (!BeginEdit(index))
        return false;
    const bool ok = m_view && m_view->exec(*this) && Store();
    const bool messagesChanged = m_messagesChanged;
    End();
    if (ok || messagesChanged) {
        m_app.RefreshEditorLists();
        // Messages changed before a Cancel are in the dialogue too: marked, or a close would drop
        // them without a question.
        m_app.DialogueChanged();
    }
    return ok;
}

bool FloatNodeEditorModel::Delete(int index)
{
    dialog& d = m_app.dlg();
    floatnode* f = RemoveFloatNodeAt(d, index);
    if (!f)
        return false;
    delete f;
    Notify();
    m_app.RefreshEditorLists();
    return true;
}

bool FloatNodeEditorModel::Accept()
{
    if (FindNodeIndex(m_app.dlg(), m_name) >= 0) {
        m_app.dialogs().Warning(FloatNameClashText(m_name));
        return false;
    }
    return true;
}

bool FloatNodeEditorModel::Store()
{
    floatnode* f = Edited();
    if (!f)
        return false;
    if (m_pending) {
        dialog& d = m_app.dlg();
        // BeginAdd checked; a script run from the editor may have filled the table meanwhile.
        if (TableFull(d.float_nodes, d.float_node_count)) {
            m_app.dialogs().Warning("The dialogue already holds " + std::to_string(kMaxFloatNodes)
                + " float nodes, as many as it can hold.\r\nNo float node was added.");
            return false;
        }
        d.float_nodes[d.float_node_count] = m_pending.release();
        ++d.float_node_count;
    }
    f->name = m_name;
    f->notes = m_description;
    return true;
}

void FloatNodeEditorModel::SetName(std::string name)
{
    m_name = std::move(name);
}

void FloatNodeEditorModel::SetDescription(std::string description)
{
    m_description = std::move(description);
}

void FloatNodeEditorModel::SetText(std::string text)
{
    m_text = std::move(text);
}

void FloatNodeEditorModel::FillRows()
{
    m_rows.clear();
    if (const floatnode* f = Edited())
        for (int32_t i = 0; i < std::clamp(f->message_count, 0, kMaxFloatMessages); ++i)
            m_rows.push_back({ std::to_string(i), f->messages[i].str() });
    if (m_selected >= static_cast<int>(m_rows.size()))
        m_selected = -1;
}

void FloatNodeEditorModel::SelectMessage(int row)
{
    const floatnode* f = Edited();
    if (!f || row < 0 || row >= static_cast<int>(m_rows.size())) {
        m_selected = -1;
        m_text.clear();
    } else {
        m_selected = row;
        m_text = f->messages[row].str();
    }
    changed.Emit();
}

void FloatNodeEditorModel::MessagesChanged()
{
    if (!m_pending)
        m_messagesChanged = true;
    FillRows();
    changed.Emit();
}

bool FloatNodeEditorModel::AddMessage()
{
    floatnode* f = Edited();
    if (!f)
        return false;
    if (!TryAddFloatMessage(*f, m_text).ok()) {
        m_app.dialogs().Warning("This float node already holds " + std::to_string(kMaxFloatMessages)
            + " messages, as many as it can hold.\r\nThe message was not added.");
        return false;
    }
    m_text.clear();
    MessagesChanged();
    return true;
}

bool FloatNodeEditorModel::ModifyMessage()
{
    floatnode* f = Edited();
    if (!f || m_selected < 0 || m_selected >= std::clamp(f->message_count, 0, kMaxFloatMessages))
        return false;
    f->messages[m_selected] = m_text;
    MessagesChanged();
    return true;
}

bool FloatNodeEditorModel::DeleteMessage()
{
    floatnode* f = Edited();
    if (!f || m_selected < 0)
        return false;
    const bool removed
        = m_pending ? RemovePendingMessageAt(*f, m_selected) : RemoveFloatMessageAt(m_app.dlg(), m_index, m_selected);
    if (!removed)
        return false;
    m_selected = -1;
    m_text.clear();
    MessagesChanged();
    return true;
}

} // namespace zev
