// The script variable manager, the parameter input, the custom procedure editor and the node code
// editor over their models: every control named for screen readers, and the user's typing and
// clicks reaching the model.
#include "gui_support.h"
#include "support/temp_dir.h"

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

// Readable failures: gtest prints a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace zev {
namespace {

QWidget* Named(QWidget* root, const char* name)
{
    for (QWidget* w : root->findChildren<QWidget*>())
        if (w->accessibleName() == QString::fromUtf8(name))
            return w;
    return nullptr;
}

void ExpectNamed(QWidget* root, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        EXPECT_TRUE(Named(root, name)) << "no control named '" << name << "'";
}

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

} // namespace
} // namespace zev
