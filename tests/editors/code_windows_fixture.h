#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "editors/custom_procs.h"
#include "editors/node_code.h"
#include "editors/parameter_input.h"
#include "editors/script_variables.h"
#include "model/dialog_ops.h"
#include "support/fakes.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev::test {

// A parameter input window played by a script; counts its openings.
struct ScriptedParamView : ParameterInputView {
    std::function<bool(ParameterInputModel&)> script;
    int shown = 0;
    bool exec(ParameterInputModel& model) override
    {
        ++shown;
        return script ? script(model) : false;
    }
};

template <class Model, class View> struct ScriptedView : View {
    std::function<bool(Model&)> script;
    bool exec(Model& model) override { return script ? script(model) : false; }
};
using ScriptedVariablesView = ScriptedView<ScriptVariablesModel, ScriptVariablesView>;
using ScriptedProcView = ScriptedView<CustomProcEditorModel, CustomProcEditorView>;
using ScriptedNodeCodeView = ScriptedView<NodeCodeEditorModel, NodeCodeEditorView>;

// The four code and variable windows over an App in a fresh program folder.
struct CodeWindowsFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    LogCapture capture { app.log() };
    std::vector<std::string> events;
    RecordingPlugins plugins { events };
    DefinitionTable definitions;
    CodeSnippetTable presets;
    ParameterInputModel params { app, definitions };
    ScriptedParamView paramView;
    ScriptVariablesModel variables { app };
    CustomProcEditorModel procs { app, presets, params };
    NodeCodeEditorModel nodeCode { app, presets, params };

    CodeWindowsFixture()
    {
        app.SetPluginBus(&plugins);
        procs.SetParameterInputView(&paramView);
        nodeCode.SetParameterInputView(&paramView);
    }

    dialog& d() { return app.dlg(); }

    // A preset of (type, name) parameters; prompts are "ask " + name.
    static CodeSnippet Preset(std::string desc, std::string code, std::vector<std::pair<int32_t, std::string>> ps = {})
    {
        CodeSnippet s;
        s.name = desc;
        s.desc = std::move(desc);
        s.code = std::move(code);
        for (auto& [type, name] : ps)
            s.params[static_cast<std::size_t>(s.param_count++)] = { type, name, "ask " + name };
        return s;
    }
    TVariable* Variable(std::string_view name, int32_t scope = SCOPE_NONE)
    {
        TVariable* v = AddVariable(d(), name);
        v->scope = scope;
        return v;
    }
    std::vector<std::string> VariableNames()
    {
        std::vector<std::string> out;
        for (int i = 0; i < d().variable_count; ++i)
            out.push_back(d().variables[i]->name.str());
        return out;
    }
    bool Logged(std::string_view line) const
    {
        for (const auto& m : capture.Messages())
            if (m == line)
                return true;
        return false;
    }
    // The boxes shown so far, as "icon: text".
    std::vector<std::string> Boxes() const
    {
        std::vector<std::string> out;
        for (const auto& s : dialogs.History())
            out.push_back(std::string(MsgIconName(s.icon)) + ": " + s.text);
        return out;
    }
};

} // namespace zev::test
