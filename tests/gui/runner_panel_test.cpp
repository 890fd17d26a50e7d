#include "gui_support.h"
#include "runner/runner_fixture.h"

#include "desktop/gui/main_window.h"
#include "runner/gui/run_panel.h"
#include "runner/gui/transcript_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeWidget>

namespace zev {
namespace {

using test::MakeNode;
using test::MakeOption;

struct RunPanelTest : test::RunnerFixture {
    RunPanelTest() { test::GuiApp(); }

    // Start -> Shop (or done); Shop -> Start.
    void TwoNodes()
    {
        dlgnode* start = MakeNode(d(), "Start", "Welcome, <PC>.");
        start->notes = "greeting";
        MakeOption(*start, "Show me your wares", "Shop", "the shop path");
        MakeOption(*start, "Bye", "done");
        dlgnode* shop = MakeNode(d(), "Shop", "Take a look.");
        MakeOption(*shop, "Back", "Start");
        ResolveLinks(d());
        app.RefreshEditorLists();
    }

    QPushButton* Button(const RunPanelWidget& w, const char* name) { return w.findChild<QPushButton*>(name); }
    QString Box(const RunPanelWidget& w, const char* name) { return w.findChild<QPlainTextEdit*>(name)->toPlainText(); }
    QStringList Row(const QTreeWidget* list, int row)
    {
        QTreeWidgetItem* item = list->topLevelItem(row);
        return { item->text(0), item->text(1), item->text(2) };
    }
    void Click(QTreeWidget* list, int row, bool twice)
    {
        QRect r = list->visualItemRect(list->topLevelItem(row));
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
        else
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    }
};

TEST_F(RunPanelTest, IdlePanelShowsTheModelsCaptionsAndStartNodes)
{
    TwoNodes();
    RunPanelWidget panel(runner, TextEncoding::Cp1252);
    QStringList items;
    for (int i = 0; i < panel.startNodeBox()->count(); ++i)
        items << panel.startNodeBox()->itemText(i);
    EXPECT_EQ(items, (QStringList { "Start", "Shop" }));
    EXPECT_EQ(panel.startNodeBox()->currentText(), "Start");
    EXPECT_TRUE(panel.startNodeBox()->isEditable());
    EXPECT_EQ(Button(panel, "runButton")->text(), "Run dialogue");
    EXPECT_TRUE(Button(panel, "runButton")->isEnabled());
    EXPECT_FALSE(Button(panel, "stopButton")->isEnabled());
    EXPECT_FALSE(Button(panel, "backButton")->isEnabled());
    EXPECT_FALSE(Button(panel, "forwardButton")->isEnabled());
    EXPECT_TRUE(Button(panel, "editButton")->isHidden());
    EXPECT_TRUE(panel.findChild<QLineEdit*>("nodelabel")->isHidden());
    QTreeWidget* options = panel.optionList();
    EXPECT_EQ(options->headerItem()->text(0), "Index");
    EXPECT_EQ(options->headerItem()->text(1), "Option text");
    EXPECT_EQ(options->headerItem()->text(2), "Target node");

    // Typing a name reaches the model; the redraw keeps what was typed.
    panel.startNodeBox()->setEditText("Sh");
    EXPECT_EQ(runner.panel().startNodeText, "Sh");
    EXPECT_EQ(panel.startNodeBox()->currentText(), "Sh");
}

TEST_F(RunPanelTest, RunShowsTheNodeAndClicksMoveTheRun)
{
    TwoNodes();
    RunPanelWidget panel(runner, TextEncoding::Cp1252);
    panel.resize(900, 600);
    panel.show();
    QTest::mouseClick(Button(panel, "runButton"), Qt::LeftButton);
    ASSERT_TRUE(runner.running());
    EXPECT_FALSE(Button(panel, "runButton")->isEnabled());
    EXPECT_TRUE(Button(panel, "stopButton")->isEnabled());
    EXPECT_TRUE(panel.findChild<QLabel*>("currentNodeCaption")->isVisible());
    EXPECT_EQ(panel.findChild<QLineEdit*>("nodelabel")->text(), "Start");
    EXPECT_EQ(Box(panel, "npcLine"), "Welcome, Vic.");
    EXPECT_EQ(Box(panel, "nodeNotes"), "greeting");
    // No node editor yet: shown, but disabled and saying why.
    QPushButton* edit = Button(panel, "editButton");
    EXPECT_TRUE(edit->isVisible());
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(edit->toolTip(), "Not available yet.");

    QTreeWidget* options = panel.optionList();
    ASSERT_EQ(options->topLevelItemCount(), 2);
    EXPECT_EQ(Row(options, 0), (QStringList { "0", "Show me your wares", "Shop" }));
    EXPECT_EQ(Row(options, 1), (QStringList { "1", "Bye", "done" }));

    Click(options, 0, false);
    EXPECT_EQ(Box(panel, "optionNotes"), "Leads to node Shop\nthe shop path");
    EXPECT_EQ(options->currentItem(), options->topLevelItem(0)) << "a description keeps the row selected";

    Click(options, 0, true);
    EXPECT_EQ(runner.currentNodeIndex(), 1);
    EXPECT_EQ(panel.findChild<QLineEdit*>("nodelabel")->text(), "Shop");
    EXPECT_EQ(Box(panel, "npcLine"), "Take a look.");
    ASSERT_EQ(options->topLevelItemCount(), 1);
    EXPECT_EQ(Row(options, 0), (QStringList { "0", "Back", "Start" }));
    EXPECT_TRUE(Button(panel, "backButton")->isEnabled());

    QTest::mouseClick(Button(panel, "backButton"), Qt::LeftButton);
    EXPECT_EQ(runner.currentNodeIndex(), 0);
    EXPECT_TRUE(Button(panel, "forwardButton")->isEnabled());
    QTest::mouseClick(Button(panel, "forwardButton"), Qt::LeftButton);
    EXPECT_EQ(runner.currentNodeIndex(), 1);

    QTest::mouseClick(Button(panel, "stopButton"), Qt::LeftButton);
    EXPECT_FALSE(runner.running());
    EXPECT_EQ(options->topLevelItemCount(), 0);
    EXPECT_TRUE(Box(panel, "npcLine").isEmpty());
    EXPECT_TRUE(Button(panel, "editButton")->isHidden());
    EXPECT_EQ(runner.transcripts().list().size(), 1u);
}

TEST_F(RunPanelTest, HiddenOptionsAndEditorAvailability)
{
    dlgnode* n = MakeNode(d(), "Gate", "Halt.");
    option* o = MakeOption(*n, "Sneak past", "done");
    o->intelligence = 10; // out of reach of the default character's 5
    MakeOption(*n, "Leave", "done");
    ResolveLinks(d());
    app.RefreshEditorLists();
    RunPanelWidget panel(runner, TextEncoding::Cp1252);
    runner.StartTestRun();
    ASSERT_EQ(panel.optionList()->topLevelItemCount(), 1);
    EXPECT_EQ(Row(panel.optionList(), 0), (QStringList { "1", "Leave", "done" }));
    EXPECT_EQ(panel.findChild<QLabel*>("hiddenopts")->text(), "There are 1 hidden player options.");
    EXPECT_TRUE(panel.findChild<QLabel*>("hiddenopts")->font().bold());

    panel.SetNodeEditorAvailable(true);
    EXPECT_TRUE(Button(panel, "editButton")->isEnabled());
    EXPECT_TRUE(Button(panel, "editButton")->toolTip().isEmpty());
}

TEST_F(RunPanelTest, StoppedRunShowsItsFormattedTranscript)
{
    TwoNodes();
    d().npc_name = "Marta";
    RunPanelWidget panel(runner, TextEncoding::Cp1252);
    TranscriptWindow window(runner.transcriptWindow(), TextEncoding::Cp1252);
    runner.StartTestRun();
    runner.ChooseOption(0);
    runner.StopTestRun();
    ASSERT_TRUE(window.isVisible()) << "ShowLastDialogue is on by default";
    QTextDocument* doc = window.textBox()->document();
    ASSERT_EQ(doc->blockCount(), 3);
    EXPECT_EQ(doc->findBlockByNumber(0).text(), "Marta: (Start) Welcome, Vic.");
    EXPECT_EQ(doc->findBlockByNumber(1).text(), "Vic: Show me your wares");
    // The NPC's name: bold Arial, dark green.
    QTextCursor c(doc->findBlockByNumber(0));
    c.movePosition(QTextCursor::NextCharacter);
    EXPECT_TRUE(c.charFormat().font().bold());
    EXPECT_EQ(c.charFormat().fontFamilies().toStringList(), QStringList { "Arial" });
    EXPECT_EQ(c.charFormat().foreground().color(), QColor(0x11, 0x22, 0x11));
    // The player's text: regular Tahoma, blue.
    QTextCursor p(doc->findBlockByNumber(1));
    p.movePosition(QTextCursor::EndOfBlock);
    EXPECT_FALSE(p.charFormat().font().bold());
    EXPECT_EQ(p.charFormat().fontFamilies().toStringList(), QStringList { "Tahoma" });
    EXPECT_EQ(p.charFormat().foreground().color(), QColor(0x21, 0x00, 0xCA));

    window.findChild<QPushButton*>("okButton")->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(runner.transcriptWindow().visible());
    runner.transcriptWindow().ShowTranscriptInWindow(0);
    EXPECT_TRUE(window.isVisible());
    window.reject(); // the title bar's close is Ok too
    EXPECT_FALSE(runner.transcriptWindow().visible());
}

TEST_F(RunPanelTest, MainWindowKeepsWorkingWithThePanelInTheCentre)
{
    MainMenuModel menus;
    MainWindow window(app, menus);
    auto* panel = new RunPanelWidget(runner, TextEncoding::Cp1252);
    window.setCentralWidget(panel); // the placeholder is gone now
    app.SetTitle(App::TitleFor("/tmp/guard.zev"));
    EXPECT_EQ(window.windowTitle(), "ZEV Dialogue Tool - [/tmp/guard.zev]");
    EXPECT_EQ(window.centralWidget(), panel);
}

} // namespace
} // namespace zev
