#include "runner/option_visibility.h"

#include <string>

#include "app/app.h"
#include "runner/run_support.h"

namespace zev {

namespace {

std::optional<int32_t> StatValue(int32_t subject, const PlayerChar& pc)
{
    switch (subject) {
    case 1:
        return pc.strength;
    case 2:
        return pc.perception;
    case 3:
        return pc.endurance;
    case 4:
        return pc.charisma;
    case 5:
        return pc.intelligence;
    case 6:
        return pc.agility;
    case 7:
        return pc.luck;
    default:
        return std::nullopt;
    }
}

// The comparison by operator code; nothing for a code outside the table.
std::optional<bool> Compare(int32_t eval, int32_t p, int32_t v)
{
    switch (eval) {
    case 0:
        return p != 0; // "check for true"
    case 1:
        return p == v;
    case 2:
        return p != v;
    case 3:
        return p > v;
    case 4:
        return p < v;
    case 5:
        return p >= v;
    case 6:
        return p <= v;
    default:
        return std::nullopt;
    }
}

// An intelligence check of 0 asks for nothing.
bool IntelligencePasses(int32_t required, int32_t intelligence)
{
    if (required > 0)
        return intelligence >= required;
    if (required < 0)
        return intelligence <= -static_cast<int64_t>(required);
    return true;
}

} // namespace

std::optional<int32_t> PlayerValue(const condition& c, const PlayerChar& pc)
{
    switch (c.check_type) {
    case CHECK_STAT:
        return StatValue(c.subject, pc);
    case CHECK_SKILL:
        if (c.subject >= 1 && c.subject <= kSkillCount)
            return pc.skills[c.subject - 1].value;
        return std::nullopt;
    case CHECK_MONEY:
        return c.subject == 1 ? std::optional<int32_t>(pc.money) : std::nullopt;
    default:
        return std::nullopt;
    }
}

bool OptionConditionsHold(App& app, const option& o)
{
    Logger& log = app.log();
    log.Log("THEOPT: CONDITIONCNT: " + std::to_string(o.condition_count));
    int32_t count = o.condition_count;
    if (count < 0 || count > kMaxConditions)
        count = 0;
    int32_t passed = 0;
    bool outcome = false;
    for (int32_t k = 0; k < count; ++k) {
        const condition* c = o.conditions[k];
        if (!c)
            continue;
        const std::string expr = c->script_expr.str();
        std::optional<int32_t> p = PlayerValue(*c, app.player());
        if (!p) {
            // Game state a test run cannot know: counted as passed, and said so.
            outcome = true;
            ++passed;
            log.Log("CheckCondition: " + expr + " == True (not evaluated, no player value)");
            continue;
        }
        std::optional<int32_t> v = ParseDecimalInt(c->value.view());
        if (!v && c->eval != 0) {
            outcome = false;
            log.Log("CheckCondition: " + expr + " == False (value '" + c->value.str() + "' is not a whole number)");
            continue;
        }
        if (std::optional<bool> r = Compare(c->eval, *p, v.value_or(0)))
            outcome = *r;
        if (outcome)
            ++passed;
        log.Log("CheckCondition: " + expr + " == " + (outcome ? "True" : "False"));
    }
    return passed == o.condition_count;
}

bool OptionVisible(App& app, const option& o)
{
    if (!app.settings().evaluateConditions)
        return true;
    const PlayerChar& pc = app.player();
    bool conditions = o.condition_count > 0 ? OptionConditionsHold(app, o) : true;
    bool intelligence = IntelligencePasses(o.intelligence, pc.intelligence);
    bool gender = true;
    if (o.gender > 0) {
        app.log().Log(
            "OPT Genderflags: " + std::to_string(o.gender) + " Player genderflags: " + std::to_string(pc.gender));
        gender = pc.gender == o.gender;
    }
    return intelligence && gender && conditions;
}

} // namespace zev
