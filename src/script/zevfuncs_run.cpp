// ZEVFuncs: the test run, its history and transcripts.

#include <cstdio>

#include "app/app.h"
#include "model/dialog_ops.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_handlers.h"

namespace zev {

namespace {

std::string Entry(int number, std::string_view node, std::string_view npc)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%03d", number);
    return "Entry " + std::string(buf) + " " + std::string(node) + "\\nNPC: " + std::string(npc) + "\\n";
}

} // namespace

namespace handlers {

void RunDialogue(ZEVFuncs& f, Call& c)
{
    std::string node = c.GetString("node");
    if (FindNodeIndex(f.dlg(), node) < 0)
        return;
    if (!f.app().run().Attached()) {
        f.NotAvailable("RunDialogue");
        return;
    }
    f.Print("Dialogue started.");
    f.app().run().Start(node);
}

void StopDialogue(ZEVFuncs& f, Call&)
{
    if (!f.app().run().running())
        return;
    f.Print("Dialogue stopped.");
    f.app().run().Stop();
}

void IsDialogueRunning(ZEVFuncs& f, Call& c)
{
    bool on = f.app().run().running();
    c.SetBoolean("result", on);
    f.Print(on ? "IsDialogueRunning: TRUE" : "IsDialogueRunning: FALSE");
}

void GetCurrentNode(ZEVFuncs& f, Call& c)
{
    std::string result = "ERROR";
    if (f.app().run().running())
        if (dlgnode* n = f.NodeAt(f.app().run().currentNode()))
            result = n->name.str();
    c.SetString("result", result);
    f.Print("CurrentNode: " + result);
}

void SetCurrentNode(ZEVFuncs& f, Call& c)
{
    std::string name = c.GetString("name");
    int i = FindNodeIndex(f.dlg(), name);
    if (!f.app().run().running() || i < 0)
        return;
    f.app().run().SetCurrent(i);
    f.Print("Current node set to " + name);
}

void ShowNodeHistory(ZEVFuncs& f, Call&)
{
    std::vector<HistoryEntry> history = f.app().run().history();
    if (history.empty()) {
        f.Print("Nodehistory is empty.");
        return;
    }
    f.Print(std::to_string(history.size()) + " entries in history.");
    int number = 1;
    for (const HistoryEntry& e : history) {
        dlgnode* n = f.NodeAt(e.node_index);
        std::string line = Entry(number++, n ? n->name.view() : "", n ? n->npc_text.view() : "");
        if (option* o = f.OptionAt(e.from_node_index, e.option_index))
            line += "Player: " + o->text.str() + " -> " + o->link_target.str() + "\\n\\n";
        f.Print(line);
    }
}

void ListTranscripts(ZEVFuncs& f, Call&)
{
    RunControl& run = f.app().run();
    int count = run.transcriptCount();
    if (count == 0) {
        f.Print("No transcripts recorded.");
        return;
    }
    f.Print(std::to_string(count) + " dialogue transcript(s) available:\\n");
    f.Print("Use the number denoted by # to access the transcript with the ShowTranscript command.\\n");
    for (int i = 0; i < count; ++i) {
        TranscriptSummary t = run.transcript(i);
        f.Print("#" + std::to_string(i) + " " + t.npcName + " [" + t.dialogueFile + "] " + t.recordedAt
            + " Lines: " + std::to_string(t.lines.size()));
    }
}

void ShowTranscript(ZEVFuncs& f, Call& c)
{
    int count = f.app().run().transcriptCount();
    int64_t num = c.GetInteger("num");
    if (num < 0 || num >= count) {
        f.Print("Transcript out of range. (max = " + std::to_string(count - 1) + ")");
        return;
    }
    for (const std::string& line : f.app().run().transcript(static_cast<int>(num)).lines)
        f.Print(line);
}

void SaveDialogTranscripts(ZEVFuncs& f, Call&)
{
    f.Print("Saving dialog transcripts...");
    if (f.app().run().transcriptCount() == 0) {
        f.Print("No transcripts recorded.");
        return;
    }
    f.app().run().SaveAllTranscripts();
    f.Print("Dialog transcript save complete.");
}

} // namespace handlers

} // namespace zev
