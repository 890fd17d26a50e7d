// The other editors inside the whole desktop program, each driven through its controls once: an
// option condition, a start condition, a skill check with an option linking to it, a float node, a
// timed event with commands inserted by the shipped helper scripts, NPC properties and Preferences.
// The saved file read back and the configuration file hold every change.

#include "gui_support.h"
#include "named_controls.h"
#include "program_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <memory>

#include "app/dialogue_files.h"
#include "base/ini_file.h"
#include "desktop/gui/desktop_program.h"
#include "desktop/gui/main_window.h"
#include "editors/gui/code_editor.h"
#include "editors/gui/conditions_editor_window.h"
#include "editors/gui/dialogue_editor_window.h"
#include "editors/gui/float_node_editor_window.h"
#include "editors/gui/list_picker_window.h"
#include "editors/gui/node_dialog_window.h"
#include "editors/gui/npc_properties_window.h"
#include "editors/gui/option_dialog_window.h"
#include "editors/gui/preferences_window.h"
#include "editors/gui/skill_check_editor_window.h"
#include "editors/gui/start_conditions_window.h"
#include "editors/gui/timed_event_data_window.h"
#include "editors/gui/timed_events_window.h"
#include "model/dialog_ops.h"

namespace zev {
namespace {

using test::Control;
using test::Retype;
using test::Row;
using Button = DialogueEditorModel::Button;

void Choose(QComboBox* box, const char* text)
{
    ASSERT_TRUE(box);
    const int at = box->findText(QString::fromUtf8(text));
    ASSERT_GE(at, 0) << "no entry " << text;
    box->setCurrentIndex(at);
}

void ShowTab(QTabWidget* tabs, const char* caption)
{
    for (int i = 0; i < tabs->count(); ++i)
        if (QString(tabs->tabText(i)).remove(QLatin1Char('&')) == QLatin1String(caption)) {
            tabs->setCurrentIndex(i);
            return;
        }
    ADD_FAILURE() << "no tab " << caption;
}

// The list picker a helper script opens: the entry clicked, then OK.
void PickInList(const char* entry)
{
    test::WhenModal<ListPickerWindow>([entry](ListPickerWindow* w) {
        const QList<QListWidgetItem*> found = w->list()->findItems(QString::fromUtf8(entry), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << entry;
        QTest::mouseClick(w->list()->viewport(), Qt::LeftButton, {}, w->list()->visualItemRect(found[0]).center());
        w->okButton()->click();
    });
}

// The node dialog on a node of the open Dialogue Editor; OK after act.
void EditNode(DialogueEditorWindow* editor, const char* name, std::function<void(NodeDialog*)> act)
{
    test::WhenModal<NodeDialog>([act](NodeDialog* node) {
        act(node);
        node->okButton()->click();
    });
    ShowTab(editor->tabs(), "Regular nodes");
    editor->nodeList()->setCurrentItem(Row(editor->nodeList(), name));
    editor->button(Button::Edit)->click();
}

class DialogsProgram : public test::ProgramTest {
protected:
    // The Dialogue Editor from the main menu; act runs on it, then "Exit".
    void InDialogueEditor(std::function<void(DialogueEditorWindow*)> act)
    {
        test::WhenModal<DialogueEditorWindow>([act](DialogueEditorWindow* editor) {
            act(editor);
            Control<QPushButton>(editor, "Exit")->click();
        });
        ASSERT_TRUE(program->window().Trigger(MenuCommand::DialogueEditor));
    }

    const dialog& SaveAndReadBack(App& reread)
    {
        const std::string saved = dir.File("dialogue/dialogs.zev");
        dialogs.PushText(saved);
        EXPECT_TRUE(program->window().Trigger(MenuCommand::SaveDialogueAs));
        DialogueReadReport report = ReadDialogueFile(reread, saved);
        EXPECT_TRUE(report.Ok()) << report.errorText;
        return reread.dlg();
    }
};

// An existing option of "Start" gets a skill condition.
void AddSpeechCondition(DialogueEditorWindow* editor)
{
    EditNode(editor, "Start", [](NodeDialog* node) {
        test::WhenModal<OptionDialog>([](OptionDialog* option) {
            test::WhenModal<ConditionsEditorWindow>([](ConditionsEditorWindow* w) {
                Choose(Control<QComboBox>(w, "Check type"), "Skill");
                QListWidget* fields = Control<QListWidget>(w, "Field names");
                const QList<QListWidgetItem*> speech = fields->findItems(QStringLiteral("Speech"), Qt::MatchExactly);
                ASSERT_EQ(speech.size(), 1);
                QTest::mouseClick(fields->viewport(), Qt::LeftButton, {}, fields->visualItemRect(speech[0]).center());
                EXPECT_EQ(Control<QLabel>(w, "Chosen field")->text(), "Speech");
                Choose(Control<QComboBox>(w, "Evaluation type"), ">= (larger than or equal)");
                Retype(Control<QLineEdit>(w, "Value to check"), "75");
                EXPECT_EQ(Control<QLabel>(w, "Resolved SSL code")->text(), "has_skill(dude_obj, SKILL_SPEECH) >= 75");
                Control<QPushButton>(w, "Add")->click();
                ASSERT_EQ(Control<QListWidget>(w, "Condition list")->count(), 1);
                Control<QPushButton>(w, "OK")->click();
            });
            Control<QPushButton>(option, "Set up conditions...")->click();
            EXPECT_TRUE(Control<QPlainTextEdit>(option, "Condition list")
                            ->toPlainText()
                            .contains("has_skill(dude_obj, SKILL_SPEECH) >= 75"));
            option->okButton()->click();
        });
        QTreeWidget* options = node->optionList();
        options->setCurrentItem(options->topLevelItem(0));
        Control<QPushButton>(node, "Edit option")->click();
    });
}

// A start condition to "Rich" with one karma line.
void AddKarmaStartCondition(DialogueEditorWindow* editor, int before)
{
    test::WhenModal<StartConditionsWindow>([before](StartConditionsWindow* w) {
        Choose(Control<QComboBox>(w, "Target node"), "Rich");
        Control<QPushButton>(w, "Add Start Condition")->click();
        ASSERT_EQ(w->startConditionList()->topLevelItemCount(), before + 1);
        Choose(Control<QComboBox>(w, "Condition type"), "Player karma");
        Choose(Control<QComboBox>(w, "Evaluation"), "> (larger than)");
        Retype(Control<QLineEdit>(w, "Value to check"), "100");
        EXPECT_EQ(Control<QLineEdit>(w, "Resulting code")->text(), "global_var(GVAR_PLAYER_KARMA) > 100");
        Control<QPushButton>(w, "Add")->click();
        EXPECT_EQ(Control<QListWidget>(w, "Condition list")->count(), 1);
        EXPECT_EQ(w->startConditionList()->topLevelItem(before)->text(1), "1");
        Control<QPushButton>(w, "OK")->click();
    });
    Control<QPushButton>(editor, "Start conditions")->click();
}

// A barter check owned by "Wares" from the tab "Skill Checks", and a new option of "Wares" linking
// to it.
void AddBarterCheck(DialogueEditorWindow* editor)
{
    ShowTab(editor->tabs(), "Skill Checks");
    test::WhenModal<SkillCheckEditorWindow>([](SkillCheckEditorWindow* w) {
        Choose(Control<QComboBox>(w, "Skill to check"), "Barter");
        Control<QPushButton>(w, "Generate")->click();
        EXPECT_EQ(Control<QLineEdit>(w, "Name for skill check procedure")->text(), "Skill_Check_001_Barter");
        Retype(Control<QSpinBox>(w, "Difficulty modifier"), "-20");
        Choose(Control<QComboBox>(w, "On success, go to"), "Discount");
        Choose(Control<QComboBox>(w, "On failure, go to"), "NoDeal");
        Choose(Control<QComboBox>(w, "Associated with node"), "Wares");
        Control<QPushButton>(w, "OK")->click();
    });
    editor->button(Button::SkillAdd)->click();
    EXPECT_NE(Row(editor->skillList(), "Skill_Check_001_Barter"), nullptr);

    EditNode(editor, "Wares", [](NodeDialog* node) {
        test::WhenModal<OptionDialog>([](OptionDialog* option) {
            QTest::keyClicks(option->textMemo(), "Ten percent off?");
            option->newNodeCheck()->click(); // off: the link kinds show
            Control<QRadioButton>(option, "Link to skill check")->click();
            Choose(Control<QComboBox>(option, "Link to skill check"), "Skill_Check_001_Barter");
            option->okButton()->click();
        });
        Control<QPushButton>(node, "Add option")->click();
    });
}

TEST_F(DialogsProgram, AConditionAStartConditionAndALinkedSkillCheckAreSaved)
{
    const int starts = d().start_condition_count;
    const int wares = FindNodeIndex(d(), "Wares");
    ASSERT_GE(wares, 0);
    const int waresOptions = d().nodes[wares]->option_count;
    ASSERT_EQ(d().nodes[FindNodeIndex(d(), "Start")]->options[0]->condition_count, 0);

    InDialogueEditor([&](DialogueEditorWindow* editor) {
        AddSpeechCondition(editor);
        AddKarmaStartCondition(editor, starts);
        AddBarterCheck(editor);
    });
    EXPECT_TRUE(bench->app().modified());

    ScriptedDialogs quiet;
    App reread(quiet, dir.path());
    const dialog& r = SaveAndReadBack(reread);

    const option& first = *r.nodes[FindNodeIndex(r, "Start")]->options[0];
    EXPECT_EQ(first.text, "I'd like to see your wares.");
    ASSERT_EQ(first.condition_count, 1);
    const condition& c = *first.conditions[0];
    EXPECT_EQ(c.check_type, 2);
    EXPECT_EQ(c.subject, 15);
    EXPECT_EQ(c.eval, 5);
    EXPECT_EQ(c.value, "75");
    EXPECT_EQ(c.link_next, LINK_NONE);
    EXPECT_EQ(c.script_expr, "has_skill(dude_obj, SKILL_SPEECH) >= 75");

    ASSERT_EQ(r.start_condition_count, starts + 1);
    const starting_condition& s = *r.start_conditions[starts];
    EXPECT_EQ(s.target_node, "Rich");
    ASSERT_EQ(s.line_count, 1);
    EXPECT_EQ(s.lines[0]->ssl, "global_var(GVAR_PLAYER_KARMA) > 100");
    EXPECT_EQ(s.lines[0]->eval, 3);
    EXPECT_EQ(s.lines[0]->value_to_check, "100");

    const dlgnode& w = *r.nodes[FindNodeIndex(r, "Wares")];
    ASSERT_EQ(w.skill_check_count, 1);
    const skillcheck& k = *w.skill_checks[0];
    EXPECT_EQ(k.name, "Skill_Check_001_Barter");
    EXPECT_EQ(k.skill, 16);
    EXPECT_EQ(k.difficulty_modifier, -20);
    EXPECT_EQ(k.on_success, "Discount");
    EXPECT_EQ(k.on_failure, "NoDeal");
    ASSERT_EQ(w.option_count, waresOptions + 1);
    const option& link = *w.options[waresOptions];
    EXPECT_EQ(link.text, "Ten percent off?");
    EXPECT_EQ(link.link_target, "Skill_Check_001_Barter");
    EXPECT_TRUE(link.to_skill_check);
    EXPECT_FALSE(link.to_custom_proc);
}

// A float node with two messages from the tab "Floater nodes".
void AddGuardFloats(DialogueEditorWindow* editor)
{
    ShowTab(editor->tabs(), "Floater nodes");
    test::WhenModal<FloatNodeEditorWindow>([](FloatNodeEditorWindow* w) {
        Retype(Control<QLineEdit>(w, "Float node name"), "Guard_Floats");
        Retype(Control<QPlainTextEdit>(w, "Description"), "Said at the gate");
        QPlainTextEdit* text = Control<QPlainTextEdit>(w, "Text for new/selected message");
        Retype(text, "Halt!");
        Control<QPushButton>(w, "Add")->click();
        Retype(text, "Move along.");
        Control<QPushButton>(w, "Add")->click();
        EXPECT_EQ(Control<QTreeWidget>(w, "Random messages")->topLevelItemCount(), 2);
        Control<QPushButton>(w, "OK")->click();
    });
    editor->button(Button::FloatAdd)->click();
    EXPECT_NE(Row(editor->floatList(), "Guard_Floats"), nullptr);
}

// The code of the new event: a typed line, one "Insert command" entry by its shortcut and one from
// the code editor's context menu. Both scripts ask for their item in the list picker.
void WritePatrolCode(TimedEventDataWindow* e)
{
    CodeEditor* code = e->codeEditor();
    e->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(e));
    code->setFocus();
    QTest::keyClicks(code, "set_local_var(LVAR_times_met, 0);");
    QTest::keyClick(code, Qt::Key_Return);

    PickInList("Guard_Floats");
    QTest::keyClick(code, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(code->Code(),
        "set_local_var(LVAR_times_met, 0);\r\nfloat_msg(self_obj, mstr(Guard_Floats), FLOAT_MSG_NORMAL);\r\n");
    QTest::keyClick(code, Qt::Key_Return);

    std::unique_ptr<QMenu> menu(e->CreateContextMenu());
    QMenu* insert = nullptr;
    for (QAction* a : menu->actions())
        if (a->menu() && QString(a->text()).remove(QLatin1Char('&')) == QLatin1String("Insert command"))
            insert = a->menu();
    ASSERT_TRUE(insert);
    QAction* startAnother = nullptr;
    for (QAction* a : insert->actions())
        if (a->text() == QLatin1String("Start another timed event"))
            startAnother = a;
    ASSERT_TRUE(startAnother) << "entries from TE_Commands.dws";
    PickInList("count_cash");
    startAnother->trigger();
}

TEST_F(DialogsProgram, AFloatNodeAndATimedEventWithInsertedCommandsAreSaved)
{
    const int floats = d().float_node_count;
    const int events = d().timed_event_count;
    InDialogueEditor([&](DialogueEditorWindow* editor) {
        AddGuardFloats(editor);
        test::WhenModal<TimedEventsWindow>([&](TimedEventsWindow* w) {
            test::WhenModal<TimedEventDataWindow>([](TimedEventDataWindow* e) {
                Retype(Control<QLineEdit>(e, "Timed event name"), "patrol");
                Retype(Control<QSpinBox>(e, "Enum value"), "3");
                Control<QRadioButton>(e, "Random")->click();
                Retype(Control<QSpinBox>(e, "Minimum time"), "10");
                Retype(Control<QSpinBox>(e, "Maximum time"), "30");
                WritePatrolCode(e);
                Control<QPushButton>(e, "OK")->click();
            });
            Control<QPushButton>(w, "Add")->click();
            ASSERT_EQ(w->eventList()->topLevelItemCount(), events + 1);
            QTreeWidgetItem* row = w->eventList()->topLevelItem(events);
            EXPECT_EQ(row->text(0), "patrol");
            EXPECT_EQ(row->text(3), "10-30");
            Control<QPushButton>(w, "OK")->click();
        });
        Control<QPushButton>(editor, "Timed events editor...")->click();
    });

    ScriptedDialogs quiet;
    App reread(quiet, dir.path());
    const dialog& r = SaveAndReadBack(reread);

    ASSERT_EQ(r.float_node_count, floats + 1);
    const floatnode& f = *r.float_nodes[floats];
    EXPECT_EQ(f.name, "Guard_Floats");
    EXPECT_EQ(f.notes, "Said at the gate");
    ASSERT_EQ(f.message_count, 2);
    EXPECT_EQ(f.messages[0], "Halt!");
    EXPECT_EQ(f.messages[1], "Move along.");

    ASSERT_EQ(r.timed_event_count, events + 1);
    const time_event_data& e = *r.timed_events[events];
    EXPECT_EQ(e.fixed_param_name, "patrol");
    EXPECT_EQ(e.enum_value, 3);
    EXPECT_TRUE(e.is_random);
    EXPECT_EQ(e.interval_min, 10);
    EXPECT_EQ(e.interval_max, 30);
    ASSERT_EQ(e.code_line_count, 3);
    EXPECT_EQ(e.code[0]->line, "set_local_var(LVAR_times_met, 0);");
    EXPECT_EQ(e.code[1]->line, "float_msg(self_obj, mstr(Guard_Floats), FLOAT_MSG_NORMAL);");
    EXPECT_EQ(e.code[2]->line, "flush_add_timer_event_sec(self_obj, 600,count_cash);");
}

TEST_F(DialogsProgram, NpcPropertiesAreSavedAndPreferencesReachTheConfigurationFile)
{
    test::WhenModal<NpcPropertiesWindow>([](NpcPropertiesWindow* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "NPC name")->text(), "Marta the Trader");
        Retype(Control<QLineEdit>(w, "NPC name"), "Marta the Fence");
        Retype(Control<QLineEdit>(w, "Location"), "Junktown back alley");
        Control<QPushButton>(w, "OK")->click();
    });
    ASSERT_TRUE(program->window().Trigger(MenuCommand::NpcProperties));
    EXPECT_TRUE(bench->app().modified());

