#pragma once

// The handlers of the host unit ZEVFuncs, one per script function, by group file. The unit's table
// in zevfuncs.cpp names them with their parameters in declaration order; a handler reads its
// arguments by those parameter names and sets "result".

#include <string>
#include <string_view>

#include "script/engine/host_unit.h"
#include "script/zevfuncs.h"

namespace zev::handlers {

using Call = script::HostCall;
using Handler = void (*)(ZEVFuncs& f, Call& c);

// zevfuncs_nodes.cpp: nodes, dialogue globals and skill checks.
void AddNode(ZEVFuncs& f, Call& c);
void AddNodeNoRefresh(ZEVFuncs& f, Call& c);
void SetNodeName(ZEVFuncs& f, Call& c);
void RefreshAll(ZEVFuncs& f, Call& c);
void DoNodeSort(ZEVFuncs& f, Call& c);
void GetNodeCount(ZEVFuncs& f, Call& c);
void GetNodeName(ZEVFuncs& f, Call& c);
void GetNodeData(ZEVFuncs& f, Call& c);
void SetNodeData(ZEVFuncs& f, Call& c);
void DeleteNode(ZEVFuncs& f, Call& c);
void ListNodes(ZEVFuncs& f, Call& c);
void ShowNode(ZEVFuncs& f, Call& c);
void EditNode(ZEVFuncs& f, Call& c);
void SetNodeCustomCode(ZEVFuncs& f, Call& c);
void ShowDialogGlobals(ZEVFuncs& f, Call& c);
void SetDialogGlobals(ZEVFuncs& f, Call& c);
void Dialoguechangenotify(ZEVFuncs& f, Call& c);
void AddSkillCheck(ZEVFuncs& f, Call& c);

// zevfuncs_options.cpp: player options.
void AddPlayerOption(ZEVFuncs& f, Call& c);
void SetPlayerOptionLink(ZEVFuncs& f, Call& c);
void MoveNodelinkToNotes(ZEVFuncs& f, Call& c);
void GetPlayerOptionStringData(ZEVFuncs& f, Call& c);
void GetPlayerOptionIntegerData(ZEVFuncs& f, Call& c);
void SetPlayerOptionStringData(ZEVFuncs& f, Call& c);
void SetPlayerOptionIntegerData(ZEVFuncs& f, Call& c);
void EditPlayerOption(ZEVFuncs& f, Call& c);
void DeletePlayerOption(ZEVFuncs& f, Call& c);
void SetOptionToSkillCheck(ZEVFuncs& f, Call& c);

// zevfuncs_run.cpp: the test run, its history and transcripts.
void RunDialogue(ZEVFuncs& f, Call& c);
void StopDialogue(ZEVFuncs& f, Call& c);
void IsDialogueRunning(ZEVFuncs& f, Call& c);
void GetCurrentNode(ZEVFuncs& f, Call& c);
void SetCurrentNode(ZEVFuncs& f, Call& c);
void ShowNodeHistory(ZEVFuncs& f, Call& c);
void ListTranscripts(ZEVFuncs& f, Call& c);
void ShowTranscript(ZEVFuncs& f, Call& c);
void SaveDialogTranscripts(ZEVFuncs& f, Call& c);

// zevfuncs_console.cpp: console, help and small utilities.
void Help(ZEVFuncs& f, Call& c);
void GetHelp(ZEVFuncs& f, Call& c);
void Print(ZEVFuncs& f, Call& c);
void DebugMsg(ZEVFuncs& f, Call& c);
void Cls(ZEVFuncs& f, Call& c);
void ShowConstants(ZEVFuncs& f, Call& c);
void GetProgramVersion(ZEVFuncs& f, Call& c);
void ShowCurrentDir(ZEVFuncs& f, Call& c);
void Dir(ZEVFuncs& f, Call& c);
void cd(ZEVFuncs& f, Call& c);
void Confirm(ZEVFuncs& f, Call& c);
void SaveConfirm(ZEVFuncs& f, Call& c);
void StringReplace(ZEVFuncs& f, Call& c);
void GetSSLPath(ZEVFuncs& f, Call& c);
void GetMSGPath(ZEVFuncs& f, Call& c);
void DumpHelpToHTML(ZEVFuncs& f, Call& c);

// zevfuncs_misc.cpp: dialogue files, starting programs, plug-ins and definitions.
void LoadDialogue(ZEVFuncs& f, Call& c);
void SaveDialogue(ZEVFuncs& f, Call& c);
void FlushDialogue(ZEVFuncs& f, Call& c);
void ExecuteFile(ZEVFuncs& f, Call& c);
void ListPlugins(ZEVFuncs& f, Call& c);
void StartPlugin(ZEVFuncs& f, Call& c);
void RequestPluginRefresh(ZEVFuncs& f, Call& c);
void DoLink_ShowExports(ZEVFuncs& f, Call& c);
void AddHelperScript(ZEVFuncs& f, Call& c);
void LoadDef(ZEVFuncs& f, Call& c);

// zevfuncs_events.cpp: float nodes, timed events and the timed-event editor's commands.
void AddFloatNode(ZEVFuncs& f, Call& c);
void AddMSGToFloatNode(ZEVFuncs& f, Call& c);
void EditFloatNode(ZEVFuncs& f, Call& c);
void SelectFloatNode(ZEVFuncs& f, Call& c);
void AddTimedEvent(ZEVFuncs& f, Call& c);
void AddCodeToEvent(ZEVFuncs& f, Call& c);
void GetTimedEventData(ZEVFuncs& f, Call& c);
void SelectTimedEvent(ZEVFuncs& f, Call& c);
void AddTimeEventCommand(ZEVFuncs& f, Call& c);
void AddTimeEventCode(ZEVFuncs& f, Call& c);

inline std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

} // namespace zev::handlers
