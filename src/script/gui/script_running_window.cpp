#include "script/gui/script_running_window.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace zev {

namespace {

QString Text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

ScriptRunningWindow::ScriptRunningWindow(ScriptRunWatch& watch, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_watch(watch)
    , m_stop(new QPushButton(Text(ScriptRunWatch::kStopCaption), this))
{
    setWindowTitle(QStringLiteral("ZEV Dialogue Tool"));
    setWindowModality(Qt::ApplicationModal);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 12, 12, 12);
    layout->setSpacing(12);
    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_BrowserReload, nullptr, this).pixmap(size, size));
    auto* label = new QLabel(Text(ScriptRunWatch::kCaption), this);
    layout->addWidget(icon);
    layout->addWidget(label, 1);
    layout->addWidget(m_stop);
    m_stop->setDefault(true);
    setFixedSize(sizeHint().expandedTo(QSize(260, 0)));
    connect(m_stop, &QPushButton::clicked, this, [this] { m_watch.Stop(); });

    // Shown and hidden by the model; while shown, the running script lets the program breathe.
    m_changedId = watch.indicatorChanged.Connect([this](bool on) {
        if (on) {
            if (parentWidget())
                move(parentWidget()->geometry().center() - rect().center());
            show();
        } else {
            QDialog::done(QDialog::Accepted); // hides it
        }
    });
    watch.serviceEvents = [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); };
}

ScriptRunningWindow::~ScriptRunningWindow()
{
    m_watch.indicatorChanged.Disconnect(m_changedId);
    m_watch.serviceEvents = nullptr;
}

void ScriptRunningWindow::done(int)
{
    m_watch.Stop();
}

} // namespace zev
