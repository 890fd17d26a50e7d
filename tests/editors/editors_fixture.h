#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "editors/editor_windows.h"
#include "model/dialog_ops.h"
#include "support/fakes.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev::test {

// Views that play the user: each runs its script on the model and answers OK or Cancel.
struct ScriptedNodeView : NodeDialogView {
    std::function<bool(NodeDialogModel&)> script;
    std::vector<std::string> captions;
    bool exec(NodeDialogModel& model) override
    {
        captions.push_back(model.caption());
        return script ? script(model) : false;
    }
};

struct ScriptedOptionView : OptionDialogView {
    std::function<bool(OptionDialogModel&)> script;
    std::vector<std::string> captions;
    bool exec(OptionDialogModel& model) override
    {
        captions.push_back(model.caption());
        return script ? script(model) : false;
    }
};

struct ScriptedEditorView : DialogueEditorView {
    std::function<void(DialogueEditorModel&)> script;
    void exec(DialogueEditorModel& model) override
    {
        if (script)
            script(model);
    }
};

// An App in a fresh program folder with the editor windows and their scripted views.
struct EditorsFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    LogCapture capture { app.log() };
    ConsoleCapture console;
    EditorWindows editors { app };
    ScriptedNodeView nodeView;
    ScriptedOptionView optionView;
    ScriptedEditorView editorView;

    EditorsFixture()
    {
        editors.SetViews(&editorView, &nodeView, &optionView);
        app.SetWindows(&editors);
        app.console().SetFrontEndHolder(&console);
    }

    dialog& d() { return app.dlg(); }
    DialogueEditorModel& editor() { return editors.dialogueEditor(); }
    NodeDialogModel& nodeDialog() { return editors.nodeDialog(); }

    dlgnode* Node(std::string_view name, std::string_view npc = {})
    {
        dlgnode* n = AddNode(d(), name);
        n->npc_text = npc;
        return n;
    }
    option* Option(dlgnode& n, std::string_view text, std::string_view target)
    {
        option* o = AddOption(n);
        o->text = text;
        o->link_target = target;
        return o;
    }
    std::vector<std::string> RowNames()
    {
        std::vector<std::string> out;
        for (const NodeRow& r : editor().nodeRows())
            out.push_back(r.name);
        return out;
    }
    std::vector<std::string> NodeNames()
    {
        std::vector<std::string> out;
        for (int i = 0; i < d().node_count; ++i)
            out.push_back(d().nodes[i]->name.str());
        return out;
    }
    int RowOf(std::string_view name)
    {
        const auto& rows = editor().nodeRows();
        for (std::size_t r = 0; r < rows.size(); ++r)
            if (rows[r].name == name)
                return static_cast<int>(r);
        return -1;
    }
    bool Logged(std::string_view line) const
    {
        for (const auto& m : capture.Messages())
            if (m == line)
                return true;
        return false;
    }
};

} // namespace zev::test
