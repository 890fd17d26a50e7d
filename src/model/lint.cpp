#include "model/lint.h"

#include <deque>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "model/codes.h"
#include "model/dialog_ops.h"
#include "model/zev_scanner.h"

namespace zev {

namespace {

int Count(int32_t count, int32_t capacity)
{
    return count < 0 ? 0 : (count > capacity ? capacity : count);
}

bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == 196 || c == 197 || c == 214 || c == 228
        || c == 229 || c == 246;
}

bool IsSpecialTarget(std::string_view name)
{
    return name == kLinkDone || name == kLinkCombat;
}

std::string Q(std::string_view s)
{
    return "\"" + std::string(s) + "\"";
}

} // namespace

bool IsIdentifier(std::string_view name)
{
    if (name.empty() || !IsLetter(static_cast<unsigned char>(name[0])))
        return false;
    for (char ch : name) {
        auto c = static_cast<unsigned char>(ch);
        if (!IsLetter(c) && !(c >= '0' && c <= '9'))
            return false;
    }
    return ZevKeyword(name) < 0;
}

std::vector<std::string> LintDialogue(const dialog& d)
{
    std::vector<std::string> out;
    const int nodes = Count(d.node_count, kMaxNodes);
    std::unordered_map<std::string_view, int> nodeIndex;
    for (int n = 0; n < nodes; ++n) {
        const dlgnode& node = *d.nodes[n];
        if (node.name.empty())
            out.push_back("node " + std::to_string(n) + " has no name");
        else if (!nodeIndex.emplace(node.name.view(), n).second)
            out.push_back("node " + Q(node.name) + " is defined more than once");
        if (!node.name.empty() && !IsIdentifier(node.name))
            out.push_back("node name " + Q(node.name) + " is not an identifier of the game script");
    }
    auto isNode = [&](std::string_view name) { return nodeIndex.count(name) > 0; };

    for (int n = 0; n < nodes; ++n) {
        const dlgnode& node = *d.nodes[n];
        const std::string where = "node " + Q(node.name);
        std::unordered_set<std::string_view> checkNames;
        for (int s = 0; s < Count(node.skill_check_count, kMaxSkillChecks); ++s) {
            const skillcheck& sc = *node.skill_checks[s];
            if (!checkNames.insert(sc.name.view()).second)
                out.push_back(where + ": skill check " + Q(sc.name) + " is defined more than once");
            if (!IsIdentifier(sc.name))
                out.push_back(where + ": skill check name " + Q(sc.name) + " is not an identifier");
            if (sc.skill < 1 || sc.skill > kSkillCount)
                out.push_back(where + ": skill check " + Q(sc.name) + " uses skill " + std::to_string(sc.skill)
                    + ", which does not exist");
            for (const HostString* target : { &sc.on_success, &sc.on_failure })
                if (!isNode(*target) && !IsSpecialTarget(*target))
                    out.push_back(where + ": skill check " + Q(sc.name) + " leads to missing node " + Q(*target));
        }
        for (int o = 0; o < Count(node.option_count, kMaxOptions); ++o) {
            const option& opt = *node.options[o];
            const std::string optWhere = where + ", option " + std::to_string(o + 1);
            std::string_view target = opt.link_target.view();
            if (target.empty()) {
                out.push_back(optWhere + " has no link");
            } else if (opt.to_skill_check) {
                if (FindSkillCheckInNode(node, target) < 0) {
                    int other = -1;
                    if (FindSkillCheck(d, target, other) < 0)
                        out.push_back(optWhere + " links to missing skill check " + Q(target));
                    else
                        out.push_back(optWhere + " links to skill check " + Q(target) + " of another node, "
                            + Q(d.nodes[other]->name));
                }
            } else if (opt.to_custom_proc) {
                if (FindCustomProcIndex(d, target) < 0)
                    out.push_back(optWhere + " links to missing custom procedure " + Q(target));
            } else if (!isNode(target) && !IsSpecialTarget(target)) {
                out.push_back(optWhere + " links to missing node " + Q(target));
            }
        }
    }

    for (int i = 0; i < Count(d.start_condition_count, kMaxStartConditions); ++i) {
        const starting_condition& s = *d.start_conditions[i];
        const std::string where = "start condition " + std::to_string(i + 1);
        if (!isNode(s.target_node) && FindFloatNodeIndex(d, s.target_node) < 0)
            out.push_back(where + " leads to missing node " + Q(s.target_node));
        if (s.line_count <= 0)
            out.push_back(where + " has no condition lines");
    }
    if (d.start_condition_count > 0 && d.default_condition >= d.start_condition_count)
        out.push_back("the default start condition " + std::to_string(d.default_condition + 1) + " does not exist");
    for (int i = 0; i < Count(d.timed_event_count, kMaxTimedEvents); ++i) {
        const time_event_data& e = *d.timed_events[i];
        if (e.code_line_count <= 0)
            out.push_back("timed event " + Q(e.fixed_param_name) + " has no code lines");
    }
    if (d.timed_event_count > 0 && (d.default_event < 0 || d.default_event >= d.timed_event_count))
        out.push_back("the default timed event " + std::to_string(d.default_event) + " does not exist");
    std::unordered_set<std::string_view> procNames;
    for (int i = 0; i < Count(d.custom_proc_count, kMaxCustomProcs); ++i) {
        const custom_proc& p = *d.custom_procs[i];
        if (!procNames.insert(p.name.view()).second)
            out.push_back("custom procedure " + Q(p.name) + " is defined more than once");
        if (!IsIdentifier(p.name))
            out.push_back("custom procedure name " + Q(p.name) + " is not an identifier");
        if (p.code.empty())
            out.push_back("custom procedure " + Q(p.name) + " has an empty body");
    }
    std::unordered_set<std::string_view> varNames;
    for (int i = 0; i < Count(d.variable_count, kMaxVariables); ++i) {
        const TVariable& v = *d.variables[i];
        if (!varNames.insert(v.name.view()).second)
            out.push_back("variable " + Q(v.name) + " is defined more than once");
        if (!IsIdentifier(v.name))
            out.push_back("variable name " + Q(v.name) + " is not an identifier");
    }

    // Reachability from the start conditions and the first node, through links and skill checks.
    std::vector<bool> reached(static_cast<std::size_t>(nodes), false);
    std::deque<int> queue;
    auto visit = [&](std::string_view name) {
        auto it = nodeIndex.find(name);
        if (it != nodeIndex.end() && !reached[static_cast<std::size_t>(it->second)]) {
            reached[static_cast<std::size_t>(it->second)] = true;
            queue.push_back(it->second);
        }
    };
    if (nodes > 0)
        visit(d.nodes[0]->name);
    for (int i = 0; i < Count(d.start_condition_count, kMaxStartConditions); ++i)
        visit(d.start_conditions[i]->target_node);
    while (!queue.empty()) {
        const dlgnode& node = *d.nodes[queue.front()];
        queue.pop_front();
        for (int o = 0; o < Count(node.option_count, kMaxOptions); ++o) {
            const option& opt = *node.options[o];
            if (opt.to_skill_check) {
                int owner = -1;
                int s = FindSkillCheck(d, opt.link_target, owner);
                if (s >= 0) {
                    visit(d.nodes[owner]->skill_checks[s]->on_success);
                    visit(d.nodes[owner]->skill_checks[s]->on_failure);
                }
            } else if (!opt.to_custom_proc) {
                visit(opt.link_target);
            }
        }
    }
    for (int n = 0; n < nodes; ++n)
        if (!reached[static_cast<std::size_t>(n)] && !d.nodes[n]->name.empty()
            && nodeIndex[d.nodes[n]->name.view()] == n)
            out.push_back("node " + Q(d.nodes[n]->name) + " is never reached");
    return out;
}

} // namespace zev
