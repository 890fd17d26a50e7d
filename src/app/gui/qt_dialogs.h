#pragma once

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "app/dialogs.h"
#include "base/codepage.h"

namespace zev {

// The boxes as real Qt windows: QMessageBox, QInputDialog and QFileDialog, modal over the main
// window. Texts are the model's bytes and pass through the code page; file names are the file
// system's.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(TextEncoding encoding = TextEncoding::Cp1252)
        : m_encoding(encoding)
    {
    }

    // The window the boxes are centred over; none until the main window exists.
    void SetParent(QWidget* parent) { m_parent = parent; }
    void SetEncoding(TextEncoding encoding) { m_encoding = encoding; }
    TextEncoding encoding() const { return m_encoding; }

    MsgResult MessageBox(
        std::string_view text, MsgIcon icon, MsgButtons buttons, std::string_view caption = {}) override;
    std::optional<std::string> InputBox(
        std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
    std::optional<std::string> OpenFile(const FileBoxOptions& options) override;
    std::optional<std::string> SaveFile(const FileBoxOptions& options) override;
    std::optional<std::string> PickFolder(std::string_view caption, std::string_view initialFolder) override;

private:
    std::optional<std::string> FileBox(const FileBoxOptions& options, bool save);
    QString Caption(std::string_view caption) const;

    QPointer<QWidget> m_parent;
    TextEncoding m_encoding;
};

// A filter in Qt's form: "ZEV Dialogue File format (*.zev)" with "*.zev" gives
// "ZEV Dialogue File format (*.zev)"; "Scripts" with "*.dws;*.pas" gives "Scripts (*.dws *.pas)".
QString QtNameFilter(const FileFilter& filter, TextEncoding encoding);
QStringList QtNameFilters(const std::vector<FileFilter>& filters, TextEncoding encoding);

} // namespace zev
