#pragma once

// The conditions editor ("Additional player option conditions"): the extra tests of one player
// option, built from the check types of conditions.ini. Every Add, Apply changes and Delete is
// written to the option at once; OK and Cancel only close the window.

#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "editors/condition_code.h"
#include "model/records.h"

namespace zev {

class App;
class ConditionsEditorModel;

// Shows the conditions editor modally; true when it was closed with OK.
class ConditionsEditorView {
public:
    virtual ~ConditionsEditorView() = default;
    virtual bool exec(ConditionsEditorModel& model) = 0;
};

class ConditionsEditorModel {
public:
    static constexpr std::string_view kCaption = "Additional player option conditions";
    static constexpr std::string_view kCheckTypeLabel = "Check type";
    static constexpr std::string_view kFieldsLabel = "Field names:";
    static constexpr std::string_view kChosenFieldLabel = "Chosen field";
    static constexpr std::string_view kEvalLabel = "Evaluation type";
    static constexpr std::string_view kValueLabel = "Value to check";
    static constexpr std::string_view kLinkageLabel = "Linkage";
    static constexpr std::string_view kResolvedLabel = "Resolved SSL code";
    static constexpr std::string_view kListLabel = "Condition list";
    static constexpr std::string_view kAdd = "Add";
    static constexpr std::string_view kDelete = "Delete";
    static constexpr std::string_view kApply = "Apply changes";
    static constexpr std::string_view kEmptyValue = "The value check field is empty. Please enter a value.";
    static constexpr std::string_view kNoCheckTypes
        = "No check types are defined: conditions.ini is missing or lists none.\r\nNo condition was added.";
    static constexpr std::string_view kNoField = "Please choose a field for the condition.";
    static constexpr std::string_view kApplyFailed = "The condition could not be changed: ";
    // The sources of the two variable check types.
    static constexpr std::string_view kLocalVars = "local_vars";
    static constexpr std::string_view kScriptVars = "script_vars";

    explicit ConditionsEditorModel(App& app);
    ConditionsEditorModel(const ConditionsEditorModel&) = delete;
    ConditionsEditorModel& operator=(const ConditionsEditorModel&) = delete;

    void SetView(ConditionsEditorView* view) { m_view = view; }

    // "Set up conditions..." of the option dialog: the editor over edited (which may be an option
    // the option dialog has not counted yet), shown modally. True when closed with OK; either way
    // the changes made stay in the option.
    bool Open(option& edited);
    // The controls filled for edited without showing the window; End lets go of the option.
    void Begin(option& edited);
    void End();
    const option* editedOption() const { return m_option; }

    // ---- The controls.
    const std::vector<std::string>& checkTypes() const { return m_types; }
    int checkType() const { return m_type; }
    // Choosing a check type fills the field list from its source or its items.
    void ChooseCheckType(int position);
    const std::string& source() const { return m_source; }
    const std::vector<std::string>& fields() const { return m_fields; }
    int field() const { return m_field; }
    void SelectField(int position);
    const std::string& chosenField() const { return m_chosenField; }
    int evalType() const { return m_eval; }
    void ChooseEval(int position);
    const std::string& value() const { return m_value; }
    void SetValue(std::string value);
    int linkage() const { return m_link; }
    void ChooseLinkage(int position);
    const std::string& resolvedCode() const { return m_resolved; }

    // The option's conditions, one script expression a line.
    const std::vector<std::string>& lines() const { return m_lines; }
    int selectedLine() const { return m_line; }
    // Loads the condition into the controls; -1 clears the value and the code.
    void SelectLine(int line);
    bool applyEnabled() const { return m_line >= 0; }

    // ---- The buttons. Each true when the option changed.
    bool Add();
    bool ApplyChanges();
    bool Delete();

    Signal<> changed;

private:
    const std::string& typeSection() const;
    std::string ReadKey(std::string_view key) const;
    void FillTypes();
    void FillLines();
    void Resolve();
    bool variableSource() const { return m_source == kLocalVars || m_source == kScriptVars; }
    // Why the controls cannot make a condition, or empty when they can.
    std::string Refusal() const;
    void Store(condition& c) const;
    // The field a stored condition names in the current field list, or -1.
    int FieldOf(const condition& c) const;
    // The dialogue is marked modified for an option it holds; a pending option is marked when the
    // option dialog counts it.
    void Changed();

    App& m_app;
    ConditionsEditorView* m_view = nullptr;
    option* m_option = nullptr;
    std::vector<std::string> m_types;
    int m_type = -1;
    std::string m_source;
    std::vector<std::string> m_fields;
    int m_field = -1;
    std::string m_chosenField;
    int m_eval = 0;
    std::string m_value;
    int m_link = 0;
    std::string m_resolved;
    std::vector<std::string> m_lines;
    int m_line = -1;
};

} // namespace zev
