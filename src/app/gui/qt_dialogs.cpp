#include "app/gui/qt_dialogs.h"

#include <algorithm>

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "app/gui/qt_text.h"

namespace zev {

namespace {

QMessageBox::Icon QtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons QtButtons(MsgButtons buttons)
{
    using B = QMessageBox;
    switch (buttons) {
    case MsgButtons::Ok:
        return B::Ok;
    case MsgButtons::OkCancel:
        return B::Ok | B::Cancel;
    case MsgButtons::YesNo:
        return B::Yes | B::No;
    case MsgButtons::YesNoCancel:
        return B::Yes | B::No | B::Cancel;
    case MsgButtons::RetryCancel:
        return B::Retry | B::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return B::Abort | B::Retry | B::Ignore;
    }
    return B::Ok;
}

std::optional<MsgResult> FromQtButton(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Cancel:
        return MsgResult::Cancel;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    case QMessageBox::Retry:
        return MsgResult::Retry;
    case QMessageBox::Abort:
        return MsgResult::Abort;
    case QMessageBox::Ignore:
        return MsgResult::Ignore;
    default:
        return std::nullopt;
    }
}

// "*.a;*.b" (or "*.a *.b") as Qt's "*.a *.b"; "*.*" means every file, dotted or not.
QString QtPatterns(const QString& patterns)
{
    QStringList out;
    for (const QString& p : patterns.split(QRegularExpression(QStringLiteral("[; ]")), Qt::SkipEmptyParts))
        out << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
    return out.isEmpty() ? QStringLiteral("*") : out.join(QLatin1Char(' '));
}

} // namespace

QString QtNameFilter(const FileFilter& filter, TextEncoding encoding)
{
    QString patterns = QtPatterns(ToQString(filter.patterns, encoding));
    QString description = ToQString(filter.description, encoding).trimmed();
    // Descriptions often show their patterns already ("ZEV Dialogue File format (*.zev)"). Qt takes
    // the last parenthesis as the patterns: drop the description's copy and add the Qt form once.
    qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (description.endsWith(QLatin1Char(')')) && open >= 0
        && QtPatterns(description.mid(open + 1, description.size() - open - 2)) == patterns)
        description = description.left(open).trimmed();
    QString suffix = QLatin1Char('(') + patterns + QLatin1Char(')');
    return description.isEmpty() ? suffix : description + QLatin1Char(' ') + suffix;
}

QStringList QtNameFilters(const std::vector<FileFilter>& filters, TextEncoding encoding)
{
    QStringList out;
    for (const FileFilter& f : filters)
        out << QtNameFilter(f, encoding);
    return out;
}

QString QtDialogs::Caption(std::string_view caption) const
{
    return caption.empty() ? QApplication::applicationName() : ToQString(caption, m_encoding);
}

MsgResult QtDialogs::MessageBox(std::string_view text, MsgIcon icon, MsgButtons buttons, std::string_view caption)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(Caption(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(ToDisplayText(text, m_encoding));
    box.setIcon(QtIcon(icon));
    box.setStandardButtons(QtButtons(buttons));
    int pressed = box.exec();
    // Closed without a button (Escape on a box without Cancel): the set's safe answer.
    return FromQtButton(pressed).value_or(DefaultButton(buttons));
}

std::optional<std::string> QtDialogs::InputBox(
    std::string_view caption, std::string_view prompt, std::string_view defaultText)
{
    QInputDialog box(m_parent);
    box.setWindowTitle(Caption(caption));
    box.setLabelText(ToDisplayText(prompt, m_encoding));
    box.setTextValue(ToQString(defaultText, m_encoding));
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return FromQString(box.textValue(), m_encoding);
}

std::optional<std::string> QtDialogs::FileBox(const FileBoxOptions& options, bool save)
{
    QFileDialog box(m_parent, Caption(options.title));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save || !options.mustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
    QStringList filters = QtNameFilters(options.filters, m_encoding);
    if (!filters.isEmpty()) {
        box.setNameFilters(filters);
        if (options.filterIndex >= 0 && options.filterIndex < filters.size())
            box.selectNameFilter(filters[options.filterIndex]);
    }
    if (!options.defaultExtension.empty())
        box.setDefaultSuffix(ToQString(options.defaultExtension, m_encoding));
    if (!options.initialFolder.empty())
        box.setDirectory(PathToQString(options.initialFolder));
    if (!options.fileName.empty())
        box.selectFile(PathToQString(options.fileName));
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    options.chosenFilter = static_cast<int>(std::max<qsizetype>(0, filters.indexOf(box.selectedNameFilter())));
    return PathFromQString(box.selectedFiles().constFirst());
}

std::optional<std::string> QtDialogs::OpenFile(const FileBoxOptions& options)
{
    return FileBox(options, false);
}

std::optional<std::string> QtDialogs::SaveFile(const FileBoxOptions& options)
{
    return FileBox(options, true);
}

std::optional<std::string> QtDialogs::PickFolder(std::string_view caption, std::string_view initialFolder)
{
    QFileDialog box(m_parent, Caption(caption));
    box.setFileMode(QFileDialog::Directory);
    box.setOption(QFileDialog::ShowDirsOnly, true);
    if (!initialFolder.empty())
        box.setDirectory(PathToQString(initialFolder));
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
        return std::nullopt;
    return PathFromQString(box.selectedFiles().constFirst());
}

} // namespace zev
