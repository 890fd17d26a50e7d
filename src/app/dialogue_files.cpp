#include "app/dialogue_files.h"

#include <filesystem>

#include "app/app.h"
#include "app/shell_commands.h"
#include "base/paths.h"
#include "model/dialog_ops.h"
#include "model/dialog_writer.h"
#include "model/node_resolution.h"
#include "model/parse_error_log.h"
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

void OfferExecScript(App& app, const std::vector<std::string>& lines)
{
    if (lines.empty())
        return;
    bool run;
    if (app.hooks().confirmExecScript) {
        run = app.hooks().confirmExecScript(lines);
    } else {
        std::string text = "This dialogue file contains script code that runs when it is loaded:\r\n";
        for (const std::string& l : lines)
            text += "\r\n" + l;
        text += "\r\n\r\nRun it?";
        run = app.dialogs().MessageBox(text, MsgIcon::Confirmation, MsgButtons::YesNo) == MsgResult::Yes;
    }
    if (run && app.hooks().runExecScript)
        app.hooks().runExecScript(lines);
    else
        app.log().Log("Script code of the dialogue file was not run.");
}

bool LoadDialogueCommand(App& app, ParseErrorLogView& errorLog, const std::vector<FileFilter>& importFilters,
    const std::function<void(int, const std::string&)>& importFile)
{
    if (app.hooks().stopTestRun)
        app.hooks().stopTestRun();
    if (SaveNodeHistory(app.config()) && app.hooks().saveAllTranscripts)
        app.hooks().saveAllTranscripts();
    if (app.hooks().clearTranscripts)
        app.hooks().clearTranscripts();
    if (SaveQuery(app) == QueryResult::Cancel)
        return false;

    FileBoxOptions box;
    box.initialFolder = DialogueFolder(app);
    box.filters = ParseFileFilters(kZevFilter);
    box.filters.insert(box.filters.end(), importFilters.begin(), importFilters.end());
    box.defaultExtension = "zev";
    box.mustExist = true;
    auto chosen = app.dialogs().OpenFile(box);
    if (!chosen)
        return false;
    const std::string path = *chosen;

    dialog& d = app.dlg();
    if (box.chosenFilter > 0) {
        app.log().Log("FilterIndex := " + std::to_string(box.chosenFilter + 1));
        if (importFile)
            importFile(box.chosenFilter - 1, path);
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
    OfferExecScript(app, report.execLines);
    return report.Ok();
}

bool LoadDialogueScript(App& app, const std::string& path)
{
    dialog& d = app.dlg();
    ClearDescriptions(d);
    app.log().Log("Attempting to load " + path);
    DialogueReadReport report = ReadDialogueFile(app, path);
    if (!report.Ok())
        return false;
    LoadedSuccessfully(app, path);
    app.WriteConsoleLine(path + " loaded.");
    if (d.node_count == 0)
        app.dialogs().Warning("Warning! No nodes found in dialogue.");
    else
        ResolveForEditors(app);
    ShowLoadedDialogue(app, path);
    OfferExecScript(app, report.execLines);
    return true;
}

bool WriteDialogue(App& app, const std::string& path)
{
    std::string error;
    if (!WriteDialogueFile(app.dlg(), path, error)) {
        app.dialogs().Error(error);
        return false;
    }
    app.SetCurrentFileName(path);
    app.SetTitle(App::TitleFor(path));
    return true;
}

} // namespace zev
