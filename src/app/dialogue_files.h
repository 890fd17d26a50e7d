#pragma once

// Loading and saving the dialogue: the reader and writer driven the way the program's commands and
// script functions drive them.

#include <functional>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "model/parser_runtime.h"

namespace zev {

class App;

inline constexpr std::string_view kZevFilter = "ZEV Dialogue File format (*.zev)|*.zev";

struct DialogueReadReport {
    bool readable = false; // the file could be read at all
    std::string ioError;
    std::vector<TParseError> errors;
    int64_t unstoredErrors = 0; // found beyond the stored ones
    // The parse error log's entries: "Error on line %d column %d:\r\n%s\r\n%s\r\n" each.
    std::string errorText;
    std::vector<std::string> execLines; // script lines of the file, not yet run
    bool Ok() const { return readable && errors.empty(); }
};

// Runs the App's reader on path, straight into the dialogue.
DialogueReadReport ReadDialogueFile(App& app, const std::string& path);

// The parse error log window.
class ParseErrorLogView {
public:
    virtual ~ParseErrorLogView() = default;
    virtual void Show(const std::string& text) = 0;
};

// The "Load dialogue" command: stop the test, save and empty the transcripts, the save query, the
// open box, then the load with its log lines, title and status, or the parse error log.
// Another filter than the first empties the dialogue and goes to the import plug-in of that
// filter. True when a file loaded.
bool LoadDialogueCommand(App& app, ParseErrorLogView& errorLog);

// The script function LoadDialogue: no release first, silent on parse errors; a file that cannot
// be read at all goes to the general error display.
bool LoadDialogueScript(App& app, const std::string& path);

// Runs the script lines of the file as the App's policy says (asks, runs, or skips them).
void OfferExecScript(App& app, const std::string& file, const std::vector<std::string>& lines);

// Writes the dialogue to path; then file_name and the current file name are the path and the title
// shows it. A file that cannot be written is reported in an error box and changes nothing.
bool WriteDialogue(App& app, const std::string& path);
// Writes a copy to path (the script function SaveDialogue): the current file name, the dialogue's
// file_name and the title stay as they are. A failure is reported in an error box.
bool WriteDialogueCopy(App& app, const std::string& path);

// The folder the file boxes open in: the current folder's "dialogue", else the program folder's.
std::string DialogueFolder(const App& app);

} // namespace zev
