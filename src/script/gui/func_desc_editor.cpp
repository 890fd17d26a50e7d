#include "script/gui/func_desc_editor.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace zev {

namespace {

QString Text(std::string_view s) { return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size())); }

} // namespace

FuncDescEditorWindow::FuncDescEditorWindow(FuncDescEditorModel& model, QWidget* parent)
    : QDialog(parent), m_model(model), m_list(new QListWidget(this)), m_memo(new QPlainTextEdit(this))
{
    setWindowTitle(Text(FuncDescEditorModel::kCaption));
    for (const std::string& name : model.names())
        m_list->addItem(QString::fromStdString(name));
    m_memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_memo->setEnabled(false);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(Text(FuncDescEditorModel::kListCaption), this));
    left->addWidget(m_list);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(Text(FuncDescEditorModel::kMemoCaption), this));
    right->addWidget(m_memo);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
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
}

void FuncDescEditorWindow::ShowSelected()
{
    m_filling = true;
    m_memo->setEnabled(m_model.selected() >= 0);
    m_memo->setPlainText(QString::fromStdString(m_model.memo()));
    m_filling = false;
}

} // namespace zev
