#include "runner/gui/transcript_list_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QString Caption(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

TranscriptListWindow::TranscriptListWindow(TranscriptListModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
    , m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("transcriptList"));
    setWindowTitle(Caption(TranscriptListModel::kCaption));
    setModal(false);
    m_list->setObjectName(QStringLiteral("transcripts"));
    QStringList columns;
    for (std::string_view c : TranscriptListModel::kColumns)
        columns << Caption(c);
    m_list->setHeaderLabels(columns);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAlternatingRowColors(true);
    m_list->setUniformRowHeights(true);
    // The file name's end (number and date) tells transcripts apart: elide its middle.
    m_list->setTextElideMode(Qt::ElideMiddle);
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(true);
    for (int c = 0; c < 3; ++c)
        header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    m_list->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
        [this](QTreeWidgetItem* item) { m_model.DoubleClick(m_list->indexOfTopLevelItem(item)); });

    auto* ok = new QPushButton(Caption(TranscriptListModel::kOkCaption), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] { m_model.Ok(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(Caption(TranscriptListModel::kLabel), this);
    label->setBuddy(m_list);
    m_list->setAccessibleName(Caption(TranscriptListModel::kCaption));
    layout->addWidget(label);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(760, 320);

    m_changedConnection = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

TranscriptListWindow::~TranscriptListWindow()
{
    m_model.changed.Disconnect(m_changedConnection);
}

void TranscriptListWindow::Redraw()
{
    // The keyboard's row survives a refill; a fresh list starts at the newest transcript.
    int keep = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (const TranscriptListRow& row : m_model.rows()) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, ToQString(row.number, m_encoding));
        item->setText(1, ToQString(row.npc, m_encoding));
        item->setText(2, ToQString(row.recordDate, m_encoding));
        // The file name is the file system's bytes, not dialogue text.
        item->setText(3, PathToQString(row.fileName));
        items << item;
    }
    m_list->addTopLevelItems(items);
    if (!items.isEmpty())
        m_list->setCurrentItem(keep >= 0 && keep < items.size() ? items[keep] : items.last());
    if (m_model.visible() && !isVisible()) {
        show();
        raise();
    } else if (!m_model.visible() && isVisible()) {
        hide();
    }
}

// Enter on a row is its double click; without this the dialog's OK would take it and hide the list.
bool TranscriptListWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && m_list->currentItem()) {
            m_model.DoubleClick(m_list->indexOfTopLevelItem(m_list->currentItem()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TranscriptListWindow::done(int result)
{
    QDialog::done(result);
    if (m_model.visible())
        m_model.Ok();
}

} // namespace zev
