#include "app/dialogue_files.h"

#include <filesystem>
#include <fstream>

#include "app/app.h"
#include "app/shell_commands.h"
#include "base/paths.h"
#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "model/node_resolution.h"
#include "model/source_quotes.h"
#include "model/zev_parser.h"

namespace zev {

namespace {

void ClearDescriptions(dialog& d)
{
    d.npc_name = HostString();
    d.description = HostString();
    d.location = HostString();
    d.unknown_desc = HostString();
    d.known_desc = HostString();
    d.detailed_desc = HostString();
}

// After a load that read without errors.
void LoadedSuccessfully(App& app, const std::string& path)
{
    dialog& d = app.dlg();
    d.file_name = path;
    app.log().Log("Successful load of " + path);
}

void ShowLoadedDialogue(App& app, const std::string& path)
{
    app.SetTitle(App::TitleFor(path));
    app.SetStatusText("Dialogue " + path + ", " + std::to_string(app.dlg().node_count) + " nodes");
    app.SetCurrentFileName(path);
}

void ResolveForEditors(App& app)
{
    app.log().Log("Node count = " + std::to_string(app.dlg().node_count));
    app.RefreshEditorLists();
    ResolveLinks(app.dlg());
}

// An import starts from an empty dialogue, as a load does; what the plug-in fills in is no longer
// the file the title named, so a Save asks for a name instead of overwriting that file.
void ImportThroughPlugin(App& app, int filterIndex, const std::string& path)
{
    dialog& d = app.dlg();
    app.log().Log("FilterIndex := " + std::to_string(filterIndex));
    if (d.node_count > 0)
        Release(d, app.log());
    Clear(d);
    app.SetCurrentFileName(std::string(kUntitled));
    app.SetTitle(App::TitleFor(kUntitled));
    app.SetStatusText({});
    app.plugins().ImportWithFilter(filterIndex, path);
    ResolveLinks(d);
    app.RefreshEditorLists();
}

} // namespace

DialogueReadReport ReadDialogueFile(App& app, const std::string& path)
{
    DialogueReadReport report;
    TZEV& reader = app.reader();
    reader.SourceFileName = path;
    // A damaged file can hold thousands of errors on one long line: the log shows the first ones,
    // each with a bounded part of its line, and counts the rest.
    constexpr std::size_t kMaxEntries = 200;
    std::vector<ParseErrorLogEntry> entries;
    int unlisted = 0;
    reader.OnError = [&](const TParseError& e) {
        if (entries.size() == kMaxEntries) {
            ++unlisted;
            return;
        }
        entries.push_back({ e.Line, e.Col, reader.ErrorMsg(e.ErrorCode, "") });
    };
    report.readable = reader.Execute();
    reader.OnError = nullptr;
    if (!entries.empty()) {
        // One more pass over the file that keeps only the quoted lines.
        std::vector<int64_t> wanted;
        for (const ParseErrorLogEntry& e : entries)
            wanted.push_back(e.line);
        SourceQuotes quotes = QuoteSourceLines(path, wanted, kMaxQuotedSourceText);
        for (std::size_t i = 0; i < entries.size(); ++i)
            app.log().Log("Linecount: " + std::to_string(quotes.lineCount));
        report.errorText = ParseErrorLogText(quotes, entries);
    }
    report.unstoredErrors = reader.UnstoredErrors();
    if (unlisted + report.unstoredErrors > 0)
        report.errorText += "... and " + std::to_string(unlisted + report.unstoredErrors) + " more errors.\r\n";
    report.ioError = reader.IoError();
    report.errors = reader.Errors();
    report.execLines = reader.ExecScriptLines();
    return report;
}

std::string DialogueFolder(const App& app)
{
    std::error_code ec;
    std::string here = JoinPath(std::filesystem::current_path(ec).string(), "dialogue");
    return DirectoryExists(here) ? here : app.ProgramPath("dialogue");
}

void OfferExecScript(App& app, const std::string& file, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    bool run = false;
    switch (app.fileScriptPolicy()) {
    case FileScriptPolicy::Run:
        run = true;
        break;
    case FileScriptPolicy::Skip:
        app.fileScriptSkipped.Emit(file);
        break;
    case FileScriptPolicy::Ask: {
        std::string text = "This dialogue file contains script code that runs when it is loaded:\r\n";
        for (const std::string& l : lines)
            text += "\r\n" + l;
        text += "\r\n\r\nRun it?";
        run = app.dialogs().MessageBox(text, MsgIcon::Confirmation, MsgButtons::YesNo) == MsgResult::Yes;
        break;
    }
    }
    if (!run) {
        app.log().Log("Script code of the dialogue file was not run.");
        return;
    }
    for (const std::string& line : lines)
        app.scripts().ExecuteScriptConsole(line);
}

bool LoadDialogueCommand(App& app, ParseErrorLogView& errorLog)
{
    app.run().Stop();
    if (SaveNodeHistory(app.config()))
        app.run().SaveAllTranscripts();
    app.run().ClearTranscripts();
    if (SaveQuery(app) == QueryResult::Cancel)
        return false;

    FileBoxOptions box;
    box.initialFolder = DialogueFolder(app);
    box.filters = ParseFileFilters(kZevFilter);
    const std::vector<FileFilter> imports = app.plugins().ImportFilters();
    box.filters.insert(box.filters.end(), imports.begin(), imports.end());
    box.defaultExtension = "zev";
    box.mustExist = true;
    auto chosen = app.dialogs().OpenFile(box);
    if (!chosen)
        return false;
    const std::string path = *chosen;

    dialog& d = app.dlg();
    if (box.chosenFilter > 0) {
        ImportThroughPlugin(app, box.chosenFilter + 1, path);
        return false;
    }
    if (d.node_count > 0)
        Release(d, app.log());
    ClearDescriptions(d);
    d.default_condition = -1;
    DialogueReadReport report = ReadDialogueFile(app, path);
    if (!report.readable) {
        app.dialogs().Error(report.ioError);
        return false;
    }
    if (report.errors.empty()) {
        LoadedSuccessfully(app, path);
        if (d.node_count > 0)
            ResolveForEditors(app);
        ShowLoadedDialogue(app, path);
        app.BroadcastPluginUpdate();
    } else {
        errorLog.Show("There were errors while parsing the dialogue script. \r\n" + report.errorText);
    }
    OfferExecScript(app, path, report.execLines);
    return report.Ok();
}

bool LoadDialogueScript(App& app, const std::string& path)
{
    dialog& d = app.dlg();
    app.log().Log("Attempting to load " + path);
    // A file that cannot be opened is reported before anything of the open dialogue is cleared.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec) || !std::ifstream(path, std::ios::binary)) {
        app.ReportError("LoadDialogue", "Cannot read the dialogue file " + path);
        return false;
    }
    ClearDescriptions(d);
    DialogueReadReport report = ReadDialogueFile(app, path);
    if (!report.readable) {
        app.ReportError("LoadDialogue", report.ioError.empty() ? "Cannot read " + path : report.ioError);
        return false;
    }
    if (!report.Ok())
        return false;
    LoadedSuccessfully(app, path);
    app.WriteConsoleLine(path + " loaded.");
    if (d.node_count == 0)
        app.dialogs().Warning("Warning! No nodes found in dialogue.");
    else
        ResolveForEditors(app);
    ShowLoadedDialogue(app, path);
    OfferExecScript(app, path, report.execLines);
    return true;
}

bool WriteDialogue(App& app, const std::string& path)
{
    std::string error;
    if (!WriteDialogueFile(app.dlg(), path, error)) {
        app.dialogs().Error(error);
        return false;
    }
    // The title and the status bar name the file the dialogue is now kept in.
    ShowLoadedDialogue(app, path);
    return true;
}

bool WriteDialogueCopy(App& app, const std::string& path)
{
    std::string error;
    // The writer names the dialogue after the file it wrote; a copy leaves the name as it was.
    const HostString name = app.dlg().file_name;
    const bool written = WriteDialogueFile(app.dlg(), path, error);
    app.dlg().file_name = name;
    if (!written)
        app.dialogs().Error(error);
    return written;
}

} // namespace zev
