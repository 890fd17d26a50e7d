#pragma once

// Skill checks during a test run: the roll against the test player character and the
// "Skill Check" window that lets the designer pick the path instead.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/records.h"

namespace zev {

class App;
class Logger;

// The arithmetic of one roll, with the draws made from outside: T below 10, R below the target.
struct SkillRoll {
    int32_t skillValue = 0; // S
    int32_t modifier = 0; // m
    int32_t target = 0; // N = S + m
    int32_t threat = 0; // -m * T
    int32_t roll = 0; // R
    int32_t total = 0; // R - m + threat
    bool succeeded = false;
    int32_t Difference() const { return target - total; }
};

// A target of 0 or less leaves nothing to roll below: the roll counts as 0 and the check fails.
SkillRoll EvaluateSkillRoll(int32_t skillValue, int32_t modifier, int32_t threatDraw, int32_t roll);

// The roll's log lines: "Rolled (...) against N", the outcome and "Difference: ...".
void LogSkillRoll(Logger& log, const SkillRoll& roll);

// Rolls the first skill check of that name with the program's random generator and returns the
// index of its success or failure node (-1 when that name names no node). A check that no longer
// exists is reported in a warning box and leads nowhere (-1).
int32_t PerformSkillCheck(App& app, std::string_view name);

// The first skill check of that name, scanning the nodes in order; nullptr when there is none.
const skillcheck* FindSkillCheckRecord(const dialog& d, std::string_view name);

// The warning for an option linked to a skill check that is gone.
std::string MissingSkillCheckText(std::string_view name);

enum class SkillCheckChoice { Success = 1, Failure = 2, Evaluate = 3 };

// The "Skill Check" window: its text, filled for the check at hand, and its three buttons.
class SkillCheckWindowModel {
public:
    static constexpr std::string_view kCaption = "Skill Check";
    static constexpr std::string_view kSuccessCaption = "Success";
    static constexpr std::string_view kEvaluateCaption = "Evaluate";
    static constexpr std::string_view kFailureCaption = "Failure";

    // The markup text ("<br>", "<b>", "<i>") for this check and this character.
    void Fill(const skillcheck& check, const PlayerChar& pc);
    const std::string& text() const { return m_text; }

    // The buttons: each closes the window with result OK and sets the choice.
    void Choose(SkillCheckChoice choice) { m_choice = choice; }
    // Cleared when the window is filled; nothing when it was closed without a button.
    std::optional<SkillCheckChoice> choice() const { return m_choice; }

private:
    std::string m_text;
    std::optional<SkillCheckChoice> m_choice;
};

// Shows the window modally; the choice, or nothing when closed another way.
class SkillCheckView {
public:
    virtual ~SkillCheckView() = default;
    virtual std::optional<SkillCheckChoice> exec(SkillCheckWindowModel& model) = 0;
};

// The player character's display name of skill number k (1 .. 18); empty outside.
std::string_view PlayerSkillName(const PlayerChar& pc, int32_t k);

} // namespace zev
