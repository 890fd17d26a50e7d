#include "app/gui/parse_error_log.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

ParseErrorLog::ParseErrorLog(TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_encoding(encoding)
    , m_text(new QPlainTextEdit(this))
{
    setWindowTitle(QStringLiteral("Parse error log"));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(buttons);
    resize(640, 360);
}

void ParseErrorLog::Show(const std::string& text)
{
    m_text->setPlainText(ToDisplayText(text, m_encoding));
    exec();
}

QString ParseErrorLog::Text() const
{
    return m_text->toPlainText();
}

} // namespace zev
