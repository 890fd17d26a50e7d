// The Dialogue Editor, the node dialog and the player option dialog over their models: every
// control named for screen readers, and the user's clicks and keys reaching the model.
#include "gui_support.h"
#include "named_controls.h"
#include "runner/runner_fixture.h"

#include "editors/editor_windows.h"
#include "editors/gui/dialogue_editor_window.h"
#include "editors/gui/node_dialog_window.h"
#include "editors/gui/option_dialog_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

namespace zev {
namespace {

using test::ExpectNamed;
using test::Named;

using test::MakeNode;
using test::MakeOption;
using Button = DialogueEditorModel::Button;

// The named controls Tab visits from the window's start, in order.
QStringList TabOrder(QWidget* window)
{
    QStringList names;
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window)
            && !w->accessibleName().isEmpty())
            names << w->accessibleName();
    return names;
}

// Every Alt+letter of the window's captions once at most.
void ExpectDistinctMnemonics(QWidget* window)
{
    QMap<QChar, QString> taken;
    QStringList captions;
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
        captions << b->text();
    for (QLabel* l : window->findChildren<QLabel*>())
        captions << l->text();
    for (const QString& caption : captions) {
        const qsizetype at = caption.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        if (at < 0)
            continue;
        const QChar letter = caption[at + 1].toLower();
        EXPECT_FALSE(taken.contains(letter))
            << "Alt+" << QString(letter).toStdString() << " in '" << caption.toStdString() << "' and '"
            << taken.value(letter).toStdString() << "'";
        taken.insert(letter, caption);
    }
}

void Settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// Start -> Shop, Start -> done, Shop -> Start, and Bye: a dialogue with every window wired.
struct EditorWindowsTest : test::GuiTest {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    EditorWindows editors { app };
    OptionDialog optionWindow { editors.optionDialog(), TextEncoding::Cp1252 };
    NodeDialog nodeWindow { editors.nodeDialog(), TextEncoding::Cp1252 };
    DialogueEditorWindow editorWindow { editors.dialogueEditor(), TextEncoding::Cp1252 };
    DialogueEditorModel& editor = editors.dialogueEditor();

    EditorWindowsTest()
    {
        editors.SetViews(&editorWindow, &nodeWindow, &optionWindow);
        app.SetWindows(&editors);
        dlgnode* start = MakeNode(d(), "Start", "Welcome.");
        MakeOption(*start, "Show me your wares", "Shop", "the shop path");
        MakeOption(*start, "Bye", "done");
        MakeOption(*MakeNode(d(), "Shop", "Take a look."), "Back", "Start");
        MakeNode(d(), "Bye", "");
        ResolveLinks(d());
        app.RefreshEditorLists();
    }
    ~EditorWindowsTest() override { app.SetWindows(nullptr); }

    dialog& d() { return app.dlg(); }
    QStringList ListNames() const
    {
        QStringList names;
        for (int i = 0; i < editorWindow.nodeList()->topLevelItemCount(); ++i)
            names << editorWindow.nodeList()->topLevelItem(i)->text(0);
        return names;
    }
    void StartRename(int row)
    {
        QTreeWidget* list = editorWindow.nodeList();
        list->setCurrentItem(list->topLevelItem(row));
        QTest::keyClick(list, Qt::Key_F2);
    }
    void TypeIntoEditor(const QString& text)
    {
        auto* field = editorWindow.nodeList()->viewport()->findChild<QLineEdit*>();
        ASSERT_TRUE(field) << "F2 opened no editor";
        field->selectAll();
        QTest::keyClicks(field, text);
        // The Enter that commits the name must not also edit the node: a dialog opening fails.
        QTimer guard;
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << modal->windowTitle().toStdString() << " opened";
                modal->reject();
            }
        });
        guard.start(10);
        QTest::keyClick(field, Qt::Key_Return);
        Settle();
    }
};

