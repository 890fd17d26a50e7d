#pragma once

// The "Custom procedure editor": the dialogue's custom procedures (named script procedures that
// player options can link to), each with its code and the node it belongs with, and code made
// from a preset through the parameter input.

#include <string>
#include <string_view>
#include <vector>

#include "base/signal.h"
#include "completion/completion_records.h"

namespace zev {

class App;
class CustomProcEditorModel;
class ParameterInputModel;
class ParameterInputView;

// Shows the window modally; true when it was closed with OK. The view hands the code editor's
// text to the model (SetCode) before every button and list action, and shows code() after it.
class CustomProcEditorView {
public:
    virtual ~CustomProcEditorView() = default;
    virtual bool exec(CustomProcEditorModel& model) = 0;
};

class CustomProcEditorModel {
public:
    static constexpr std::string_view kCaption = "Custom procedure editor";
    static constexpr std::string_view kListLabel = "Procedure list:";
    static constexpr std::string_view kNameLabel = "Procedure name:";
    static constexpr std::string_view kNodeLabel = "Associate with node:";
    static constexpr std::string_view kCodeLabel = "Code:";
    static constexpr std::string_view kPresetLabel = "Generate code from template:";
    static constexpr std::string_view kGenerate = "Generate";
    static constexpr std::string_view kGenerateHint
        = "This button will invoke the parameter input dialog\r\nwhich goes through the parameters in the\r\ncode "
          "template and inserts the code to the\r\neditor when finished.\r\n";
    static constexpr std::string_view kAdd = "Add";
    static constexpr std::string_view kDelete = "Delete";
    static constexpr std::string_view kNoProcedure = "Create a new procedure or select an existing one first.";

    // Opened from the main menu, or from the player option dialog (the edited node preselected).
    static constexpr int kFromMainMenu = 0;
    static constexpr int kFromOptionDialog = 1;

    CustomProcEditorModel(App& app, const CodeSnippetTable& presets, ParameterInputModel& params);
    CustomProcEditorModel(const CustomProcEditorModel&) = delete;
    CustomProcEditorModel& operator=(const CustomProcEditorModel&) = delete;

    void SetParameterInputView(ParameterInputView* view) { m_paramView = view; }

    // The whole flow: Open, the window, and OK's storing. True when it was closed with OK.
    bool Run(CustomProcEditorView* view, int mode, int editedNode);
    // Fills the preset, node and procedure lists, nothing selected; in mode 1 editedNode is the
    // chosen node.
    void Open(int mode, int editedNode);
    // OK: the selected procedure gets the fields back; the fields are cleared.
    void Ok();

    // ---- The lists.
    const std::vector<std::string>& procedures() const { return m_procedures; }
    int selected() const { return m_selected; }
    // Another procedure (or none): the one selected so far first gets the fields back, so nothing
    // typed is lost; then the new one's name, code and node fill them (none clears them).
    void SelectProcedure(int index);
    // A mouse press on the empty part of the list: the selected procedure gets the fields back,
    // then nothing is selected and the fields are cleared.
    void ClickEmpty();

    const std::vector<std::string>& nodes() const { return m_nodes; }
    // The node position, -1 for none.
    int node() const { return m_node; }
    // The designer's choice of node (marks the dialogue modified).
    void ChooseNode(int node);

    const std::vector<std::string>& presets() const { return m_presets; }
    int preset() const { return m_preset; }
    void ChoosePreset(int preset);

    // ---- The fields.
    const std::string& name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // The code editor's text: CR LF after every line.
    const std::string& code() const { return m_code; }
    void SetCode(std::string code) { m_code = std::move(code); }

    // ---- The buttons.
    void Add();
    void Delete();
    void Generate();

    Signal<> changed;

private:
    void FillLists();
    void ClearFields();
    // The fields into the selected procedure; the dialogue is marked modified when that changes it.
    void StoreSelected();

    App& m_app;
    const CodeSnippetTable& m_presetTable;
    ParameterInputModel& m_params;
    ParameterInputView* m_paramView = nullptr;
    std::vector<std::string> m_procedures;
    std::vector<std::string> m_nodes;
    std::vector<std::string> m_presets;
    int m_selected = -1;
    int m_node = -1;
    int m_preset = -1;
    std::string m_name;
    std::string m_code;
};

} // namespace zev
