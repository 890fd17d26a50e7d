// The skill check editor, the float node strings editor, the two timed event windows and the list
// picker over their models: every control named for screen readers, and a whole edit made through
// the controls landing in the dialogue.
#include "gui_support.h"
#include "named_controls.h"
#include "support/temp_dir.h"

#include "editors/gui/code_editor.h"
#include "editors/gui/float_node_editor_window.h"
#include "editors/gui/list_picker_window.h"
#include "editors/gui/skill_check_editor_window.h"
#include "editors/gui/timed_events_window.h"
#include "model/dialog_ops.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace zev {
namespace {

using test::ExpectNamed;
using test::Named;
using test::Retype;

void ClickRow(QTreeWidget* list, int row)
{
    QTreeWidgetItem* item = list->topLevelItem(row);
    ASSERT_TRUE(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

struct FloatSkillWindowsTest : test::GuiTest {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };

    FloatSkillWindowsTest()
    {
        AddNode(d(), "Start")->npc_text = "Welcome, stranger.";
        AddNode(d(), "Heal")->npc_text = "You feel better.";
        AddNode(d(), "Bleed")->npc_text = "That hurt.";
    }
    dialog& d() { return app.dlg(); }
};

TEST_F(FloatSkillWindowsTest, SkillCheckIsGeneratedFromThePickersAndStoredOnOk)
{
    SkillCheckEditorModel model { app };
    SkillCheckEditorWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);

    test::WhenModal<SkillCheckEditorWindow>([&](SkillCheckEditorWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Skill check editor");
        ExpectNamed(w,
            { "Name for skill check procedure", "Generate", "Skill to check", "Difficulty modifier",
                "On success, go to", "On failure, go to", "Success node preview", "Failure node preview",
                "Associated with node", "OK", "Cancel" });
        EXPECT_EQ(
            w->generateButton()->toolTip(), "This button automatically assigns a unique name for the skill check.");
        auto* note = w->findChild<QLabel*>("modifierNote");
        ASSERT_TRUE(note);
        EXPECT_TRUE(note->text().startsWith("Note: A negative modifier makes the skill check more difficult\n"));
        EXPECT_EQ(w->modifierSpin()->minimum(), -9999);
        EXPECT_EQ(w->modifierSpin()->maximum(), 9999);
        EXPECT_EQ(w->skillBox()->count(), 18);
        EXPECT_EQ(w->skillBox()->currentText(), "Small Guns");
        EXPECT_EQ(w->successBox()->count(), 3);
        EXPECT_EQ(w->successBox()->currentIndex(), -1) << "no node chosen before the user picks";
        EXPECT_FALSE(w->okButton()->isEnabled()) << "no name yet";

        w->skillBox()->setCurrentIndex(w->skillBox()->findText(QStringLiteral("First Aid")));
        w->generateButton()->click();
        EXPECT_EQ(w->nameField()->text(), "Skill_Check_000_First_Aid");
        EXPECT_TRUE(w->okButton()->isEnabled());
        Retype(w->modifierSpin(), QStringLiteral("-25"));
        w->successBox()->setCurrentIndex(1);
        EXPECT_EQ(w->successPreview()->toPlainText(), "You feel better.") << "the preview follows the picker";
        w->failureBox()->setCurrentIndex(2);
        EXPECT_EQ(w->failurePreview()->toPlainText(), "That hurt.");
        w->ownerBox()->setCurrentIndex(0);
        w->okButton()->click();
    });
    EXPECT_TRUE(model.Add());
    ASSERT_EQ(d().nodes[0]->skill_check_count, 1);
    const skillcheck& s = *d().nodes[0]->skill_checks[0];
    EXPECT_EQ(s.name.str(), "Skill_Check_000_First_Aid");
    EXPECT_EQ(s.skill, 7);
    EXPECT_EQ(s.difficulty_modifier, -25);
    EXPECT_EQ(s.on_success.str(), "Heal");
    EXPECT_EQ(s.on_failure.str(), "Bleed");
    EXPECT_TRUE(app.modified());
}

TEST_F(FloatSkillWindowsTest, SkillCheckWithEmptyPickersIsRefusedWithTheMissingItemsAndStaysOpen)
{
    SkillCheckEditorModel model { app };
    SkillCheckEditorWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);

