#pragma once

// The "Player character Setup" window: the test player character's name, gender, age,
// attributes, money and skills, written to the configuration on OK.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/codes.h"
#include "model/records.h"

namespace zev {

class App;
class RunSession;

// A number field with up/down buttons and its range.
struct SpinField {
    std::string_view caption;
    std::string_view hint;
    int32_t minimum = 0;
    int32_t maximum = 0;
    int32_t value = 0;
};

// One row of the skills grid: the window's own skill name and the value as text.
struct SkillRow {
    std::string name;
    std::string value;
};

class PlayerSetupModel {
public:
    static constexpr std::string_view kCaption = "Player character Setup";
    static constexpr std::string_view kNameCaption = "Player name:";
    static constexpr std::string_view kNameHint
        = "This is the name for the player character to use in dialogue testing.";
    static constexpr std::string_view kGenderCaption = "Gender";
    static constexpr std::string_view kGenderHint
        = "This is the test player character's gender.\r\nIt affects the npc's response if both male and female npc\r\n"
          "text is specified in a node.";
    static constexpr std::string_view kGenderItems[2] = { "Male", "Female" };
    static constexpr std::string_view kSkillsCaption = "Skills";
    static constexpr std::string_view kSkillsHint = "These are the skill values for the player.";
    static constexpr std::string_view kSkillColumns[2] = { "Skill", "Value" };
    static constexpr const std::array<std::string_view, kSkillCount>& kSkillNames = kSkillTitles;
    static constexpr int kAttributeCount = 7;

    PlayerSetupModel();

    // Step 1: the controls from the record. Values outside a field's range show clamped.
    void Fill(const PlayerChar& pc);
    // On OK: the record from the controls.
    void Apply(PlayerChar& pc) const;

    const std::string& name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // The chosen gender item: 0 "Male", 1 "Female"; -1 when the record's gender is neither.
    int genderItem() const { return m_genderItem; }
    void SetGenderItem(int item);

    // "Age", 16 .. 36.
    const SpinField& age() const { return m_age; }
    void SetAge(int32_t value);
    // "Strength" .. "Luck", 1 .. 10 each, in the record's order.
    const SpinField& attribute(int i) const { return m_attributes[static_cast<std::size_t>(i)]; }
    void SetAttribute(int i, int32_t value);
    // "Money amount:", 0 .. 99999.
    const SpinField& money() const { return m_money; }
    void SetMoney(int32_t value);

    const std::vector<SkillRow>& skills() const { return m_skills; }
    // An edited grid cell. A text that is not a whole number is refused: the cell keeps its
    // old value and gridMessage() says which row. False when refused.
    bool SetSkillValue(int row, std::string_view text);
    const std::string& gridMessage() const { return m_gridMessage; }

private:
    std::string m_name;
    int m_genderItem = 0;
    SpinField m_age;
    std::array<SpinField, kAttributeCount> m_attributes;
    SpinField m_money;
    std::vector<SkillRow> m_skills;
    std::string m_gridMessage;
};

// Shows the window modally; true when closed with OK.
class PlayerSetupView {
public:
    virtual ~PlayerSetupView() = default;
    virtual bool exec(PlayerSetupModel& model) = 0;
};

// Menu "Global" > "Setup Player Character": the window, and on OK the record, the configuration
// (with the skill names the values are stored under), a redraw of a running test and the plug-ins'
// notification. True when OK was chosen.
bool SetupPlayerCharacter(App& app, PlayerSetupView& view, RunSession* runner);

} // namespace zev
