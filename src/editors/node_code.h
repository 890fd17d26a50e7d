#pragma once

// The "Node-specific code editor": the code run at the start of one node's procedure, with code
// made from a preset through the parameter input. The node dialog hands it the node's custom code
// and stores what Accept gives.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "completion/completion_records.h"

namespace zev {

class App;
class NodeCodeEditorModel;
class ParameterInputModel;
class ParameterInputView;

// Shows the window modally; true when it was closed with OK. The view hands the code editor's
// text to the model (SetCode) before "Create" and OK, and shows code() after.
class NodeCodeEditorView {
public:
    virtual ~NodeCodeEditorView() = default;
    virtual bool exec(NodeCodeEditorModel& model) = 0;
};

class NodeCodeEditorModel {
public:
    static constexpr std::string_view kCaption = "Node-specific code editor";
    static constexpr std::string_view kExplanation
        = "This code will be inserted to the beginning of the node procedure. Here you can\r\nperform actions such "
          "as transferring items, money, manipulating variables etc. The\r\ncode is executed every time the node "
          "is reached so if you need a procedure call\r\nwith a branching link, create a new custom procedure "
          "instead. ";
    static constexpr std::string_view kCodeLabel = "Code:";
    static constexpr std::string_view kPresetLabel = "Generate code from template:";
    static constexpr std::string_view kCreate = "Create";

    NodeCodeEditorModel(App& app, const CodeSnippetTable& presets, ParameterInputModel& params);
    NodeCodeEditorModel(const NodeCodeEditorModel&) = delete;
    NodeCodeEditorModel& operator=(const NodeCodeEditorModel&) = delete;

    void SetParameterInputView(ParameterInputView* view) { m_paramView = view; }

    // The whole flow: the window over the node's custom code; the code to store when it closed
    // with OK.
    std::optional<std::string> Run(NodeCodeEditorView* view, std::string customCode);
    // The editor filled with the code, the preset list with the presets, none chosen.
    void Begin(std::string customCode);
    // OK: the editor's text without its final line break.
    std::string Accept() const;

    const std::vector<std::string>& presets() const { return m_presets; }
    int preset() const { return m_preset; }
    void ChoosePreset(int preset);
    // "Create": the chosen preset through the parameter input; on OK its code replaces the text.
    void Create();

    const std::string& code() const { return m_code; }
    void SetCode(std::string code) { m_code = std::move(code); }

    Signal<> changed;

private:
    const CodeSnippetTable& m_presetTable;
    ParameterInputModel& m_params;
    ParameterInputView* m_paramView = nullptr;
    std::vector<std::string> m_presets;
    int m_preset = -1;
    std::string m_code;
};

} // namespace zev
