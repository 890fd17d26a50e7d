#include "editors/gui/editor_widgets.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/gui/qt_text.h"

namespace zev::editor_gui {

QString Caption(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).remove(QLatin1Char('\r'));
}

QString SpokenName(std::string_view caption)
{
    QString text = Caption(caption).simplified();
    while (text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

QString Mnemonics::Mark(std::string_view caption, char prefer)
{
    QString text = Caption(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto mark = [&](qsizetype at) {
        Take(text[at]);
        return text.left(at) + QLatin1Char('&') + text.mid(at);
    };
    const QChar wanted = QChar::fromLatin1(prefer).toLower();
    auto wordStart = [&](qsizetype i) { return i == 0 || text[i - 1] == QLatin1Char(' '); };
    if (prefer && !m_taken.contains(wanted)) {
        // The letter where it starts a word, else where it first stands.
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i].toLower() == wanted && wordStart(i))
                return mark(i);
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i].toLower() == wanted)
                return mark(i);
    }
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && wordStart(i) && !m_taken.contains(text[i].toLower()))
            return mark(i);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isLetter() && !m_taken.contains(text[i].toLower()))
            return mark(i);
    return text;
}

QPushButton* MakeButton(std::string_view caption, QWidget* parent, Mnemonics* mnemonics, char prefer)
{
    QString shown = mnemonics ? mnemonics->Mark(caption, prefer)
                              : Caption(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* button = new QPushButton(shown, parent);
    button->setAccessibleName(SpokenName(caption));
    // A little air around the caption; the styles' own margins are tight for two words.
    button->setMinimumWidth(button->sizeHint().width() + 16);
    return button;
}

QCheckBox* MakeCheck(std::string_view caption, QWidget* parent, Mnemonics& mnemonics, char prefer)
{
    auto* box = new QCheckBox(mnemonics.Mark(caption, prefer), parent);
    box->setAccessibleName(SpokenName(caption));
    return box;
}

QDialogButtonBox* OkCancel(QDialog* dialog, Mnemonics& mnemonics, QPushButton*& ok, QPushButton*& cancel)
{
    ok = MakeButton("OK", dialog, &mnemonics, 'o');
    cancel = MakeButton("Cancel", dialog, &mnemonics, 'c');
    ok->setObjectName(QStringLiteral("okButton"));
    cancel->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QDialogButtonBox(dialog);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    return buttons;
}

QVBoxLayout* ButtonColumn(const std::vector<QPushButton*>& buttons, std::size_t lower)
{
    auto* column = new QVBoxLayout;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i == lower)
            column->addStretch(1);
        column->addWidget(buttons[i]);
    }
    if (lower >= buttons.size())
        column->addStretch(1);
    return column;
}

void KeepRoom(QWidget* w)
{
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    w->setSizePolicy(policy);
}

QLabel* LabelFor(std::string_view caption, QWidget* control, QWidget* parent, Mnemonics* mnemonics, char prefer)
{
    QString shown = mnemonics ? mnemonics->Mark(caption, prefer)
                              : Caption(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
    auto* label = new QLabel(shown, parent);
    label->setBuddy(control);
    control->setAccessibleName(SpokenName(caption));
    return label;
}

QTreeWidget* MakeList(std::span<const std::string_view> columns, std::string_view spokenName, QWidget* parent)
{
    auto* list = new QTreeWidget(parent);
    QStringList headers;
    for (std::string_view c : columns)
        headers << Caption(c);
    list->setColumnCount(static_cast<int>(headers.size()));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true); // 513 rows lay out without measuring each
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setAlternatingRowColors(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->header()->setStretchLastSection(true);
    list->setAccessibleName(SpokenName(spokenName));
    return list;
}

void FillList(QTreeWidget* list, const Cells& rows, TextEncoding encoding, Qt::ItemFlags flags)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const std::vector<std::string>& row : rows) {
        auto* item = new QTreeWidgetItem;
        item->setFlags(flags);
        for (std::size_t c = 0; c < row.size(); ++c) {
            QString whole = MemoText(row[c], encoding);
            QString line = whole;
            line.replace(QLatin1Char('\n'), QLatin1Char(' '));
            item->setText(static_cast<int>(c), line);
            if (line != whole || line.size() > 60)
                item->setToolTip(static_cast<int>(c), whole);
        }
        items << item;
    }
    list->clear();
    list->addTopLevelItems(items);
}

QPlainTextEdit* MakeMemo(const char* objectName, bool readOnly, QWidget* parent)
{
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(objectName));
    memo->setTabChangesFocus(true);
    memo->setReadOnly(readOnly);
    if (readOnly)
        memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return memo;
}

QString MemoText(std::string_view bytes, TextEncoding encoding)
{
    QString text = ToQString(bytes, encoding);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromMemo(const QString& text, TextEncoding encoding)
{
    QString crlf = text;
    crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQString(crlf, encoding);
}

void SetMemo(QPlainTextEdit* memo, std::string_view bytes, TextEncoding encoding)
{
    QString text = MemoText(bytes, encoding);
    if (memo->toPlainText() != text) {
        memo->setPlainText(text);
        memo->document()->setModified(false);
    }
}

} // namespace zev::editor_gui
