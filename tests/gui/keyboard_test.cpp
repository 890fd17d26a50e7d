// The runner's and developer windows used from the keyboard alone: Enter, Escape, Tab and arrows.
#include "gui_support.h"
#include "runner/runner_fixture.h"

#include "runner/gui/player_setup_window.h"
#include "runner/gui/run_panel.h"
#include "runner/gui/skill_check_window.h"
#include "runner/gui/termination_query_window.h"
#include "runner/gui/transcript_list_window.h"
#include "runner/gui/transcript_window.h"
#include "script/gui/func_desc_editor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

namespace zev {
namespace {

using test::MakeCheck;
using test::MakeNode;
using test::MakeOption;

struct KeyboardTest : test::RunnerFixture {
    KeyboardTest() { test::GuiApp(); }

    // Start -> Shop (or done); Shop -> Start.
    void TwoNodes()
    {
        dlgnode* start = MakeNode(d(), "Start", "Welcome.");
        MakeOption(*start, "Show me your wares", "Shop", "the shop path");
        MakeOption(*start, "Bye", "done");
        dlgnode* shop = MakeNode(d(), "Shop", "Take a look.");
        MakeOption(*shop, "Back", "Start");
        ResolveLinks(d());
        app.RefreshEditorLists();
    }
};

void Press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(w, key, modifiers);
}

TEST_F(KeyboardTest, PlayerSetupEscapeCancelsEnterConfirms)
{
    app.player().name = "Vic";
    app.player().age = 20;
    QtPlayerSetupView view(TextEncoding::Cp1252, nullptr);

    test::WhenModal<PlayerSetupWindow>([](PlayerSetupWindow* w) {
        EXPECT_EQ(w->focusWidget(), w->nameEdit()) << "the window opens on the name";
        QTest::keyClicks(w->nameEdit(), "dropped");
        w->ageSpin()->setValue(33);
        Press(w->ageSpin(), Qt::Key_Escape);
    });
    EXPECT_FALSE(SetupPlayerCharacter(app, view, &session));
    EXPECT_EQ(app.player().name.str(), "Vic");
    EXPECT_EQ(app.player().age, 20);
    EXPECT_EQ(app.config().ReadInteger("Player Character", "Age", -1), -1) << "nothing written";

    test::WhenModal<PlayerSetupWindow>([](PlayerSetupWindow* w) {
        w->ageSpin()->setValue(31);
        Press(w->ageSpin(), Qt::Key_Return);
    });
    EXPECT_TRUE(SetupPlayerCharacter(app, view, &session));
    EXPECT_EQ(app.player().age, 31);
    EXPECT_EQ(app.config().ReadInteger("Player Character", "Age", -1), 31);
}

TEST_F(KeyboardTest, PlayerSetupTabVisitsTheControlsInReadingOrderAndLeavesTheGrid)
{
    PlayerSetupModel model;
    model.Fill(app.player());
    PlayerSetupWindow w(model, TextEncoding::Cp1252);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* buttons = w.findChild<QDialogButtonBox*>();
    std::vector<QWidget*> expected { w.nameEdit(), w.genderBox(), w.ageSpin() };
    for (int i = 0; i < PlayerSetupModel::kAttributeCount; ++i)
        expected.push_back(w.attributeSpin(i));
    expected.push_back(w.moneySpin());
    expected.push_back(w.skillsGrid());
    expected.push_back(buttons->button(QDialogButtonBox::Ok));
    expected.push_back(buttons->button(QDialogButtonBox::Cancel));
    expected.push_back(w.nameEdit()); // and round again

    w.nameEdit()->setFocus();
    for (std::size_t i = 1; i < expected.size(); ++i) {
        QWidget* focused = QApplication::focusWidget();
        ASSERT_TRUE(focused);
        Press(focused, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        // A spin box's focus sits in its line edit.
        while (
            now && now != expected[i] && now->parentWidget() && !now->isWindow() && now->parentWidget() == expected[i])
            now = now->parentWidget();
        EXPECT_EQ(now, expected[i]) << "tab stop " << i << " is " << (now ? now->metaObject()->className() : "none");
    }
    // In the grid, the first key typed edits a value, not the read-only name.
    EXPECT_EQ(w.skillsGrid()->currentColumn(), 1);
}

TEST_F(KeyboardTest, SkillCheckAndTerminationQueryAnswerEnterAndEscape)
{
    dlgnode* n = MakeNode(d(), "Door", "Locked.");
    skillcheck* check = MakeCheck(*n, "pick", 10, 0, "Open", "Stuck");
    option* open = MakeOption(*n, "go", "Nowhere");

    SkillCheckWindowModel skill;
    skill.Fill(*check, app.player());
    QtSkillCheckView skillView(TextEncoding::Cp1252, nullptr);
    test::WhenModal<SkillCheckWindow>([](SkillCheckWindow* w) { Press(w, Qt::Key_Return); });
    std::optional<SkillCheckChoice> got = skillView.exec(skill);
    ASSERT_TRUE(got.has_value()) << "Enter rolls the check";
    EXPECT_EQ(*got, SkillCheckChoice::Evaluate);
    skill.Fill(*check, app.player());
    test::WhenModal<SkillCheckWindow>([](SkillCheckWindow* w) { Press(w, Qt::Key_Escape); });
    EXPECT_FALSE(skillView.exec(skill).has_value()) << "Escape chooses nothing";

    TerminationQueryModel query;
    query.Fill(*open);
    QtTerminationQueryView queryView(TextEncoding::Cp1252, nullptr);
    test::WhenModal<TerminationQueryWindow>([](TerminationQueryWindow* w) { Press(w->notesBox(), Qt::Key_Return); });
    EXPECT_EQ(queryView.exec(query), TerminationChoice::EditNode);
    test::WhenModal<TerminationQueryWindow>([](TerminationQueryWindow* w) { Press(w->notesBox(), Qt::Key_Escape); });
    EXPECT_EQ(queryView.exec(query), TerminationChoice::Exit);
}

TEST_F(KeyboardTest, RunPanelPlaysWithoutTheMouse)
{
    TwoNodes();
    RunPanelWidget panel(runner, TextEncoding::Cp1252);
    panel.resize(900, 600);
    panel.show();
    QApplication::setActiveWindow(&panel);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&panel));

