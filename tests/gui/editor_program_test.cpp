// The whole desktop program as a designer edits with it: the Dialogue Editor from the menu, a node
// added through the node dialog, an option linking to it through the option dialog, a rename in
// place, a clone, a deletion, then Save as; the saved file read back checks every change.

#include "gui_support.h"
#include "named_controls.h"
#include "program_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

#include "app/dialogue_files.h"
#include "desktop/gui/desktop_program.h"
#include "desktop/gui/main_window.h"
#include "editors/gui/dialogue_editor_window.h"
#include "editors/gui/node_dialog_window.h"
#include "editors/gui/option_dialog_window.h"
#include "model/dialog_ops.h"

namespace zev {
namespace {

using test::Control;
using test::Row;

using EditorProgram = test::ProgramTest;

TEST_F(EditorProgram, ADesignerEditsTheSampleAndTheSavedFileHoldsEveryChange)
{
    ASSERT_EQ(d().node_count, 12);
    const int starts = d().nodes[FindNodeIndex(d(), "Start")]->option_count;

    test::WhenModal<DialogueEditorWindow>([&](DialogueEditorWindow* editor) {
        QTreeWidget* nodes = editor->nodeList();
        EXPECT_EQ(nodes->topLevelItemCount(), 12);

        // Add: a node through the node dialog, with an option to "Start" through the option dialog.
        test::WhenModal<NodeDialog>([&](NodeDialog* node) {
            QTest::keyClicks(node->nameField(), "Gatehouse");
            QTest::keyClicks(node->npcTextMemo(), "Who goes there?");
            test::WhenModal<OptionDialog>([&](OptionDialog* option) {
                QTest::keyClicks(option->textMemo(), "Take me to the trader.");
                option->newNodeCheck()->click(); // off: the link kinds show
                Control<QRadioButton>(option, "Link to node")->click();
                QComboBox* picker = Control<QComboBox>(option, "Link to node");
                picker->setCurrentIndex(picker->findText("Start"));
                EXPECT_TRUE(option->preview()->isVisible());
                option->okButton()->click();
            });
            Control<QPushButton>(node, "Add option")->click();
            EXPECT_EQ(node->optionList()->topLevelItemCount(), 1);
            node->okButton()->click();
        });
        editor->button(DialogueEditorModel::Button::Add)->click();
        ASSERT_EQ(nodes->topLevelItemCount(), 13);

        // Rename in place: "Gatehouse" becomes "Gate".
        QTreeWidgetItem* added = Row(nodes, "Gatehouse");
        ASSERT_NE(added, nullptr);
        added->setText(0, "Gate");
        QCoreApplication::processEvents(); // the rename runs once the cell's editor has closed
        EXPECT_NE(Row(nodes, "Gate"), nullptr);
        EXPECT_EQ(Row(nodes, "Gatehouse"), nullptr);

        // Clone "Start", delete "Threat".
        nodes->setCurrentItem(Row(nodes, "Start"));
        editor->button(DialogueEditorModel::Button::Clone)->click();
        EXPECT_NE(Row(nodes, "Copy_of_Start"), nullptr);
        nodes->setCurrentItem(Row(nodes, "Threat"));
        editor->button(DialogueEditorModel::Button::Delete)->click();
        EXPECT_EQ(Row(nodes, "Threat"), nullptr);
        Control<QPushButton>(editor, "Exit")->click();
    });
    ASSERT_TRUE(program->window().Trigger(MenuCommand::DialogueEditor));
    EXPECT_EQ(program->window().windowTitle().toStdString().back(), ']');
    EXPECT_TRUE(bench->app().modified());

    const std::string saved = dir.File("dialogue/edited.zev");
    dialogs.PushText(saved);
    ASSERT_TRUE(program->window().Trigger(MenuCommand::SaveDialogueAs));

    // Read back with the dialogue reader.
    ScriptedDialogs quiet;
    App reread(quiet, dir.path());
    DialogueReadReport report = ReadDialogueFile(reread, saved);
    ASSERT_TRUE(report.Ok()) << report.errorText;
    const dialog& r = reread.dlg();
    EXPECT_EQ(r.node_count, 13);
    EXPECT_LT(FindNodeIndex(r, "Threat"), 0);
    EXPECT_LT(FindNodeIndex(r, "Gatehouse"), 0);
    const int gate = FindNodeIndex(r, "Gate");
    ASSERT_GE(gate, 0);
    EXPECT_EQ(r.nodes[gate]->npc_text, "Who goes there?");
    ASSERT_EQ(r.nodes[gate]->option_count, 1);
    EXPECT_EQ(r.nodes[gate]->options[0]->text, "Take me to the trader.");
    EXPECT_EQ(r.nodes[gate]->options[0]->link_target, "Start");
    EXPECT_EQ(r.nodes[gate]->options[0]->intelligence, bench->app().settings().defaultIntForSmartPlayer);
    const int copy = FindNodeIndex(r, "Copy_of_Start");
    ASSERT_GE(copy, 0);
    EXPECT_EQ(r.nodes[copy]->option_count, starts);
    EXPECT_EQ(r.nodes[copy]->npc_text, r.nodes[FindNodeIndex(r, "Start")]->npc_text);
}

TEST_F(EditorProgram, EditThisNodeDuringARunOpensTheNodeDialogAndShowsTheChange)
{
    program->runner().SetStartNodeText("Start");
    program->runner().StartTestRun();
    ASSERT_TRUE(program->runner().running());
    test::WhenModal<NodeDialog>([](NodeDialog* node) {
        EXPECT_EQ(node->nameField()->text(), "Start");
        node->npcTextMemo()->selectAll();
        QTest::keyClicks(node->npcTextMemo(), "Welcome back.");
        node->okButton()->click();
    });
    program->runner().EditThisNode();
    EXPECT_EQ(program->runner().panel().npcLine, "Welcome back.");
    EXPECT_TRUE(bench->app().modified());
}

TEST_F(EditorProgram, TheScriptFunctionsEditNodeAndEditPlayerOptionOpenTheDialogs)
{
    test::WhenModal<NodeDialog>([](NodeDialog* node) {
        EXPECT_EQ(node->nameField()->text(), "Wares");
        node->reject();
    });
    EXPECT_TRUE(program->scripts().ExecuteScriptConsole("EditNode('Wares');"));
    test::WhenModal<OptionDialog>([](OptionDialog* option) {
        EXPECT_EQ(option->windowTitle(), "Edit playeroption");
        option->textMemo()->selectAll();
        QTest::keyClicks(option->textMemo(), "Changed by hand.");
        option->okButton()->click();
    });
    EXPECT_TRUE(program->scripts().ExecuteScriptConsole("EditPlayerOption('Wares', 0);"));
    EXPECT_EQ(d().nodes[FindNodeIndex(d(), "Wares")]->options[0]->text, "Changed by hand.");
}

} // namespace
} // namespace zev
