#pragma once

// What the three editor windows share: captions from the models' constants, labels bound to their
// controls for screen readers, mnemonics that do not clash within a window, lists, and memos whose
// CR LF text is shown with Qt's LF.

#include <QSet>
#include <QString>
#include <Qt>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/codepage.h"

class QCheckBox;
class QDialog;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QVBoxLayout;
class QWidget;

namespace zev::editor_gui {

// A caption constant; its CR LF breaks become LF.
QString Caption(std::string_view text);
// What a screen reader calls the control beside a caption: no trailing colon, one line.
QString SpokenName(std::string_view caption);

// Hands out Alt+letter mnemonics, one letter per control of a window: the preferred letter when it
// is free, else the first free letter of a word, else any free letter, else none.
class Mnemonics {
public:
    QString Mark(std::string_view caption, char prefer = 0);
    void Take(QChar letter) { m_taken.insert(letter.toLower()); }

private:
    QSet<QChar> m_taken;
};

// A button captioned by the constant, with a mnemonic when one is free, named for screen readers.
QPushButton* MakeButton(std::string_view caption, QWidget* parent, Mnemonics* mnemonics = nullptr, char prefer = 0);
// A check box captioned by the constant, with a mnemonic, named for screen readers.
QCheckBox* MakeCheck(std::string_view caption, QWidget* parent, Mnemonics& mnemonics, char prefer);
// "OK" (the default button; the caller connects it) and "Cancel" (rejects), in the platform's
// order.
QDialogButtonBox* OkCancel(QDialog* dialog, Mnemonics& mnemonics, QPushButton*& ok, QPushButton*& cancel);
// A column of buttons beside a list; the free space goes above the buttons from `lower` on.
QVBoxLayout* ButtonColumn(const std::vector<QPushButton*>& buttons, std::size_t lower);
// A hidden control keeps its room, so a dialog does not jump as its check boxes change.
void KeepRoom(QWidget* w);
// A label for the control: its buddy, and the control named after it.
QLabel* LabelFor(
    std::string_view caption, QWidget* control, QWidget* parent, Mnemonics* mnemonics = nullptr, char prefer = 0);

// A flat list of whole rows with the given column headers, alternating row colours and a grid feel.
QTreeWidget* MakeList(std::span<const std::string_view> columns, std::string_view spokenName, QWidget* parent);
// The list's rows as cells of model text, for telling whether a redraw must rebuild.
using Cells = std::vector<std::vector<std::string>>;
// Rebuilds the list from the cells in one batch; line breaks inside a cell show as spaces, the whole
// text as the cell's tooltip.
void FillList(QTreeWidget* list, const Cells& rows, TextEncoding encoding,
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled);

// A multi-line text box that Tab leaves (the texts have no use for tab characters); a read-only one
// can still be reached, scrolled and copied from the keyboard.
QPlainTextEdit* MakeMemo(const char* objectName, bool readOnly, QWidget* parent);
// Memo text: the model writes CR LF, the memo LF.
QString MemoText(std::string_view bytes, TextEncoding encoding);
std::string FromMemo(const QString& text, TextEncoding encoding);
// Replaces the memo's text only when it shows something else, so the cursor and scroll survive.
void SetMemo(QPlainTextEdit* memo, std::string_view bytes, TextEncoding encoding);

} // namespace zev::editor_gui
