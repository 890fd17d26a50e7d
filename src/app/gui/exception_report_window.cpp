#include "app/gui/exception_report_window.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <cxxabi.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <typeinfo>

#include "app/gui/qt_text.h"

namespace zev {

ExceptionReportWindow::ExceptionReportWindow(const ExceptionReport& report, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_details(new QPlainTextEdit(this))
    , m_quip(ToQString(report.quip, encoding))
{
    setWindowTitle(QStringLiteral("ZEV Dialogue Tool - Error"));
    auto* icon = new QLabel(this);
    int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(iconSize, iconSize));
    icon->setAlignment(Qt::AlignTop);
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
    QPushButton* copy = buttons->addButton(QStringLiteral("&Copy details"), QDialogButtonBox::ActionRole);
    copy->setAutoDefault(false);
    connect(copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(DetailsText()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    buttons->button(QDialogButtonBox::Close)->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(error);
    texts->addWidget(quip);
    auto* top = new QHBoxLayout;
    top->setSpacing(12);
    top->addWidget(icon);
    top->addLayout(texts, 1);
    auto* detailsCaption = new QLabel(QStringLiteral("&Details:"), this);
    detailsCaption->setBuddy(m_details);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(6);
    layout->addWidget(detailsCaption);
    layout->addWidget(m_details, 1);
    layout->addWidget(buttons);
    resize(560, 380);
}

std::string ReadableTypeName(const char* mangled)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(mangled);
}

QString ExceptionReportWindow::DetailsText() const
{
    return m_details->toPlainText();
}

QString ExceptionReportWindow::QuipText() const
{
    return m_quip;
}

bool ZevApplication::notify(QObject* receiver, QEvent* event)
{
    std::string kind, text;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        kind = ReadableTypeName(typeid(e).name());
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
