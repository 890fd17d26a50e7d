// NPC Properties, Preferences and the two condition windows over their models: every control named
// for screen readers, typed values reaching the model, and what OK and Cancel leave behind.
#include "gui_support.h"
#include "named_controls.h"
#include "support/log_capture.h"
#include "support/temp_dir.h"

#include "editors/gui/conditions_editor_window.h"
#include "editors/gui/npc_properties_window.h"
#include "editors/gui/preferences_window.h"
#include "editors/gui/start_conditions_window.h"
#include "model/dialog_ops.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWhatsThis>

#include <algorithm>

namespace zev {
namespace {

using test::ExpectNamed;
using test::Named;
using test::Retype;

struct ConditionWindowsTest : test::GuiTest {
    test::TempDir dir;
    ScriptedDialogs dialogs;
    App app { dialogs, dir.path() };
    test::LogCapture log { app.log() };

    dialog& d() { return app.dlg(); }
};

TEST_F(ConditionWindowsTest, NpcPropertiesStoresTypedTextsOnOkAndNothingOnCancel)
{
    d().npc_name = "Tandi";
    d().location = "Shady Sands caf\xe9"; // a Windows-1252 byte, untouched by the window
    NpcPropertiesModel model { app };
    NpcPropertiesWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);

    test::WhenModal<NpcPropertiesWindow>([&](NpcPropertiesWindow* w) {
        EXPECT_EQ(w->windowTitle(), "NPC Properties");
        ExpectNamed(w,
            { "Descriptions for script header comments", "NPC look descriptions", "NPC name", "Location", "Notes",
                "Unknown (not spoken to NPC)", "Known (spoken to NPC before)", "Detailed look description", "OK",
                "Cancel" });
        auto* name = Named<QLineEdit>(w, "NPC name");
        ASSERT_TRUE(name);
        EXPECT_EQ(name->text(), "Tandi");
        Retype(name, QStringLiteral("Tandi the Chief"));
        auto* known = Named<QPlainTextEdit>(w, "Known (spoken to NPC before)");
        ASSERT_TRUE(known);
        Retype(known, QStringLiteral("You see Tandi.\nShe waves."));
        Named<QPushButton>(w, "OK")->click();
    });
    EXPECT_TRUE(model.Open());
    EXPECT_EQ(d().npc_name.str(), "Tandi the Chief");
    EXPECT_EQ(d().known_desc.str(), "You see Tandi.\r\nShe waves.") << "memo lines stored with CR LF";
    EXPECT_EQ(d().location.str(), "Shady Sands caf\xe9");
    EXPECT_TRUE(app.modified());

    app.SetModified(false);
    test::WhenModal<NpcPropertiesWindow>([&](NpcPropertiesWindow* w) {
        EXPECT_EQ(Named<QLineEdit>(w, "NPC name")->text(), "Tandi the Chief") << "filled anew";
        Retype(Named<QLineEdit>(w, "Location"), QStringLiteral("Vault 13"));
        Named<QPushButton>(w, "Cancel")->click();
    });
    EXPECT_FALSE(model.Open());
    EXPECT_EQ(d().location.str(), "Shady Sands caf\xe9");
    EXPECT_FALSE(app.modified());
}

TEST_F(ConditionWindowsTest, PreferencesShowsItsTabsAndOkWritesWhatWasChanged)
{
    PreferencesModel model { app };
    PreferencesWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);
    dialogs.PushText("/games/fallout2");

