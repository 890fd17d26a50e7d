#include "editors/gui/script_lexer.h"

#include <Qsci/qsciscintilla.h>

#include <QByteArray>
#include <QColor>

#include <algorithm>
#include <string_view>
#include <vector>

#include "editors/script_highlight.h"

namespace zev {

ScriptLexer::ScriptLexer(const QFont& font, QObject* parent)
    : QsciLexerCustom(parent)
    , m_font(font)
{
    setDefaultFont(font);
    setFont(font, -1);
    for (int style = 0; style <= static_cast<int>(ScriptStyle::Number); ++style)
        setFont(defaultFont(style), style);
}

const char* ScriptLexer::language() const
{
    return "Game script";
}

QString ScriptLexer::description(int style) const
{
    switch (static_cast<ScriptStyle>(style)) {
    case ScriptStyle::Default:
        return QStringLiteral("Default");
    case ScriptStyle::Keyword:
        return QStringLiteral("Keyword");
    case ScriptStyle::Comment:
        return QStringLiteral("Comment");
    case ScriptStyle::String:
        return QStringLiteral("String");
    case ScriptStyle::Number:
        return QStringLiteral("Number");
    }
    return {};
}

QColor ScriptLexer::defaultColor(int style) const
{
    switch (static_cast<ScriptStyle>(style)) {
    case ScriptStyle::Keyword:
        return QColor(0x00, 0x00, 0x80);
    case ScriptStyle::Comment:
        return QColor(0x00, 0x80, 0x00);
    case ScriptStyle::String:
        return QColor(0xA3, 0x15, 0x15);
    case ScriptStyle::Number:
        return QColor(0x80, 0x00, 0x80);
    default:
        return QColor(Qt::black);
    }
}

QFont ScriptLexer::defaultFont(int style) const
{
    QFont font = m_font;
    if (style == static_cast<int>(ScriptStyle::Keyword))
        font.setBold(true);
    if (style == static_cast<int>(ScriptStyle::Comment))
        font.setItalic(true);
    return font;
}

QColor ScriptLexer::defaultPaper(int) const
{
    return QColor(Qt::white);
}

void ScriptLexer::styleText(int start, int end)
{
    QsciScintilla* ed = editor();
    if (!ed || end <= start)
        return;
    // From the start of the first line: its state is where the line before ended.
    long line = ed->SendScintilla(QsciScintilla::SCI_LINEFROMPOSITION, static_cast<unsigned long>(start));
    auto state = line > 0 ? static_cast<ScriptLexState>(ed->SendScintilla(QsciScintilla::SCI_GETLINESTATE, line - 1))
                          : ScriptLexState::Code;
    long pos = ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line);
    startStyling(static_cast<int>(pos));
    std::vector<ScriptStyle> styles;
    while (pos < end) {
        const long lineEnd = ed->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, line);
        const long next = ed->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line + 1);
        const QByteArray bytes = ed->bytes(static_cast<int>(pos), static_cast<int>(lineEnd));
        // bytes() may carry a terminating zero.
        const auto length = std::min(static_cast<std::size_t>(bytes.size()), static_cast<std::size_t>(lineEnd - pos));
        state = HighlightScriptLine(std::string_view(bytes.constData(), length), state, styles);
        // Runs of one style, then the line end in the default style.
        std::size_t i = 0;
        while (i < styles.size()) {
            std::size_t j = i + 1;
            while (j < styles.size() && styles[j] == styles[i])
                ++j;
            setStyling(static_cast<int>(j - i), static_cast<int>(styles[i]));
            i = j;
        }
        const long eolEnd = next > lineEnd ? next : lineEnd;
        if (eolEnd > lineEnd)
            setStyling(static_cast<int>(eolEnd - lineEnd), static_cast<int>(ScriptStyle::Default));
        ed->SendScintilla(QsciScintilla::SCI_SETLINESTATE, static_cast<unsigned long>(line), static_cast<long>(state));
        if (next <= pos)
            break; // the last line
        pos = next;
        ++line;
    }
}

} // namespace zev
