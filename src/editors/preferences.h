#pragma once

// "Preferences": the configuration keys of ZEVDlg.ini on three tabs. Most controls are filled
// from the file, a few from the values held in memory since start-up. Only OK writes the file;
// OK and Cancel alike hand three check boxes to the values held in memory at once.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings.h"
#include "base/signal.h"

namespace zev {

class App;
class PreferencesModel;

// Shows the window modally; true when it was closed with OK.
class PreferencesView {
public:
    virtual ~PreferencesView() = default;
    virtual bool exec(PreferencesModel& model) = 0;
};

enum class PrefTab { General, Editing, Engine };
inline constexpr std::size_t kPrefTabCount = 3;

// The check boxes, in the order of the window.
enum class PrefCheck {
    DebugMode,
    CheckForUpdates,
    PluginWarnings,
    AutoRemapNodes,
    RuntimeEditing,
    EvaluateConditions,
    ShowLastDialogue,
    SaveNodeHistory,
    SkillChecks,
};
inline constexpr std::size_t kPrefCheckCount = 9;

enum class PrefFolder { SslOutput, MsgOutput, Headers, GameBase };
inline constexpr std::size_t kPrefFolderCount = 4;

class PreferencesModel {
public:
    static constexpr std::string_view kCaption = "Preferences";
    static constexpr std::array<std::string_view, kPrefTabCount> kTabs
        = { "General Preferences", "Dialogue Editing", "Dialogue engine options" };
    static constexpr std::string_view kClonedNodeLabel
        = "Format string for cloned nodes:\r\nExample: 'Copy of %s', where %s will be replaced\r\nby the name of the "
          "node";
    static constexpr std::string_view kSmartLabel = "Default int for smart player";
    static constexpr std::string_view kDumbLabel = "Default int for dumb player";
    static constexpr int kMinInt = -10;
    static constexpr int kMaxInt = 10;
    static constexpr std::string_view kWriteFailed = "The preferences could not be written to the configuration file:";
    static constexpr std::string_view kHelpPopup = "Popup invoked on :";

    struct CheckInfo {
        PrefCheck check;
        PrefTab tab;
        std::string_view caption;
        std::string_view hint;
        std::string_view section;
        std::string_view key;
        // Shown from the value held in memory since start-up; without one, from the file or def.
        bool Settings::*shown;
        bool def;
        // The value held in memory that takes the box's state when the window closes either way.
        bool Settings::*heldOnClose;
    };
    static constexpr std::array<CheckInfo, kPrefCheckCount> kChecks = { {
        { PrefCheck::DebugMode, PrefTab::General, "Debug mode", "Show debug window and log output to file",
            kSectionGlobalConfig, kKeyDebugmode, nullptr, Settings {}.debugMode, nullptr },
        { PrefCheck::CheckForUpdates, PrefTab::General, "Check for tool updates on startup",
            "Enable autoupdate checking on startup", kSectionGlobalConfig, kKeyCheckForUpdates,
            &Settings::checkForUpdates, false, nullptr },
        { PrefCheck::PluginWarnings, PrefTab::General, "Warn about plugins containing no interface version info", "",
            kSectionGlobalConfig, kKeyPluginCompatibilityWarnings, nullptr,
            kPreferencesDefaultPluginCompatibilityWarnings, nullptr },
        { PrefCheck::AutoRemapNodes, PrefTab::Editing,
            "Auto remap node names in designer notes if node name is changed", "", kSectionGlobalConfig,
            kKeyAutoRemapNodes, &Settings::autoRemapNodes, false, nullptr },
        { PrefCheck::RuntimeEditing, PrefTab::Engine, "Enable run-time dialogue editing",
            "This option enables run-time dialogue editing,\r\nwhich basically means that you can edit the\r\n"
            "dialogue while you're testing it.",
            kSectionGlobalConfig, kKeyRuntimeDLGEditing, nullptr, Settings {}.runtimeDlgEditing,
            &Settings::runtimeDlgEditing },
        { PrefCheck::EvaluateConditions, PrefTab::Engine, "Evaluate dialogue conditions",
            "Enables dialogue condition checking in dialogue test mode (default=ON)", kSectionDialogueEngine,
            kKeyEvaluateConditions, nullptr, Settings {}.evaluateConditions, &Settings::evaluateConditions },
        { PrefCheck::ShowLastDialogue, PrefTab::Engine, "Show dialogue transcript at the end of dialogue test",
            "This enables displaying a transcript of the last dialogue run after pressing stop", kSectionGlobalConfig,
            kKeyShowLastDialogue, nullptr, kDefaultShowLastDialogue, nullptr },
        { PrefCheck::SaveNodeHistory, PrefTab::Engine, "Auto-save dialog test transcripts",
            "This options enables saving of dialogue transcripts\r\nthat are result of the test process.",
            kSectionGlobalConfig, kKeySavenodehistory, nullptr, kPreferencesDefaultSavenodehistory, nullptr },
        { PrefCheck::SkillChecks, PrefTab::Engine, "Perform skill checks", "", kSectionDialogueEngine,
            kKeyEvaluateSkillChecks, &Settings::evaluateSkillChecks, false, &Settings::evaluateSkillChecks },
    } };

