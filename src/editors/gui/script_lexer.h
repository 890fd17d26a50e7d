#pragma once

// The colouring of the code editors over Scintilla: each line styled by HighlightScriptLine,
// starting in the block comment state the line before it ended in (kept as Scintilla's line
// state).

#include <Qsci/qscilexercustom.h>

#include <QFont>

namespace zev {

class ScriptLexer : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit ScriptLexer(const QFont& font, QObject* parent = nullptr);

    const char* language() const override;
    QString description(int style) const override;
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    QColor defaultPaper(int style) const override;
    void styleText(int start, int end) override;

private:
    QFont m_font;
};

} // namespace zev
