#pragma once

// Finding the controls of a window the way a screen reader does: by their accessible names.

#include <QString>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

#include <initializer_list>
#include <ostream>

#include <gtest/gtest.h>

// Readable failures: gtest prints a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace zev::test {

// The first control of that type with that accessible name, or null.
template <class W = QWidget> W* Named(QWidget* root, const QString& name)
{
    for (W* w : root->findChildren<W*>())
        if (w->accessibleName() == name)
            return w;
    return nullptr;
}
template <class W = QWidget> W* Named(QWidget* root, const char* name)
{
    return Named<W>(root, QString::fromUtf8(name));
}

// The same, a test failure when there is none.
template <class W = QWidget> W* Control(QWidget* root, const char* name)
{
    W* w = Named<W>(root, name);
    if (!w)
        ADD_FAILURE() << "no control named " << name;
    return w;
}

inline void ExpectNamed(QWidget* root, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        EXPECT_TRUE(Named(root, name)) << "no control named '" << name << "'";
}

// The list's top-level row whose first cell reads name, or null.
inline QTreeWidgetItem* Row(QTreeWidget* list, const char* name)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0) == QLatin1String(name))
            return list->topLevelItem(i);
    return nullptr;
}

// Replaces a field's text by typing, as a user does: everything selected, then the lines with Enter
// between them (an empty text deletes the selection).
inline void Retype(QWidget* field, const QString& text)
{
    if (!field) {
        ADD_FAILURE() << "no field to type into";
        return;
    }
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Backspace);
        return;
    }
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClicks(field, lines[i]);
    }
}

} // namespace zev::test
