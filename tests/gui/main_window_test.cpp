#include "gui_support.h"
#include "support/temp_dir.h"

#include "desktop/gui/about_dialog.h"
#include "desktop/gui/main_window.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

namespace zev {
namespace {

class MainWindowTest : public test::GuiTest {
protected:
    ScriptedDialogs dialogs;
    App app { dialogs, "/tmp" };
    MainMenuModel menus;
    MainWindow window { app, menus };

    // A caption as shown, without its mnemonic marks.
    static QString Plain(QString text)
    {
        text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
        text.remove(QLatin1Char('&'));
        return text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    }
    // The visible entries of a menu; separators as "-".
    QStringList Shown(MenuId id)
    {
        QStringList out;
        for (QAction* a : window.MenuActions(id))
            if (a->isVisible())
                out << (a->isSeparator() ? QStringLiteral("-") : Plain(a->text()));
        return out;
    }
    QStringList ShownMenus()
    {
        QStringList out;
        for (QAction* a : window.menuBar()->actions())
            if (a->isVisible())
                out << Plain(a->text());
        return out;
    }
};

TEST_F(MainWindowTest, TitleFollowsTheApp)
{
    EXPECT_EQ(window.windowTitle(), "ZEV Dialogue Tool - [untitled]");
    app.DialogueChanged();
    EXPECT_EQ(window.windowTitle(), "ZEV Dialogue Tool - [untitled*]");
    app.SetTitle(App::TitleFor("/tmp/caf\xE9.zev")); // the model's 8-bit text
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("ZEV Dialogue Tool - [/tmp/caf\u00E9.zev]"));
}

TEST_F(MainWindowTest, MenusAndItemsAsTheModelHasThem)
{
    EXPECT_EQ(ShownMenus(), (QStringList { "File", "Global", "Dialogue", "View", "Help" }));
    EXPECT_EQ(Shown(MenuId::File),
        (QStringList { "New dialogue", "Load dialogue", "Save dialogue", "Save dialogue as...", "-", "Preferences...",
            "-", "Quit" }));
    EXPECT_EQ(Shown(MenuId::Dialogue),
        (QStringList {
            "Dialogue transcripts...", "Save all transcripts", "-", "Dialogue editor...", "Custom procedures..." }));
    EXPECT_EQ(Shown(MenuId::Help), (QStringList { "Dialogue Tool Help", "Check for updates...", "-", "About" }));

    menus.SetDeveloperMode(true);
    menus.SetImportPluginsLoaded(true);
    menus.SetExportPluginsLoaded(true);
    EXPECT_EQ(ShownMenus(), (QStringList { "File", "Global", "Dialogue", "View", "Developer stuff", "Help" }));
    EXPECT_EQ(Shown(MenuId::File),
        (QStringList { "New dialogue", "Load dialogue", "Save dialogue", "Save dialogue as...", "-", "Import", "Export",
            "-", "Preferences...", "-", "Quit" }));
    EXPECT_NE(window.ActionFor(MenuCommand::Import)->menu(), nullptr);
    EXPECT_EQ(Shown(MenuId::DeveloperStuff), (QStringList { "Dump script commands", "Edit function descriptions" }));
    menus.SetToolPluginsLoaded(true);
    menus.SetHelperScriptsFound(true);
    EXPECT_EQ(ShownMenus(),
        (QStringList { "File", "Global", "Dialogue", "View", "Plugins", "Developer stuff", "Helper Scripts", "Help" }));
}

TEST_F(MainWindowTest, ShortcutsEnabledFlagsAndTooltips)
{
    EXPECT_EQ(window.ActionFor(MenuCommand::NewDialogue)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(window.ActionFor(MenuCommand::LoadDialogue)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(window.ActionFor(MenuCommand::SaveDialogue)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(window.ActionFor(MenuCommand::DialogueEditor)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(window.ActionFor(MenuCommand::CustomProcedures)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F1));
    EXPECT_EQ(window.ActionFor(MenuCommand::DialogueToolHelp)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(window.ActionFor(MenuCommand::SaveDialogueAs)->shortcut().isEmpty());

    QAction* newDialogue = window.ActionFor(MenuCommand::NewDialogue);
    EXPECT_FALSE(newDialogue->isEnabled());
    EXPECT_EQ(newDialogue->toolTip(), "Not available yet.");
    EXPECT_TRUE(window.ActionFor(MenuCommand::Quit)->isEnabled());
    EXPECT_TRUE(window.ActionFor(MenuCommand::About)->isEnabled());
    // The status bar hint is the same text.
    EXPECT_EQ(window.ActionFor(MenuCommand::Quit)->statusTip(), "Close the program");

    menus.SetAvailable(MenuCommand::NewDialogue);
    EXPECT_TRUE(newDialogue->isEnabled());
    EXPECT_EQ(newDialogue->toolTip(), "Start a new, empty dialogue");
}

TEST_F(MainWindowTest, HandlersRunOnlyForCommandsThatCanBePicked)
{
    int runs = 0;
    window.SetCommandHandler(MenuCommand::DumpScriptCommands, [&] { ++runs; });
    EXPECT_FALSE(window.Trigger(MenuCommand::DumpScriptCommands)); // not available
    menus.SetAvailable(MenuCommand::DumpScriptCommands);
    EXPECT_FALSE(window.Trigger(MenuCommand::DumpScriptCommands)); // its menu is hidden
    menus.SetDeveloperMode(true);
    window.ActionFor(MenuCommand::DumpScriptCommands)->trigger();
    EXPECT_EQ(runs, 1);
}

TEST_F(MainWindowTest, AShortcutRunsItsCommand)
{
    int runs = 0;
    window.SetCommandHandler(MenuCommand::NewDialogue, [&] { ++runs; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(runs, 0) << "a command not available yet ignores its shortcut";
    menus.SetAvailable(MenuCommand::NewDialogue);
    QTest::keyClick(&window, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
}

TEST_F(MainWindowTest, ASaveAfterAChangeIsOfferedAgain)
{
    menus.SetAvailable(MenuCommand::SaveDialogue);
    menus.SetEnabled(MenuCommand::SaveDialogue, false); // as after a save
    EXPECT_FALSE(window.ActionFor(MenuCommand::SaveDialogue)->isEnabled());
    app.DialogueChanged();
    EXPECT_TRUE(window.ActionFor(MenuCommand::SaveDialogue)->isEnabled());
}

TEST_F(MainWindowTest, StatusTextPlaceholderAndCentring)
{
    window.SetStatusText("Nodes: 0");
    EXPECT_EQ(window.StatusText(), "Nodes: 0");
    auto* placeholder = window.findChild<QLabel*>("placeholder");
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->text(), "No dialogue loaded");
    QPoint centre = window.screen()->availableGeometry().center();
    EXPECT_LE((window.geometry().center() - centre).manhattanLength(), 4);
}

TEST_F(MainWindowTest, QuitClosesTheWindow)
{
    window.show();
    ASSERT_TRUE(window.isVisible());
    window.ActionFor(MenuCommand::Quit)->trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(dialogs.History().empty());
}

TEST_F(MainWindowTest, ClosingIsRefusedWhileStartingUp)
{
    window.show();
    app.SetStartingUp(true);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(dialogs.History().size(), 1u);
    const auto& box = dialogs.History()[0];
    EXPECT_EQ(box.text, "Cannot close program while starting up!\r\n\r\n\"Patience, young padawan...\"");
    EXPECT_EQ(box.icon, MsgIcon::Error);
    EXPECT_EQ(box.buttons, MsgButtons::Ok);
    app.SetStartingUp(false);
    EXPECT_TRUE(window.close());
}

TEST_F(MainWindowTest, UnsavedChangesAreAskedAboutAndNeverLost)
{
    window.show();
    app.DialogueChanged();
    const std::string query = "Save changes to dialogue 'untitled'\r\nbefore closing ZEV Dialogue Tool?";

    dialogs.PushButton(MsgResult::Cancel);
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.History()[0].text, query);
    EXPECT_EQ(dialogs.History()[0].icon, MsgIcon::Confirmation);
    EXPECT_EQ(dialogs.History()[0].buttons, MsgButtons::YesNoCancel);

    // Yes, then the save box cancelled: nothing is written and the window stays.
    dialogs.ClearHistory();
    dialogs.PushButton(MsgResult::Yes);
    dialogs.PushCancel();
    EXPECT_FALSE(window.close());
    ASSERT_EQ(dialogs.History().size(), 2u);
    EXPECT_EQ(dialogs.History()[1].kind, ScriptedDialogs::Kind::SaveFile);

    // Yes with a file chosen: written, and the window closes.
    test::TempDir dir;
    dialogs.PushButton(MsgResult::Yes);
    dialogs.PushText(dir.File("saved.zev"));
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(test::ReadFileBytes(dir.File("saved.zev")).empty());
}

TEST_F(MainWindowTest, NoInTheQueryClosesWithoutSaving)
{
    window.show();
    app.SetCurrentFileName("/tmp/a.zev");
    app.DialogueChanged();
    dialogs.PushButton(MsgResult::No);
    EXPECT_TRUE(window.close());
    ASSERT_EQ(dialogs.History().size(), 1u);
    EXPECT_EQ(dialogs.History()[0].text, "Save changes to dialogue '/tmp/a.zev'\r\nbefore closing ZEV Dialogue Tool?");
}

TEST_F(MainWindowTest, AboutShowsVersionBuildDateAndCounts)
{
    app.SetBuildDateText("01/02/25 10:11:12");
    QStringList seen;
    QString title;
    test::WhenModal<AboutDialog>([&](AboutDialog* about) {
        title = about->windowTitle();
        for (const char* name : { "version", "buildDate", "scriptFunctions", "plugins" })
            if (auto* label = about->findChild<QLabel*>(name))
                seen << label->text();
        about->accept();
    });
    EXPECT_TRUE(window.Trigger(MenuCommand::About));
    EXPECT_EQ(title, "About ZEV Dialogue Tool");
    EXPECT_EQ(seen,
        (QStringList { "Version 0.25.4-stable", "Built 01/02/25 10:11:12", "Script functions: 0", "Plug-ins: 0" }));
}

} // namespace
} // namespace zev

namespace zev {
namespace {

TEST_F(MainWindowTest, EveryMenuAndItemHasItsOwnAltLetter)
{
    auto letterOf = [](const QString& text) {
        qsizetype at = text.indexOf(QLatin1Char('&'));
        return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
    };
    QSet<QChar> menuLetters;
    for (QAction* a : window.menuBar()->actions()) {
        QChar letter = letterOf(a->text());
        EXPECT_FALSE(letter.isNull()) << a->text().toStdString();
        EXPECT_FALSE(menuLetters.contains(letter)) << a->text().toStdString();
        menuLetters.insert(letter);
        QSet<QChar> itemLetters;
        for (QAction* item : a->menu()->actions()) {
            if (item->isSeparator())
                continue;
            QChar l = letterOf(item->text());
            EXPECT_FALSE(itemLetters.contains(l)) << item->text().toStdString();
            itemLetters.insert(l);
        }
    }
    EXPECT_EQ(window.MenuFor(MenuId::File)->title(), "&File");
    EXPECT_EQ(window.MenuFor(MenuId::Help)->title(), "&Help");

    QSet<QChar> taken { QLatin1Char('s') };
    EXPECT_EQ(WithMnemonic(QStringLiteral("Save & go"), taken), QStringLiteral("Save && &go"));
    EXPECT_EQ(WithMnemonic(QStringLiteral("Sg"), taken), QStringLiteral("Sg")) << "no free letter";
}

TEST_F(MainWindowTest, RunTimeEntriesOfPluginsAndHelperScriptsReachTheirHandlers)
{
    std::vector<int> picked;
    auto pick = [&](int tag) { picked.push_back(tag); };
    window.SetMenuEntries(MenuId::Plugins, { { "Relabel", "Ctrl+Shift+R", 4 }, { "Save & Export", "", 7 } }, pick);
    QList<QAction*> plugins = window.MenuFor(MenuId::Plugins)->actions();
    ASSERT_EQ(plugins.size(), 2);
    EXPECT_EQ(plugins[0]->text(), QStringLiteral("Relabel"));
    EXPECT_EQ(plugins[1]->text(), QStringLiteral("Save && Export")) << "a plug-in's & is shown, not a mnemonic";
    EXPECT_EQ(plugins[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+R")));
    plugins[1]->trigger();

    window.SetEntriesAfter(MenuCommand::CheckForUpdates, { { "Update A", "", 1 } }, pick);
    window.SetEntriesAfter(MenuCommand::CheckForUpdates, { { "Update B", "", 2 } }, pick); // replaces A
    QList<QAction*> help = window.MenuFor(MenuId::Help)->actions();
    qsizetype at = help.indexOf(window.ActionFor(MenuCommand::CheckForUpdates));
    ASSERT_GE(at, 0);
    EXPECT_EQ(help[at + 1]->text(), QStringLiteral("Update B"));
    EXPECT_FALSE(std::any_of(help.begin(), help.end(), [](QAction* a) { return a->text() == "Update A"; }));
    help[at + 1]->trigger();

    window.SetSubmenus(MenuId::HelperScripts, { { "Tools", { { "Stats", "", 0 }, { "Links", "", 1 } } } }, pick);
    QList<QAction*> helpers = window.MenuFor(MenuId::HelperScripts)->actions();
    ASSERT_EQ(helpers.size(), 1);
    ASSERT_NE(helpers[0]->menu(), nullptr);
    helpers[0]->menu()->actions()[1]->trigger();

    window.SetSubmenuEntries(MenuCommand::Import, { { "Import thing", "", 9 } }, pick);
    window.ActionFor(MenuCommand::Import)->menu()->actions()[0]->trigger();
    EXPECT_EQ(picked, (std::vector<int> { 7, 2, 1, 9 }));
}

} // namespace
} // namespace zev
