#include "runner/gui/transcript_list_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QString Caption(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

TranscriptListWindow::TranscriptListWindow(TranscriptListModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent), m_model(model), m_encoding(encoding), m_list(new QTreeWidget(this))
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
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
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
    layout->addWidget(new QLabel(Caption(TranscriptListModel::kLabel), this));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(640, 320);

    m_changedConnection = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

TranscriptListWindow::~TranscriptListWindow() { m_model.changed.Disconnect(m_changedConnection); }

void TranscriptListWindow::Redraw()
{
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
    if (m_model.visible() && !isVisible()) {
        show();
        raise();
    } else if (!m_model.visible() && isVisible()) {
        hide();
    }
}

void TranscriptListWindow::done(int result)
{
    QDialog::done(result);
    if (m_model.visible())
        m_model.Ok();
}

} // namespace zev
