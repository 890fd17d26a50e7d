#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/core_windows.h"
#include "app/scripted_dialogs.h"
#include "base/paths.h"
#include "model/dialog_ops.h"
#include "model/node_resolution.h"
#include "runner/run_panel_model.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev::test {

inline dlgnode* MakeNode(dialog& d, std::string_view name, std::string_view npc, std::string_view female = {})
{
    dlgnode* n = AddNode(d, name);
    n->name = name;
    n->npc_text = npc;
    n->npc_female_text = female;
    return n;
}

inline option* MakeOption(dlgnode& n, std::string_view text, std::string_view target, std::string_view notes = {})
{
    option* o = AddOption(n);
    o->text = text;
    o->link_target = target;
    o->notes = notes;
    return o;
}

inline skillcheck* MakeCheck(dlgnode& n, std::string_view name, int32_t skill, int32_t modifier,
    std::string_view onSuccess, std::string_view onFailure)
{
    skillcheck* c = AddSkillCheck(n);
    c->name = name;
    c->skill = skill;
    c->difficulty_modifier = modifier;
    c->on_success = onSuccess;
    c->on_failure = onFailure;
    return c;
}

// The node dialog: Edit and Add answer OK or Cancel; Add creates the node under the preset name
// (or acceptName) with one option to "done".
struct FakeNodeEditor : CoreWindows {
    explicit FakeNodeEditor(App& a)
        : app(a)
    {
    }
    bool Has(CoreWindow w) const override { return w == CoreWindow::NodeEditor; }
    bool EditNodeAt(int nodeIndex) override
    {
        calls.push_back("edit " + std::to_string(nodeIndex));
        if (!answerOk)
            return false;
        last = app.dlg().nodes[nodeIndex]->name.str();
        return true;
    }
    bool AddNode(std::string_view presetName) override
    {
        calls.push_back("add " + std::string(presetName));
        if (!answerOk)
            return false;
        last = acceptName.empty() ? std::string(presetName) : acceptName;
        dlgnode* n = MakeNode(app.dlg(), last, "new node text");
        MakeOption(*n, "bye", "done");
        return true;
    }
    std::string LastAcceptedNodeName() const override { return last; }

    App& app;
    bool answerOk = true;
    std::string acceptName;
    std::string last;
    std::vector<std::string> calls;
};

struct FakeQueryView : TerminationQueryView {
    TerminationChoice exec(TerminationQueryModel& model) override
    {
        shown.push_back({ model.targetNode(), model.notes() });
        return answer;
    }
    TerminationChoice answer = TerminationChoice::Exit;
    std::vector<std::pair<std::string, std::string>> shown; // target label, notes
};

struct FakeSkillView : SkillCheckView {
    std::optional<SkillCheckChoice> exec(SkillCheckWindowModel& model) override
    {
        texts.push_back(model.text());
        return answer;
    }
    std::optional<SkillCheckChoice> answer;
    std::vector<std::string> texts;
};

// An App in a fresh program folder (defaults everywhere), a runner with fake windows installed.
struct RunnerFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    LogCapture capture { app.log() };
    RunSession session { app };
    RunPanelModel runner { app, session };
    FakeNodeEditor editor { app };
    FakeQueryView query;
    FakeSkillView skillView;

    RunnerFixture()
    {
        app.SetWindows(&editor);
        app.SetRunControl(&session);
        session.SetTerminationQueryView(&query);
        session.SetSkillCheckView(&skillView);
        app.player().name = "Vic";
        // The program folder as delivered: "dialogue" exists, "dialogue/history" may not.
        std::filesystem::create_directory(dir.File("dialogue"));
    }

    dialog& d() { return app.dlg(); }

    void Start(std::string_view node)
    {
        ResolveLinks(d());
        runner.SetStartNodeText(std::string(node));
        runner.StartTestRun();
    }

    // Double click on the row that shows option optionIndex.
    void Choose(int32_t optionIndex)
    {
        int row = runner.RowOfOption(optionIndex);
        ASSERT_GE(row, 0) << "option " << optionIndex << " is not listed";
        runner.ChooseOption(row);
    }

    std::vector<int32_t> HistoryNodes() const
    {
        std::vector<int32_t> out;
        for (const HistoryEntry& e : runner.history())
            out.push_back(e.node_index);
        return out;
    }

    std::vector<std::string> Texts() const
    {
        std::vector<std::string> out;
        for (const auto& s : dialogs.History())
            out.push_back(s.text);
        return out;
    }

    bool Logged(std::string_view line) const
    {
        for (const auto& m : capture.Messages())
            if (m == line)
                return true;
        return false;
    }

    const std::vector<std::string>& LastTranscript() { return runner.transcripts().list().back().lines; }
};

} // namespace zev::test
