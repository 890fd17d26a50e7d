#include "runner/skill_checks.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/app.h"
#include "model/dialog_ops.h"

namespace zev {

namespace {

// The window's text is markup: the filled-in names must not open tags of their own.
std::string Escaped(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

int32_t PlayerSkillValue(const PlayerChar& pc, int32_t k)
{
    return k >= 1 && k <= kSkillCount ? pc.skills[k - 1].value : 0;
}

} // namespace

const skillcheck* FindSkillCheckRecord(const dialog& d, std::string_view name)
{
    int node = -1;
    int index = FindSkillCheck(d, name, node);
    if (index < 0 || node < 0 || node >= d.node_count || node >= kMaxNodes || !d.nodes[node])
        return nullptr;
    const dlgnode& n = *d.nodes[node];
    return index < n.skill_check_count && index < kMaxSkillChecks ? n.skill_checks[index] : nullptr;
}

std::string_view PlayerSkillName(const PlayerChar& pc, int32_t k)
{
    return k >= 1 && k <= kSkillCount ? pc.skills[k - 1].name.view() : std::string_view();
}

SkillRoll EvaluateSkillRoll(int32_t skillValue, int32_t modifier, int32_t threatDraw, int32_t roll)
{
    // 64-bit arithmetic: the modifier comes from a file and may be anything a 32-bit field holds.
    auto clamp = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    SkillRoll r;
    r.skillValue = skillValue;
    r.modifier = modifier;
    r.target = clamp(int64_t(skillValue) + modifier);
    r.threat = clamp(-int64_t(modifier) * threatDraw);
    r.roll = r.target > 0 ? roll : 0;
    r.total = clamp(int64_t(r.roll) - modifier + r.threat);
    r.succeeded = r.target > 0 && r.total <= r.target;
    return r;
}

void LogSkillRoll(Logger& log, const SkillRoll& r)
{
    log.Log("Rolled (" + std::to_string(-int64_t(r.modifier)) + " + " + std::to_string(r.roll) + " + (random_threat="
        + std::to_string(r.threat) + ") = " + std::to_string(r.total) + ") against " + std::to_string(r.target));
    log.Log(r.succeeded ? "Skill check succeeded." : "Skill check failed.");
    log.Log("Difference: " + std::to_string(int64_t(r.target) - r.total));
}

std::string MissingSkillCheckText(std::string_view name)
{
    return "The skill check '" + std::string(name)
        + "' does not exist (any more).\r\n"
          "This player option leads nowhere.";
}

int32_t PerformSkillCheck(App& app, std::string_view name)
{
    Logger& log = app.log();
    log.Log("Performing skill check " + std::string(name));
    const skillcheck* check = FindSkillCheckRecord(app.dlg(), name);
    if (!check) {
        log.Log("Skill check " + std::string(name) + " not found.");
        app.dialogs().Warning(MissingSkillCheckText(name));
        return -1;
    }
    const PlayerChar& pc = app.player();
    int32_t s = PlayerSkillValue(pc, check->skill);
    log.Log("Skill \"" + std::string(PlayerSkillName(pc, check->skill)) + "\" value = " + std::to_string(s));
    int64_t target = int64_t(s) + check->difficulty_modifier;
    int32_t t = app.random().Below(10);
    int32_t roll = target > 0 && target <= INT32_MAX ? app.random().Below(static_cast<int32_t>(target)) : 0;
    SkillRoll r = EvaluateSkillRoll(s, check->difficulty_modifier, t, roll);
    LogSkillRoll(log, r);
    return FindNodeIndex(app.dlg(), r.succeeded ? check->on_success.view() : check->on_failure.view());
}

void SkillCheckWindowModel::Fill(const skillcheck& check, const PlayerChar& pc)
{
    m_choice.reset();
    m_text = "The player option you selected is linked to a skill check named:<br><b>" + Escaped(check.name)
        + "</b><br>with the following options:<br> <br> Skill = <b>" + Escaped(PlayerSkillName(pc, check.skill))
        + "</b><br> Modifier = <b>" + std::to_string(check.difficulty_modifier) + "</b><br> OnSuccess => <b>"
        + Escaped(check.on_success) + "</b><br> OnFailure => <b>" + Escaped(check.on_failure)
        + "</b><br>  You can now choose which node to go to: Success/Failure/Evaluate<br> <br><b>[HELP]</b><i><br>"
          " Success = go to the success node<br> Failure = go to the failure node<br> Evaluate = perform the"
          " skill check normally<br></i>";
}

} // namespace zev
