#include "editors/gui/code_editor.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

#include "app/gui/qt_text.h"
#include "editors/gui/code_editor_popups.h"
#include "editors/gui/script_lexer.h"

namespace zev {

namespace {

// Typed with the list open, these complete with the selected entry before they are typed.
bool CompletesAndTypes(const QString& text)
{
    return text.size() == 1 && QStringLiteral("()[]. ").contains(text[0]);
}

// CR LF and lone CR become LF: the editor keeps LF lines.
std::string ToLf(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

QPoint KeepOnScreen(QPoint p, QSize size, const QScreen* screen)
{
    if (!screen)
        return p;
    const QRect area = screen->availableGeometry();
    p.setX(std::clamp(p.x(), area.left(), std::max(area.left(), area.right() - size.width())));
    p.setY(std::clamp(p.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    return p;
}

} // namespace

CodeEditor::CodeEditor(TextEncoding encoding, QWidget* parent)
    : QsciScintilla(parent)
    , m_encoding(encoding)
{
    setUtf8(true); // the document is UTF-8; model bytes are converted at the edge
    const QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(font);
    m_lexer = new ScriptLexer(font, this);
    setLexer(m_lexer);
    setEolMode(EolUnix);
    setAutoCompletionSource(AcsNone); // our own list: it has a title and inserts other text than it shows
    setBraceMatching(SloppyBraceMatch);
    setAutoIndent(true);
    setMarginsFont(font);
    setMarginLineNumbers(0, true);
    setMarginWidth(1, 0);
    // A horizontal scroll bar only for lines wider than the view.
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    UpdateMarginWidth();
    connect(this, &QsciScintilla::linesChanged, this, &CodeEditor::UpdateMarginWidth);
    connect(this, &QsciScintilla::cursorPositionChanged, this, [this] {
        if (HintOpen())
            UpdateHint();
    });
    m_hintTimer.setSingleShot(true);
    m_hintTimer.setInterval(kHintDelayMs);
    connect(&m_hintTimer, &QTimer::timeout, this, &CodeEditor::ShowParameterHint);
}

CodeEditor::~CodeEditor() = default;

void CodeEditor::AttachCompletion(const CompletionLists* lists, const DefinitionTable* definitions)
{
    m_lists = lists;
    m_definitions = definitions;
    m_hint = ParameterHint();
    if (!lists || !definitions)
        HidePopups();
}

void CodeEditor::SetCode(std::string_view bytes)
{
    const std::string utf8 = ToLf(ModelToUtf8(bytes, m_encoding));
    HidePopups();
    setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    setModified(false);
}

std::string CodeEditor::Code() const
{
    const std::string model = ToLf(FromQString(text(), m_encoding));
    std::string out;
    out.reserve(model.size() + static_cast<std::size_t>(lines()) + 2);
    std::size_t start = 0;
    while (start < model.size()) {
        const std::size_t end = std::min(model.find('\n', start), model.size());
        out.append(model, start, end - start).append("\r\n");
        start = end + 1;
    }
    return out;
}

QWidget* CodeEditor::completionPopup() const
{
    return m_completion;
}

QWidget* CodeEditor::hintPopup() const
{
    return m_hintPopup;
}

QStringList CodeEditor::completionEntries() const
{
    return CompletionOpen() ? m_completion->Entries() : QStringList();
}

QString CodeEditor::hintText() const
{
    return HintOpen() ? m_hintPopup->PlainText() : QString();
}

void CodeEditor::ShowCompletion()
{
    Renarrow();
}

void CodeEditor::ShowParameterHint()
{
    m_hintTimer.stop();
    UpdateHint();
}

CodeEditor::CaretLine CodeEditor::CurrentLine() const
{
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
    const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    const QByteArray bytes = this->bytes(static_cast<int>(start), static_cast<int>(end));
    const auto length = std::min(static_cast<std::size_t>(bytes.size()), static_cast<std::size_t>(end - start));
    const std::string_view utf8(bytes.constData(), length);
    const auto before = std::min(static_cast<std::size_t>(pos - start), length);
    CaretLine out;
    out.line = Utf8ToModel(utf8, m_encoding);
    out.caret = static_cast<int>(Utf8ToModel(utf8.substr(0, before), m_encoding).size());
    return out;
}

QRect CodeEditor::CaretRect() const
{
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(pos));
    const auto x = static_cast<int>(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, pos));
    const auto y = static_cast<int>(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, pos));
    const auto height = static_cast<int>(SendScintilla(SCI_TEXTHEIGHT, static_cast<unsigned long>(line)));
    return QRect(viewport()->mapToGlobal(QPoint(x, y)), QSize(1, std::max(1, height)));
}

bool CodeEditor::CompletionOpen() const
{
    return m_completion && m_completion->isVisible();
}

bool CodeEditor::HintOpen() const
{
    return m_hintPopup && m_hintPopup->isVisible();
}

void CodeEditor::Renarrow()
{
    if (!m_lists) {
        HidePopups();
        return;
    }
    const CaretLine current = CurrentLine();
    NarrowCompletion(*m_lists, WordBeforeCaret(current.line, current.caret), m_matches);
    if (m_matches.empty()) {
        if (m_completion)
            m_completion->hide();
        return;
    }
    if (!m_completion) {
        m_completion = new CompletionPopup(this);
        connect(m_completion, &CompletionPopup::chosen, this, &CodeEditor::Complete);
    }
    m_completion->SetEntries(static_cast<int>(m_matches.size()), [this](int row) {
        // The lists may have been rebuilt since; a row beyond them shows nothing.
        const auto r = static_cast<std::size_t>(row);
        if (!m_lists || r >= m_matches.size())
            return QString();
        const auto entry = static_cast<std::size_t>(m_matches[r]);
        return entry < m_lists->shown.size() ? ToQString(m_lists->shown[entry], m_encoding) : QString();
    });
    PlaceCompletion();
    m_completion->show();
}

void CodeEditor::Complete(int row)
{
    if (m_completion)
        m_completion->hide();
    if (!m_lists || row < 0 || static_cast<std::size_t>(row) >= m_matches.size())
        return;
    const auto entry = static_cast<std::size_t>(m_matches[static_cast<std::size_t>(row)]);
    if (entry >= m_lists->insert.size())
        return; // the lists were rebuilt under the open popup
    const CaretLine current = CurrentLine();
    const auto wordBytes
        = static_cast<long>(ModelToUtf8(WordBeforeCaret(current.line, current.caret), m_encoding).size());
    const long pos = SendScintilla(SCI_GETCURRENTPOS);
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(pos - wordBytes), pos);
    replaceSelectedText(ToQString(m_lists->insert[entry], m_encoding));
}