    test::WhenModal<SkillCheckEditorWindow>([&](SkillCheckEditorWindow* w) {
        EXPECT_EQ(w->nameField()->text(), "") << "Add opens empty";
        Retype(w->nameField(), QStringLiteral("Pick_Lock"));
        ASSERT_TRUE(w->okButton()->isEnabled());
        w->successBox()->setCurrentIndex(0);
        w->okButton()->click();
        ASSERT_TRUE(dialogs.Last());
        EXPECT_EQ(dialogs.Last()->icon, MsgIcon::Warning);
        EXPECT_EQ(dialogs.Last()->text,
            "Can't create skill check. The following errors\r\nwere detected:\r\n\r\n"
            "Node association not specified.\r\nFailure node not specified.\r\n\r\nCorrect them and try again.");
        EXPECT_TRUE(w->isVisible()) << "the editor stays open";
        Retype(w->nameField(), QString());
        EXPECT_FALSE(w->okButton()->isEnabled()) << "an empty name disables OK";
        w->findChild<QPushButton*>("cancelButton")->click();
    });
    EXPECT_FALSE(model.Add());
    EXPECT_EQ(d().nodes[0]->skill_check_count, 0);
    EXPECT_FALSE(app.modified());
}

TEST_F(FloatSkillWindowsTest, FloatNodeWithTwoMessagesIsStoredAndANodeNameClashIsRefused)
{
    FloatNodeEditorModel model { app };
    FloatNodeEditorWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);

    test::WhenModal<FloatNodeEditorWindow>([&](FloatNodeEditorWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Float node strings editor");
        ExpectNamed(w,
            { "Float node name", "Description", "Random messages", "Text for new/selected message", "Add", "Delete",
                "Modify", "OK", "Cancel" });
        QTreeWidget* list = w->messageList();
        ASSERT_EQ(list->columnCount(), 2);
        EXPECT_EQ(list->headerItem()->text(0), "Index");
        EXPECT_EQ(list->headerItem()->text(1), "Message text");
        EXPECT_FALSE(w->modifyButton()->isEnabled());

        Retype(w->nameField(), QStringLiteral("Start"));
        Retype(w->descriptionMemo(), QStringLiteral("Said at the gate"));
        Retype(w->textMemo(), QStringLiteral("Halt!"));
        w->addButton()->click();
        EXPECT_EQ(w->textMemo()->toPlainText(), "") << "Add clears the text";
        Retype(w->textMemo(), QStringLiteral("Move along."));
        w->addButton()->click();
        ASSERT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->topLevelItem(1)->text(0), "1");
        EXPECT_EQ(list->topLevelItem(1)->text(1), "Move along.");

        ClickRow(list, 0);
        EXPECT_TRUE(w->modifyButton()->isEnabled());
        EXPECT_EQ(w->textMemo()->toPlainText(), "Halt!") << "the selected message is copied for editing";
        Retype(w->textMemo(), QStringLiteral("Halt, who goes there?"));
        w->modifyButton()->click();
        EXPECT_EQ(list->topLevelItem(0)->text(1), "Halt, who goes there?");

        w->okButton()->click();
        ASSERT_TRUE(dialogs.Last());
        EXPECT_EQ(dialogs.Last()->text,
            "Start already exists as a regular node.\r\nPlease pick a unique node name\r\nfor this floater node.");
        EXPECT_TRUE(w->isVisible()) << "refused: the editor stays open";
        Retype(w->nameField(), QStringLiteral("Guard_Floats"));
        w->okButton()->click();
    });
    EXPECT_TRUE(model.Add());
    ASSERT_EQ(d().float_node_count, 1);
    const floatnode& f = *d().float_nodes[0];
    EXPECT_EQ(f.name.str(), "Guard_Floats");
    EXPECT_EQ(f.notes.str(), "Said at the gate");
    ASSERT_EQ(f.message_count, 2);
    EXPECT_EQ(f.messages[0].str(), "Halt, who goes there?");
    EXPECT_EQ(f.messages[1].str(), "Move along.");
}

struct TimedEventWindows {
    TimedEventsModel model;
    CompletionLists lists;
    DefinitionTable definitions;
    TimedEventsWindow window;
    TimedEventDataWindow data;

    explicit TimedEventWindows(App& app)
        : model(app)
        , window(model, TextEncoding::Cp1252)
        , data(model.data(), TextEncoding::Cp1252, &lists, &definitions, &window)
    {
        model.SetView(&window);
        model.SetDataView(&data);
    }
};

