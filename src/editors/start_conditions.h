#pragma once

// The start conditions window ("Dialogue start conditions"): which node the dialogue starts in, by
// condition lines made from the types of start_conditions.ini. Every change is written to the
// dialogue at once and marks it modified; OK and Cancel only close the window.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"
#include "base/signal.h"
#include "editors/condition_code.h"
#include "model/records.h"

namespace zev {

class App;
class StartConditionsModel;

// Shows the window modally; true when it was closed with OK.
class StartConditionsView {
public:
    virtual ~StartConditionsView() = default;
    virtual bool exec(StartConditionsModel& model) = 0;
};

// One row of the start condition list.
struct StartConditionRow {
    std::string index; // position + 1
    std::string lines; // line_count
    std::string target;
};

class StartConditionsModel {
public:
    static constexpr std::string_view kCaption = "Dialogue start conditions";
    static constexpr std::array<std::string_view, 3> kColumns = { "Index", "# of Conditions", "Targetnode" };
    static constexpr std::string_view kGlobalGroup = "Start condition global data";
    static constexpr std::string_view kTargetLabel = "Target node:";
    static constexpr std::string_view kPreviewLabel = "Node text preview";
    static constexpr std::string_view kAddStartCondition = "Add Start Condition";
    static constexpr std::string_view kApply = "Apply changes";
    static constexpr std::string_view kConditionsGroup = "Conditions";
    static constexpr std::string_view kTypeLabel = "Condition type:";
    static constexpr std::string_view kEvalLabel = "Evaluation";
    static constexpr std::string_view kValueLabel = "Value to check";
    static constexpr std::string_view kLinkageLabel = "Operator (none/and/or):";
    static constexpr std::string_view kCodeLabel = "Resulting code:";
    static constexpr std::string_view kLinesLabel = "Condition list:";
    static constexpr std::string_view kFileName = "start_conditions.ini";
    static constexpr std::string_view kNoData = "<error: no data defined>";
    static constexpr std::string_view kFloatHeading = "[Displays one of the following random messages from float node ";
    static constexpr std::string_view kNoType = "Please choose a condition type for the line.";
    // Selector kinds.
    static constexpr std::string_view kIniSect = "inisect";
    static constexpr std::string_view kScriptVars = "scriptvars";
    static constexpr std::string_view kLocalVars = "localvars";

    explicit StartConditionsModel(App& app);
    StartConditionsModel(const StartConditionsModel&) = delete;
    StartConditionsModel& operator=(const StartConditionsModel&) = delete;

    void SetView(StartConditionsView* view) { m_view = view; }

    // "Start conditions" of the Dialogue Editor: the lists filled, the window shown modally. True
    // when closed with OK: the caller marks the dialogue modified. Cancel only closes; what was
    // changed stays (and was marked when it was made).
    bool Open();
    // The lists filled without showing the window.
    void Begin();

    // ---- Start conditions.
    const std::vector<StartConditionRow>& rows() const { return m_rows; }
    int selectedRow() const { return m_selected; }
    // A row: its lines listed, its target chosen and previewed. -1 clears the controls.
    void SelectRow(int row);
    bool applyEnabled() const { return m_selected >= 0; }
    int defaultCondition() const;
    const std::vector<std::string>& targets() const { return m_targets; }
    const std::string& target() const { return m_target; }
    // The target as typed or chosen (not checked); the preview follows it.
    void SetTarget(std::string target);
    const std::string& preview() const { return m_preview; }
    // A start condition for the target; the default when the chosen type says so.
    bool AddStartCondition();
    // The selected start condition takes the target, and becomes the default when the chosen type
    // says so.
    bool ApplyChanges();
    bool DeleteStartCondition();

    // ---- The line controls.
    const std::vector<std::string>& types() const { return m_types; } // sorted by name
    int type() const { return m_type; }
    void ChooseType(int position);
    bool evalVisible() const { return m_hasEval; }
    bool valueVisible() const { return !m_hideValue; }
    bool makeDefault() const { return m_makeDefault; }
    bool selectorVisible() const { return !m_selectorKind.empty(); }
    const std::string& selectorCaption() const { return m_selectorCaption; }
    const std::vector<std::string>& selectorItems() const { return m_selectorItems; }
    int selector() const { return m_selector; }
    void ChooseSelector(int position);
    int evalType() const { return m_eval; }
    void ChooseEval(int position);
    const std::string& value() const { return m_value; }
    void SetValue(std::string value);
    int linkage() const { return m_link; }
    void ChooseLinkage(int position);
    const std::string& code() const { return m_code; }

    // ---- The lines of the selected start condition.
    const std::vector<std::string>& lines() const { return m_lines; }
    int selectedLine() const { return m_line; }
    void SelectLine(int line);
    bool AddLine();
    bool ModifyLine();
    bool DeleteLine();

    Signal<> changed;

private:
    starting_condition* Selected() const;
    std::string Read(std::string_view key, std::string_view def = {}) const;
    void FillTypes();
    void FillTargets();
    void FillRows();
    void FillLines();
    void FillSelector(std::string_view kind);
    void ShowPreview();
    void Rebuild();
    // The chosen type forgotten: no section, the controls as without a type.
    void ResetType();
    // The selector's shown text (what a line stores), and the text the code takes from it.
    std::string SelectorText() const;
    std::string SelectionText() const;
    bool CanStoreLine();
    void Changed();

    App& m_app;
    IniFile m_ini;
    StartConditionsView* m_view = nullptr;
    std::vector<StartConditionRow> m_rows;
    int m_selected = -1;
    std::vector<std::string> m_targets;
    std::string m_target;
    std::string m_preview;
    std::vector<std::string> m_types;
    int m_type = -1;
    bool m_hasEval = true;
    bool m_hideValue = false;
    bool m_makeDefault = false;
    std::string m_selectorKind;
    std::string m_selectorCaption;
    std::string m_choiceSection; // of the kind "inisect"
    std::vector<std::string> m_selectorItems;
    int m_selector = -1;
    int m_eval = 0;
    std::string m_value;
    int m_link = 0;
    std::string m_code;
    std::vector<std::string> m_lines;
    int m_line = -1;
};

// The preview of a target: a node's NPC text, or a float node's messages under a heading; nothing
// when the name names neither.
bool StartTargetPreview(const dialog& d, std::string_view target, std::string& preview);

} // namespace zev