    // Enter in the start-node box runs from the node typed there.
    panel.startNodeBox()->setFocus();
    panel.startNodeBox()->setEditText("Shop");
    Press(panel.startNodeBox()->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(runner.running());
    EXPECT_EQ(runner.currentNodeIndex(), 1);
    runner.StopTestRun();
    panel.startNodeBox()->setEditText("Start");
    Press(panel.startNodeBox()->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(runner.currentNodeIndex(), 0);

    // Arrows describe the option they reach, Enter chooses it.
    QTreeWidget* options = panel.optionList();
    options->setFocus();
    Press(options, Qt::Key_Down);
    Press(options, Qt::Key_Down);
    ASSERT_EQ(options->currentItem(), options->topLevelItem(1));
    EXPECT_EQ(panel.findChild<QPlainTextEdit*>("optionNotes")->toPlainText(), "This option will end the dialogue.\n");
    Press(options, Qt::Key_Up);
    EXPECT_TRUE(panel.findChild<QPlainTextEdit*>("optionNotes")->toPlainText().startsWith("Leads to node Shop"));
    Press(options, Qt::Key_Return);
    EXPECT_EQ(runner.currentNodeIndex(), 1);

    // Alt+Left and Alt+Right walk the node history (a button's shortcut clicks it after a short flash).
    Press(options, Qt::Key_Left, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return runner.currentNodeIndex() == 0; }, 1000));
    Press(options, Qt::Key_Right, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return runner.currentNodeIndex() == 1; }, 1000));
}

TEST_F(KeyboardTest, EnterInTheTranscriptListOpensTheRowAndKeepsTheList)
{
    dlgnode* a = MakeNode(d(), "A", "hello");
    MakeOption(*a, "bye", "done");
    MakeNode(d(), "B", "other");
    Start("A");
    runner.StopTestRun();
    Start("B");
    runner.StopTestRun();
    TranscriptWindow shown(runner.transcriptWindow(), TextEncoding::Cp1252);
    TranscriptListWindow list(runner.transcriptList(), TextEncoding::Cp1252);
    runner.transcriptWindow().Ok();
    runner.transcriptList().ShowTranscriptList();
    ASSERT_TRUE(list.isVisible());
    EXPECT_EQ(list.list()->currentItem(), list.list()->topLevelItem(1)) << "opens on the newest transcript";

    Press(list.list(), Qt::Key_Up);
    Press(list.list(), Qt::Key_Return);
    EXPECT_EQ(runner.transcriptWindow().shownIndex(), 0);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_TRUE(list.isVisible()) << "Enter on a row is not the window's OK";
    EXPECT_EQ(list.list()->currentItem(), list.list()->topLevelItem(0));

    Press(list.list(), Qt::Key_Escape);
    EXPECT_FALSE(list.isVisible());
    EXPECT_FALSE(runner.transcriptList().visible());
}

TEST_F(KeyboardTest, FunctionDescriptionEditorOpensOnTheFirstFunctionAndEnterCloses)
{
    std::string ini = dir.Write("func_desc.ini",
        "[Main]\r\nfunccnt=2\r\nFunc1=AddNode\r\nFunc2=Print\r\n"
        "[Functions]\r\nAddNode=Adds a node.\\nSecond line\r\nPrint=Prints.\r\n");
    FuncDescStore store(ini);
    FuncDescEditorModel model(store);
    FuncDescEditorWindow w(model);
    EXPECT_EQ(w.list()->currentRow(), 0);
    EXPECT_TRUE(w.memo()->isEnabled());
    EXPECT_EQ(w.memo()->toPlainText(), "Adds a node.\nSecond line");

    // Tab leaves the memo instead of typing a tab into the description.
    w.memo()->setFocus();
    Press(w.memo(), Qt::Key_Tab);
    EXPECT_EQ(store.Description("AddNode"), "Adds a node.\\nSecond line");

    w.show();
    Press(w.list(), Qt::Key_Down);
    EXPECT_EQ(w.memo()->toPlainText(), "Prints.");
    Press(w.list(), Qt::Key_Return);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

} // namespace
} // namespace zev