    test::WhenModal<PreferencesWindow>([&](PreferencesWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Preferences");
        ASSERT_EQ(w->tabs()->count(), 3);
        EXPECT_EQ(w->tabs()->tabText(0), "General Preferences");
        EXPECT_EQ(w->tabs()->tabText(1), "Dialogue Editing");
        EXPECT_EQ(w->tabs()->tabText(2), "Dialogue engine options");
        EXPECT_EQ(w->tabs()->currentIndex(), 0);
        ExpectNamed(w,
            { "Debug mode", "Check for tool updates on startup",
                "Warn about plugins containing no interface version info", "Default SSL output directory",
                "Default MSG output directory", "Game script headers directory", "Game base directory",
                "Choose Game base directory",
                "Format string for cloned nodes: Example: 'Copy of %s', where %s will be replaced by the name of "
                "the node",
                "Default int for smart player", "Default int for dumb player",
                "Auto remap node names in designer notes if node name is changed", "Enable run-time dialogue editing",
                "Evaluate dialogue conditions", "Show dialogue transcript at the end of dialogue test",
                "Auto-save dialog test transcripts", "Perform skill checks", "OK", "Cancel" });
        // The defaults of a program folder without a configuration file.
        EXPECT_EQ(w->clonedNodeField()->text(), "Copy_of_%s");
        EXPECT_EQ(w->smartSpin()->value(), 4);
        EXPECT_EQ(w->dumbSpin()->value(), -3);
        EXPECT_TRUE(w->check(PrefCheck::EvaluateConditions)->isChecked());
        EXPECT_TRUE(w->check(PrefCheck::ShowLastDialogue)->isChecked());
        EXPECT_EQ(w->check(PrefCheck::DebugMode)->toolTip(), "Show debug window and log output to file");

        // Context help is logged with the control's name.
        QHelpEvent help(QEvent::WhatsThis, QPoint(2, 2), QPoint(2, 2));
        QApplication::sendEvent(w->check(PrefCheck::DebugMode), &help);
        QWhatsThis::hideText();

        Named<QPushButton>(w, "Choose Game base directory")->click();
        EXPECT_EQ(Named<QLineEdit>(w, "Game base directory")->text(), "/games/fallout2");
        w->tabs()->setCurrentIndex(1);
        Retype(w->clonedNodeField(), QStringLiteral("Clone of %s"));
        w->smartSpin()->setFocus();
        QTest::keyClick(w->smartSpin(), Qt::Key_Up);
        w->tabs()->setCurrentIndex(2);
        QTest::keyClick(w->check(PrefCheck::EvaluateConditions), Qt::Key_Space);
        EXPECT_FALSE(model.checked(PrefCheck::EvaluateConditions));
        w->okButton()->click();
    });
    EXPECT_TRUE(model.Open());
    const std::vector<std::string> lines = log.Messages();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Popup invoked on :Debug mode"), 1);
    const IniFile ini(dir.File(kConfigFileName));
    EXPECT_EQ(FO2Basepath(ini), "/games/fallout2");
    EXPECT_EQ(ClonedNodeFormatString(ini), "Clone of %s");
    EXPECT_EQ(ini.ReadInteger(kSectionGlobalConfig, kKeyDefaultIntForSmartPlayer, 0), 5);
    EXPECT_EQ(ini.ReadString(kSectionDialogueEngine, kKeyEvaluateConditions, ""), "0");
    EXPECT_FALSE(app.settings().evaluateConditions);
    EXPECT_EQ(app.settings().defaultIntForSmartPlayer, 4) << "counts from the next start";

    // Cancel: the file keeps its value, the engine takes the box's state all the same.
    const std::string before = test::ReadFileBytes(dir.File(kConfigFileName));
    test::WhenModal<PreferencesWindow>([&](PreferencesWindow* w) {
        EXPECT_EQ(w->tabs()->currentIndex(), 0) << "opens on the first tab again";
        EXPECT_FALSE(w->check(PrefCheck::EvaluateConditions)->isChecked()) << "from the file";
        QTest::keyClick(w->check(PrefCheck::SkillChecks), Qt::Key_Space);
        Named<QPushButton>(w, "Cancel")->click();
    });
    EXPECT_FALSE(model.Open());
    EXPECT_FALSE(app.settings().evaluateSkillChecks);
    EXPECT_EQ(test::ReadFileBytes(dir.File(kConfigFileName)), before);
}

TEST_F(ConditionWindowsTest, TheConditionsEditorBuildsAConditionFromItsControls)
{
    dir.Write("conditions.ini",
        "[Main]\nCheckTypeCount=1\nCheckType1=Stat\n[Stat]\nSSLCommand=stat(%s) %eval% %value%\nItemCount=2\n"
        "Item1=Strength\nItem1Enum=1\nItem1SSLEnum=STAT_ST\nItem2=Perception\nItem2Enum=2\nItem2SSLEnum=STAT_PE\n");
    option* opt = AddOption(*AddNode(d(), "Start"));
    ConditionsEditorModel model { app };
    ConditionsEditorWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);

    test::WhenModal<ConditionsEditorWindow>([&](ConditionsEditorWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Additional player option conditions");
        ExpectNamed(w,
            { "Check type", "Field names", "Chosen field", "Evaluation type", "Value to check", "Linkage",
                "Resolved SSL code", "Condition list", "Add", "Delete", "Apply changes", "OK", "Cancel" });
        EXPECT_EQ(w->checkTypeBox()->currentText(), "Stat");
        EXPECT_EQ(w->evalBox()->currentText(), "none (check for true)");
        EXPECT_EQ(w->linkageBox()->currentText(), "None");
        EXPECT_FALSE(w->applyButton()->isEnabled());

        w->addButton()->click();
        ASSERT_TRUE(dialogs.Last());
        EXPECT_EQ(dialogs.Last()->text, ConditionsEditorModel::kEmptyValue);

        QListWidget* fields = w->fieldList();
        QTest::mouseClick(fields->viewport(), Qt::LeftButton, {}, fields->visualItemRect(fields->item(1)).center());
        EXPECT_EQ(w->chosenField()->text(), "Perception");
        w->evalBox()->setCurrentIndex(5);
        Retype(w->valueField(), QStringLiteral("6"));
        EXPECT_EQ(w->resolvedCode()->text(), "stat(STAT_PE) >= 6");
        w->linkageBox()->setCurrentIndex(1);
        w->addButton()->click();
        ASSERT_EQ(w->conditionList()->count(), 1);
        EXPECT_EQ(w->conditionList()->item(0)->text(), "stat(STAT_PE) >= 6");
        w->conditionList()->setCurrentRow(0);
        EXPECT_TRUE(w->applyButton()->isEnabled());
        Named<QPushButton>(w, "Cancel")->click();
    });
    EXPECT_FALSE(model.Open(*opt));
    ASSERT_EQ(opt->condition_count, 1) << "Cancel keeps what Add wrote";
    const condition& c = *opt->conditions[0];
    EXPECT_EQ(c.check_type, 1);
    EXPECT_EQ(c.subject, 2);
    EXPECT_EQ(c.eval, 5);
    EXPECT_EQ(c.value.str(), "6");
    EXPECT_EQ(c.link_next, 1);
}

