#include "editors/gui/code_editor_popups.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QListView>
#include <QVBoxLayout>

#include <algorithm>

namespace zev {

namespace {

constexpr int kVisibleRows = 12;
// The popup's width follows this many entries from the top; longer ones further down are elided.
constexpr int kMeasuredRows = 64;
constexpr int kMinListWidth = 180;
constexpr int kMaxListWidth = 560;

QFont PopupFont(bool bold)
{
    QFont font = QApplication::font();
    font.setPointSize(8);
    font.setBold(bold);
    return font;
}

// Shown without activation and never focused: the editor keeps typing.
void MakeToolWindow(QFrame* frame, const QColor& background)
{
    frame->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    frame->setAttribute(Qt::WA_ShowWithoutActivating);
    frame->setFocusPolicy(Qt::NoFocus);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(1);
    QPalette palette = frame->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(palette);
    frame->setAutoFillBackground(true);
}

} // namespace

class CompletionPopup::EntryModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void Reset(int count, EntryText text)
    {
        beginResetModel();
        m_count = std::max(0, count);
        m_text = std::move(text);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_count; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_count || !m_text)
            return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole || role == Qt::ToolTipRole)
            return m_text(index.row());
        return {};
    }

private:
    int m_count = 0;
    EntryText m_text;
};

CompletionPopup::CompletionPopup(QWidget* owner)
    : QFrame(owner)
    , m_title(new QLabel(tr("Code completion"), this))
    , m_list(new QListView(this))
    , m_entries(new EntryModel(this))
{
    m_list->setModel(m_entries);
    MakeToolWindow(this, QColor(0xD8, 0xEA, 0xFE));
    m_title->setFont(PopupFont(true));
    m_title->setContentsMargins(4, 1, 4, 1);
    m_list->setFont(PopupFont(false));
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setAccessibleName(tr("Code completion"));
    m_list->setObjectName(QStringLiteral("completionList"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setUniformItemSizes(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(m_title);
    layout->addWidget(m_list);
    connect(m_list, &QListView::doubleClicked, this, [this](const QModelIndex& index) { emit chosen(index.row()); });
}

void CompletionPopup::SetEntries(int count, EntryText text)
{
    m_entries->Reset(count, std::move(text));
    if (count > 0)
        m_list->setCurrentIndex(m_entries->index(0));
    const QFontMetrics metrics(m_list->font());
    int width = metrics.horizontalAdvance(m_title->text()) + 16;
    for (int row = 0; row < std::min(count, kMeasuredRows); ++row)
        width = std::max(
            width, metrics.horizontalAdvance(m_entries->data(m_entries->index(row), Qt::DisplayRole).toString()));
    width = std::clamp(width + 24, kMinListWidth, kMaxListWidth);
    const int rows = std::clamp(count, 1, kVisibleRows);
    const int rowHeight = std::max(m_list->sizeHintForRow(0), metrics.height());
    // The list as tall as its rows: a short list does not trail empty space.
    m_list->setFixedHeight(rows * rowHeight + 2 * m_list->frameWidth());
    setFixedSize(width, m_title->sizeHint().height() + m_list->height() + 2 * frameWidth() + 2);
}

QStringList CompletionPopup::Entries() const
{
    QStringList out;
    const int count = m_entries->rowCount({});
    out.reserve(count);
    for (int row = 0; row < count; ++row)
        out << m_entries->data(m_entries->index(row), Qt::DisplayRole).toString();
    return out;
}

int CompletionPopup::CurrentRow() const
{
    return m_list->currentIndex().row();
}

bool CompletionPopup::MoveSelection(int key)
{
    const int count = m_entries->rowCount({});
    if (count == 0)
        return false;
    const int page = std::max(1, m_list->viewport()->height() / std::max(1, m_list->sizeHintForRow(0)) - 1);
    int row = m_list->currentIndex().row();
    switch (key) {
    case Qt::Key_Up:
        row -= 1;
        break;
    case Qt::Key_Down:
        row += 1;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    default:
        return false;
    }
    m_list->setCurrentIndex(m_entries->index(std::clamp(row, 0, count - 1)));
    return true;
}

HintPopup::HintPopup(QWidget* owner)
    : QFrame(owner)
    , m_label(new QLabel(this))
{
    MakeToolWindow(this, QColor(0xF4, 0xF2, 0xFF));
    setAccessibleName(tr("Parameter hint"));
    m_label->setFont(PopupFont(false));
    m_label->setTextFormat(Qt::RichText);
    m_label->setContentsMargins(4, 2, 4, 2);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(m_label);
}

void HintPopup::SetParts(const QStringList& parts, int current)
{
    QString html;
    m_plain.clear();
    for (int i = 0; i < parts.size(); ++i) {
        const QString escaped = parts[i].toHtmlEscaped().replace(QLatin1Char(' '), QStringLiteral("&nbsp;"));
        html += i == current ? QStringLiteral("<b>%1</b>").arg(escaped) : escaped;
        m_plain += parts[i];
    }
    m_label->setText(html);
    adjustSize();
}

} // namespace zev
