#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/scripted_dialogs.h"
#include "model/dialog_ops.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "support/fakes.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

namespace zev::test {

// A test run whose state the test sets.
struct FakeRunner : RunControl {
    bool Attached() const override { return true; }
    bool isRunning = false;
    int32_t current = -1;
    std::vector<std::string> started;
    int stops = 0, saves = 0;
    std::vector<HistoryEntry> entries;
    std::vector<TranscriptSummary> recorded;

    bool running() const override { return isRunning; }
    int32_t currentNode() const override { return current; }
    void Start(const std::string& n) override
    {
        started.push_back(n);
        isRunning = true;
    }
    void Stop() override
    {
        ++stops;
        isRunning = false;
    }
    void SetCurrent(int32_t i) override { current = i; }
    std::vector<HistoryEntry> history() const override { return entries; }
    int transcriptCount() const override { return static_cast<int>(recorded.size()); }
    TranscriptSummary transcript(int i) const override { return recorded.at(static_cast<std::size_t>(i)); }
    void SaveAllTranscripts() override { ++saves; }
};

struct ZevFuncsFixture : ::testing::Test {
    TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    LogCapture log { app.log() };
    ScriptHost host { app };
    ConsoleCapture console;
    FakeRunner fakeRunner;
    FakeRunner* runner = &fakeRunner;
    struct CountingPlugins : PluginBus {
        int broadcasts = 0;
        void BroadcastPluginUpdate() override { ++broadcasts; }
    } plugins;
    std::unique_ptr<ZEVFuncs> funcs;
    int& broadcasts = plugins.broadcasts;
    int refreshes = 0;

    void SetUp() override
    {
        InstallScriptHost(app, host);
        app.SetRunControl(&fakeRunner);
        app.SetPluginBus(&plugins);
        app.editorListsRefreshed.Connect([this] { ++refreshes; });
        Attach();
        funcs = std::make_unique<ZEVFuncs>(app, host, Tables());
        funcs->Register();
        host.SetOutputControl(&console);
    }
    // What a fixture adds: the tables, windows or plug-ins of a front end.
    virtual ScriptTables Tables() { return {}; }
    virtual void Attach() { }

    // Runs one script text; fails the test on script errors. Returns the console lines it printed.
    std::vector<std::string> Run(const std::string& text)
    {
        console.lines.clear();
        EXPECT_TRUE(host.ExecuteScriptConsole(text)) << text << "\n" << Joined();
        return console.lines;
    }
    std::string Joined() const
    {
        std::string all;
        for (const std::string& l : console.lines)
            all += l + "\n";
        return all;
    }
    // Nodes named as given, each with `options` options linking to "done".
    void MakeNodes(std::initializer_list<const char*> names, int options = 0)
    {
        for (const char* n : names) {
            dlgnode* node = AddNode(app.dlg(), n);
            node->npc_text = std::string("Text of ") + n;
            for (int k = 0; k < options; ++k) {
                option* o = AddOption(*node);
                o->text = "Option " + std::to_string(k);
                o->link_target = "done";
            }
        }
    }
    std::string NodeName(int i) const { return app.dlg().nodes[i]->name.str(); }
};

} // namespace zev::test

namespace zev::test {
template <class... T> std::vector<std::string> L(T... lines)
{
    return { std::string(lines)... };
}
} // namespace zev::test