TEST_F(EditorWindowsTest, DialogueEditorNamesItsControlsAndOnlyExitResolvesLinks)
{
    for (bool viaExit : { false, true }) {
        option* later = nullptr;
        test::WhenModal<DialogueEditorWindow>([&](DialogueEditorWindow* w) {
            EXPECT_EQ(w->windowTitle(), "Dialogue Editor");
            ASSERT_EQ(w->tabs()->count(), 3) << "Custom Messages is never shown";
            EXPECT_EQ(w->tabs()->tabText(2), "Skill Checks");
            ExpectNamed(w,
                { "Regular nodes", "Node filter", "Search string", "Search", "Add", "Edit", "Delete", "Clone",
                    "Rearrange", "Move Up", "Move Down", "Hide sel.", "Unhide All", "Script variables",
                    "Start conditions", "Floater nodes", "Timed events editor...", "Skill check list", "Exit" });
            if (!viaExit) {
                EXPECT_EQ(ListNames(), QStringList({ "Start", "Shop", "Bye" }));
            }
            // Without its window (none in this test) a button is disabled but still says what it does.
            EXPECT_FALSE(w->button(Button::StartConditions)->isEnabled());
            EXPECT_TRUE(w->button(Button::StartConditions)->toolTip().startsWith("This opens the dialogue start"));
            EXPECT_TRUE(w->button(Button::Add)->isEnabled());
            EXPECT_TRUE(w->findChild<QPushButton*>("exitButton")->isDefault());
            ExpectDistinctMnemonics(w);
            if (!viaExit) {
                EXPECT_FALSE(w->button(Button::Edit)->isEnabled()) << "nothing selected yet";
                editor.Select({ 1 });
                EXPECT_TRUE(w->button(Button::Edit)->isEnabled());
                EXPECT_EQ(TabOrder(w),
                    QStringList({ "Node filter", "Regular nodes", "Add", "Edit", "Delete", "Clone", "Rearrange",
                        "Move Up", "Move Down", "Hide sel.", "Exit" }));
            }
            // A link added meanwhile, for the links Exit resolves.
            MakeNode(d(), "Later", "");
            later = MakeOption(*d().nodes[0], "Later", "Later");
            if (viaExit)
                Named<QPushButton>(w, "Exit")->click();
            else
                w->close();
        });
        editors.OpenDialogueEditor();
        ASSERT_TRUE(later);
        EXPECT_EQ(later->link_index, viaExit ? 3 : -1) << (viaExit ? "Exit" : "the close box");
    }
}

TEST_F(EditorWindowsTest, TheFilterShowsTheSearchFieldOnlyForNodesByNameAndEnterSearches)
{
    DialogueEditorWindow& w = editorWindow;
    w.show();
    w.tabs()->setCurrentIndex(1);
    EXPECT_EQ(editor.tab(), EditorTab::FloaterNodes);
    w.tabs()->setCurrentIndex(2);
    EXPECT_EQ(editor.tab(), EditorTab::SkillChecks) << "the third tab shown is the fourth of the model";
    w.tabs()->setCurrentIndex(0);
    for (int i = 0; i < w.filterBox()->count(); ++i) {
        w.filterBox()->setCurrentIndex(i);
        EXPECT_EQ(static_cast<int>(editor.filter()), i + 1);
        EXPECT_EQ(w.searchField()->isVisibleTo(&w), i == 5) << w.filterBox()->itemText(i).toStdString();
    }
    EXPECT_EQ(w.filterBox()->currentText(), "Nodes by name");
    QTest::keyClicks(w.searchField(), "s*");
    QTest::keyClick(w.searchField(), Qt::Key_Return);
    EXPECT_EQ(ListNames(), QStringList({ "Start", "Shop" }));
    EXPECT_TRUE(w.isVisible()) << "Enter in the field searched, it did not press Exit";

    auto* error = w.findChild<QLabel*>("maskError");
    EXPECT_FALSE(error->isVisibleTo(&w));
    w.searchField()->clear();
    QTest::keyClicks(w.searchField(), "[st");
    QTest::keyClick(w.searchField(), Qt::Key_Return);
    EXPECT_TRUE(ListNames().isEmpty());
    EXPECT_TRUE(error->isVisibleTo(&w));
    EXPECT_EQ(error->text().toStdString(), editor.maskError());
    ASSERT_TRUE(dialogs.Last());
    EXPECT_EQ(dialogs.Last()->text, editor.maskError()) << "and said in a box";

    w.filterBox()->setCurrentIndex(0);
    EXPECT_FALSE(error->isVisibleTo(&w));
    EXPECT_EQ(ListNames().size(), 3);
}

