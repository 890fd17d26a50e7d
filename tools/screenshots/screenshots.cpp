// zev_screenshots: pictures of every window of the desktop program for the documentation.
//
//   zev_screenshots <program folder> <output folder>
//
// Works on a copy of the program folder, so the shipped configuration, history and log stay as
// they are. Modal windows are grabbed from a timer while their exec() runs, as a user meets them.
#include "app/app.h"
#include "app/exception_report.h"
#include "app/scripted_dialogs.h"
#include "app/startup.h"
#include "editors/custom_procs.h"
#include "editors/editor_windows.h"
#include "editors/node_code.h"
#include "editors/parameter_input.h"
#include "editors/script_variables.h"
#include "model/dialog_ops.h"
#include "model/records.h"
#include "runner/player_setup.h"
#include "runner/skill_checks.h"
#include "runner/termination_query.h"
#include "script/func_desc.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>

#include "app/gui/debug_window.h"
#include "app/gui/exception_report_window.h"
#include "app/gui/update_progress_window.h"
#include "desktop/gui/about_dialog.h"
#include "desktop/gui/desktop_program.h"
#include "desktop/gui/main_window.h"
#include "editors/gui/code_editor.h"
#include "editors/gui/custom_proc_editor_window.h"
#include "editors/gui/dialogue_editor_window.h"
#include "editors/gui/node_code_editor_window.h"
#include "editors/gui/node_dialog_window.h"
#include "editors/gui/option_dialog_window.h"
#include "editors/gui/parameter_input_window.h"
#include "editors/gui/script_variables_window.h"
#include "runner/gui/player_setup_window.h"
#include "runner/gui/run_panel.h"
#include "runner/gui/skill_check_window.h"
#include "runner/gui/termination_query_window.h"
#include "script/gui/func_desc_editor.h"
#include "update/gui/release_notes_window.h"

namespace fs = std::filesystem;

namespace zev {
namespace {

class Shooter {
public:
    explicit Shooter(fs::path out)
        : m_out(std::move(out))
    {
    }

    // Lays the window out, paints it and writes <name>.png.
    void Grab(QWidget* w, const char* name)
    {
        Settle();
        Save(w->grab(), name);
    }

    void Save(const QPixmap& picture, const char* name)
    {
        fs::path file = m_out / (std::string(name) + ".png");
        if (!picture.save(QString::fromStdString(file.string()), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", file.string().c_str());
            ++m_failures;
            return;
        }
        std::printf("%s\n", file.string().c_str());
    }

    // The window with its popups (separate windows) painted where they stand over it.
    void GrabWithPopups(QWidget* w, std::initializer_list<QWidget*> popups, const char* name)
    {
        Settle();
        QPixmap picture = w->grab();
        QPainter painter(&picture);
        for (QWidget* popup : popups)
            if (popup && popup->isVisible())
                painter.drawPixmap(w->mapFromGlobal(popup->mapToGlobal(QPoint(0, 0))), popup->grab());
        painter.end();
        Save(picture, name);
    }

    // Runs open, which shows a modal window; act runs while that window is up, then it is closed.
    void WhileModal(const char* what, const std::function<void()>& open, const std::function<void(QDialog*)>& act)
    {
        bool acted = false;
        QTimer timer;
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || acted)
                return;
            acted = true;
            act(dialog);
            dialog->done(QDialog::Rejected);
        });
        timer.start();
        open();
        timer.stop();
        if (!acted) {
            std::fprintf(stderr, "%s: no window opened\n", what);
            ++m_failures;
        }
    }

    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    int failures() const { return m_failures; }

private:
    fs::path m_out;
    int m_failures = 0;
};

// Throws from inside the event loop, as a failing command would.
class Thrower : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            throw std::runtime_error("Cannot create file \"/home/designer/dialogue/guard.zev\". Permission denied.");
        return QObject::event(e);
    }
};

