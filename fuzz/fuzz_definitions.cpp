// Any bytes: the definition reader never crashes and never fills a table beyond its capacity; a
// file it reads without error, written back as AddDefine statements, reads back to the same table.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "completion/parse_include.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "%s\n%s\n", what, text.c_str());
    std::abort();
}

const char* TypeKeyword(int32_t type)
{
    switch (type) {
    case zev::DEF_PARAM_OBJECTPTR:
        return "objectptr ";
    case zev::DEF_PARAM_INTEGER:
        return "integer ";
    case zev::DEF_PARAM_STRING:
        return "string ";
    case zev::DEF_PARAM_PROCPTR:
        return "procptr ";
    default:
        return "";
    }
}

std::string Write(const zev::DefinitionTable& table)
{
    std::string out;
    for (const zev::IncEntry& e : table) {
        out += "AddDefine " + e.name;
        if (e.param_count > 0) {
            out += "(";
            for (int32_t i = 0; i < e.param_count; ++i) {
                auto k = static_cast<std::size_t>(i);
                out += std::string(i ? ", " : "") + TypeKeyword(e.param_types[k]) + e.param_names[k];
            }
            out += ")";
        }
        if (!e.value.empty())
            out += " = " + e.value;
        out += ";\n";
    }
    return out;
}

bool Same(const zev::DefinitionTable& a, const zev::DefinitionTable& b)
{
    if (a.count() != b.count())
        return false;
    for (int32_t i = 0; i < a.count(); ++i) {
        const zev::IncEntry& x = a[i];
        const zev::IncEntry& y = b[i];
        if (x.name != y.name || x.value != y.value || x.param_count != y.param_count || x.param_types != y.param_types
            || x.param_names != y.param_names)
            return false;
    }
    return true;
}

bool Parse(std::string text, zev::DefinitionTable& table)
{
    zev::TParseInclude parser(table);
    parser.Scanner().SrcStream() = std::move(text);
    parser.Execute();
    if (table.count() > zev::kMaxDefinitions)
        Fail("definition table beyond its capacity", "");
    for (const zev::IncEntry& e : table)
        if (e.param_count < 0 || e.param_count > zev::kMaxDefParams)
            Fail("parameter count out of range", e.name);
    for (const zev::TParseError& e : parser.Errors())
        if (e.Line < 1 || parser.ErrorMsg(e.ErrorCode, e.Data).rfind("Error: ", 0) == 0)
            Fail("error without a line or a message", std::to_string(e.ErrorCode));
    return parser.Successful();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zev::DefinitionTable first;
    if (!Parse(std::string(reinterpret_cast<const char*>(data), size), first))
        return 0;
    std::string written = Write(first);
    zev::DefinitionTable second;
    if (!Parse(written, second))
        Fail("written definitions do not read back", written);
    if (!Same(first, second))
        Fail("definitions differ after a round trip", written);
    return 0;
}
