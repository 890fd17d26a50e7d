#include "editors/gui/code_widgets.h"

#include "editors/gui/code_editor.h"

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

void CodeBinding::Bind(CodeEditor* editor, const CompletionLists* lists, const DefinitionTable* definitions)
{
    m_editor = editor;
    m_lists = lists;
    m_definitions = definitions;
}

void CodeBinding::Begin()
{
    m_editor->AttachCompletion(m_lists, m_definitions);
    m_shownModel.clear();
    m_editor->SetCode({});
    m_shownEditor = m_editor->Code();
}

void CodeBinding::Show(const std::string& modelCode)
{
    if (modelCode == m_shownModel)
        return;
    m_editor->SetCode(modelCode);
    m_shownModel = modelCode;
    m_shownEditor = m_editor->Code();
}

std::optional<std::string> CodeBinding::Edited()
{
    std::string now = m_editor->Code();
    if (now == m_shownEditor)
        return std::nullopt;
    m_shownEditor = now;
    m_shownModel = now;
    return now;
}

} // namespace zev::editor_gui