    // Folder fields, all on "General Preferences", all in "Global Config", empty when missing.
    struct FolderInfo {
        PrefFolder folder;
        std::string_view caption;
        std::string_view hint;
        std::string_view key;
    };
    static constexpr std::array<FolderInfo, kPrefFolderCount> kFolders = { {
        { PrefFolder::SslOutput, "Default SSL output directory",
            "This is the default folder where SSL files are placed", kKeyDefaultSSLPath },
        { PrefFolder::MsgOutput, "Default MSG output directory",
            "This is the default folder where MSG files are placed", kKeyDefaultMSGPath },
        { PrefFolder::Headers, "Game script headers directory", "", kKeyHeadersPath },
        { PrefFolder::GameBase, "Game base directory", "", kKeyFO2Basepath },
    } };

    static const CheckInfo& Info(PrefCheck c) { return kChecks[static_cast<std::size_t>(c)]; }
    static const FolderInfo& Info(PrefFolder f) { return kFolders[static_cast<std::size_t>(f)]; }

    explicit PreferencesModel(App& app);
    PreferencesModel(const PreferencesModel&) = delete;
    PreferencesModel& operator=(const PreferencesModel&) = delete;

    void SetView(PreferencesView* view) { m_view = view; }

    // "Preferences..." of the main menu: the controls filled, the window shown modally on its
    // first tab, then Close. True when closed with OK.
    bool Open();
    // The controls filled from the file and the values held in memory, without showing the window.
    void Begin();
    // The window closed: with OK every key written to the file; either way the values held in
    // memory for conditions, run-time editing and skill checks take the boxes' states. False when
    // a key could not be written (reported; the other keys are still written).
    bool Close(bool ok);

    // ---- The controls.
    PrefTab tab() const { return m_tab; }
    void SetTab(PrefTab tab) { m_tab = tab; }
    bool checked(PrefCheck c) const { return m_checks[static_cast<std::size_t>(c)]; }
    void SetChecked(PrefCheck c, bool on) { m_checks[static_cast<std::size_t>(c)] = on; }
    const std::string& folder(PrefFolder f) const { return m_folders[static_cast<std::size_t>(f)]; }
    void SetFolder(PrefFolder f, std::string path);
    // The folder chooser of a folder field, starting at the field's folder; true when one was chosen.
    bool ChooseFolder(PrefFolder f);
    const std::string& clonedNodeFormat() const { return m_clonedFormat; }
    void SetClonedNodeFormat(std::string format) { m_clonedFormat = std::move(format); }
    // The spin values; a value read from the file is shown as it is, a value set is kept in range.
    int32_t smartInt() const { return m_smart; }
    void SetSmartInt(int32_t value);
    int32_t dumbInt() const { return m_dumb; }
    void SetDumbInt(int32_t value);

    // Context help asked for on a control: the debug log says which.
    void HelpPopup(std::string_view controlName);

    // A folder was chosen: the view shows it.
    Signal<> changed;

private:
    bool Write();

    App& m_app;
    PreferencesView* m_view = nullptr;
    PrefTab m_tab = PrefTab::General;
    std::array<bool, kPrefCheckCount> m_checks {};
    std::array<std::string, kPrefFolderCount> m_folders;
    std::string m_clonedFormat;
    int32_t m_smart = 0;
    int32_t m_dumb = 0;
};

} // namespace zev
