// ZEVFuncs: the test run, its history and transcripts.

#include <cstdio>

#include "app/app.h"
#include "model/dialog_ops.h"
#include "script/script_host.h"
#include "script/zevfuncs.h"
#include "script/zevfuncs_defs.h"

namespace zev {

using namespace zevdefs;

namespace {

std::string Entry(int number, std::string_view node, std::string_view npc)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%03d", number);
    return "Entry " + std::string(buf) + " " + std::string(node) + "\\nNPC: " + std::string(npc) + "\\n";
}

} // namespace

void ZEVFuncs::AddRunFunctions(Defs& d)
{
    Def(d, "RunDialogue", { S("node") }, HostType::Void, [this](Call& c) {
        std::string node = c.GetString("node");
        if (FindNodeIndex(m_app.dlg(), node) < 0)
            return;
        if (!m_app.run().Attached()) {
            NotAvailable("RunDialogue");
            return;
        }
        Print("Dialogue started.");
        m_app.run().Start(node);
    });

    Def(d, "StopDialogue", {}, HostType::Void, [this](Call&) {
        if (!m_app.run().running())
            return;
        Print("Dialogue stopped.");
        m_app.run().Stop();
    });

    Def(d, "IsDialogueRunning", {}, HostType::Boolean, [this](Call& c) {
        bool on = m_app.run().running();
        c.SetBoolean("result", on);
        Print(on ? "IsDialogueRunning: TRUE" : "IsDialogueRunning: FALSE");
    });

    Def(d, "GetCurrentNode", {}, HostType::String, [this](Call& c) {
        std::string result = "ERROR";
        if (m_app.run().running())
            if (dlgnode* n = NodeAt(m_app.run().currentNode()))
                result = n->name.str();
        c.SetString("result", result);
        Print("CurrentNode: " + result);
    });

    Def(d, "SetCurrentNode", { S("name") }, HostType::Void, [this](Call& c) {
        std::string name = c.GetString("name");
        int i = FindNodeIndex(m_app.dlg(), name);
        if (!m_app.run().running() || i < 0)
            return;
        m_app.run().SetCurrent(i);
        Print("Current node set to " + name);
    });

    Def(d, "ShowNodeHistory", {}, HostType::Void, [this](Call&) {
        std::vector<HistoryEntry> history;
        history = m_app.run().history();
        if (history.empty()) {
            Print("Nodehistory is empty.");
            return;
        }
        Print(std::to_string(history.size()) + " entries in history.");
        int number = 1;
        for (const HistoryEntry& e : history) {
            dlgnode* n = NodeAt(e.node_index);
            std::string line = Entry(number++, n ? n->name.view() : "", n ? n->npc_text.view() : "");
            if (option* o = OptionAt(e.from_node_index, e.option_index))
                line += "Player: " + o->text.str() + " -> " + o->link_target.str() + "\\n\\n";
            Print(line);
        }
    });

    Def(d, "ListTranscripts", {}, HostType::Void, [this](Call&) {
        int count = m_app.run().transcriptCount();
        if (count == 0) {
            Print("No transcripts recorded.");
            return;
        }
        Print(std::to_string(count) + " dialogue transcript(s) available:\\n");
        Print("Use the number denoted by # to access the transcript with the ShowTranscript command.\\n");
        for (int i = 0; i < count; ++i) {
            TranscriptSummary t = m_app.run().transcript(i);
            Print("#" + std::to_string(i) + " " + t.npcName + " [" + t.dialogueFile + "] " + t.recordedAt
                + " Lines: " + std::to_string(t.lines.size()));
        }
    });

    Def(d, "ShowTranscript", { I("num") }, HostType::Void, [this](Call& c) {
        int count = m_app.run().transcriptCount();
        int64_t num = c.GetInteger("num");
        if (num < 0 || num >= count) {
            Print("Transcript out of range. (max = " + std::to_string(count - 1) + ")");
            return;
        }
        for (const std::string& line : m_app.run().transcript(static_cast<int>(num)).lines)
            Print(line);
    });

    Def(d, "SaveDialogTranscripts", {}, HostType::Void, [this](Call&) {
        Print("Saving dialog transcripts...");
        if (m_app.run().transcriptCount() == 0) {
            Print("No transcripts recorded.");
            return;
        }
        m_app.run().SaveAllTranscripts();
        Print("Dialog transcript save complete.");
    });
}

} // namespace zev
