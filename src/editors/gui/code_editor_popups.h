#pragma once

// The two popups of a code editor. Both are frameless tool tips that never take the keyboard focus:
// the editor keeps it and routes the keys that belong to the list.

#include <QFrame>
#include <QStringList>

class QLabel;
class QListWidget;

namespace zev {

// "Code completion": a title over the list of shown texts.
class CompletionPopup : public QFrame {
    Q_OBJECT
public:
    explicit CompletionPopup(QWidget* owner);

    // Replaces the entries, selects the first and sizes the popup to them.
    void SetEntries(const QStringList& entries);
    QStringList Entries() const;
    int CurrentRow() const;
    // Up, Down, Page Up and Page Down move the selection; false for any other key.
    bool MoveSelection(int key);
    QListWidget* list() const { return m_list; }

signals:
    // An entry was double-clicked.
    void chosen(int row);

private:
    QLabel* m_title;
    QListWidget* m_list;
};

// The parameter hint: the parameters one after another, the current one in bold.
class HintPopup : public QFrame {
    Q_OBJECT
public:
    explicit HintPopup(QWidget* owner);

    void SetParts(const QStringList& parts, int current);
    QString PlainText() const { return m_plain; }

private:
    QLabel* m_label;
    QString m_plain;
};

} // namespace zev
