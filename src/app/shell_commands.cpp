#include "app/shell_commands.h"

#include "app/app.h"
#include "app/dialogue_files.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

MsgResult AskToSave(App& app, std::string_view before)
{
    return app.dialogs().MessageBox(
        "Save changes to dialogue '" + app.currentFileName() + "'\r\n" + std::string(before), MsgIcon::Confirmation,
        MsgButtons::YesNoCancel);
}

void SaveTranscriptsIfConfigured(App& app)
{
    if (SaveNodeHistory(app.config()))
        app.run().SaveAllTranscripts();
}

} // namespace

QueryResult SaveQuery(App& app)
{
    if (!app.modified())
        return QueryResult::Proceed;
    switch (AskToSave(app, "before proceeding?")) {
    case MsgResult::Yes:
        // A save that failed must not let the next command throw the changes away.
        return SaveCommand(app) ? QueryResult::Proceed : QueryResult::Cancel;
    case MsgResult::No:
        return QueryResult::Proceed;
    default:
        return QueryResult::Cancel;
    }
}

bool NewDialogueCommand(App& app)
{
    SaveTranscriptsIfConfigured(app);
    app.run().ClearTranscripts();
    if (SaveQuery(app) == QueryResult::Cancel)
        return false; // the dialogue stays, and the status bar still names it
    app.SetStatusText({});
    app.run().Stop();
    app.SetTitle(App::TitleFor(kUntitled));
    app.SetCurrentFileName(std::string(kUntitled));
    app.SetModified(false);
    Clear(app.dlg());
    app.RefreshEditorLists();
    app.BroadcastPluginUpdate();
    return true;
}

bool SaveCommand(App& app)
{
    if (app.currentFileName() == kUntitled)
        return SaveAsCommand(app);
    if (!WriteDialogue(app, app.currentFileName()))
        return false;
    app.SetSaveEnabled(false);
    app.SetModified(false);
    return true;
}

bool SaveAsCommand(App& app)
{
    FileBoxOptions box;
    box.initialFolder = DialogueFolder(app);
    box.filters = ParseFileFilters(kZevFilter);
    box.defaultExtension = "zev";
    box.confirmOverwrite = true;
    auto path = app.dialogs().SaveFile(box);
    if (!path)
        return false;
    return WriteDialogue(app, *path);
}

void FlushDialogue(App& app)
{
    app.WriteConsoleLine("Flushing dialogue table.");
    app.run().Stop();
    app.SetTitle(App::TitleFor(kUntitled));
    if (app.dlg().node_count > 0)
        Release(app.dlg(), app.log());
    app.SetCurrentFileName(std::string(kUntitled));
    app.SetModified(false);
    Clear(app.dlg());
    app.RefreshEditorLists();
    app.BroadcastPluginUpdate();
    app.SetStatusText({});
    app.WriteConsoleLine("Finished.");
}

bool CloseQuery(App& app)
{
    if (app.startingUp()) {
        app.dialogs().Error("Cannot close program while starting up!\r\n\r\n\"Patience, young padawan...\"");
        return false;
    }
    // A run still going has no transcript yet: stopped first, as New and Load do, it is saved too.
    app.run().Stop();
    SaveTranscriptsIfConfigured(app);
    if (app.modified()) {
        switch (AskToSave(app, "before closing ZEV Dialogue Tool?")) {
        case MsgResult::Yes:
            if (!SaveCommand(app))
                return false; // nothing is lost to a failed or cancelled save
            break;
        case MsgResult::No:
            break;
        default:
            return false;
        }
    }
    if (!app.plugins().CanClose()) {
        app.log().Log("DeInit returned false, not going to continue.");
        return false;
    }
    app.log().Log("Plugin lib deinit returned true.");
    return true;
}

} // namespace zev
