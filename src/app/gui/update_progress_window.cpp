#include "app/gui/update_progress_window.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {
// Byte counts above 2^31 would overflow the bar's int range: scale both ends alike.
int Scaled(std::int64_t value, std::int64_t maximum)
{
    constexpr std::int64_t kIntMax = 0x7fffffff;
    if (maximum <= kIntMax)
        return static_cast<int>(value);
    return static_cast<int>(value / (maximum / kIntMax + 1));
}
} // namespace

UpdateProgressWindow::UpdateProgressWindow(UpdateProgressModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , m_model(model)
    , m_encoding(encoding)
    , m_bar(new QProgressBar(this))
    , m_bytes(new QLabel(this))
    , m_file(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Update progress"));
    m_bytes->setAlignment(Qt::AlignCenter);
    m_file->setAlignment(Qt::AlignCenter);
    m_file->setWordWrap(true);
    m_bar->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_bytes);
    layout->addWidget(m_file);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_bar->setMinimumWidth(360);
    m_connection = m_model.changed.Connect([this] { Refresh(); });
    Refresh();
}

UpdateProgressWindow::~UpdateProgressWindow()
{
    m_model.changed.Disconnect(m_connection);
}

void UpdateProgressWindow::Refresh()
{
    const std::int64_t maximum = m_model.maximum();
    m_bar->setRange(0, Scaled(maximum, maximum));
    m_bar->setValue(Scaled(m_model.position(), maximum));
    m_bytes->setText(ToDisplayText(m_model.bytesText(), m_encoding));
    m_file->setText(ToDisplayText(m_model.fileText(), m_encoding));
    if (m_model.visible() && !isVisible()) {
        adjustSize();
        if (QWidget* owner = parentWidget())
            move(owner->geometry().center() - rect().center());
        show();
    } else if (!m_model.visible() && isVisible()) {
        hide();
    }
}

} // namespace zev
