#include "app/gui/exception_report_window.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>
#include <typeinfo>

#include "app/gui/qt_text.h"

namespace zev {

ExceptionReportWindow::ExceptionReportWindow(const ExceptionReport& report, TextEncoding encoding, QWidget* parent)
    : QDialog(parent), m_details(new QPlainTextEdit(this)), m_quip(ToQString(report.quip, encoding))
{
    setWindowTitle(QStringLiteral("ZEV Dialogue Tool - Error"));
    auto* heading = new QLabel(QStringLiteral("Something went wrong:"), this);
    auto* error = new QLabel(ToDisplayText(report.errorText, encoding), this);
    error->setWordWrap(true);
    error->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = error->font();
    bold.setBold(true);
    error->setFont(bold);
    auto* quip = new QLabel(m_quip, this);
    quip->setWordWrap(true);
    QFont italic = quip->font();
    italic.setItalic(true);
    quip->setFont(italic);
    m_details->setReadOnly(true);
    m_details->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_details->setPlainText(ToDisplayText(report.details, encoding));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* copy = buttons->addButton(QStringLiteral("Copy details"), QDialogButtonBox::ActionRole);
    connect(copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(DetailsText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(error);
    layout->addWidget(quip);
    layout->addWidget(new QLabel(QStringLiteral("Details:"), this));
    layout->addWidget(m_details, 1);
    layout->addWidget(buttons);
    resize(560, 380);
}

QString ExceptionReportWindow::DetailsText() const { return m_details->toPlainText(); }

QString ExceptionReportWindow::QuipText() const { return m_quip; }

bool ZevApplication::notify(QObject* receiver, QEvent* event)
{
    std::string kind, text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        kind = typeid(e).name();
        text = e.what();
    } catch (...) {
        kind = "unknown";
        text = "An unknown error occurred.";
    }
    // One report at a time: an error inside the report window itself only goes to the log.
    if (m_app && !m_reporting) {
        m_reporting = true;
        ExceptionReportWindow window(MakeExceptionReport(*m_app, kind, text), m_encoding, activeWindow());
        window.exec();
        m_reporting = false;
    }
    return false;
}

} // namespace zev
