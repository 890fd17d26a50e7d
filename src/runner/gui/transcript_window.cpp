#include "runner/gui/transcript_window.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QString Caption(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TranscriptWindow::TranscriptWindow(TranscriptWindowModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
    , m_text(new QTextEdit(this))
{
    setObjectName(QStringLiteral("transcriptWindow"));
    setWindowTitle(Caption(TranscriptWindowModel::kCaption));
    setModal(false);
    m_text->setObjectName(QStringLiteral("transcriptText"));
    m_text->setReadOnly(true);
    m_text->setAccessibleName(Caption(TranscriptWindowModel::kLabel).chopped(1)); // without the colon
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* ok = new QPushButton(Caption(TranscriptWindowModel::kOkCaption), this);
    auto* save = new QPushButton(Caption(TranscriptWindowModel::kSaveCaption), this);
    ok->setObjectName(QStringLiteral("okButton"));
    save->setObjectName(QStringLiteral("saveButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { m_model.Ok(); });
    connect(save, &QPushButton::clicked, this, [this] { m_model.Save(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(save);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(Caption(TranscriptWindowModel::kLabel), this));
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    resize(560, 420);

    m_changedConnection = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

TranscriptWindow::~TranscriptWindow()
{
    m_model.changed.Disconnect(m_changedConnection);
}

void TranscriptWindow::Redraw()
{
    // Every change refills the box, even for the same index: a saved transcript holds other lines.
    if (m_model.visible()) {
        m_text->clear();
        QTextCursor cursor(m_text->document());
        cursor.movePosition(QTextCursor::End);
        bool first = true;
        for (const FormattedLine& line : m_model.lines()) {
            if (!first)
                cursor.insertBlock();
            first = false;
            for (const TextRun& run : line.runs) {
                QTextCharFormat format;
                format.setFontFamilies({ ToQString(run.font, TextEncoding::Cp1252) });
                format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
                format.setForeground(QColor(run.color.red, run.color.green, run.color.blue));
                cursor.insertText(ToQString(run.text, m_encoding), format);
            }
        }
        m_text->moveCursor(QTextCursor::Start);
    }
    if (m_model.visible() && !isVisible()) {
        show();
        raise();
    } else if (!m_model.visible() && isVisible()) {
        hide();
    }
}

void TranscriptWindow::done(int result)
{
    QDialog::done(result);
    if (m_model.visible())
        m_model.Ok();
}

} // namespace zev
