#pragma once

// The two popups of a code editor. Both are frameless tool tips that never take the keyboard focus:
// the editor keeps it and routes the keys that belong to the list.

#include <QFrame>
#include <QStringList>

#include <functional>

class QLabel;
class QListView;

namespace zev {

// "Code completion": a title over the list of shown texts.
class CompletionPopup : public QFrame {
    Q_OBJECT
public:
    explicit CompletionPopup(QWidget* owner);

    // The entries as a count and their texts, asked for only as rows are shown (a list of
    // thousands narrows on every key); selects the first and sizes the popup to them.
    using EntryText = std::function<QString(int row)>;
    void SetEntries(int count, EntryText text);
    QStringList Entries() const;
    int CurrentRow() const;
    // Up, Down, Page Up and Page Down move the selection; false for any other key.
    bool MoveSelection(int key);
    QListView* list() const { return m_list; }

signals:
    // An entry was double-clicked.
    void chosen(int row);

private:
    class EntryModel;
    QLabel* m_title;
    QListView* m_list;
    EntryModel* m_entries;
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
