// The script variable manager, the parameter input, the custom procedure editor and the node code
// editor over their models: every control named for screen readers, and the user's typing and
// clicks reaching the model.
#include "gui_support.h"
#include "named_controls.h"
#include "support/temp_dir.h"

#include "editors/gui/code_editor.h"
#include "editors/gui/custom_proc_editor_window.h"
#include "editors/gui/node_code_editor_window.h"
#include "editors/gui/parameter_input_window.h"
#include "editors/gui/script_variables_window.h"
#include "model/dialog_ops.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>

namespace zev {
namespace {

using test::ExpectNamed;
using test::Named;

struct CodeWindowsTest : test::GuiTest {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    DefinitionTable definitions;
    ParameterInputModel params { app, definitions };
    ParameterInputWindow paramWindow { params, TextEncoding::Cp1252 };

    CodeWindowsTest()
    {
        AddNode(d(), "Start")->npc_text = "Welcome, stranger.";
        AddNode(d(), "Shop")->npc_text = "Take a look.";
    }
    dialog& d() { return app.dlg(); }
    static CodeSnippet Preset(std::string code, std::vector<std::pair<int32_t, std::string>> ps)
    {
        CodeSnippet s;
        s.name = s.desc = "preset";
        s.code = std::move(code);
        for (auto& [type, name] : ps)
            s.params[static_cast<std::size_t>(s.param_count++)] = { type, name, "Give " + name };
        return s;
    }
};

TEST_F(CodeWindowsTest, VariableManagerAddsWhatIsTypedAndLoadsASelectedRow)
{
    ScriptVariablesModel model(app);
    ScriptVariablesWindow w(model, TextEncoding::Cp1252);
    test::WhenModal<ScriptVariablesWindow>([&](ScriptVariablesWindow* win) {
        EXPECT_EQ(win->windowTitle(), "Script variable manager");
        ExpectNamed(win,
            { "Variable name", "Variable flags", "Has default value", "Variable type", "Initialization value", "Notes",
                "Add", "Delete", "Apply", "Move Up", "Move Down", "Rearrange", "OK", "Cancel" });
        EXPECT_EQ(win->variableList()->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_FALSE(win->applyButton()->isEnabled());
        QTest::keyClicks(win->nameField(), "gold");
        win->scopeBox()->setCurrentIndex(3);
        win->hasDefaultCheck()->click();
        win->typeBox()->setCurrentIndex(1);
        QTest::keyClicks(win->valueField(), "250");
        QTest::keyClicks(win->notesMemo(), "carried");
        win->addButton()->click();
        ASSERT_EQ(win->variableList()->topLevelItemCount(), 1);
        const QTreeWidgetItem* row = win->variableList()->topLevelItem(0);
        EXPECT_EQ(row->text(0), "[local] gold");
        EXPECT_EQ(row->text(1), "integer");
        EXPECT_EQ(row->text(2), "250");
        EXPECT_EQ(win->nameField()->text(), "") << "the fields are cleared after Add";

        win->variableList()->setCurrentItem(win->variableList()->topLevelItem(0));
        EXPECT_TRUE(win->applyButton()->isEnabled());
        EXPECT_EQ(win->nameField()->text(), "gold");
        EXPECT_EQ(win->typeBox()->currentText(), "Integer");
        EXPECT_EQ(win->notesMemo()->toPlainText(), "carried");
        win->hasDefaultCheck()->click(); // unchecked: no type
        EXPECT_EQ(win->typeBox()->currentIndex(), -1);
        EXPECT_EQ(win->typeBox()->placeholderText(), "<none>");
        win->okButton()->click();
    });
    EXPECT_TRUE(model.Open(&w));
    ASSERT_EQ(d().variable_count, 1);
    EXPECT_EQ(d().variables[0]->value.AsInt(), 250);
    EXPECT_EQ(d().variables[0]->scope, SCOPE_LOCAL);
}

TEST_F(CodeWindowsTest, ParameterInputPagesThroughTheParameters)
{
    const CodeSnippet s
        = Preset("call %n%; // %b% %s%", { { PARAM_NODE, "n" }, { PARAM_BOOLEAN, "b" }, { PARAM_STRING, "s" } });
    test::WhenModal<ParameterInputWindow>([&](ParameterInputWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Parameter Input window");
        EXPECT_EQ(w->promptLabel()->text(), "Give n");
        EXPECT_EQ(w->pages()->currentWidget()->objectName(), "nodePage");
        ExpectNamed(w, { "Select a node", "Node text preview", "Next parameter", "Cancel" });
        EXPECT_EQ(w->nodeBox()->count(), 2);
        EXPECT_EQ(w->previewMemo()->toPlainText(), "Welcome, stranger.");
        w->nodeBox()->setCurrentIndex(1);
        EXPECT_EQ(w->previewMemo()->toPlainText(), "Take a look.");
        w->mainButton()->click();

        EXPECT_EQ(w->pages()->currentWidget(), w->list()->parentWidget());
        EXPECT_EQ(w->list()->accessibleName(), "Set boolean value");
        EXPECT_EQ(w->list()->count(), 2);
        w->list()->setCurrentRow(1);
        w->mainButton()->click();

        EXPECT_EQ(w->mainButton()->text(), "OK");
        QTest::keyClicks(w->memo(), "a");
        QTest::keyClick(w->memo(), Qt::Key_Return);
        QTest::keyClicks(w->memo(), "b");
        w->mainButton()->click();
    });
    EXPECT_EQ(params.Run(s, &paramWindow), "call Shop; // True a\\nb");
}

TEST_F(CodeWindowsTest, ParameterInputKeepsAPageWithNothingChosen)
{
    IncEntry pid;
    pid.name = "PID_SPEAR";
    definitions.Add(pid);
    const CodeSnippet s = Preset("%p% %i%", { { PARAM_PID, "p" }, { PARAM_INTEGER, "i" } });
    test::WhenModal<ParameterInputWindow>([&](ParameterInputWindow* w) {
        EXPECT_EQ(w->list()->accessibleName(), "Select data");
        w->mainButton()->click();
        ASSERT_TRUE(dialogs.Last());
        EXPECT_EQ(dialogs.Last()->text, "No PID selected!");
        EXPECT_EQ(w->list()->count(), 1) << "the page stays";
        w->list()->setCurrentRow(0);
        w->mainButton()->click();
        EXPECT_EQ(w->pages()->currentWidget(), w->spin()->parentWidget());
        w->spin()->setValue(42);
        w->mainButton()->click();
    });
    EXPECT_EQ(params.Run(s, &paramWindow), "PID_SPEAR 42");
}

// The parameter window's answer to the next preset: row `row` of its first page, then its button.
void AnswerParameters(int row)
{
    test::WhenModal<ParameterInputWindow>([row](ParameterInputWindow* p) {
        if (p->pages()->currentWidget() == p->list()->parentWidget())
            p->list()->setCurrentRow(row);
        else
            p->nodeBox()->setCurrentIndex(row);
        p->mainButton()->click();
    });
}

TEST_F(CodeWindowsTest, CustomProcedureEditorAddsStoresAndGenerates)
{
    CodeSnippetTable presets;
    CodeSnippet go = Preset("call %n%;\r\n", { { PARAM_NODE, "n" } });
    go.desc = "Continue at another node";
    presets.Add(go);
    CompletionLists lists;
    CustomProcEditorModel model(app, presets, params);
    model.SetParameterInputView(&paramWindow);
    CustomProcEditorWindow w(model, TextEncoding::Cp1252, &lists, &definitions);
    test::WhenModal<CustomProcEditorWindow>([&](CustomProcEditorWindow* win) {
        EXPECT_EQ(win->windowTitle(), "Custom procedure editor");
        ExpectNamed(win,
            { "Procedure list", "Procedure name", "Associate with node", "Code", "Generate code from template",
                "Generate", "Add", "Delete", "OK", "Cancel" });
        EXPECT_TRUE(win->generateButton()->toolTip().startsWith("This button will invoke the parameter input"));
        EXPECT_EQ(win->nodeBox()->currentText(), "Shop") << "opened from the option dialog on Shop";
        QTest::keyClicks(win->nameField(), "Pay");
        win->codeEditor()->setFocus();
        QTest::keyClicks(win->codeEditor(), "x := 1;");
        win->addButton()->click();
        ASSERT_EQ(win->procedureList()->count(), 1);
        EXPECT_EQ(win->procedureList()->item(0)->text(), "Pay");
        EXPECT_EQ(win->codeEditor()->Code(), "") << "the editor is cleared after Add";

        win->procedureList()->setCurrentRow(0);
        EXPECT_EQ(win->nameField()->text(), "Pay");
        EXPECT_EQ(win->codeEditor()->Code(), "x := 1;\r\n");
        win->presetBox()->setCurrentIndex(0);
        AnswerParameters(0);
        win->generateButton()->click();
        EXPECT_EQ(win->codeEditor()->Code(), "call Start;\r\n");
        // A press below the rows stores the edits into the procedure and selects none.
        const QRect below = win->procedureList()->viewport()->rect().adjusted(0, 0, 0, -2);
        QTest::mouseClick(win->procedureList()->viewport(), Qt::LeftButton, {}, below.bottomLeft() + QPoint(4, 0));
        EXPECT_EQ(d().custom_procs[0]->code, "call Start;\r\n");
        EXPECT_TRUE(win->procedureList()->selectedItems().isEmpty());
        EXPECT_EQ(win->nameField()->text(), "");
        win->okButton()->click();
    });
    EXPECT_TRUE(model.Run(&w, CustomProcEditorModel::kFromOptionDialog, 1));
    ASSERT_EQ(d().custom_proc_count, 1);
    EXPECT_EQ(d().custom_procs[0]->name, "Pay");
    EXPECT_EQ(d().custom_procs[0]->associate_node, 1);
}

TEST_F(CodeWindowsTest, NodeCodeEditorCreatesFromAPresetAndGivesTheTextWithoutItsFinalBreak)
{
    CodeSnippetTable presets;
    presets.Add(Preset("set_flag(%b%);\r\n", { { PARAM_BOOLEAN, "b" } }));
    CompletionLists lists;
    NodeCodeEditorModel model(app, presets, params);
    model.SetParameterInputView(&paramWindow);
    NodeCodeEditorWindow w(model, TextEncoding::Cp1252, &lists, &definitions);
    test::WhenModal<NodeCodeEditorWindow>([&](NodeCodeEditorWindow* win) {
        EXPECT_EQ(win->windowTitle(), "Node-specific code editor");
        ExpectNamed(win, { "Code", "Generate code from template", "Create", "OK", "Cancel" });
        auto* explanation = win->findChild<QLabel*>("explanation");
        ASSERT_TRUE(explanation);
        EXPECT_TRUE(explanation->text().startsWith("This code will be inserted to the beginning"));
        EXPECT_EQ(win->codeEditor()->Code(), "old();\r\n");
        win->createButton()->click(); // no preset chosen: nothing
        EXPECT_EQ(win->codeEditor()->Code(), "old();\r\n");
        win->presetBox()->setCurrentIndex(0);
        AnswerParameters(1);
        win->createButton()->click();
        EXPECT_EQ(win->codeEditor()->Code(), "set_flag(True);\r\n");
        win->okButton()->click();
    });
    EXPECT_EQ(model.Run(&w, "old();"), "set_flag(True);");
    // Untouched, the node's code comes back byte for byte.
    test::WhenModal<NodeCodeEditorWindow>([](NodeCodeEditorWindow* win) { win->okButton()->click(); });
    EXPECT_EQ(model.Run(&w, "a;\r\n\r\nb;"), "a;\r\n\r\nb;");
}

} // namespace
} // namespace zev
