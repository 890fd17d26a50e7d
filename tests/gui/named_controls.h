#pragma once

// Finding the controls of a window the way a screen reader does: by their accessible names.

#include <QString>
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

} // namespace zev::test