TEST_F(EditorWindowsTest, NodeListRenamesWithF2DeletesWithDeleteAndEditsWithEnter)
{
    editorWindow.show();
    QTreeWidget* list = editorWindow.nodeList();
    list->setFocus();
    StartRename(1);
    EXPECT_EQ(editor.selectedRows(), std::vector<int>({ 1 }));
    TypeIntoEditor("Store");
    EXPECT_EQ(d().nodes[1]->name.str(), "Store");
    EXPECT_EQ(d().nodes[0]->options[0]->link_target.str(), "Store") << "the link follows the rename";
    EXPECT_EQ(ListNames(), QStringList({ "Start", "Store", "Bye" }));

    StartRename(1);
    TypeIntoEditor("Start");
    EXPECT_EQ(d().nodes[1]->name.str(), "Store") << "a taken name is refused";
    EXPECT_EQ(list->topLevelItem(1)->text(0), "Store") << "the cell shows the kept name again";
    ASSERT_TRUE(dialogs.Last());
    EXPECT_NE(dialogs.Last()->text.find("already exists"), std::string::npos);

    list->setCurrentItem(list->topLevelItem(2));
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(d().node_count, 2);
    EXPECT_EQ(ListNames(), QStringList({ "Start", "Store" }));

    list->setCurrentItem(list->topLevelItem(1));
    QString shownName;
    test::WhenModal<NodeDialog>([&](NodeDialog* n) {
        shownName = n->nameField()->text();
        n->reject();
    });
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(shownName, "Store");
    EXPECT_TRUE(editorWindow.isVisible()) << "Enter on the list edits, it does not press Exit";
}

TEST_F(EditorWindowsTest, AFullListKeepsItsPlaceWhenItIsRebuilt)
{
    while (d().node_count < kMaxNodes)
        MakeNode(d(), "N" + std::to_string(d().node_count), "text");
    app.RefreshEditorLists();
    editorWindow.resize(700, 460);
    editorWindow.show();
    Settle();
    QTreeWidget* list = editorWindow.nodeList();
    ASSERT_EQ(list->topLevelItemCount(), kMaxNodes);
    list->setCurrentItem(list->topLevelItem(400));
    list->scrollToItem(list->currentItem());
    const int scrolled = list->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    // Moving the row down rebuilds the list: it stays scrolled there, the moved row current.
    editorWindow.button(Button::MoveDown)->click();
    Settle();
    EXPECT_EQ(d().nodes[401]->name.str(), "N400");
    EXPECT_EQ(list->currentItem(), list->topLevelItem(401));
    EXPECT_EQ(editorWindow.focusWidget(), list) << "the list keeps the focus, not the button";
    EXPECT_NEAR(list->verticalScrollBar()->value(), scrolled, 20);
    EXPECT_TRUE(list->viewport()->rect().intersects(list->visualItemRect(list->currentItem())));

    // Deleting leaves nothing selected: the list still stays where it was.
    const int before = list->verticalScrollBar()->value();
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->topLevelItemCount(), kMaxNodes - 1);
    EXPECT_NEAR(list->verticalScrollBar()->value(), before, 2);
}

TEST_F(EditorWindowsTest, AddingANodeKeepsItOnOkAndRemovesItOnCancel)
{
    editorWindow.show();
    test::WhenModal<NodeDialog>([&](NodeDialog* n) {
        EXPECT_EQ(n->windowTitle(), "Add node");
        n->okButton()->click();
        EXPECT_TRUE(n->isVisible()) << "an empty name is refused";
        EXPECT_EQ(dialogs.Last()->text, NodeDialogModel::kEmptyName);
        QTest::keyClicks(n->nameField(), "Guard");
        QTest::keyClicks(n->npcTextMemo(), "Halt!");
        n->okButton()->click();
    });
    editorWindow.button(Button::Add)->click();
    ASSERT_EQ(d().node_count, 4);
    EXPECT_EQ(d().nodes[3]->name.str(), "Guard");
    EXPECT_EQ(d().nodes[3]->npc_text.str(), "Halt!");
    EXPECT_EQ(ListNames().last(), "Guard");
    EXPECT_TRUE(editorWindow.nodeList()->topLevelItem(3)->isSelected()) << "the new node is selected";

    test::WhenModal<NodeDialog>([&](NodeDialog* n) {
        QTest::keyClicks(n->nameField(), "Ghost");
        Named<QPushButton>(n, "Cancel")->click();
    });
    editorWindow.button(Button::Add)->click();
    EXPECT_EQ(d().node_count, 4) << "the added node goes again";
    EXPECT_EQ(FindNodeIndex(d(), "Ghost"), -1);
    EXPECT_EQ(ListNames().size(), 4);
}