TEST_F(FloatSkillWindowsTest, RandomTimedEventIsAddedWithACommandInsertedFromTheMenuAndItsShortcut)
{
    auto windows = std::make_unique<TimedEventWindows>(app);
    TimedEventDataWindow& data = windows->data;
    std::vector<int> ran;
    ASSERT_TRUE(data.AddInsertCommand(QStringLiteral("Float a message"), QStringLiteral("Ctrl+1"), 7));
    data.SetInsertCommandHandler([&](int tag) {
        ran.push_back(tag);
        data.InsertAtCaret("float_msg(self_obj, 1);");
    });

    test::WhenModal<TimedEventsWindow>([&](TimedEventsWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Timed events editor");
        ExpectNamed(
            w, { "Timed event list", "Timed event to add in the 'start' procedure", "Add", "Edit", "Delete", "OK" });
        QTreeWidgetItem* header = w->eventList()->headerItem();
        ASSERT_EQ(w->eventList()->columnCount(), 4);
        EXPECT_EQ(header->text(0), "Timed event name");
        EXPECT_EQ(header->text(3), "Interval (in seconds)");
        EXPECT_EQ(w->defaultBox()->count(), 0);

        test::WhenModal<TimedEventDataWindow>([&](TimedEventDataWindow* e) {
            EXPECT_EQ(e->windowTitle(), "Timed event data editor");
            ExpectNamed(e,
                { "Timed event name", "Enum value", "Interval type", "Static", "Random", "Interval data",
                    "Minimum time", "Maximum time", "Code for the timed event block", "OK", "Cancel" });
            EXPECT_EQ(e->enumSpin()->maximum(), 20000);
            EXPECT_EQ(e->maximumSpin()->maximum(), 100);
            EXPECT_TRUE(e->intervalTypeRadio(0)->isChecked()) << "a new event is static";
            EXPECT_FALSE(e->maximumSpin()->isEnabled()) << "a static event has one interval";
            Retype(e->nameField(), QStringLiteral("Patrol"));
            Retype(e->enumSpin(), QStringLiteral("3"));
            e->intervalTypeRadio(1)->click();
            Retype(e->minimumSpin(), QStringLiteral("10"));
            Retype(e->maximumSpin(), QStringLiteral("30"));

            std::unique_ptr<QMenu> menu(e->CreateContextMenu());
            ASSERT_TRUE(menu->actions().contains(e->insertCommandMenu()->menuAction()));
            EXPECT_EQ(e->insertCommandMenu()->title(), "Insert command");
            ASSERT_EQ(e->insertCommandMenu()->actions().size(), 1);
            QAction* entry = e->insertCommandMenu()->actions().front();
            EXPECT_EQ(entry->text(), "Float a message");

            CodeEditor* code = e->codeEditor();
            e->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(e));
            code->setFocus();
            QTest::keyClicks(code, "x := 1;");
            QTest::keyClick(code, Qt::Key_Return);
            QTest::keyClick(code, Qt::Key_1, Qt::ControlModifier);
            EXPECT_EQ(ran, std::vector<int> { 7 }) << "the shortcut ran the entry";
            EXPECT_EQ(code->Code(), "x := 1;\r\nfloat_msg(self_obj, 1);\r\n");
            entry->trigger(); // the menu entry: inserted at the caret, after the first insertion
            EXPECT_EQ(code->Code(), "x := 1;\r\nfloat_msg(self_obj, 1);float_msg(self_obj, 1);\r\n");
            QTest::keyClick(code, Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(code->Code(), "x := 1;\r\nfloat_msg(self_obj, 1);\r\n") << "one undo step per insertion";
            e->okButton()->click();
        });
        w->addButton()->click();
        ASSERT_EQ(w->eventList()->topLevelItemCount(), 1);
        QTreeWidgetItem* row = w->eventList()->topLevelItem(0);
        EXPECT_EQ(row->text(0), "Patrol");
        EXPECT_EQ(row->text(1), "2");
        EXPECT_EQ(row->text(2), "True");
        EXPECT_EQ(row->text(3), "10-30");
        EXPECT_EQ(w->defaultBox()->currentText(), "Patrol");

        // A double click edits: the editor shows the event; Cancel leaves it.
        test::WhenModal<TimedEventDataWindow>([&](TimedEventDataWindow* e) {
            EXPECT_EQ(e->nameField()->text(), "Patrol");
            EXPECT_TRUE(e->intervalTypeRadio(1)->isChecked());
            EXPECT_EQ(e->minimumSpin()->value(), 10);
            EXPECT_EQ(e->maximumSpin()->value(), 30);
            EXPECT_EQ(e->codeEditor()->Code(), "x := 1;\r\nfloat_msg(self_obj, 1);\r\n");
            Retype(e->nameField(), QStringLiteral("Dropped"));
            e->findChild<QPushButton*>("cancelButton")->click();
        });
        QTreeWidget* list = w->eventList();
        // A real double click: the press of its first click, then the second click.
        const QPoint at = list->visualItemRect(list->topLevelItem(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(list->topLevelItem(0)->text(0), "Patrol");
        w->okButton()->click();
    });
    EXPECT_TRUE(windows->model.Open());
    ASSERT_EQ(d().timed_event_count, 1);
    const time_event_data& e = *d().timed_events[0];
    EXPECT_EQ(e.fixed_param_name.str(), "Patrol");
    EXPECT_EQ(e.enum_value, 3);
    EXPECT_EQ(e.is_random, 1);
    EXPECT_EQ(e.interval_min, 10);
    EXPECT_EQ(e.interval_max, 30);
    ASSERT_EQ(e.code_line_count, 2);
    EXPECT_EQ(e.code[0]->line.str(), "x := 1;");
    EXPECT_EQ(e.code[1]->line.str(), "float_msg(self_obj, 1);");
    EXPECT_TRUE(app.modified());
}

TEST_F(FloatSkillWindowsTest, InsertCommandEntriesKeepTheFirstHolderOfAShortcutAndHaveACeiling)
{
    TimedEventWindows windows { app };
    TimedEventDataWindow& data = windows.data;
    ASSERT_TRUE(data.AddInsertCommand(QStringLiteral("First"), QStringLiteral("Ctrl+2"), 1));
    ASSERT_TRUE(data.AddInsertCommand(QStringLiteral("Second"), QStringLiteral("Ctrl+2"), 2));
    ASSERT_TRUE(data.AddInsertCommand(QStringLiteral("Odd"), QStringLiteral("Ctrl+Nothing"), 3));
    const QList<QAction*> entries = data.insertCommandMenu()->actions();
    EXPECT_EQ(entries[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_2));
    EXPECT_TRUE(entries[1]->shortcut().isEmpty()) << "a taken key stays with the first entry";
    EXPECT_TRUE(entries[2]->shortcut().isEmpty()) << "an unreadable shortcut gives none";
    for (int i = 3; i < TimedEventDataWindow::kMaxInsertCommands; ++i)
        ASSERT_TRUE(data.AddInsertCommand(QStringLiteral("More"), QString(), i));
    EXPECT_FALSE(data.AddInsertCommand(QStringLiteral("One too many"), QString(), 999));
    EXPECT_EQ(data.insertCommandMenu()->actions().size(), TimedEventDataWindow::kMaxInsertCommands);
}

TEST_F(FloatSkillWindowsTest, TheCodeEditorsContextMenuOffersInsertCommand)
{
    TimedEventWindows windows { app };
    TimedEventDataWindow& data = windows.data;
    data.AddInsertCommand(QStringLiteral("Float a message"), QString(), 1);
    data.show();
    QStringList shown;
    QTimer::singleShot(50, [&] {
        if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : popup->actions())
                shown << QString(a->text()).remove(QLatin1Char('&'));
            popup->close();
        }
    });
    QWidget* viewport = data.codeEditor()->viewport();
    QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(10, 10), viewport->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(viewport, &press);
    EXPECT_TRUE(shown.contains("Insert command")) << shown.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(shown.contains("Paste")) << "the editor's own entries stay";
    data.hide();
}

TEST_F(FloatSkillWindowsTest, ListPickerShowsTheCallersTextsAndADoubleClickChooses)
{
    ListPickerModel model;
    ListPickerWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);

    test::WhenModal<ListPickerWindow>([&](ListPickerWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Select float node");
        EXPECT_EQ(w->label()->text(), "Float nodes:");
        ExpectNamed(w, { "Float nodes", "OK", "Cancel" });
        QListWidget* list = w->list();
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(2)->text(), "Caf\u00e9 talk") << "shown through the code page";
        EXPECT_TRUE(list->selectedItems().isEmpty()) << "nothing chosen before the user picks";
        // A real double click: the press of its first click, then the second click.
        const QPoint at = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(model.Select("Select float node", "Float nodes:", { "Gate", "Market", "Caf\xe9 talk" }), 1);

    test::WhenModal<ListPickerWindow>([&](ListPickerWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Select timed event") << "filled anew";
        EXPECT_TRUE(w->list()->selectedItems().isEmpty());
        w->list()->setCurrentRow(0);
        w->findChild<QPushButton*>("cancelButton")->click();
    });
    EXPECT_EQ(model.Select("Select timed event", "Timed events:", { "Patrol" }), std::nullopt);
}

} // namespace
} // namespace zev