// The copy's configuration: debug window on, no update check over the network.
void PrepareConfiguration(const fs::path& ini)
{
    std::ifstream in(ini, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    auto set = [&s](const std::string& key, const std::string& value) {
        std::size_t at = s.find(key + "=");
        if (at == std::string::npos)
            return;
        std::size_t end = s.find_first_of("\r\n", at);
        s.replace(at, end - at, key + "=" + value);
    };
    set("Debugmode", "1");
    set("Check for updates at startup", "0");
    std::ofstream(ini, std::ios::binary | std::ios::trunc) << s;
}

const skillcheck* FirstSkillCheck(const dialog& d)
{
    for (int32_t i = 0; i < d.node_count; ++i)
        if (d.nodes[i]->skill_check_count > 0)
            return d.nodes[i]->skill_checks[0];
    return nullptr;
}

template <class W> W* ChildNamed(QWidget* parent, const char* name)
{
    return parent->findChild<W*>(QString::fromLatin1(name));
}

int Run(const fs::path& dist, const fs::path& out)
{
    // The paths show in the pictures: a short one where it is free.
    fs::path dir = fs::temp_directory_path() / "zevdlg";
    if (fs::exists(dir))
        dir += "_" + std::to_string(std::random_device {}());
    fs::copy(dist, dir, fs::copy_options::recursive);
    PrepareConfiguration(dir / "ZEVDlg.ini");
    fs::create_directories(out);
    std::string sample = (dir / "dialogue" / "sample.zev").string();

    int failures = 0;
    {
        ScriptedDialogs dialogs; // every box answers its default
        Workbench bench(dialogs, dir.string());
        App& app = bench.app();
        app.SetStartingUp(true);
        app.log().SetFilePath((dir / "debug.log").string());
        auto& qapp = static_cast<ZevApplication&>(*QApplication::instance());
        qapp.SetReportContext(&app, TextEncoding::Cp1252);

        Shooter shot(out);
        DesktopProgram program(bench, TextEncoding::Cp1252);
        program.Start(sample);
        MainWindow& window = program.window();
        Shooter::Settle();

        if (auto* debug = window.findChild<DebugWindow*>())
            shot.Grab(debug, "debug-window");
        shot.Grab(&window, "main-window");

        // Three runs for the transcript list; the last ends at "done", which shows its transcript.
        RunPanelModel& runner = program.runner();
        QTreeWidget* options = program.panel().optionList();
        auto choose = [&](int row) {
            options->setCurrentItem(options->topLevelItem(row));
            runner.DescribeOption(row);
            runner.ChooseOption(row);
        };
        for (int run = 0; run < 2; ++run) {
            runner.StartTestRun();
            choose(0);
            runner.StopTestRun();
        }
        runner.StartTestRun();
        choose(0); // "I'd like to see your wares."
        options->setCurrentItem(options->topLevelItem(1));
        runner.DescribeOption(1);
        shot.Grab(&window, "main-window-run");
        choose(1); // "Maybe later." ends the dialogue
        if (auto* transcript = ChildNamed<QDialog>(&window, "transcriptWindow"))
            shot.Grab(transcript, "transcript");
        runner.transcriptWindow().Ok();
        runner.transcriptList().ShowTranscriptList();
        if (auto* list = ChildNamed<QDialog>(&window, "transcriptList"))
            shot.Grab(list, "transcript-list");
        runner.transcriptList().Ok();

        if (const skillcheck* check = FirstSkillCheck(app.dlg())) {
            SkillCheckWindowModel model;
            model.Fill(*check, app.player());
            SkillCheckWindow w(model, TextEncoding::Cp1252, &window);
            w.show();
            shot.Grab(&w, "skill-check");
        }
        {
            option unresolved;
            unresolved.text = "Those prices are robbery.";
            unresolved.link_target = "Haggle";
            unresolved.notes = "Talks the price down";
            TerminationQueryModel model;
            model.Fill(unresolved);
            TerminationQueryWindow w(model, TextEncoding::Cp1252, &window);
            w.show();
            shot.Grab(&w, "termination-query");
        }
        {
            PlayerSetupModel model;
            model.Fill(app.player());
            PlayerSetupWindow w(model, TextEncoding::Cp1252, &window);
            w.show();
            shot.Grab(&w, "player-setup");
        }
        // The Dialogue Editor on each tab, the node dialog on "Start" and the option dialog on its
        // first option, over models of their own.
        {
            EditorWindows editors(app);
            OptionDialog optionWindow(editors.optionDialog(), TextEncoding::Cp1252, &window);
            NodeDialog nodeWindow(editors.nodeDialog(), TextEncoding::Cp1252, &window);
            DialogueEditorWindow editorWindow(editors.dialogueEditor(), TextEncoding::Cp1252, &window);
            editors.SetViews(&editorWindow, &nodeWindow, &optionWindow);
            const int start = FindNodeIndex(app.dlg(), "Start");
            shot.WhileModal(
                "Dialogue Editor", [&] { editors.OpenDialogueEditor(); },
                [&](QDialog*) {
                    editors.dialogueEditor().Select({ 0 });
                    shot.Grab(&editorWindow, "dialogue-editor-nodes");
                    editorWindow.tabs()->setCurrentIndex(1);
                    shot.Grab(&editorWindow, "dialogue-editor-floaters");
                    editorWindow.tabs()->setCurrentIndex(2);
                    shot.Grab(&editorWindow, "dialogue-editor-skillchecks");
                    editorWindow.tabs()->setCurrentIndex(0);
                });
            shot.WhileModal(
                "Node dialog", [&] { editors.dialogueEditor().EditNodeAt(start); },
                [&](QDialog*) {
                    editors.nodeDialog().SelectRow(0);
                    shot.Grab(&nodeWindow, "node-dialog");
                });
            OptionDialogModel& option = editors.optionDialog();
            if (start >= 0 && option.BeginEdit(start, 0)) {
                shot.WhileModal(
                    "Option dialog", [&] { optionWindow.exec(option); },
                    [&](QDialog*) { shot.Grab(&optionWindow, "option-dialog"); });
                option.End();
            }
        }
        // The code windows of the program, over its presets, definitions and completion lists:
        // the script variable manager with the first variable selected, the parameter input on the
        // node page of the first preset that asks for a node, the custom procedure editor on the
        // sample's last procedure with the completion list and the parameter hint open, and the node
        // code editor on the first node with code of its own.
        {
            EditorWindows& editors = program.editors();
            ScriptVariablesModel& variables = editors.scriptVariables();
            shot.WhileModal(
                "Script variable manager", [&] { variables.Open(&program.scriptVariablesWindow()); },
                [&](QDialog* w) {
                    variables.SetSelection({ 0 });
                    shot.Grab(w, "script-variables");
                });
            ParameterInputModel& params = editors.parameterInput();
            for (const CodeSnippet& preset : bench.snippets()) {
                if (preset.param_count < 1 || preset.params[0].param_type != PARAM_NODE)
                    continue;
                shot.WhileModal(
                    "Parameter input", [&] { params.Run(preset, &program.parameterInputWindow()); },
                    [&](QDialog* w) {
                        params.Choose(std::min(1, static_cast<int>(params.items().size()) - 1));
                        shot.Grab(w, "parameter-input-node");
                    });
                break;
            }
            CustomProcEditorModel& procs = editors.customProcedures();
            CustomProcEditorWindow& procWindow = program.customProcWindow();
            shot.WhileModal(
                "Custom procedure editor", [&] { window.Trigger(MenuCommand::CustomProcedures); },
                [&](QDialog*) {
                    procs.SelectProcedure(static_cast<int>(procs.procedures().size()) - 1);
                    shot.Grab(&procWindow, "custom-proc-editor");
                    CodeEditor* code = procWindow.codeEditor();
                    code->setFocus();
                    code->SetCode("procedure Talk begin\r\n   float_msg(self_obj, \r\nend\r\n");
                    code->setCursorPosition(1, 23);
                    code->ShowParameterHint();
                    shot.GrabWithPopups(&procWindow, { code->hintPopup() }, "parameter-hint");
                    code->SetCode("procedure Talk begin\r\n   gi\r\nend\r\n");
                    code->setCursorPosition(1, 5);
                    code->ShowCompletion();
                    shot.GrabWithPopups(&procWindow, { code->completionPopup() }, "completion-list");
                    code->SetCode({});
                });
            std::string code;
            int node = -1;
            for (int i = 0; i < app.dlg().node_count && node < 0; ++i)
                if (!app.dlg().nodes[i]->custom_code.empty())
                    node = i;
            shot.WhileModal(
                "Node code editor",
                [&] {
                    editors.nodeCode().Run(
                        &program.nodeCodeWindow(), node >= 0 ? app.dlg().nodes[node]->custom_code.str() : "");
                },
                [&](QDialog* w) { shot.Grab(w, "node-code-editor"); });
        }
        // The other editors over the sample: an option's conditions, the start conditions, a skill
        // check, a float node, the timed events with the data editor, the list picker, NPC
        // properties and the three tabs of Preferences.
        {
            EditorWindows& editors = program.editors();
            dialog& d = app.dlg();
            const int start = FindNodeIndex(d, "Start");
            if (start >= 0 && d.nodes[start]->option_count > 0) {
                option& first = *d.nodes[start]->options[0];
                shot.WhileModal(
                    "Conditions editor", [&] { editors.conditions().Open(first); },
                    [&](QDialog* w) {
                        if (first.condition_count > 0)
                            editors.conditions().SelectLine(0);
                        shot.Grab(w, "conditions-editor");
                    });
            }
            shot.WhileModal(
                "Start conditions", [&] { editors.startConditions().Open(); },
                [&](QDialog* w) {
                    editors.startConditions().SelectRow(0);
                    shot.Grab(w, "start-conditions");
                });
            std::string skill;
            for (int i = 0; i < d.node_count && skill.empty(); ++i)
                if (d.nodes[i]->skill_check_count > 0)
                    skill = d.nodes[i]->skill_checks[0]->name.str();
            shot.WhileModal(
                "Skill check editor", [&] { editors.skillChecks().Edit(skill); },
                [&](QDialog* w) { shot.Grab(w, "skill-check-editor"); });
            if (d.float_node_count > 0)
                shot.WhileModal(
                    "Float node editor", [&] { editors.floatNodes().Edit(0); },
                    [&](QDialog* w) {
                        editors.floatNodes().SelectMessage(0);
                        shot.Grab(w, "float-node-editor");
                    });
            shot.WhileModal(
                "Timed events editor", [&] { editors.timedEvents().Open(); },
                [&](QDialog* w) {
                    shot.Grab(w, "timed-events");
                    if (d.timed_event_count > 0)
                        shot.WhileModal(
                            "Timed event data editor", [&] { editors.timedEvents().Edit(0); },
                            [&](QDialog* data) { shot.Grab(data, "timed-event-data"); });
                });
            std::vector<std::string> names;
            for (int i = 0; i < d.float_node_count; ++i)
                names.push_back(d.float_nodes[i]->name.str());
            shot.WhileModal(
                "List picker",
                [&] { editors.picker().Select("Select float node", "Choose a float node to call:", names); },
                [&](QDialog* w) { shot.Grab(w, "list-picker"); });
            shot.WhileModal(
                "NPC properties", [&] { window.Trigger(MenuCommand::NpcProperties); },
                [&](QDialog* w) { shot.Grab(w, "npc-properties"); });
            shot.WhileModal(
                "Preferences", [&] { window.Trigger(MenuCommand::Preferences); },
                [&](QDialog* w) {
                    auto* tabs = w->findChild<QTabWidget*>();
                    const char* names[] = { "preferences-general", "preferences-editing", "preferences-engine" };
                    for (int t = 0; t < 3 && tabs; ++t) {
                        tabs->setCurrentIndex(t);
                        shot.Grab(w, names[t]);
                    }
                });
        }
        // The release notes of the update check, over a page as an update page would publish it.
        {
            ReleaseNotesModel notes("https://zevdlg.example.org/update/zevdlg.html",
                "<html><head><META NAME=\"zevProduct\" CONTENT=\"ZEV Dialogue Tool\">"
                "<META NAME=\"zevVersion\" CONTENT=\"0.26\"></head><body><h2>ZEV Dialogue Tool 0.26</h2>"
                "<ul><li>Code editors with completion and parameter hints.</li>"
                "<li>Every editor window: conditions, start conditions, skill checks, float nodes, "
                "timed events.</li><li>A Debian package; your files go to your own folders.</li></ul>"
                "</body></html>");
            QtReleaseNotesView view(&window);
            shot.WhileModal(
                "Web Update", [&] { view.exec(notes); }, [&](QDialog* w) { shot.Grab(w, "web-update"); });
        }
        shot.WhileModal(
            "About", [&] { window.Trigger(MenuCommand::About); },
            [&](QDialog* d) {
                shot.Grab(d, "about");
                if (auto* tabs = d->findChild<QTabWidget*>())
                    tabs->setCurrentIndex(1);
                if (auto* about = dynamic_cast<AboutDialog*>(d); about && about->pluginList()->count() > 0)
                    about->pluginList()->setCurrentRow(0);
                shot.Grab(d, "about-plugins");
            });
        {
            FuncDescEditorModel model(program.descriptions());
            FuncDescEditorWindow w(model, &window);
            w.show();
            w.list()->setCurrentRow(0);
            shot.Grab(&w, "func-desc-editor");
        }
        {
            UpdateProgressModel& model = program.updateProgress();
            model.SetFile((dir / "downloads" / "zevdlg-0.26.0.tar.gz").string());
            model.Progress(4'718'592, 1'835'008);
            if (QWidget* w = program.updateProgressWindow())
                shot.Grab(w, "update-progress");
            model.Finish();
        }
        shot.WhileModal(
            "Exception report",
            [] {
                Thrower thrower;
                QEvent event(QEvent::User);
                QCoreApplication::sendEvent(&thrower, &event);
            },
            [&](QDialog* d) { shot.Grab(d, "exception-report"); });

        // The script console after a helper script printed and a line was typed; then a script that
        // never ends, with its Stop.
        {
            const auto& helpers = program.scripts().helpers().table();
            for (std::size_t i = 0; i < helpers.size(); ++i)
                if (helpers[i].Description == "Dialogue statistics")
                    program.scripts().ScriptClick(static_cast<int>(i));
            program.console().Run("Print('Nodes without NPC text: ' + IntToStr(0));");
            shot.Grab(&window, "script-console");
            program.bench().runWatch().SetDelay(std::chrono::milliseconds(100));
            shot.WhileModal(
                "Script running", [&] { program.scripts().ExecuteScriptConsole("while true do ;"); },
                [&](QDialog* d) { shot.Grab(d, "script-running"); });
            program.console().SetVisible(false);
        }

        // A file with errors: the load command shows the parse error log.
        fs::path broken = dir / "dialogue" / "broken.zev";
        std::ofstream(broken, std::ios::binary) << "NPCName \"Guard\"\r\nNode \"Gate\"\r\n{\r\nNPCText \"Halt!\"\r\n"
                                                   "  options {\r\n    int=4 playertext \"Let me in\" linkto\r\n"
                                                   "  }\r\n}\r\nNode Yard {\r\n";
        dialogs.PushText(broken.string());
        shot.WhileModal(
            "Parse error log", [&] { window.Trigger(MenuCommand::LoadDialogue); },
            [&](QDialog* d) { shot.Grab(d, "parse-error-log"); });

        failures = shot.failures();
        qapp.SetReportContext(nullptr, TextEncoding::Cp1252);
        dialogs.PushButton(MsgResult::No);
        program.Shutdown();
    }
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return failures == 0 ? 0 : 1;
}

} // namespace
} // namespace zev

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: zev_screenshots <program folder> <output folder>\n");
        return 2;
    }
    zev::ZevApplication qapp(argc, argv);
    try {
        return zev::Run(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zev_screenshots: %s\n", e.what());
        return 1;
    }
}
