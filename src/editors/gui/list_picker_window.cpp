#include "editors/gui/list_picker_window.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;

ListPickerWindow::ListPickerWindow(ListPickerModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("listPicker"));
    setSizeGripEnabled(true);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("pickerList"));
    // The label's text is the caller's; it is set with the items on every redraw.
    m_label = new QLabel(this);
    m_label->setBuddy(m_list);
    // The selection, not the current row: focus alone gives the list a current row, and an entry
    // the user did not choose must not come back as the choice.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        const QList<QListWidgetItem*> chosen = m_list->selectedItems();
        m_model.Choose(chosen.isEmpty() ? -1 : m_list->row(chosen.front()));
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (m_model.Activate(m_list->row(item)))
            accept();
    });
    QDialogButtonBox* buttons = OkCancel(this, m_mnemonics, m_ok, m_cancel);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    setMinimumSize(300, 320);
    resize(340, 400);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

ListPickerWindow::~ListPickerWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

bool ListPickerWindow::exec(ListPickerModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Redraw();
    m_list->setFocus();
    return QDialog::exec() == QDialog::Accepted;
}

void ListPickerWindow::Redraw()
{
    m_redrawing = true;
    setWindowTitle(ToDisplayText(m_model.caption(), m_encoding));
    // The caller's text, shown as it is: an ampersand is no mnemonic here.
    QString label = ToDisplayText(m_model.label(), m_encoding);
    m_label->setText(QString(label).replace(QLatin1Char('&'), QStringLiteral("&&")));
    QString spoken = label.simplified();
    while (spoken.endsWith(QLatin1Char(':')))
        spoken.chop(1);
    m_list->setAccessibleName(spoken);
    SetListItems(m_list, m_model.items(), m_model.chosen(), m_encoding);
    m_redrawing = false;
}

} // namespace zev
