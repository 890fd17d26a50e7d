#include "update/gui/release_notes_window.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zev {

namespace {

QString Text(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A page from the network may name images and style sheets anywhere, the local disk included:
// none is loaded.
class NotesBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

} // namespace

ReleaseNotesWindow::ReleaseNotesWindow(ReleaseNotesModel& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_model(model)
    , m_browser(new NotesBrowser(this))
    , m_check(new QCheckBox(Text(ReleaseNotesModel::kCheckCaption), this))
    , m_ok(new QPushButton(Text(ReleaseNotesModel::kOkCaption), this))
    , m_cancel(new QPushButton(Text(ReleaseNotesModel::kCancelCaption), this))
{
    setWindowTitle(Text(ReleaseNotesModel::kTitle));
    setModal(true);
    m_browser->setOpenLinks(false);
    m_browser->setHtml(Text(model.page()));
    connect(m_browser, &QTextBrowser::anchorClicked, this, [](const QUrl& url) {
        if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
            QDesktopServices::openUrl(url);
    });
    m_check->setChecked(model.checkInFuture());
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_check);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_browser);
    layout->addLayout(buttons);
    resize(640, 480);
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
}

void ReleaseNotesWindow::done(int result)
{
    m_model.SetCheckInFuture(m_check->isChecked());
    QDialog::done(result);
}

bool QtReleaseNotesView::exec(ReleaseNotesModel& model)
{
    ReleaseNotesWindow window(model, m_parent);
    return window.exec() == QDialog::Accepted;
}

} // namespace zev
