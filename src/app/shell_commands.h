#pragma once

// The main window's file commands and the close request, without the window.

namespace zev {

class App;

enum class QueryResult { Proceed, Cancel };

// Asks to save unsaved changes before New or Load: Yes saves, No goes on, Cancel stops.
QueryResult SaveQuery(App& app);
// New: transcripts, the save query, an empty "untitled" dialogue. False when cancelled.
bool NewDialogueCommand(App& app);
// Save: to the current file, or Save as for an untitled dialogue. True when written.
bool SaveCommand(App& app);
// Save as: the save box, then the writer. Leaves the modified flag as it was.
bool SaveAsCommand(App& app);
// The script function FlushDialogue.
void FlushDialogue(App& app);

// The close request: refused while starting up, a running test stopped and the transcripts saved,
// the save query, and the plug-ins' veto. True when the program may close.
bool CloseQuery(App& app);

} // namespace zev
