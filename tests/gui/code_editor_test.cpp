// The code editor typed into as a designer would: the completion list, the parameter hint, the
// model's CR LF text, undo and the colouring.
#include "gui_support.h"

#include "base/log.h"
#include "completion/completion_list.h"
#include "editors/gui/code_editor.h"
#include "model/dialog_ops.h"

#include <QLabel>
#include <QListView>
#include <QTest>

namespace zev {
namespace {

struct CodeEditorTest : test::GuiTest {
    dialog dlg;
    DefinitionTable defs;
    Logger log;
    CompletionLists lists;
    CodeEditor editor { TextEncoding::Cp1252 };

    CodeEditorTest()
    {
        AddNode(dlg, "start")->npc_text = "Hello";
        AddNode(dlg, "end")->npc_text = "Bye";
        IncEntry f;
        f.name = "f";
        f.param_types[0] = DEF_PARAM_OBJECTPTR;
        f.param_names[0] = "who";
        f.param_types[1] = DEF_PARAM_INTEGER;
        f.param_names[1] = "n";
        f.param_count = 2;
        defs.Add(f);
        RefreshCompletionList(dlg, defs, log, lists);
        editor.AttachCompletion(&lists, &defs);
        editor.setGeometry(100, 300, 400, 200); // room above the first line for the hint
        editor.show();
        editor.activateWindow();
        editor.setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
    }
    ~CodeEditorTest() override { Clear(dlg); }

