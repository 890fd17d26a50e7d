#include "runner/player_setup.h"

#include <algorithm>
#include <optional>

#include "app/app.h"
#include "runner/run_session.h"
#include "runner/run_support.h"

namespace zev {

namespace {

constexpr std::string_view kAttributeCaptions[PlayerSetupModel::kAttributeCount]
    = { "Strength", "Perception", "Endurance", "Charisma", "Intelligence", "Agility", "Luck" };
constexpr std::string_view kAttributeHints[PlayerSetupModel::kAttributeCount] = { "SPECIAL attributes: Strength",
    "SPECIAL attributes: Perception", "SPECIAL attributes: Endurance", "SPECIAL attributes: Charisma",
    "SPECIAL attributes: Intelligence", "SPECIAL attributes: Agility", "SPECIAL attributes: Luck" };
constexpr int32_t PlayerChar::*kAttributeFields[PlayerSetupModel::kAttributeCount]
    = { &PlayerChar::strength, &PlayerChar::perception, &PlayerChar::endurance, &PlayerChar::charisma,
          &PlayerChar::intelligence, &PlayerChar::agility, &PlayerChar::luck };

void SetSpin(SpinField& f, int32_t value)
{
    f.value = std::clamp(value, f.minimum, f.maximum);
}

} // namespace

PlayerSetupModel::PlayerSetupModel()
    : m_age { "Age", "This is the age for the character. A minor attribute but still checkable.", 16, 36, 16 }
    , m_money { "Money amount:", "Amount of money carried by the player.", 0, 99999, 0 }
{
    for (int i = 0; i < kAttributeCount; ++i)
        m_attributes[static_cast<std::size_t>(i)] = { kAttributeCaptions[i], kAttributeHints[i], 1, 10, 5 };
    for (std::string_view name : kSkillNames)
        m_skills.push_back({ std::string(name), "0" });
}

void PlayerSetupModel::SetGenderItem(int item)
{
    if (item >= 0 && item < 2)
        m_genderItem = item;
}

void PlayerSetupModel::SetAge(int32_t value)
{
    SetSpin(m_age, value);
}

void PlayerSetupModel::SetAttribute(int i, int32_t value)
{
    if (i >= 0 && i < kAttributeCount)
        SetSpin(m_attributes[static_cast<std::size_t>(i)], value);
}

void PlayerSetupModel::SetMoney(int32_t value)
{
    SetSpin(m_money, value);
}

bool PlayerSetupModel::SetSkillValue(int row, std::string_view text)
{
    if (row < 0 || row >= static_cast<int>(m_skills.size()))
        return false;
    SkillRow& r = m_skills[static_cast<std::size_t>(row)];
    std::optional<int32_t> v = ParseDecimalInt(text);
    if (!v) {
        m_gridMessage = "Row " + std::to_string(row + 1) + " (" + r.name + "): '" + std::string(text)
            + "' is not a whole number; the value stays " + r.value + ".";
        return false;
    }
    r.value = std::to_string(*v);
    m_gridMessage.clear();
    return true;
}

void PlayerSetupModel::Fill(const PlayerChar& pc)
{
    m_name = pc.name.str();
    m_genderItem = pc.gender == GENDER_MALE || pc.gender == GENDER_FEMALE ? pc.gender - 1 : -1;
    SetSpin(m_age, pc.age);
    for (int i = 0; i < kAttributeCount; ++i)
        SetSpin(m_attributes[static_cast<std::size_t>(i)], pc.*kAttributeFields[i]);
    SetSpin(m_money, pc.money);
    for (int k = 0; k < kSkillCount; ++k)
        m_skills[static_cast<std::size_t>(k)].value = std::to_string(pc.skills[k].value);
    m_gridMessage.clear();
}

void PlayerSetupModel::Apply(PlayerChar& pc) const
{
    pc.name = m_name;
    if (m_genderItem >= 0)
        pc.gender = m_genderItem + 1;
    pc.age = m_age.value;
    for (int i = 0; i < kAttributeCount; ++i)
        pc.*kAttributeFields[i] = m_attributes[static_cast<std::size_t>(i)].value;
    pc.money = m_money.value;
    for (int k = 0; k < kSkillCount; ++k) {
        const SkillRow& row = m_skills[static_cast<std::size_t>(k)];
        pc.skills[k].name = row.name;
        // The grid only ever holds whole numbers (SetSkillValue refuses others).
        if (std::optional<int32_t> v = ParseDecimalInt(row.value))
            pc.skills[k].value = *v;
    }
}

bool SetupPlayerCharacter(App& app, PlayerSetupView& view, RunSession* runner)
{
    PlayerSetupModel model;
    model.Fill(app.player());
    if (!view.exec(model))
        return false;
    PlayerChar& pc = app.player();
    model.Apply(pc);
    IniFile& ini = app.config();
    bool written = WritePlayerCharacter(ini, pc);
    // The values go under the window's skill names, so "Skills" must name them or the next start
    // would read the values under other keys.
    for (int k = 1; written && k <= kSkillCount; ++k) {
        std::string_view name = pc.skills[k - 1].name.view();
        if (ini.ReadString(kSectionSkills, SkillKey(k), "") != name)
            written = ini.WriteString(kSectionSkills, SkillKey(k), name);
    }
    if (!written) {
        app.log().Log("Writing the player character failed: " + ini.LastError());
        app.dialogs().Warning(
            "The player character could not be written to the configuration file:\r\n\r\n" + ini.LastError());
    }
    if (runner && runner->running())
        runner->ShowCurrentNode();
    app.BroadcastPluginUpdate();
    return true;
}

} // namespace zev
