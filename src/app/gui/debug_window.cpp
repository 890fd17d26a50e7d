#include "app/gui/debug_window.h"

#include <QHideEvent>
#include <QListWidget>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"
#include "base/debug_window_model.h"

namespace zev {

DebugWindow::DebugWindow(DebugWindowModel& model, TextEncoding encoding, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_model(model)
    , m_encoding(encoding)
    , m_list(new QListWidget(this))
{
    setWindowTitle(QString::fromLatin1(
        DebugWindowModel::kCaption.data(), static_cast<qsizetype>(DebugWindowModel::kCaption.size())));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    QFont small = m_list->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    m_list->setFont(small);
    m_list->setUniformItemSizes(true);
    // Whole lines, scrolled sideways when long: paths are the interesting part of many of them.
    m_list->setTextElideMode(Qt::ElideNone);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    resize(480, 280);
    m_model.onChanged = [this] { Refresh(); };
    Refresh();
}

DebugWindow::~DebugWindow()
{
    // QWidget's destructor hides the window without reaching hideEvent here: stop the list by hand.
    m_model.onChanged = nullptr;
    m_model.SetVisible(false);
}

void DebugWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        m_model.SetVisible(true);
}

void DebugWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    // Minimising the main window hides its tool windows too; only a real hide stops the list.
    if (!event->spontaneous())
        m_model.SetVisible(false);
}

void DebugWindow::Refresh()
{
    const auto& lines = m_model.Lines();
    if (static_cast<std::size_t>(m_list->count()) > lines.size())
        m_list->clear();
    for (auto i = static_cast<std::size_t>(m_list->count()); i < lines.size(); ++i)
        m_list->addItem(ToQString(lines[i], m_encoding));
    int target = m_model.ScrollTarget();
    if (target >= 0 && target < m_list->count()) {
        // Select to scroll to the newest line, then let go of the selection.
        m_list->setCurrentRow(target);
        m_list->scrollToItem(m_list->item(target));
        m_list->clearSelection();
    }
}

} // namespace zev