TEST_F(ConditionWindowsTest, TheStartConditionsWindowHidesWhatATypeDoesWithout)
{
    dir.Write("start_conditions.ini",
        "[Condition Types]\ncount=2\ncond1=Player gender\ncond2=Always\n"
        "[Player gender]\ndata=gender == %selection%\nhaseval=0\nhide_data_entry=1\nselector=inisect\n"
        "selectorcaption=Gender:\ninisect=Genders\n[Genders]\ncount=2\nitemdisplay1=Male\nitem1=GENDER_MALE\n"
        "itemdisplay2=Female\nitem2=GENDER_FEMALE\n"
        "[Always]\ndata=1 %eval% %value%\n");
    AddNode(d(), "Start")->npc_text = "Hello.";
    AddNode(d(), "Shop")->npc_text = "Take a look.";
    StartConditionsModel model { app };
    StartConditionsWindow window { model, TextEncoding::Cp1252 };
    model.SetView(&window);

    test::WhenModal<StartConditionsWindow>([&](StartConditionsWindow* w) {
        EXPECT_EQ(w->windowTitle(), "Dialogue start conditions");
        ExpectNamed(w,
            { "Start conditions", "Start condition global data", "Target node", "Node text preview",
                "Add Start Condition", "Apply changes", "Delete", "Conditions", "Condition type", "Evaluation",
                "Value to check", "Operator (none/and/or)", "Resulting code", "Condition list", "Add", "Modify", "OK",
                "Cancel" });
        EXPECT_FALSE(w->applyButton()->isEnabled());
        ASSERT_EQ(w->typeBox()->count(), 2);
        EXPECT_EQ(w->typeBox()->itemText(0), "Always") << "sorted";

        w->targetBox()->setCurrentIndex(w->targetBox()->findText(QStringLiteral("Shop")));
        EXPECT_EQ(w->preview()->toPlainText(), "Take a look.");
        w->addStartConditionButton()->click();
        ASSERT_EQ(w->startConditionList()->topLevelItemCount(), 1);
        EXPECT_EQ(w->startConditionList()->topLevelItem(0)->text(2), "Shop");
        EXPECT_TRUE(w->applyButton()->isEnabled()) << "the new one is selected";

        w->typeBox()->setCurrentIndex(1); // Player gender
        EXPECT_FALSE(w->evalBox()->isVisibleTo(w));
        EXPECT_FALSE(w->valueField()->isVisibleTo(w));
        ASSERT_TRUE(w->selectorBox()->isVisibleTo(w));
        EXPECT_EQ(w->selectorLabel()->text(), "Gender:");
        EXPECT_EQ(w->selectorBox()->accessibleName(), "Gender");
        w->selectorBox()->setCurrentIndex(1);
        EXPECT_EQ(w->codeField()->text(), "gender == GENDER_FEMALE");
        w->addLineButton()->click();

        w->typeBox()->setCurrentIndex(0); // Always
        EXPECT_TRUE(w->evalBox()->isVisibleTo(w));
        EXPECT_FALSE(w->selectorBox()->isVisibleTo(w));
        w->evalBox()->setCurrentIndex(1);
        Retype(w->valueField(), QStringLiteral("1"));
        EXPECT_EQ(w->codeField()->text(), "1 == 1");
        w->addLineButton()->click();
        ASSERT_EQ(w->lineList()->count(), 2);
        EXPECT_EQ(w->startConditionList()->topLevelItem(0)->text(1), "2");

        w->lineList()->setCurrentRow(0);
        EXPECT_EQ(w->typeBox()->currentText(), "Player gender") << "a selected line loads its type";
        EXPECT_EQ(w->selectorBox()->currentText(), "Female");
        w->deleteLineButton()->click();
        EXPECT_EQ(w->lineList()->count(), 1);
        w->okButton()->click();
    });
    EXPECT_TRUE(model.Open());
    ASSERT_EQ(d().start_condition_count, 1);
    const starting_condition& s = *d().start_conditions[0];
    EXPECT_EQ(s.target_node.str(), "Shop");
    ASSERT_EQ(s.line_count, 1);
    EXPECT_EQ(s.lines[0]->ssl.str(), "1 == 1");
    EXPECT_EQ(s.lines[0]->eval, 1);
}

} // namespace
} // namespace zev
