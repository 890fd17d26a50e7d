#pragma once

// The code editor of the script-editing windows: Scintilla with the game script's colouring, line
// numbers and brace matching, and the two popups of code completion, the "Code completion" list
// and the parameter hint, over completion lists owned elsewhere.

#include <Qsci/qsciscintilla.h>

#include <QStringList>
#include <QTimer>

#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"
#include "completion/completion_list.h"

namespace zev {

class CompletionPopup;
class HintPopup;
class ScriptLexer;

class CodeEditor : public QsciScintilla {
    Q_OBJECT
public:
    explicit CodeEditor(TextEncoding encoding, QWidget* parent = nullptr);
    ~CodeEditor() override;

    // The completion sources (owned elsewhere, rebuilt in place by every refresh); null detaches.
    void AttachCompletion(const CompletionLists* lists, const DefinitionTable* definitions);
    // Model text (8-bit, CR LF lines) shown with LF; Code() gives each line followed by CR LF, ""
    // when the editor is empty (the classic memo's Text). The empty line after a last line break is
    // no line, so text read with SetCode comes back unchanged. SetCode starts a fresh undo history.
    void SetCode(std::string_view bytes);
    std::string Code() const;
    // What Ctrl+Space does; for tests and screenshots too.
    void ShowCompletion();
    void ShowParameterHint();
    QWidget* completionPopup() const; // null until first shown
    QWidget* hintPopup() const;
    // The entries the open list shows (shown texts), and the hint's plain text, for tests.
    QStringList completionEntries() const;
    QString hintText() const;

    // How long after "(" or "," the hint opens by itself.
    static constexpr int kHintDelayMs = 700;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The caret's line as model bytes and the caret's byte offset in it.
    struct CaretLine {
        std::string line;
        int caret = 0;
    };
    CaretLine CurrentLine() const;
    // The caret's rectangle in global coordinates: top left and line height.
    QRect CaretRect() const;
    bool CompletionOpen() const;
    bool HintOpen() const;
    // Narrows to the word before the caret; closes the list when nothing is left.
    void Renarrow();
    void Complete(int row);
    void UpdateHint();
    void HidePopups();
    void PlaceCompletion();
    void PlaceHint();
    void UpdateMarginWidth();

    TextEncoding m_encoding;
    const CompletionLists* m_lists = nullptr;
    const DefinitionTable* m_definitions = nullptr;
    ScriptLexer* m_lexer = nullptr;
    CompletionPopup* m_completion = nullptr;
    HintPopup* m_hintPopup = nullptr;
    ParameterHint m_hint;
    std::vector<int> m_matches; // list row -> entry of the completion lists
    QTimer m_hintTimer;
    int m_marginDigits = 0;
};

} // namespace zev
