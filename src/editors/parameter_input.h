#pragma once

// The "Parameter Input window": fills the parameters of a code preset one page at a time and gives
// the preset's code with every "%name%" replaced by the value entered for that parameter.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "completion/completion_records.h"

namespace zev {

class App;
class ParameterInputModel;

// Shows the window modally; its main button calls ParameterInputModel::Next and closes with OK
// when that says Done, without result when it says Failed. True when closed with OK.
class ParameterInputView {
public:
    virtual ~ParameterInputView() = default;
    virtual bool exec(ParameterInputModel& model) = 0;
};

// What a page asks with.
enum class ParamPage {
    None, // a preset without parameters, or after the last one
    Spin, // Integer
    NodeChoice, // NodePTR: drop-down with the chosen node's NPC text below
    DropDown, // FloatNodePTR
    List, // Boolean, skills, stats, variables, PIDs
    Memo, // String
    FreeText, // Global Var, Map Var: no list to choose from, the value typed
};

class ParameterInputModel {
public:
    static constexpr std::string_view kCaption = "Parameter Input window";
    static constexpr std::string_view kNextParameter = "Next parameter";
    static constexpr std::string_view kOk = "OK";
    static constexpr std::string_view kCancel = "Cancel";
    static constexpr std::string_view kIntegerLabel = "Set integer value:";
    static constexpr std::string_view kNodeLabel = "Select a node:";
    static constexpr std::string_view kNodeTextLabel = "Node text preview:";
    static constexpr std::string_view kBooleanLabel = "Set boolean value:";
    static constexpr std::string_view kFloatNodeLabel = "Select a float node:";
    static constexpr std::string_view kStringLabel = "Enter string parameter:";
    static constexpr std::string_view kSkillLabel = "Select skill:";
    static constexpr std::string_view kStatLabel = "Select stat:";
    static constexpr std::string_view kVariableLabel = "Select variable";
    static constexpr std::string_view kPidLabel = "Select data:";
    static constexpr std::string_view kFreeTextLabel = "Enter value:";
    static constexpr std::array<std::string_view, 2> kBooleans = { "False", "True" };
    static constexpr std::string_view kNoSkill = "No skill selected!";
    static constexpr std::string_view kNoStat = "No stat selected!";
    static constexpr std::string_view kNoVariable = "No variable selected!";
    static constexpr std::string_view kNoPid = "No PID selected!";
    static constexpr int kMinInteger = -9999;
    static constexpr int kMaxInteger = 9999;

    ParameterInputModel(App& app, const DefinitionTable& definitions);
    ParameterInputModel(const ParameterInputModel&) = delete;
    ParameterInputModel& operator=(const ParameterInputModel&) = delete;

    // The whole flow: the window over the preset; the generated code when it closed with OK.
    // Nothing without a view, on Cancel, or when a page could not be prepared.
    std::optional<std::string> Run(const CodeSnippet& snippet, ParameterInputView* view);

    // ---- The steps Run takes, for the view and the tests.
    // Starts over the preset at its first parameter. False when that page could not be prepared
    // (the error box has been shown).
    bool Begin(const CodeSnippet& snippet);
    enum class Step { Stay, Advanced, Done, Failed };
    // The main button: takes the value of the page. Stay when the page refuses (a warning box),
    // Advanced to the next page, Done after the last one, Failed when the next page could not be
    // prepared.
    Step Next();
    bool done() const { return m_done; }
    const std::string& result() const { return m_code; }

    // ---- The page.
    int current() const { return m_index; }
    int paramCount() const { return m_count; }
    ParamPage page() const { return m_page; }
    int32_t paramType() const { return m_type; }
    const std::string& prompt() const { return m_prompt; }
    const std::string& pageLabel() const { return m_label; }
    std::string_view mainButton() const { return m_index + 1 < m_count ? kNextParameter : kOk; }

    const std::vector<std::string>& items() const { return m_items; }
    int chosen() const { return m_chosen; }
    void Choose(int item);
    // NodeChoice: the chosen node's NPC text.
    const std::string& preview() const { return m_preview; }
    int spinValue() const { return m_spin; }
    void SetSpinValue(int value);
    // Memo text in CR LF.
    const std::string& memo() const { return m_memo; }
    void SetMemo(std::string text) { m_memo = std::move(text); }
    const std::string& freeText() const { return m_freeText; }
    void SetFreeText(std::string text) { m_freeText = std::move(text); }

    Signal<> changed;

private:
    bool PreparePage();
    void FillPage();
    void FillSkillItems(std::string_view section);
    std::optional<std::string> PageValue();
    std::string ListValue() const;

    App& m_app;
    const DefinitionTable& m_definitions;
    const CodeSnippet* m_snippet = nullptr;
    std::string m_code;
    int m_index = 0;
    int m_count = 0;
    bool m_done = false;
    ParamPage m_page = ParamPage::None;
    int32_t m_type = PARAM_NONE;
    std::string m_prompt;
    std::string m_label;
    std::vector<std::string> m_items;
    int m_chosen = -1;
    std::string m_preview;
    int m_spin = 0;
    std::string m_memo;
    std::string m_freeText;
};

} // namespace zev
