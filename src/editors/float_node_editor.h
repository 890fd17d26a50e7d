#pragma once

// The "Float node strings editor" and the float node operations of the Dialogue Editor's tab
// "Floater nodes": a float node's name, description and its list of random messages. Message
// operations change the float node at once, so they stay when the editor is cancelled; the name
// and description are stored on OK only.

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "model/records.h"

namespace zev {

class App;
class FloatNodeEditorModel;

// Shows the editor modally; true when it was closed with OK (after Accept said yes).
class FloatNodeEditorView {
public:
    virtual ~FloatNodeEditorView() = default;
    virtual bool exec(FloatNodeEditorModel& model) = 0;
};

struct FloatMessageRow {
    std::string index; // zero-based position
    std::string text;
};

class FloatNodeEditorModel {
public:
    static constexpr std::string_view kCaption = "Float node strings editor";
    static constexpr std::string_view kNameLabel = "Float node name:";
    static constexpr std::string_view kDescriptionLabel = "Description:";
    static constexpr std::string_view kMessagesLabel = "Random messages";
    static constexpr std::array<std::string_view, 2> kColumns = { "Index", "Message text" };
    static constexpr std::string_view kTextLabel = "Text for new/selected message";
    static constexpr std::string_view kAdd = "Add";
    static constexpr std::string_view kDelete = "Delete";
    static constexpr std::string_view kModify = "Modify";
    // The script line the tab's Add and Delete run; the script marks the dialogue modified.
    static constexpr std::string_view kChangeNotify = "DialogueChangeNotify;";

    explicit FloatNodeEditorModel(App& app);
    ~FloatNodeEditorModel();
    FloatNodeEditorModel(const FloatNodeEditorModel&) = delete;
    FloatNodeEditorModel& operator=(const FloatNodeEditorModel&) = delete;

    void SetView(FloatNodeEditorView* view) { m_view = view; }

    // ---- The flows of the tab (and of the script function EditFloatNode). Each returns whether
    // the float node table or a float node was stored.
    // "Add": a new float node, counted on OK; on Cancel it is gone with its messages. Refused in a
    // box when the dialogue holds 513 float nodes.
    bool Add();
    // "Edit": the float node at index; OK stores name and description. Messages changed before a
    // Cancel stay (and mark the dialogue modified).
    bool Edit(int index);
    // "Delete": the float node at index, without a question.
    bool Delete(int index);

    // Fills the editor without showing it; End drops an Add's record that was not stored.
    bool BeginAdd();
    bool BeginEdit(int index);
    // OK: refused with a warning when a regular node has the name. True when the editor may close.
    bool Accept();
    // After OK: name and description stored (an Add's record counted).
    bool Store();
    void End();
    // The float node index being edited (an Add's is float_node_count); -1 when closed.
    int editedIndex() const { return m_index; }

    // ---- The controls.
    const std::string& name() const { return m_name; }
    void SetName(std::string name);
    const std::string& description() const { return m_description; }
    void SetDescription(std::string description);
    const std::vector<FloatMessageRow>& rows() const { return m_rows; }
    int selectedMessage() const { return m_selected; }
    // A message copied into the text field, "Modify" enabled; -1 clears the field.
    void SelectMessage(int row);
    const std::string& text() const { return m_text; }
    void SetText(std::string text);
    bool modifyEnabled() const { return m_selected >= 0; }
    // The message operations; false when nothing changed (no selection, a full list).
    bool AddMessage();
    bool ModifyMessage();
    bool DeleteMessage();

    Signal<> changed;

private:
    floatnode* Edited() const;
    void Clear();
    void FillRows();
    void MessagesChanged();
    void Notify();

    App& m_app;
    FloatNodeEditorView* m_view = nullptr;
    std::unique_ptr<floatnode> m_pending; // an Add's record until OK
    int m_index = -1;
    bool m_messagesChanged = false;
    std::string m_name;
    std::string m_description;
    std::vector<FloatMessageRow> m_rows;
    int m_selected = -1;
    std::string m_text;
};

// The warning for a float node name that a regular node has.
std::string FloatNameClashText(std::string_view name);

} // namespace zev
