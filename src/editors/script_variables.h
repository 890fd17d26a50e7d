#pragma once

// The "Script variable manager": the dialogue's script variables as a list, with fields to add a
// variable, change one or several at once, delete, reorder and sort them. Every change is written
// to the dialogue at once (and marks it modified); Cancel only closes.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"

namespace zev {

class App;
class ScriptVariablesModel;
class HostVariant;
struct TVariable;

// Shows the window modally; true when it was closed with OK.
class ScriptVariablesView {
public:
    virtual ~ScriptVariablesView() = default;
    virtual bool exec(ScriptVariablesModel& model) = 0;
};

struct VariableRow {
    std::string name; // with "[import] ", "[export] " or "[local] " before it
    std::string type; // "string", "integer", "float" or "N/A (no default value)"
    std::string value;
};

class ScriptVariablesModel {
public:
    static constexpr std::string_view kCaption = "Script variable manager";
    static constexpr std::array<std::string_view, 3> kColumns
        = { "Variable name", "Variable type", "Initialization value" };
    static constexpr std::string_view kNameLabel = "Variable name:";
    static constexpr std::string_view kFlagsLabel = "Variable flags";
    static constexpr std::array<std::string_view, 4> kScopes
        = { "None", "Imported variable", "Exported variable", "Local variable" };
    static constexpr std::string_view kHasDefault = "Has default value";
    static constexpr std::string_view kTypeLabel = "Variable type:";
    static constexpr std::array<std::string_view, 3> kTypes = { "String", "Integer", "Float" };
    static constexpr std::string_view kNoType = "<none>";
    static constexpr std::string_view kValueLabel = "Initialization value:";
    static constexpr std::string_view kNotesLabel = "Notes";
    static constexpr std::string_view kAdd = "Add";
    static constexpr std::string_view kDelete = "Delete";
    static constexpr std::string_view kApply = "Apply";
    static constexpr std::string_view kMoveUp = "Move Up";
    static constexpr std::string_view kMoveDown = "Move Down";
    static constexpr std::string_view kRearrange = "Rearrange";
    static constexpr std::string_view kNoDefault = "N/A (no default value)";
    static constexpr std::array<std::string_view, 4> kScopePrefixes = { "", "[import] ", "[export] ", "[local] " };
    static constexpr std::array<std::string_view, 3> kTypeNames = { "string", "integer", "float" };

    explicit ScriptVariablesModel(App& app);
    ScriptVariablesModel(const ScriptVariablesModel&) = delete;
    ScriptVariablesModel& operator=(const ScriptVariablesModel&) = delete;

    // The whole flow of the Dialogue Editor's "Script variables": the list filled, the window shown.
    // True on OK; the caller then refreshes the completion lists.
    bool Open(ScriptVariablesView* view);
    // The list filled from the dialogue, nothing selected, the fields cleared.
    void Begin();

    // ---- The list.
    const std::vector<VariableRow>& rows() const { return m_rows; }
    // The selected rows, ascending. One row loads its variable into the fields; none clears them;
    // several keep the fields as they are, for Apply to all of them.
    const std::vector<int>& selection() const { return m_selection; }
    void SetSelection(std::vector<int> rows);
    bool applyEnabled() const { return !m_selection.empty(); }

    // ---- The fields.
    const std::string& name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    int scope() const { return m_scope; }
    void SetScope(int scope);
    bool hasDefault() const { return m_hasDefault; }
    // Unchecking clears the type and shows "<none>".
    void SetHasDefault(bool on);
    // -1 for none, else the position in kTypes.
    int type() const { return m_type; }
    void SetType(int type);
    // What the type list shows: the type, "<none>" after unchecking, or nothing.
    std::string_view typeText() const;
    const std::string& value() const { return m_value; }
    void SetValue(std::string value) { m_value = std::move(value); }
    // Notes as the memo has them, lines separated by CR LF.
    const std::string& notes() const { return m_notes; }
    void SetNotes(std::string notes) { m_notes = std::move(notes); }

    // ---- The buttons.
    void Add();
    void Delete();
    void Apply();
    void MoveUp();
    void MoveDown();
    void Rearrange();

    Signal<> changed;

private:
    void FillRows();
    void ClearFields();
    void LoadFields(const TVariable& v);
    // The value field converted for `type` (empty for -1); an error box and false when it does
    // not convert.
    bool ConvertValue(int type, HostVariant& out) const;
    void Move(int step);
    void Changed();

    App& m_app;
    std::vector<VariableRow> m_rows;
    std::vector<int> m_selection;
    std::string m_name;
    int m_scope = 0;
    bool m_hasDefault = false;
    int m_type = -1;
    bool m_showNone = false;
    std::string m_value;
    std::string m_notes;
};

// One list row of a variable.
VariableRow VariableRowOf(const TVariable& v);

} // namespace zev