    test::WhenModal<PreferencesWindow>([](PreferencesWindow* w) {
        ShowTab(w->tabs(), "Dialogue Editing");
        Retype(Control<QLineEdit>(w,
                   "Format string for cloned nodes: Example: 'Copy of %s', where %s will be replaced by the name of "
                   "the node"),
            "Clone_%s");
        ShowTab(w->tabs(), "Dialogue engine options");
        QCheckBox* evaluate = Control<QCheckBox>(w, "Evaluate dialogue conditions");
        ASSERT_TRUE(evaluate->isChecked());
        QTest::mouseClick(evaluate, Qt::LeftButton, {}, QPoint(4, evaluate->height() / 2));
        EXPECT_FALSE(evaluate->isChecked());
        Control<QPushButton>(w, "OK")->click();
    });
    ASSERT_TRUE(program->window().Trigger(MenuCommand::Preferences));
    EXPECT_FALSE(bench->app().settings().evaluateConditions);

    ScriptedDialogs quiet;
    App reread(quiet, dir.path());
    const dialog& r = SaveAndReadBack(reread);
    EXPECT_EQ(r.npc_name, "Marta the Fence");
    EXPECT_EQ(r.location, "Junktown back alley");
    EXPECT_EQ(r.description, "A wiry trader with a scarred face and quick, counting eyes.") << "untouched";

    const IniFile ini(dir.File("ZEVDlg.ini"));
    EXPECT_EQ(ini.ReadString("Global Config", "ClonedNodeFormatString", ""), "Clone_%s");
    EXPECT_EQ(ini.ReadString("Dialogue Engine", "EvaluateConditions", ""), "0");
    EXPECT_EQ(ini.ReadString("Dialogue Engine", "EvaluateSkillChecks", ""), "1") << "the unchanged box stays";
    EXPECT_EQ(ini.ReadString("Player Character", "Name", ""), "Wanderer") << "other sections kept";
}

} // namespace
} // namespace zev
