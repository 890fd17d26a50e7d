#include "editors/gui/code_widgets.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include "app/gui/qt_text.h"

namespace zev::editor_gui {

namespace {

QStringList ToStrings(const std::vector<std::string>& items, TextEncoding encoding)
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items)
        out << ToQString(item, encoding);
    return out;
}

} // namespace

void SetComboItems(QComboBox* box, const std::vector<std::string>& items, int current, TextEncoding encoding)
{
    const QSignalBlocker quiet(box);
    const QStringList wanted = ToStrings(items, encoding);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    if (shown != wanted) {
        box->clear();
        box->addItems(wanted);
    }
    box->setCurrentIndex(current >= 0 && current < box->count() ? current : -1);
}

void SetListItems(QListWidget* list, const std::vector<std::string>& items, int current, TextEncoding encoding)
{
    const QSignalBlocker quiet(list);
    const QStringList wanted = ToStrings(items, encoding);
    QStringList shown;
    for (int i = 0; i < list->count(); ++i)
        shown << list->item(i)->text();
    if (shown != wanted) {
        list->clear();
        list->addItems(wanted);
    }
    if (current >= 0 && current < list->count()) {
        list->setCurrentRow(current);
    } else {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
}

void SetLineText(QLineEdit* field, const std::string& text, TextEncoding encoding)
{
    const QString wanted = ToQString(text, encoding);
    if (field->text() != wanted)
        field->setText(wanted);
}

} // namespace zev::editor_gui