void CodeEditor::UpdateHint()
{
    if (!m_lists || !m_definitions) {
        if (m_hintPopup)
            m_hintPopup->hide();
        return;
    }
    const CaretLine current = CurrentLine();
    if (!m_hint.Execute(current.line, current.caret, *m_lists, *m_definitions)) {
        if (m_hintPopup)
            m_hintPopup->hide();
        return;
    }
    QStringList parts;
    for (const std::string& part : HintParts(m_hint.text()))
        parts << ToQString(part, m_encoding);
    if (!m_hintPopup)
        m_hintPopup = new HintPopup(this);
    m_hintPopup->SetParts(parts, m_hint.current());
    PlaceHint();
    m_hintPopup->show();
}

void CodeEditor::HidePopups()
{
    m_hintTimer.stop();
    if (m_completion)
        m_completion->hide();
    if (m_hintPopup)
        m_hintPopup->hide();
}

void CodeEditor::PlaceCompletion()
{
    const QRect caret = CaretRect();
    QPoint at(caret.left(), caret.bottom() + 1);
    if (const QScreen* s = screen(); s && at.y() + m_completion->height() > s->availableGeometry().bottom())
        at.setY(caret.top() - m_completion->height()); // no room below: above the line
    m_completion->move(KeepOnScreen(at, m_completion->size(), screen()));
}

void CodeEditor::PlaceHint()
{
    const QRect caret = CaretRect();
    QPoint at(caret.left(), caret.top() - m_hintPopup->height() - 1);
    if (const QScreen* s = screen(); s && at.y() < s->availableGeometry().top())
        at.setY(caret.bottom() + 1);
    m_hintPopup->move(KeepOnScreen(at, m_hintPopup->size(), screen()));
}

void CodeEditor::UpdateMarginWidth()
{
    const int digits = static_cast<int>(QString::number(std::max(1, lines())).size());
    if (digits == m_marginDigits)
        return;
    m_marginDigits = digits;
    setMarginWidth(0, QString(digits + 1, QLatin1Char('9')));
}

void CodeEditor::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && (event->modifiers() & Qt::ControlModifier)) {
        ShowCompletion();
        ShowParameterHint();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (CompletionOpen()) {
        const int key = event->key();
        if (m_completion->MoveSelection(key)) {
            event->accept();
            return;
        }
        if (key == Qt::Key_Tab || key == Qt::Key_Return || key == Qt::Key_Enter) {
            Complete(m_completion->CurrentRow());
            event->accept();
            return;
        }
        if (key == Qt::Key_Escape) {
            HidePopups();
            event->accept();
            return;
        }
        if (CompletesAndTypes(text))
            Complete(m_completion->CurrentRow());
    } else if (event->key() == Qt::Key_Escape && HintOpen()) {
        m_hintPopup->hide();
        event->accept();
        return;
    }
    QsciScintilla::keyPressEvent(event);
    if (text == QLatin1String("(") || text == QLatin1String(","))
        m_hintTimer.start();
    else if (!text.isEmpty())
        m_hintTimer.stop();
    if (CompletionOpen())
        Renarrow();
    // Scintilla reports caret moves when it next paints; the hint follows every key at once.
    if (HintOpen())
        UpdateHint();
}

void CodeEditor::focusOutEvent(QFocusEvent* event)
{
    // A click into a popup keeps them; focus going anywhere else closes them.
    const bool intoPopup = (m_completion && m_completion->underMouse()) || (m_hintPopup && m_hintPopup->underMouse());
    if (!intoPopup)
        HidePopups();
    QsciScintilla::focusOutEvent(event);
}

void CodeEditor::mousePressEvent(QMouseEvent* event)
{
    if (m_completion)
        m_completion->hide();
    QsciScintilla::mousePressEvent(event);
}

void CodeEditor::hideEvent(QHideEvent* event)
{
    HidePopups();
    QsciScintilla::hideEvent(event);
}

} // namespace zev
