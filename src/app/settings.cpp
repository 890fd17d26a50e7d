#include "app/settings.h"

#include <cctype>

namespace zev {

namespace {

struct AttributeKey {
    std::string_view key;
    int32_t PlayerChar::*field;
};

// The seven attributes in the order of the record and of the setup window.
constexpr AttributeKey kAttributes[] = {
    { kKeyStrength, &PlayerChar::strength },
    { kKeyPerception, &PlayerChar::perception },
    { kKeyEndurance, &PlayerChar::endurance },
    { kKeyCharisma, &PlayerChar::charisma },
    { kKeyIntelligence, &PlayerChar::intelligence },
    { kKeyAgility, &PlayerChar::agility },
    { kKeyLuck, &PlayerChar::luck },
};

} // namespace

std::string SkillKey(int k)
{
    return std::string(kKeySkillPrefix) + std::to_string(k);
}

Settings LoadSettings(const IniFile& ini)
{
    const Settings def;
    Settings s;
    s.debugMode = ini.ReadBool(kSectionGlobalConfig, kKeyDebugmode, def.debugMode);
    s.evaluateConditions = ini.ReadBool(kSectionDialogueEngine, kKeyEvaluateConditions, def.evaluateConditions);
    s.evaluateSkillChecks = ini.ReadBool(kSectionDialogueEngine, kKeyEvaluateSkillChecks, def.evaluateSkillChecks);
    s.autoRemapNodes = ini.ReadBool(kSectionGlobalConfig, kKeyAutoRemapNodes, def.autoRemapNodes);
    s.runtimeDlgEditing = ini.ReadBool(kSectionGlobalConfig, kKeyRuntimeDLGEditing, def.runtimeDlgEditing);
    s.defaultIntForSmartPlayer
        = ini.ReadInteger(kSectionGlobalConfig, kKeyDefaultIntForSmartPlayer, def.defaultIntForSmartPlayer);
    s.defaultIntForDumbPlayer
        = ini.ReadInteger(kSectionGlobalConfig, kKeyDefaultIntForDumbPlayer, def.defaultIntForDumbPlayer);
    s.checkForUpdates = ini.ReadBool(kSectionGlobalConfig, kKeyCheckForUpdates, def.checkForUpdates);
    return s;
}

bool SaveNodeHistory(const IniFile& ini)
{
    return ini.ReadBool(kSectionGlobalConfig, kKeySavenodehistory, kDefaultSavenodehistory);
}

bool ShowLastDialogue(const IniFile& ini)
{
    return ini.ReadBool(kSectionGlobalConfig, kKeyShowLastDialogue, kDefaultShowLastDialogue);
}

bool PluginCompatibilityWarnings(const IniFile& ini)
{
    return ini.ReadBool(kSectionGlobalConfig, kKeyPluginCompatibilityWarnings, kDefaultPluginCompatibilityWarnings);
}

std::string DefaultSSLPath(const IniFile& ini)
{
    return ini.ReadString(kSectionGlobalConfig, kKeyDefaultSSLPath, "");
}

std::string DefaultMSGPath(const IniFile& ini)
{
    return ini.ReadString(kSectionGlobalConfig, kKeyDefaultMSGPath, "");
}

std::string HeadersPath(const IniFile& ini)
{
    return ini.ReadString(kSectionGlobalConfig, kKeyHeadersPath, "");
}

std::string FO2Basepath(const IniFile& ini)
{
    return ini.ReadString(kSectionGlobalConfig, kKeyFO2Basepath, "");
}

bool TextEncodingIsUtf8(const IniFile& ini)
{
    std::string v = ini.ReadString(kSectionGlobalConfig, kKeyTextEncoding, "cp1252");
    for (char& c : v)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return v == "utf-8" || v == "utf8";
}

std::string ClonedNodeFormatString(const IniFile& ini)
{
    return ini.ReadString(kSectionGlobalConfig, kKeyClonedNodeFormatString, kDefaultClonedNodeFormatString);
}

std::string UpdateURL(const IniFile& ini)
{
    std::string url = ini.ReadString(kSectionGlobalConfig, kKeyUpdateURL, kDefaultUpdateURL);
    return url.empty() ? std::string(kDefaultUpdateURL) : url;
}

void ReadPlayerCharacter(const IniFile& ini, PlayerChar& pc)
{
    pc.name = ini.ReadString(kSectionPlayerCharacter, kKeyName, "");
    pc.gender = ini.ReadInteger(kSectionPlayerCharacter, kKeyGender, kDefaultGender);
    pc.age = ini.ReadInteger(kSectionPlayerCharacter, kKeyAge, kDefaultAge);
    for (const AttributeKey& a : kAttributes)
        pc.*a.field = ini.ReadInteger(kSectionPlayerCharacter, a.key, kDefaultAttribute);
    pc.money = ini.ReadInteger(kSectionPlayerCharacter, kKeyDudeCaps, kDefaultMoney);
    for (int k = 1; k <= kSkillCount; ++k) {
        _skill& skill = pc.skills[k - 1];
        skill.name = ini.ReadString(kSectionSkills, SkillKey(k), "");
        // A nameless skill reads under the empty key, which no line can hold: the default.
        skill.value = ini.ReadInteger(kSectionPlayerCharacter, skill.name.view(), kDefaultSkillValue);
    }
}

bool WritePlayerCharacter(IniFile& ini, const PlayerChar& pc)
{
    if (!ini.WriteString(kSectionPlayerCharacter, kKeyName, pc.name.view())
        || !ini.WriteInteger(kSectionPlayerCharacter, kKeyGender, pc.gender)
        || !ini.WriteInteger(kSectionPlayerCharacter, kKeyAge, pc.age))
        return false;
    for (const AttributeKey& a : kAttributes)
        if (!ini.WriteInteger(kSectionPlayerCharacter, a.key, pc.*a.field))
            return false;
    if (!ini.WriteInteger(kSectionPlayerCharacter, kKeyDudeCaps, pc.money))
        return false;
    for (int k = 1; k <= kSkillCount; ++k) {
        const _skill& skill = pc.skills[k - 1];
        if (skill.name.empty())
            continue;
        if (!ini.WriteInteger(kSectionPlayerCharacter, skill.name.view(), skill.value))
            return false;
        if (ini.ReadString(kSectionSkills, SkillKey(k), "").empty()
            && !ini.WriteString(kSectionSkills, SkillKey(k), skill.name.view()))
            return false;
    }
    return true;
}

} // namespace zev