    void CtrlSpace() { QTest::keyClick(&editor, Qt::Key_Space, Qt::ControlModifier); }
    bool ListOpen() const { return editor.completionPopup() && editor.completionPopup()->isVisible(); }
    bool HintOpen() const { return editor.hintPopup() && editor.hintPopup()->isVisible(); }
    QString HintHtml() const { return editor.hintPopup()->findChild<QLabel*>()->text(); }
    int StyleAt(int pos) const
    {
        return static_cast<int>(editor.SendScintilla(QsciScintilla::SCI_GETSTYLEAT, static_cast<unsigned long>(pos)));
    }
};

// ---- The completion list

TEST_F(CodeEditorTest, CtrlSpaceListsEveryEntryWithoutTakingTheFocus)
{
    EXPECT_EQ(editor.completionPopup(), nullptr);
    CtrlSpace();
    ASSERT_TRUE(ListOpen());
    EXPECT_EQ(
        editor.completionEntries(), (QStringList { "start \"Hello\"", "end \"Bye\"", "f (objectptr who, integer n)" }));
    auto* list = editor.completionPopup()->findChild<QListView*>();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->accessibleName(), "Code completion");
    EXPECT_EQ(list->font().pointSize(), 8);
    EXPECT_EQ(list->currentIndex().row(), 0);
    EXPECT_FALSE(list->focusPolicy() & Qt::TabFocus);
    EXPECT_TRUE(editor.completionPopup()->findChild<QLabel*>()->font().bold());
    // Placed below the caret line.
    EXPECT_GT(editor.completionPopup()->y(), editor.mapToGlobal(QPoint(0, 0)).y());
}

TEST_F(CodeEditorTest, TypingNarrowsAndEnterInsertsTheNameAlone)
{
    CtrlSpace();
    QTest::keyClicks(&editor, "st");
    EXPECT_EQ(editor.completionEntries(), (QStringList { "start \"Hello\"" }));
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(editor.Code(), "start\r\n");
}

TEST_F(CodeEditorTest, TheChosenEntryReplacesTheWordBeforeTheCaret)
{
    QTest::keyClicks(&editor, "x := ST");
    CtrlSpace();
    EXPECT_EQ(editor.completionEntries(), (QStringList { "start \"Hello\"" }));
    QTest::keyClick(&editor, Qt::Key_Tab);
    EXPECT_EQ(editor.Code(), "x := start\r\n");
}

TEST_F(CodeEditorTest, ArrowsMoveTheSelectionAndPunctuationCompletesBeforeItIsTyped)
{
    CtrlSpace();
    QTest::keyClick(&editor, Qt::Key_Down);
    QTest::keyClick(&editor, Qt::Key_Down);
    QTest::keyClick(&editor, Qt::Key_Up);
    EXPECT_EQ(editor.Code(), "");
    QTest::keyClicks(&editor, "(");
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(editor.Code(), "end(\r\n");
}

TEST_F(CodeEditorTest, EscapeAndAnEmptyNarrowingClose)
{
    CtrlSpace();
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(editor.Code(), "");

    CtrlSpace();
    QTest::keyClicks(&editor, "zq");
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(editor.Code(), "zq\r\n");
    // Typing goes on into the editor once the list is closed.
    QTest::keyClick(&editor, Qt::Key_Return);
    QTest::keyClicks(&editor, "x");
    EXPECT_EQ(editor.Code(), "zq\r\nx\r\n");
}

TEST_F(CodeEditorTest, ADoubleClickCompletes)
{
    CtrlSpace();
    auto* list = editor.completionPopup()->findChild<QListView*>();
    const QPoint at = list->visualRect(list->model()->index(1, 0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_TRUE(ListOpen()) << "a single click only selects";
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_FALSE(ListOpen());
    EXPECT_EQ(editor.Code(), "end\r\n");
}

TEST_F(CodeEditorTest, DetachedEditorsOfferNothing)
{
    editor.AttachCompletion(nullptr, nullptr);
    CtrlSpace();
    EXPECT_FALSE(ListOpen());
    EXPECT_FALSE(HintOpen());
    QTest::keyClicks(&editor, "f(");
    QTest::qWait(CodeEditor::kHintDelayMs + 100);
    EXPECT_FALSE(HintOpen());
}

TEST_F(CodeEditorTest, CompletionFollowsARefreshOfTheLists)
{
    dlg.nodes[0]->name = "opening";
    RefreshCompletionList(dlg, defs, log, lists);
    QTest::keyClicks(&editor, "op");
    CtrlSpace();
    EXPECT_EQ(editor.completionEntries(), (QStringList { "opening \"Hello\"" }));
}

// ---- The parameter hint

TEST_F(CodeEditorTest, HintOpensAfterTheDelayAndFollowsTheParameters)
{
    QTest::keyClicks(&editor, "f(");
    EXPECT_FALSE(HintOpen()) << "only after the delay";
    QTRY_VERIFY_WITH_TIMEOUT(HintOpen(), 3000);
    EXPECT_EQ(editor.hintText(), "who: object, n: integer");
    EXPECT_TRUE(HintHtml().startsWith("<b>who:&nbsp;object,&nbsp;</b>")) << HintHtml().toStdString();
    EXPECT_EQ(editor.hintPopup()->accessibleName(), "Parameter hint");
    // Above the caret line.
    EXPECT_LT(editor.hintPopup()->y(), editor.viewport()->mapToGlobal(QPoint(0, 0)).y() + 2);

    // An open hint follows the caret at once.
    QTest::keyClicks(&editor, "self_obj,");
    EXPECT_TRUE(HintHtml().endsWith("<b>n:&nbsp;integer</b>")) << HintHtml().toStdString();
    QTest::keyClick(&editor, Qt::Key_Left);
    EXPECT_TRUE(HintHtml().startsWith("<b>who")) << HintHtml().toStdString();
    QTest::keyClick(&editor, Qt::Key_End);
    QTest::keyClicks(&editor, " 2)");
    EXPECT_FALSE(HintOpen()) << "the call is closed";
}

TEST_F(CodeEditorTest, CtrlSpaceOpensTheHintAtOnceAndTypingCancelsThePendingOne)
{
    QTest::keyClicks(&editor, "f(x");
    QTest::qWait(CodeEditor::kHintDelayMs + 200);
    EXPECT_FALSE(HintOpen()) << "typing after \"(\" cancels the delayed hint";
    QTest::keyClicks(&editor, ", ");
    CtrlSpace();
    EXPECT_TRUE(HintOpen());
    EXPECT_TRUE(HintHtml().endsWith("<b>n:&nbsp;integer</b>"));
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_FALSE(HintOpen());
}

TEST_F(CodeEditorTest, NoHintForAnUnknownWord)
{
    QTest::keyClicks(&editor, "g(");
    QTest::qWait(CodeEditor::kHintDelayMs + 200);
    EXPECT_FALSE(HintOpen());
}

// ---- Text, undo and colouring

TEST_F(CodeEditorTest, CodeIsTheModelsCrLfTextAndSurvivesARoundTrip)
{
    editor.SetCode("a\r\n\xE9t\xE9\r\n");
    EXPECT_EQ(editor.text(), QString::fromUtf8("a\n\xC3\xA9t\xC3\xA9\n"));
    EXPECT_EQ(editor.Code(), "a\r\n\xE9t\xE9\r\n");
    editor.SetCode("one\rtwo\r\nthree");
    EXPECT_EQ(editor.lines(), 3);
    EXPECT_EQ(editor.Code(), "one\r\ntwo\r\nthree\r\n");
    editor.SetCode("\r\n");
    EXPECT_EQ(editor.Code(), "\r\n");
    editor.SetCode("a\r\n\r\n");
    EXPECT_EQ(editor.Code(), "a\r\n\r\n");
    editor.SetCode("");
    EXPECT_EQ(editor.Code(), "");
}

TEST_F(CodeEditorTest, UndoStepsBackOverTypingAndCompletionButNotOverSetCode)
{
    editor.SetCode("abc");
    editor.setCursorPosition(0, 3);
    QTest::keyClicks(&editor, " st");
    CtrlSpace();
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(editor.Code(), "abc start\r\n");
    QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.Code(), "abc st\r\n");
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor.Code(), "abc\r\n");
    EXPECT_FALSE(editor.isUndoAvailable());
}

TEST_F(CodeEditorTest, ColouringCarriesBlockCommentsOverLines)
{
    editor.SetCode("if x { a\r\nb } then \"s\"");
    editor.SendScintilla(QsciScintilla::SCI_COLOURISE, 0UL, -1L);
    const int keyword = 1, comment = 2, string = 3;
    EXPECT_EQ(StyleAt(0), keyword);
    EXPECT_EQ(StyleAt(3), 0);
    EXPECT_EQ(StyleAt(7), comment);
    EXPECT_EQ(StyleAt(9), comment); // "b" on the second line
    EXPECT_EQ(StyleAt(13), keyword); // "then"
    EXPECT_EQ(StyleAt(18), string);
    // Closing the comment on the first line recolours the second.
    editor.setCursorPosition(0, 8);
    QTest::keyClicks(&editor, "}");
    editor.SendScintilla(QsciScintilla::SCI_COLOURISE, 0UL, -1L);
    EXPECT_EQ(StyleAt(10), 0);
}

} // namespace
} // namespace zev
