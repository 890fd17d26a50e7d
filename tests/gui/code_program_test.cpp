// The code windows inside the whole desktop program: a custom procedure written from a shipped
// preset through the parameter input and linked to from an option, and node code typed with the
// completion list and the parameter hint; the saved file read back holds both.

#include "gui_support.h"
#include "named_controls.h"
#include "program_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include "app/dialogue_files.h"
#include "desktop/gui/desktop_program.h"
#include "desktop/gui/main_window.h"
#include "editors/gui/code_editor.h"
#include "editors/gui/custom_proc_editor_window.h"
#include "editors/gui/dialogue_editor_window.h"
#include "editors/gui/node_code_editor_window.h"
#include "editors/gui/node_dialog_window.h"
#include "editors/gui/option_dialog_window.h"
#include "editors/gui/parameter_input_window.h"
#include "model/dialog_ops.h"

namespace zev {
namespace {

using test::Control;
using test::Row;

class CodeProgram : public test::ProgramTest {
protected:
    // The node dialog on a node of the Dialogue Editor, opened from the main menu.
    void EditNode(const char* name, std::function<void(NodeDialog*)> act)
    {
        test::WhenModal<DialogueEditorWindow>([&](DialogueEditorWindow* editor) {
            test::WhenModal<NodeDialog>(act);
            editor->nodeList()->setCurrentItem(Row(editor->nodeList(), name));
            editor->button(DialogueEditorModel::Button::Edit)->click();
            Control<QPushButton>(editor, "Exit")->click();
        });
        ASSERT_TRUE(program->window().Trigger(MenuCommand::DialogueEditor));
    }

    const dialog& SaveAndReadBack(App& reread)
    {
        const std::string saved = dir.File("dialogue/coded.zev");
        dialogs.PushText(saved);
        EXPECT_TRUE(program->window().Trigger(MenuCommand::SaveDialogueAs));
        DialogueReadReport report = ReadDialogueFile(reread, saved);
        EXPECT_TRUE(report.Ok()) << report.errorText;
        return reread.dlg();
    }
};

TEST_F(CodeProgram, AProcedureGeneratedFromAPresetIsLinkedFromAnOptionAndSaved)
{
    const int procs = d().custom_proc_count;
    test::WhenModal<CustomProcEditorWindow>([&](CustomProcEditorWindow* w) {
        QTest::keyClicks(w->nameField(), "PayUp");
        w->addButton()->click();
        ASSERT_EQ(w->procedureList()->count(), procs + 1);
        w->procedureList()->setCurrentRow(procs);
        QComboBox* presets = w->presetBox();
        presets->setCurrentIndex(presets->findText("Take money from the player if there is enough"));
        ASSERT_GE(presets->currentIndex(), 0);
        // Price, then the node when the player can pay, then the one when not.
        test::WhenModal<ParameterInputWindow>([](ParameterInputWindow* p) {
            EXPECT_EQ(p->mainButton()->text().remove('&'), "Next parameter");
            p->spin()->setValue(25);
            p->mainButton()->click();
            p->nodeBox()->setCurrentIndex(p->nodeBox()->findText("Wares"));
            EXPECT_FALSE(p->previewMemo()->toPlainText().isEmpty());
            p->mainButton()->click();
            EXPECT_EQ(p->mainButton()->text().remove('&'), "OK");
            p->nodeBox()->setCurrentIndex(p->nodeBox()->findText("Start"));
            p->mainButton()->click();
        });
        w->generateButton()->click();
        const std::string code = w->codeEditor()->Code();
        EXPECT_NE(code.find("25"), std::string::npos) << code;
        EXPECT_NE(code.find("call Wares;"), std::string::npos) << code;
        EXPECT_NE(code.find("call Start;"), std::string::npos) << code;
        EXPECT_EQ(code.find('%'), std::string::npos) << code;
        w->okButton()->click();
    });
    ASSERT_TRUE(program->window().Trigger(MenuCommand::CustomProcedures));
    ASSERT_EQ(d().custom_proc_count, procs + 1);
    EXPECT_EQ(d().custom_procs[procs]->associate_node, -1);

    // An option of "Start" links to it; the option dialog's own button opens the editor on "Start".
    EditNode("Start", [](NodeDialog* node) {
        test::WhenModal<OptionDialog>([](OptionDialog* option) {
            QTest::keyClicks(option->textMemo(), "Here are your caps.");
            test::WhenModal<CustomProcEditorWindow>([](CustomProcEditorWindow* w) {
                EXPECT_EQ(w->nodeBox()->currentText(), "Start");
                w->reject();
            });
            Control<QPushButton>(option, "Custom procedures")->click();
            option->newNodeCheck()->click();
            Control<QRadioButton>(option, "Link to procedure")->click();
            QComboBox* picker = Control<QComboBox>(option, "Link to procedure");
            picker->setCurrentIndex(picker->findText("PayUp"));
            option->okButton()->click();
        });
        Control<QPushButton>(node, "Add option")->click();
        node->okButton()->click();
    });

    ScriptedDialogs quiet;
    App reread(quiet, dir.path());
    const dialog& r = SaveAndReadBack(reread);
    ASSERT_EQ(r.custom_proc_count, procs + 1);
    EXPECT_EQ(r.custom_procs[procs]->name, "PayUp");
    EXPECT_EQ(r.custom_procs[procs]->code, d().custom_procs[procs]->code);
    EXPECT_NE(r.custom_procs[procs]->code.str().find("call Wares;"), std::string::npos);
    const dlgnode* start = r.nodes[FindNodeIndex(r, "Start")];
    const option* last = start->options[start->option_count - 1];
    EXPECT_EQ(last->text, "Here are your caps.");
    EXPECT_EQ(last->link_target, "PayUp");
}

TEST_F(CodeProgram, NodeCodeTypedWithTheCompletionListAndTheParameterHint)
{
    EditNode("Wares", [](NodeDialog* node) {
        test::WhenModal<NodeCodeEditorWindow>([](NodeCodeEditorWindow* w) {
            CodeEditor* code = w->codeEditor();
            code->SetCode({});
            code->setFocus();
            QTest::keyClicks(code, "give_e");
            QTest::keyClick(code, Qt::Key_Space, Qt::ControlModifier);
            QTRY_VERIFY(code->completionPopup() && code->completionPopup()->isVisible());
            EXPECT_EQ(code->completionEntries(), QStringList { "give_exp_points (integer points)" });
            QTest::keyClick(code, Qt::Key_Return);
            QTest::keyClicks(code, "(");
            QTRY_VERIFY_WITH_TIMEOUT(code->hintPopup() && code->hintPopup()->isVisible(), 3000);
            EXPECT_EQ(code->hintText(), "points: integer");
            QTest::keyClicks(code, "100);");
            w->okButton()->click();
        });
        Control<QPushButton>(node, "Custom code")->click();
        node->okButton()->click();
    });
    const dlgnode* wares = d().nodes[FindNodeIndex(d(), "Wares")];
    EXPECT_EQ(wares->custom_code, "give_exp_points(100);");
    EXPECT_TRUE(bench->app().modified());

    ScriptedDialogs quiet;
    App reread(quiet, dir.path());
    const dialog& r = SaveAndReadBack(reread);
    // The reader ends every code line with a line break.
    EXPECT_EQ(r.nodes[FindNodeIndex(r, "Wares")]->custom_code, "give_exp_points(100);\r\n");
}

} // namespace
} // namespace zev
