#include "script/gui/func_desc_editor.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

namespace {

QString Text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

FuncDescEditorWindow::FuncDescEditorWindow(FuncDescEditorModel& model, QWidget* parent)
    : QDialog(parent)
    , m_model(model)
    , m_list(new QListWidget(this))
    , m_memo(new QPlainTextEdit(this))
{
    setWindowTitle(Text(FuncDescEditorModel::kCaption));
    for (const std::string& name : model.names())
        m_list->addItem(QString::fromStdString(name));
    m_memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo->setEnabled(false);

    auto* left = new QVBoxLayout;
    auto* listCaption = new QLabel(Text(FuncDescEditorModel::kListCaption), this);
    listCaption->setBuddy(m_list);
    left->addWidget(listCaption);
    left->addWidget(m_list);
    auto* right = new QVBoxLayout;
    auto* memoCaption = new QLabel(Text(FuncDescEditorModel::kMemoCaption), this);
    memoCaption->setBuddy(m_memo);
    right->addWidget(memoCaption);
    right->addWidget(m_memo);
    // Tab in the memo moves on; descriptions have no use for tab characters.
    m_memo->setTabChangesFocus(true);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 2);
    // Every edit is already stored: OK, Escape and closing all just close.
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    resize(760, 480);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        m_model.Select(row);
        ShowSelected();
    });
    connect(m_memo, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_filling)
            m_model.SetMemo(m_memo->toPlainText().toStdString());
    });
    if (m_list->count() > 0)
        m_list->setCurrentRow(0); // opens on the first description, ready to edit
    m_list->setFocus();
}

void FuncDescEditorWindow::ShowSelected()
{
    m_filling = true;
    m_memo->setEnabled(m_model.selected() >= 0);
    m_memo->setPlainText(QString::fromStdString(m_model.memo()));
    m_filling = false;
}

} // namespace zev