TEST_F(EditorWindowsTest, NodeDialogKeepsTypedTextsAcrossTheOptionDialog)
{
    test::WhenModal<NodeDialog>([&](NodeDialog* n) {
        EXPECT_EQ(n->windowTitle(), "Edit node");
        ExpectNamed(n,
            { "Node name", "NPC Text for the node", "Display different npc text for female player",
                "NPC text for female player (optional)", "Designer notes for this node", "Player options", "Add option",
                "Edit option", "Delete option", "Move Up", "Move Down", "Custom code", "OK", "Cancel" });
        ExpectDistinctMnemonics(n);
        EXPECT_EQ(TabOrder(n),
            QStringList({ "Node name", "NPC Text for the node", "Display different npc text for female player",
                "Designer notes for this node", "Player options", "Add option", "OK", "Cancel" }))
            << "the female text is skipped while unchecked, the row buttons while no row is selected";
        EXPECT_FALSE(n->femaleMemo()->isEnabled());
        n->femaleCheck()->click();
        EXPECT_TRUE(n->femaleMemo()->isEnabled());
        QTreeWidget* options = n->optionList();
        EXPECT_EQ(options->topLevelItemCount(), 2);
        EXPECT_FALSE(Named(n, "Edit option")->isEnabled()) << "no option selected";
        options->setCurrentItem(options->topLevelItem(1));
        EXPECT_TRUE(Named(n, "Edit option")->isEnabled());

        n->npcTextMemo()->moveCursor(QTextCursor::End);
        QTest::keyClicks(n->npcTextMemo(), " Buy something.");
        QTest::keyClicks(n->femaleMemo(), "Welcome, miss.");
        test::WhenModal<OptionDialog>([](OptionDialog* o) {
            EXPECT_EQ(o->windowTitle(), "Add player option");
            QTest::keyClicks(o->textMemo(), "Wait");
            o->terminatesCheck()->click();
            o->okButton()->click();
        });
        Named<QPushButton>(n, "Add option")->click();
        EXPECT_EQ(options->topLevelItemCount(), 3);
        EXPECT_EQ(n->npcTextMemo()->toPlainText(), "Welcome. Buy something.") << "the typed text survived";

        // Delete on the list removes the selected option ("Bye").
        options->setCurrentItem(options->topLevelItem(1));
        QTest::keyClick(options, Qt::Key_Delete);
        EXPECT_EQ(options->topLevelItemCount(), 2);
        n->okButton()->click();
    });
    EXPECT_TRUE(editor.EditNodeAt(0));
    const dlgnode& start = *d().nodes[0];
    EXPECT_EQ(start.npc_text.str(), "Welcome. Buy something.");
    EXPECT_EQ(start.npc_female_text.str(), "Welcome, miss.");
    ASSERT_EQ(start.option_count, 2);
    EXPECT_EQ(start.options[1]->text.str(), "Wait");
    EXPECT_EQ(start.options[1]->link_target.str(), "done");
}

