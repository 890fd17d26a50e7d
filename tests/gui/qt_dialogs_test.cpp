#include "gui_support.h"

#include "app/gui/qt_dialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "support/temp_dir.h"

namespace zev {
namespace {

using QtDialogsTest = test::GuiTest;

TEST_F(QtDialogsTest, FiltersTakeQtsForm)
{
    auto one = [](std::string d, std::string p) {
        return QtNameFilter({ std::move(d), std::move(p) }, TextEncoding::Cp1252);
    };
    EXPECT_EQ(one("ZEV Dialogue File format (*.zev)", "*.zev"), "ZEV Dialogue File format (*.zev)");
    EXPECT_EQ(one("Scripts", "*.dws;*.pas"), "Scripts (*.dws *.pas)");
    EXPECT_EQ(one("Scripts (*.dws;*.pas)", "*.dws;*.pas"), "Scripts (*.dws *.pas)");
    EXPECT_EQ(one("All files", "*.*"), "All files (*)");
    EXPECT_EQ(one("Nothing given", ""), "Nothing given (*)");
    EXPECT_EQ(one("Other (*.txt)", "*.log"), "Other (*.txt) (*.log)");
    EXPECT_EQ(one("Fichiers \xE9t\xE9", "*.zev"), QString::fromUtf8("Fichiers \u00E9t\u00E9 (*.zev)"));
    EXPECT_EQ(
        QtNameFilters(ParseFileFilters("A|*.a|B|*.b"), TextEncoding::Cp1252), (QStringList { "A (*.a)", "B (*.b)" }));
}

TEST_F(QtDialogsTest, MessageBoxShowsTheTextAndReturnsThePressedButton)
{
    QtDialogs dialogs;
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    test::WhenModal<QMessageBox>([&](QMessageBox* box) {
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::No)->click();
    });
    MsgResult r = dialogs.MessageBox(
        "Save changes to 'caf\xE9'\r\nbefore proceeding?", MsgIcon::Confirmation, MsgButtons::YesNoCancel);
    EXPECT_EQ(r, MsgResult::No);
    EXPECT_EQ(text, QString::fromUtf8("Save changes to 'caf\u00E9'\nbefore proceeding?"));
    EXPECT_EQ(title, QApplication::applicationName());
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    test::WhenModal<QMessageBox>([&](QMessageBox* box) {
        icon = box->icon();
        title = box->windowTitle();
        buttons = box->standardButtons();
        box->button(QMessageBox::Retry)->click();
    });
    EXPECT_EQ(dialogs.MessageBox("Broken", MsgIcon::Error, MsgButtons::AbortRetryIgnore, "Plug-in"), MsgResult::Retry);
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(title, "Plug-in");
    EXPECT_EQ(buttons, QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore);
}

TEST_F(QtDialogsTest, InputBoxConvertsBothWaysAndCancelGivesNothing)
{
    QtDialogs dialogs;
    QString shownDefault, label;
    test::WhenModal<QInputDialog>([&](QInputDialog* box) {
        shownDefault = box->textValue();
        label = box->labelText();
        box->setTextValue(QString::fromUtf8("5 \u20AC"));
        box->accept();
    });
    EXPECT_EQ(dialogs.InputBox("Price", "Enter the price:", "caf\xE9"), "5 \x80");
    EXPECT_EQ(shownDefault, QString::fromUtf8("caf\u00E9"));
    EXPECT_EQ(label, "Enter the price:");

    test::WhenModal<QInputDialog>([](QInputDialog* box) { box->reject(); });
    EXPECT_EQ(dialogs.InputBox("Price", "Enter the price:", "x"), std::nullopt);

    // UTF-8 mode keeps the bytes as they are.
    dialogs.SetEncoding(TextEncoding::Utf8);
    test::WhenModal<QInputDialog>([&](QInputDialog* box) {
        shownDefault = box->textValue();
        box->accept();
    });
    EXPECT_EQ(dialogs.InputBox("c", "p", "caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(shownDefault, QString::fromUtf8("caf\u00E9"));
}

TEST_F(QtDialogsTest, SaveBoxTakesFiltersFolderAndDefaultSuffix)
{
    test::TempDir dir;
    QtDialogs dialogs;
    FileBoxOptions o;
    o.title = "Save dialogue";
    o.initialFolder = dir.path();
    o.filters = ParseFileFilters("ZEV Dialogue File format (*.zev)|*.zev|All files|*.*");
    o.defaultExtension = "zev";
    o.fileName = "mine";
    QStringList filters;
    QString suffix, folder, title;
    bool save = false;
    test::WhenModal<QFileDialog>([&](QFileDialog* box) {
        filters = box->nameFilters();
        suffix = box->defaultSuffix();
        folder = box->directory().absolutePath();
        title = box->windowTitle();
        save = box->acceptMode() == QFileDialog::AcceptSave;
        static_cast<QDialog*>(box)->accept(); // runs QFileDialog's own accept
    });
    auto chosen = dialogs.SaveFile(o);
    EXPECT_EQ(filters, (QStringList { "ZEV Dialogue File format (*.zev)", "All files (*)" }));
    EXPECT_EQ(suffix, "zev");
    EXPECT_EQ(folder, QDir(QString::fromStdString(dir.path())).absolutePath());
    EXPECT_EQ(title, "Save dialogue");
    EXPECT_TRUE(save);
    EXPECT_EQ(chosen, dir.File("mine.zev"));

    test::WhenModal<QFileDialog>([](QFileDialog* box) { box->reject(); });
    EXPECT_EQ(dialogs.OpenFile(o), std::nullopt);
}

TEST_F(QtDialogsTest, FolderPickerReturnsTheChosenFolder)
{
    test::TempDir dir;
    QtDialogs dialogs;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    // Accepted as it opens: the folder it opened in.
    test::WhenModal<QFileDialog>([&](QFileDialog* box) {
        mode = box->fileMode();
        static_cast<QDialog*>(box)->accept();
    });
    EXPECT_EQ(dialogs.PickFolder("Headers", dir.path()), dir.path());
    EXPECT_EQ(mode, QFileDialog::Directory);
}

} // namespace
} // namespace zev
