#pragma once

// The records of code completion: the code presets of "codesnippets.def" and the definitions read
// from definition files. They never cross the plug-in boundary, so they are plain C++ values; the
// capacities are the historical ones and every addition checks them.

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zev {

inline constexpr int32_t kMaxCodeSnippets = 257;
inline constexpr int32_t kMaxSnippetParams = 33;
inline constexpr int32_t kMaxDefinitions = 6001;
inline constexpr int32_t kMaxDefParams = 11;

// What a preset parameter asks for. No keyword gives PARAM_GLOBAL_VAR; 0 is "no type yet".
enum ParamType : int32_t {
    PARAM_NONE = 0,
    PARAM_INTEGER = 1,
    PARAM_NODE = 2,
    PARAM_BOOLEAN = 3,
    PARAM_FLOATNODE = 4,
    PARAM_STRING = 5,
    PARAM_SKILL = 6,
    PARAM_STAT = 7,
    PARAM_GLOBAL_VAR = 8,
    PARAM_LOCAL_VAR = 9,
    PARAM_SCRIPT_VAR = 10,
    PARAM_PID = 11,
    PARAM_MAP_VAR = 12,
};

// The type of a definition's parameter.
enum DefParamType : int32_t {
    DEF_PARAM_NONE = 0,
    DEF_PARAM_OBJECTPTR = 10,
    DEF_PARAM_INTEGER = 11,
    DEF_PARAM_STRING = 12,
    DEF_PARAM_PROCPTR = 13,
};

// One parameter of a code preset; "%" + name + "%" in the preset's code is replaced by its value.
struct Param {
    int32_t param_type = PARAM_NONE;
    std::string name;
    std::string prompt; // shown when the value is asked for
};

// One code preset.
struct CodeSnippet {
    std::string name;
    std::string desc; // shown in the editors' preset lists
    std::array<Param, kMaxSnippetParams> params {};
    int32_t param_count = 0;
    std::string code; // every code line decoded, each followed by CR LF
};

// One definition: a procedure with its parameters, a macro, or a numbered constant.
struct IncEntry {
    std::string name;
    std::array<int32_t, kMaxDefParams> param_types {};
    std::array<std::string, kMaxDefParams> param_names {};
    int32_t param_count = 0; // "()" counts one parameter with an empty name
    std::string value; // the integer after "=", as written; empty when there is none
};

// A table in file order with a fixed capacity; an addition at a full table is refused.
template <class T, int32_t N> class BoundedTable {
public:
    static constexpr int32_t kCapacity = N;

    int32_t count() const { return static_cast<int32_t>(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    bool full() const { return count() >= N; }
    // False, and the table unchanged, when it is full.
    bool Add(T item)
    {
        if (full())
            return false;
        m_items.push_back(std::move(item));
        return true;
    }
    void Clear() { m_items.clear(); }

    const T& operator[](int32_t i) const { return m_items[static_cast<std::size_t>(i)]; }
    T& operator[](int32_t i) { return m_items[static_cast<std::size_t>(i)]; }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<T> m_items;
};

// The code presets, filled once at start-up.
using CodeSnippetTable = BoundedTable<CodeSnippet, kMaxCodeSnippets>;
// The definitions of every definition file loaded; each load appends.
using DefinitionTable = BoundedTable<IncEntry, kMaxDefinitions>;

} // namespace zev
