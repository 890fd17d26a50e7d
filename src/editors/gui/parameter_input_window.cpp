#include "editors/gui/parameter_input_window.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"
#include "editors/gui/code_widgets.h"

namespace zev {

using namespace editor_gui;
using Model = ParameterInputModel;

ParameterInputWindow::ParameterInputWindow(ParameterInputModel& model, TextEncoding encoding, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_encoding(encoding)
{
    setObjectName(QStringLiteral("parameterInput"));
    setWindowTitle(Caption(Model::kCaption));
    setSizeGripEnabled(true);

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("prompt"));
    m_prompt->setWordWrap(true);
    m_prompt->setTextFormat(Qt::PlainText);
    QFont bold = m_prompt->font();
    bold.setBold(true);
    m_prompt->setFont(bold);

    m_pages = new QStackedWidget(this);
    m_nonePage = new QWidget(m_pages);
    m_spin = new QSpinBox;
    m_spin->setRange(Model::kMinInteger, Model::kMaxInteger);
    m_spinPage = Page(m_spinLabel, m_spin, "integerValue");
    m_nodePage = BuildNodePage();
    m_dropDown = new QComboBox;
    m_dropDownPage = Page(m_dropDownLabel, m_dropDown, "floatNodeChoice");
    m_list = new QListWidget;
    m_listPage = Page(m_listLabel, m_list, "choiceList");
    m_memo = MakeMemo("stringValue", false, nullptr);
    m_memoPage = Page(m_memoLabel, m_memo, "stringValuePage");
    m_text = new QLineEdit;
    m_textPage = Page(m_textLabel, m_text, "textValue");
    for (QWidget* page : { m_nonePage, m_spinPage, m_nodePage, m_dropDownPage, m_listPage, m_memoPage, m_textPage })
        m_pages->addWidget(page);

    connect(m_nodes, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.Choose(i);
    });
    connect(m_dropDown, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_redrawing)
            m_model.Choose(i);
    });
    // The selection, not the current row: focus alone makes the first row current.
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_redrawing)
            return;
        const QList<QListWidgetItem*> chosen = m_list->selectedItems();
        m_model.Choose(chosen.isEmpty() ? -1 : m_list->row(chosen.front()));
    });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { Next(); });

    m_next = MakeButton(Model::kNextParameter, this);
    m_next->setObjectName(QStringLiteral("nextParameter"));
    m_next->setDefault(true);
    m_cancel = MakeButton(Model::kCancel, this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_next, QDialogButtonBox::AcceptRole);
    buttons->addButton(m_cancel, QDialogButtonBox::RejectRole);
    connect(m_next, &QPushButton::clicked, this, [this] { Next(); });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_pages, 1);
    layout->addWidget(buttons);
    setMinimumSize(420, 320);
    resize(480, 380);

    m_changedId = m_model.changed.Connect([this] { Redraw(); });
    Redraw();
}

ParameterInputWindow::~ParameterInputWindow()
{
    m_model.changed.Disconnect(m_changedId);
}

QWidget* ParameterInputWindow::Page(QLabel*& label, QWidget* control, const char* objectName)
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QString::fromLatin1(objectName) + QStringLiteral("Page"));
    control->setParent(page);
    control->setObjectName(QString::fromLatin1(objectName));
    label = LabelFor(" ", control, page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(control, control == m_list || control == m_memo ? 1 : 0);
    if (control != m_list && control != m_memo)
        layout->addStretch(1);
    return page;
}

QWidget* ParameterInputWindow::BuildNodePage()
{
    auto* page = new QWidget(m_pages);
    page->setObjectName(QStringLiteral("nodePage"));
    m_nodes = new QComboBox(page);
    m_nodes->setObjectName(QStringLiteral("nodeChoice"));
    m_nodeLabel = LabelFor(Model::kNodeLabel, m_nodes, page);
    m_preview = MakeMemo("nodeTextPreview", true, page);
    auto* previewLabel = LabelFor(Model::kNodeTextLabel, m_preview, page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_nodeLabel);
    layout->addWidget(m_nodes);
    layout->addWidget(previewLabel);
    layout->addWidget(m_preview, 1);
    return page;
}

bool ParameterInputWindow::exec(ParameterInputModel& model)
{
    Q_ASSERT(&model == &m_model); // built over the one model it shows
    Redraw();
    return QDialog::exec() == QDialog::Accepted;
}

void ParameterInputWindow::Redraw()
{
    m_redrawing = true;
    m_prompt->setText(ToDisplayText(m_model.prompt(), m_encoding));
    m_prompt->setAccessibleName(m_prompt->text());
    QWidget* page = m_nonePage;
    QLabel* label = nullptr;
    QWidget* control = nullptr;
    switch (m_model.page()) {
    case ParamPage::None:
        break;
    case ParamPage::Spin:
        page = m_spinPage, label = m_spinLabel, control = m_spin;
        m_spin->setValue(m_model.spinValue());
        break;
    case ParamPage::NodeChoice:
        page = m_nodePage, label = m_nodeLabel, control = m_nodes;
        SetComboItems(m_nodes, m_model.items(), m_model.chosen(), m_encoding);
        SetMemo(m_preview, m_model.preview(), m_encoding);
        break;
    case ParamPage::DropDown:
        page = m_dropDownPage, label = m_dropDownLabel, control = m_dropDown;
        SetComboItems(m_dropDown, m_model.items(), m_model.chosen(), m_encoding);
        break;
    case ParamPage::List:
        page = m_listPage, label = m_listLabel, control = m_list;
        SetListItems(m_list, m_model.items(), m_model.chosen(), m_encoding);
        break;
    case ParamPage::Memo:
        page = m_memoPage, label = m_memoLabel, control = m_memo;
        SetMemo(m_memo, m_model.memo(), m_encoding);
        break;
    case ParamPage::FreeText:
        page = m_textPage, label = m_textLabel, control = m_text;
        SetLineText(m_text, m_model.freeText(), m_encoding);
        break;
    }
    if (label) {
        label->setText(Caption(m_model.pageLabel()));
        control->setAccessibleName(SpokenName(m_model.pageLabel()));
    }
    if (m_pages->currentWidget() != page) {
        m_pages->setCurrentWidget(page);
        if (control && isVisible())
            control->setFocus();
    }
    m_next->setText(Caption(m_model.mainButton()));
    m_next->setAccessibleName(SpokenName(m_model.mainButton()));
    m_redrawing = false;
}

void ParameterInputWindow::PushFields()
{
    m_model.SetSpinValue(m_spin->value());
    m_model.SetMemo(FromMemo(m_memo->toPlainText(), m_encoding));
    m_model.SetFreeText(FromQString(m_text->text(), m_encoding));
}

void ParameterInputWindow::Next()
{
    PushFields();
    switch (m_model.Next()) {
    case ParameterInputModel::Step::Done:
        accept();
        break;
    case ParameterInputModel::Step::Failed:
        reject();
        break;
    default:
        break;
    }
}

} // namespace zev
