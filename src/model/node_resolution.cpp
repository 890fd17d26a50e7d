#include "model/node_resolution.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/log.h"
#include "base/text_replace.h"

namespace zev {

namespace {

int Count(int32_t count, int32_t capacity)
{
    return count < 0 ? 0 : (count > capacity ? capacity : count);
}

// Replaces every occurrence of from by to in a record's text.
void ReplaceAll(HostString& text, std::string_view from, std::string_view to)
{
    if (!from.empty() && text.view().find(from) != std::string_view::npos)
        text = zev::ReplaceAll(text.view(), from, to);
}

bool LessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

void ResolveLinks(dialog& d)
{
    // One index of names, keeping the first node of each name, instead of a scan per option.
    int nodes = Count(d.node_count, kMaxNodes);
    std::unordered_map<std::string_view, int> index;
    index.reserve(static_cast<std::size_t>(nodes) * 2);
    for (int i = 0; i < nodes; ++i)
        if (d.nodes[i])
            index.emplace(d.nodes[i]->name.view(), i);
    for (int n = 0; n < nodes; ++n) {
        dlgnode* node = d.nodes[n];
        if (!node)
            continue;
        int opts = Count(node->option_count, kMaxOptions);
        for (int o = 0; o < opts; ++o) {
            option* opt = node->options[o];
            if (!opt)
                continue;
            auto it = index.find(opt->link_target.view());
            opt->link_index = (it == index.end() || opt->link_target.empty()) ? -1 : it->second;
        }
    }
}

void RemapPlayerOptions(dialog& d, std::string_view oldName, std::string_view newName, const ConsoleFn& console)
{
    // The names may point into records this rewrites.
    std::string from(oldName), to(newName);
    if (console)
        console("Remapping player options...");
    for (int n = 0; n < Count(d.node_count, kMaxNodes); ++n) {
        dlgnode* node = d.nodes[n];
        if (!node)
            continue;
        ReplaceAll(node->notes, from, to);
        for (int o = 0; o < Count(node->option_count, kMaxOptions); ++o) {
            option* opt = node->options[o];
            if (!opt || opt->link_target.view() != from)
                continue;
            ReplaceAll(opt->notes, from, to);
            if (console) {
                console("Node:" + node->name.str() + ":PlayerOpt:" + std::to_string(o) + ":" + opt->text.str());
                console(from + " => " + to);
            }
            opt->link_target = to;
        }
    }
}

void RemapForNodeDialog(dialog& d, std::string_view oldName, std::string_view newName, bool autoRemapNodes, Logger& log)
{
    std::string from(oldName), to(newName);
    log.Log("Node names differ... Remapping player options.");
    for (int n = 0; n < Count(d.node_count, kMaxNodes); ++n) {
        dlgnode* node = d.nodes[n];
        if (!node)
            continue;
        if (autoRemapNodes)
            ReplaceAll(node->notes, from, to);
        for (int o = 0; o < Count(node->option_count, kMaxOptions); ++o) {
            option* opt = node->options[o];
            if (!opt || opt->link_target.view() != from)
                continue;
            log.Log("Remapped option " + std::to_string(o) + " of node " + node->name.str());
            if (autoRemapNodes)
                ReplaceAll(opt->notes, from, to);
            opt->link_target = to;
        }
    }
}

void SortNodes(dialog& d, const ConsoleFn& console)
{
    int nodes = Count(d.node_count, kMaxNodes);
    std::vector<dlgnode*> scratch(d.nodes, d.nodes + nodes);
    auto nameOf = [](const dlgnode* n) { return n ? n->name.view() : std::string_view {}; };
    // Sorting the nodes themselves (stable) gives each name its own node: two nodes that share a
    // name both stay in the table, in their old order.
    std::stable_sort(scratch.begin(), scratch.end(),
        [&](const dlgnode* a, const dlgnode* b) { return LessIgnoringCase(nameOf(a), nameOf(b)); });
    std::copy(scratch.begin(), scratch.end(), d.nodes);
    if (console)
        console("Node sorting complete.");
    ResolveLinks(d);
}

bool SortVariables(dialog& d)
{
    const int count = Count(d.variable_count, kMaxVariables);
    std::vector<TVariable*> order(d.variables, d.variables + count);
    const std::vector<TVariable*> before = order;
    auto nameOf = [](const TVariable* v) { return v ? v->name.view() : std::string_view {}; };
    std::stable_sort(order.begin(), order.end(),
        [&](const TVariable* a, const TVariable* b) { return LessIgnoringCase(nameOf(a), nameOf(b)); });
    std::copy(order.begin(), order.end(), d.variables);
    return order != before;
}

} // namespace zev
