#pragma once

// The settings in ZEVDlg.ini: every section and key name, and every default, in this one place.
// Values the program keeps in memory are loaded once into Settings; the others are read from the
// file at the moment of use through the small functions below, so a change on disk counts at once.

#include <cstdint>
#include <string>
#include <string_view>

#include "base/ini_file.h"
#include "model/records.h"

namespace zev {

inline constexpr std::string_view kConfigFileName = "ZEVDlg.ini";

// Sections.
inline constexpr std::string_view kSectionGlobalConfig = "Global Config";
inline constexpr std::string_view kSectionDialogueEngine = "Dialogue Engine";
inline constexpr std::string_view kSectionPlayerCharacter = "Player Character";
inline constexpr std::string_view kSectionSkills = "Skills";

// "Global Config".
inline constexpr std::string_view kKeyDebugmode = "Debugmode";
inline constexpr std::string_view kKeySavenodehistory = "Savenodehistory";
inline constexpr std::string_view kKeyShowLastDialogue = "ShowLastDialogue";
inline constexpr std::string_view kKeyRuntimeDLGEditing = "RuntimeDLGEditing";
inline constexpr std::string_view kKeyCheckForUpdates = "Check for updates at startup";
inline constexpr std::string_view kKeyAutoRemapNodes = "AutoRemapNodes";
inline constexpr std::string_view kKeyPluginCompatibilityWarnings = "PluginCompatibilityWarnings";
inline constexpr std::string_view kKeyDefaultIntForSmartPlayer = "DefaultIntForSmartPlayer";
inline constexpr std::string_view kKeyDefaultIntForDumbPlayer = "DefaultIntForDumbPlayer";
inline constexpr std::string_view kKeyDefaultSSLPath = "DefaultSSLPath";
inline constexpr std::string_view kKeyDefaultMSGPath = "DefaultMSGPath";
inline constexpr std::string_view kKeyHeadersPath = "HeadersPath";
inline constexpr std::string_view kKeyFO2Basepath = "FO2Basepath";
inline constexpr std::string_view kKeyClonedNodeFormatString = "ClonedNodeFormatString";
// How the windows show the dialogue's 8-bit text: "cp1252" (default) or "utf-8".
inline constexpr std::string_view kKeyTextEncoding = "TextEncoding";
// The update check's information page.
inline constexpr std::string_view kKeyUpdateURL = "UpdateURL";

// "Dialogue Engine".
inline constexpr std::string_view kKeyEvaluateConditions = "EvaluateConditions";
inline constexpr std::string_view kKeyEvaluateSkillChecks = "EvaluateSkillChecks";

// "Player Character"; each skill's value is stored under the skill's name.
inline constexpr std::string_view kKeyName = "Name";
inline constexpr std::string_view kKeyGender = "Gender";
inline constexpr std::string_view kKeyAge = "Age";
inline constexpr std::string_view kKeyStrength = "Strength";
inline constexpr std::string_view kKeyPerception = "Perception";
inline constexpr std::string_view kKeyEndurance = "Endurance";
inline constexpr std::string_view kKeyCharisma = "Charisma";
inline constexpr std::string_view kKeyIntelligence = "Intelligence";
inline constexpr std::string_view kKeyAgility = "Agility";
inline constexpr std::string_view kKeyLuck = "Luck";
inline constexpr std::string_view kKeyDudeCaps = "Dude_Caps";

// "Skills": "Skill" + k, k = 1 .. 18, names skill k.
inline constexpr std::string_view kKeySkillPrefix = "Skill";
std::string SkillKey(int k);

// Defaults of the keys read at the moment of use.
inline constexpr bool kDefaultSavenodehistory = true;
inline constexpr bool kDefaultShowLastDialogue = true;
inline constexpr bool kDefaultPluginCompatibilityWarnings = true;
inline constexpr std::string_view kDefaultClonedNodeFormatString = "Copy_of_%s";
inline constexpr std::string_view kDefaultUpdateURL = "https://zevdlg.example.org/update/zevdlg.html";
// The Preferences dialog shows these two unchecked when the key is missing, unlike their users.
inline constexpr bool kPreferencesDefaultSavenodehistory = false;
inline constexpr bool kPreferencesDefaultPluginCompatibilityWarnings = false;

// Defaults of the player character (the PlayerChar record starts with the same values).
inline constexpr int32_t kDefaultGender = 1;
inline constexpr int32_t kDefaultAge = 16;
inline constexpr int32_t kDefaultAttribute = 5;
inline constexpr int32_t kDefaultMoney = 0;
inline constexpr int32_t kDefaultSkillValue = 0;

// The values the program keeps in memory after reading them at start-up.
struct Settings {
    bool debugMode = false;
    bool evaluateConditions = true;
    bool evaluateSkillChecks = true;
    bool autoRemapNodes = false; // counts from the next start on
    bool runtimeDlgEditing = false;
    int32_t defaultIntForSmartPlayer = 4;
    int32_t defaultIntForDumbPlayer = -3;
    bool checkForUpdates = true;
};

Settings LoadSettings(const IniFile& ini);

// Keys read at the moment of use.
bool SaveNodeHistory(const IniFile& ini);
bool ShowLastDialogue(const IniFile& ini);
bool PluginCompatibilityWarnings(const IniFile& ini);
std::string DefaultSSLPath(const IniFile& ini);
std::string DefaultMSGPath(const IniFile& ini);
std::string HeadersPath(const IniFile& ini);
std::string FO2Basepath(const IniFile& ini);
std::string ClonedNodeFormatString(const IniFile& ini);
// The default when the key is missing or empty.
std::string UpdateURL(const IniFile& ini);
// True when "TextEncoding" says UTF-8 ("utf-8" or "utf8", any case); Windows-1252 otherwise.
bool TextEncodingIsUtf8(const IniFile& ini);

// Fills the player character in the order of its fields; for each skill k first its name from
// "Skills", then its value from "Player Character" under that name.
void ReadPlayerCharacter(const IniFile& ini, PlayerChar& pc);

// Writes name, gender, age, the seven attributes, the money and each skill's value under the
// skill's name. A skill without a name has no key to go under and is skipped. Where "Skills" lacks
// a skill's name, the name is written there too, or the value could not be found at the next
// start. False at the first write that fails (the ini file's LastError says why).
bool WritePlayerCharacter(IniFile& ini, const PlayerChar& pc);

} // namespace zev
