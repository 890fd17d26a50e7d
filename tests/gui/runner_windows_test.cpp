#include "gui_support.h"
#include "runner/runner_fixture.h"

#include "runner/gui/player_setup_window.h"
#include "runner/gui/skill_check_window.h"
#include "runner/gui/termination_query_window.h"
#include "runner/gui/transcript_list_window.h"
#include "runner/gui/transcript_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>

namespace zev {
namespace {

using test::MakeCheck;
using test::MakeNode;
using test::MakeOption;

struct RunnerWindowsTest : test::RunnerFixture {
    RunnerWindowsTest() { test::GuiApp(); }
};

QPushButton* ButtonCaptioned(QWidget* w, const QString& caption)
{
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == caption)
            return b;
    return nullptr;
}

TEST_F(RunnerWindowsTest, SkillCheckWindowShowsTheCheckAndReturnsTheButton)
{
    dlgnode* n = MakeNode(d(), "Door", "Locked.");
    skillcheck* check = MakeCheck(*n, "pick<it>&go", 10, -2, "Open", "Stuck");
    app.player().skills[9].name = "Lockpick";
    SkillCheckWindowModel model;
    model.Fill(*check, app.player());

    QtSkillCheckView view(TextEncoding::Cp1252, nullptr);
    const std::pair<QString, SkillCheckChoice> cases[] = { { "Success", SkillCheckChoice::Success },
        { "Evaluate", SkillCheckChoice::Evaluate }, { "Failure", SkillCheckChoice::Failure } };
    for (const auto& [caption, expected] : cases) {
        QString html;
        test::WhenModal<SkillCheckWindow>([&, c = caption](SkillCheckWindow* w) {
            EXPECT_EQ(w->windowTitle(), "Skill Check");
            html = w->textLabel()->text();
            ButtonCaptioned(w, c)->click();
        });
        std::optional<SkillCheckChoice> got = view.exec(model);
        ASSERT_TRUE(got.has_value()) << caption.toStdString();
        EXPECT_EQ(*got, expected);
        // The model's tags render; the check's name shows as written.
        QTextDocument shown;
        shown.setHtml(html);
        EXPECT_TRUE(shown.toPlainText().contains("named:\npick<it>&go\nwith")) << shown.toPlainText().toStdString();
        EXPECT_TRUE(html.contains("<b>Lockpick</b>"));
        EXPECT_TRUE(html.contains("<i><br>"));
    }
    test::WhenModal<SkillCheckWindow>([](SkillCheckWindow* w) { w->reject(); });
    model.Fill(*check, app.player());
    EXPECT_FALSE(view.exec(model).has_value()) << "closed without a button";
}

TEST_F(RunnerWindowsTest, TerminationQueryShowsTheOptionAndAnswers)
{
    dlgnode* n = MakeNode(d(), "A", "a");
    option* open = MakeOption(*n, "go", "");
    option* done = MakeOption(*n, "end", "done", "ends it");
    TerminationQueryModel model;
    QtTerminationQueryView view(TextEncoding::Cp1252, nullptr);

    model.Fill(*open);
    test::WhenModal<TerminationQueryWindow>([](TerminationQueryWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Dialogue termination query");
        EXPECT_EQ(w->targetLabel()->text(), "<empty>");
        EXPECT_EQ(w->notesBox()->toPlainText(), "The player option node link was null.");
        EXPECT_EQ(w->editButton()->text(), "Edit node");
        EXPECT_TRUE(w->editButton()->isDefault());
        EXPECT_TRUE(w->editButton()->isEnabled());
        EXPECT_TRUE(ButtonCaptioned(w, "Exit"));
        w->editButton()->click();
    });
    EXPECT_EQ(view.exec(model), TerminationChoice::EditNode);

    model.Fill(*done);
    test::WhenModal<TerminationQueryWindow>([](TerminationQueryWindow* w) {
        EXPECT_EQ(w->targetLabel()->text(), "done");
        EXPECT_TRUE(w->notesBox()->toPlainText().startsWith("This is a pre-defined dialogue termination node"));
        w->exitButton()->click();
    });
    EXPECT_EQ(view.exec(model), TerminationChoice::Exit);
    test::WhenModal<TerminationQueryWindow>([](TerminationQueryWindow* w) { w->reject(); });
    EXPECT_EQ(view.exec(model), TerminationChoice::Exit) << "closing counts as Exit";
}

TEST_F(RunnerWindowsTest, TranscriptListShowsRowsAndOpensATranscript)
{
    dlgnode* a = MakeNode(d(), "A", "hello");
    MakeOption(*a, "bye", "done");
    d().npc_name = "Marta";
    Start("A");
    runner.StopTestRun();
    Start("A");
    runner.StopTestRun();
    TranscriptWindow shown(runner.transcriptWindow(), TextEncoding::Cp1252);
    TranscriptListWindow list(runner.transcriptList(), TextEncoding::Cp1252);
    EXPECT_FALSE(list.isVisible());
    EXPECT_EQ(list.windowTitle(), "List of dialogue transcripts");
    QTreeWidget* rows = list.list();
    EXPECT_EQ(rows->headerItem()->text(0), "#");
    EXPECT_EQ(rows->headerItem()->text(3), "Filename");

    runner.transcriptList().ShowTranscriptList();
    ASSERT_TRUE(list.isVisible());
    ASSERT_EQ(rows->topLevelItemCount(), 2);
    EXPECT_EQ(rows->topLevelItem(1)->text(0), "2");
    EXPECT_EQ(rows->topLevelItem(1)->text(1), "Marta");
    EXPECT_TRUE(rows->topLevelItem(0)->text(3).endsWith(".txt"));

    QRect r = rows->visualItemRect(rows->topLevelItem(1));
    QTest::mouseDClick(rows->viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(runner.transcriptWindow().shownIndex(), 1);
    EXPECT_TRUE(shown.isVisible());
    EXPECT_TRUE(shown.textBox()->toPlainText().startsWith("Marta: (A) hello"));

    list.findChild<QPushButton*>("okButton")->click();
    EXPECT_FALSE(list.isVisible());
    EXPECT_FALSE(runner.transcriptList().visible());
}

TEST_F(RunnerWindowsTest, PlayerSetupWindowBindsEveryControl)
{
    PlayerChar& pc = app.player();
    pc.name = "Vic";
    pc.gender = GENDER_FEMALE;
    pc.age = 50; // shows clamped
    pc.luck = 7;
    pc.money = 120;
    pc.skills[0].value = 42;
    PlayerSetupModel model;
    model.Fill(pc);
    PlayerSetupWindow w(model, TextEncoding::Cp1252);
    EXPECT_EQ(w.windowTitle(), "Player character Setup");
    EXPECT_EQ(w.nameEdit()->text(), "Vic");
    EXPECT_TRUE(w.nameEdit()->toolTip().startsWith("This is the name for the player character"));
    EXPECT_EQ(w.genderBox()->count(), 2);
    EXPECT_EQ(w.genderBox()->itemText(0), "Male");
    EXPECT_EQ(w.genderBox()->currentText(), "Female");
    EXPECT_FALSE(w.genderBox()->toolTip().contains('\r'));
    EXPECT_EQ(w.ageSpin()->minimum(), 16);
    EXPECT_EQ(w.ageSpin()->maximum(), 36);
    EXPECT_EQ(w.ageSpin()->value(), 36);
    EXPECT_EQ(w.attributeSpin(6)->value(), 7);
    EXPECT_EQ(w.attributeSpin(6)->toolTip(), "SPECIAL attributes: Luck");
    EXPECT_EQ(w.attributeSpin(0)->maximum(), 10);
    EXPECT_EQ(w.moneySpin()->maximum(), 99999);
    EXPECT_EQ(w.moneySpin()->value(), 120);
    QTableWidget* grid = w.skillsGrid();
    ASSERT_EQ(grid->rowCount(), 18);
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Skill");
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Value");
    EXPECT_EQ(grid->item(17, 0)->text(), "Outdoorsman");
    EXPECT_EQ(grid->item(0, 1)->text(), "42");
    EXPECT_FALSE(grid->item(0, 0)->flags().testFlag(Qt::ItemIsEditable));

    // Edits reach the model.
    w.nameEdit()->selectAll();
    QTest::keyClicks(w.nameEdit(), "Ann");
    EXPECT_EQ(model.name(), "Ann");
    w.genderBox()->setCurrentIndex(0);
    EXPECT_EQ(model.genderItem(), 0);
    w.attributeSpin(2)->setValue(9);
    EXPECT_EQ(model.attribute(2).value, 9);
    w.moneySpin()->setValue(5);
    EXPECT_EQ(model.money().value, 5);
    grid->item(3, 1)->setText("77");
    EXPECT_EQ(model.skills()[3].value, "77");
    EXPECT_TRUE(w.gridMessage()->text().isEmpty());
    // A value that is no whole number is refused and the cell shows the kept value again.
    grid->item(3, 1)->setText("lots");
    EXPECT_EQ(model.skills()[3].value, "77");
    EXPECT_EQ(grid->item(3, 1)->text(), "77");
    EXPECT_TRUE(w.gridMessage()->text().contains("lots"));
}

TEST_F(RunnerWindowsTest, SetupPlayerCharacterAppliesOnlyOnOk)
{
    app.player().name = "Vic";
    QtPlayerSetupView view(TextEncoding::Cp1252, nullptr);
    test::WhenModal<PlayerSetupWindow>([](PlayerSetupWindow* w) {
        w->nameEdit()->setText("Ignored");
        w->ageSpin()->setValue(30);
        w->reject();
    });
    EXPECT_FALSE(SetupPlayerCharacter(app, view, &session));
    EXPECT_EQ(app.player().name.str(), "Vic");

    test::WhenModal<PlayerSetupWindow>([](PlayerSetupWindow* w) {
        w->ageSpin()->setValue(30);
        w->skillsGrid()->item(0, 1)->setText("55");
        w->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    EXPECT_TRUE(SetupPlayerCharacter(app, view, &session));
    EXPECT_EQ(app.player().age, 30);
    EXPECT_EQ(app.player().skills[0].value, 55);
    EXPECT_EQ(app.player().skills[0].name.str(), "Small Guns");
}

} // namespace
} // namespace zev