TEST_F(EditorWindowsTest, OptionDialogCheckBoxesShowAndHideTheLinkControls)
{
    d().nodes[0]->options[0]->intelligence = 15;
    OptionDialogModel& model = editors.optionDialog();
    ASSERT_TRUE(model.BeginEdit(0, 0));
    test::WhenModal<OptionDialog>([&](OptionDialog* o) {
        ExpectNamed(o,
            { "Player option text", "Link to procedure", "Link to node", "Link to skill check",
                "NPC Text for the selected node", "edit", "Link to a new node", "Name for new node", "Create node",
                "Terminates dialogue", "Enter combat (set critter to hostile)", "Dumb player option", "Reaction",
                "Gender", "Intelligence check", "Designer notes for this option", "Condition list",
                "Set up conditions...", "New skill check...", "Custom procedures", "OK", "Cancel" });
        ExpectDistinctMnemonics(o);
        const QStringList order = TabOrder(o);
        ASSERT_GE(order.size(), 4);
        EXPECT_EQ(order.front(), "Player option text");
        EXPECT_EQ(order.mid(order.size() - 4),
            QStringList({ "Designer notes for this option", "Condition list", "OK", "Cancel" }));
        EXPECT_EQ(o->intelligenceSpin()->value(), 15) << "a stored value outside the range is shown";
        QWidget* nodePicker = o->picker(LinkKind::Node);
        EXPECT_TRUE(o->linkRadio(LinkKind::Node)->isChecked());
        EXPECT_EQ(o->picker(LinkKind::Node)->currentText(), "Shop");
        EXPECT_TRUE(o->preview()->isVisibleTo(o));
        EXPECT_EQ(o->preview()->toPlainText(), "Take a look.");
        EXPECT_FALSE(o->newNodeName()->isVisibleTo(o));

        o->terminatesCheck()->click();
        EXPECT_FALSE(nodePicker->isVisibleTo(o)) << "a terminating option links nowhere";
        EXPECT_FALSE(o->createNodeButton()->isEnabled());
        o->newNodeCheck()->click();
        EXPECT_TRUE(o->newNodeName()->isVisibleTo(o));
        EXPECT_FALSE(o->terminatesCheck()->isChecked());
        EXPECT_TRUE(o->createNodeButton()->isEnabled());
        EXPECT_FALSE(nodePicker->isVisibleTo(o));
        o->newNodeCheck()->click();
        EXPECT_TRUE(nodePicker->isVisibleTo(o));

        o->linkRadio(LinkKind::SkillCheck)->click();
        EXPECT_EQ(model.linkKind(), LinkKind::SkillCheck);
        EXPECT_TRUE(o->picker(LinkKind::SkillCheck)->isEnabled());
        EXPECT_FALSE(nodePicker->isEnabled());
        o->dumbCheck()->click();
        EXPECT_EQ(o->intelligenceSpin()->value(), app.settings().defaultIntForDumbPlayer);
        Named<QPushButton>(o, "Cancel")->click();
    });
    EXPECT_FALSE(optionWindow.exec(model));
    model.End();
    EXPECT_EQ(d().nodes[0]->options[0]->intelligence, 15) << "Cancel stores nothing";
}

TEST_F(EditorWindowsTest, OptionDialogCreatesANodeOnEnterAndLinksToIt)
{
    OptionDialogModel& model = editors.optionDialog();
    ASSERT_TRUE(model.BeginAdd(2));
    dialogs.PushText("Who goes there?");
    test::WhenModal<OptionDialog>([&](OptionDialog* o) {
        ASSERT_TRUE(o->newNodeName()->isVisibleTo(o)) << "an added option starts on a new node";
        QTest::keyClicks(o->textMemo(), "To the gate");
        QTest::keyClicks(o->newNodeName(), "Gate");
        QTest::keyClick(o->newNodeName(), Qt::Key_Return);
        EXPECT_TRUE(o->isVisible()) << "Enter in the name creates the node, it does not press OK";
        EXPECT_EQ(o->picker(LinkKind::Node)->currentText(), "Gate");
        EXPECT_TRUE(o->newNodeName()->text().isEmpty());
        o->okButton()->click();
    });
    ASSERT_TRUE(optionWindow.exec(model));
    ASSERT_TRUE(model.Apply());
    model.End();
    const int gate = FindNodeIndex(d(), "Gate");
    ASSERT_GE(gate, 0);
    EXPECT_EQ(d().nodes[gate]->npc_text.str(), "Who goes there?");
    const dlgnode& bye = *d().nodes[2];
    ASSERT_EQ(bye.option_count, 1);
    EXPECT_EQ(bye.options[0]->text.str(), "To the gate");
    EXPECT_EQ(bye.options[0]->link_target.str(), "Gate");
}

} // namespace
} // namespace zev
