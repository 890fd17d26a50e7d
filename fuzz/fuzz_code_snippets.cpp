// Any bytes: the preset reader never crashes and never fills a table beyond its capacity; a file it
// reads without error, written back in the preset language, reads back to the same presets.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "completion/code_snippets.h"

namespace {

[[noreturn]] void Fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "%s\n%s\n", what, text.c_str());
    std::abort();
}

// A decoded text as a string token: CR LF (only \n decodes to it) back to \n.
std::string Quote(const std::string& s)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') {
            out += "\\n";
            ++i;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

const char* TypeKeyword(int32_t type)
{
    static const char* const words[] = { "", "int", "node", "bool", "floatnode", "string", "skill", "stat", "",
        "local_var", "script_var", "pid_id", "map_var" };
    return type >= 0 && type <= 12 ? words[type] : "";
}

std::string Write(const zev::CodeSnippetTable& table)
{
    std::string out;
    for (const zev::CodeSnippet& s : table) {
        out += "CodePreset " + s.name + "(";
        for (int32_t i = 0; i < s.param_count; ++i) {
            const zev::Param& p = s.params[static_cast<std::size_t>(i)];
            out += std::string(i ? ", " : "") + TypeKeyword(p.param_type) + " " + p.name + " = " + Quote(p.prompt);
        }
        out += ") desc = " + Quote(s.desc) + " {";
        if (!s.code.empty()) {
            if (s.code.size() < 2 || s.code.compare(s.code.size() - 2, 2, "\r\n") != 0)
                Fail("code without its final line end", s.code);
            out += Quote(s.code.substr(0, s.code.size() - 2));
        }
        out += "};\r\n";
    }
    return out;
}

bool Same(const zev::CodeSnippetTable& a, const zev::CodeSnippetTable& b)
{
    if (a.count() != b.count())
        return false;
    for (int32_t i = 0; i < a.count(); ++i) {
        const zev::CodeSnippet& x = a[i];
        const zev::CodeSnippet& y = b[i];
        if (x.name != y.name || x.desc != y.desc || x.code != y.code || x.param_count != y.param_count)
            return false;
        for (int32_t k = 0; k < x.param_count; ++k) {
            const zev::Param& p = x.params[static_cast<std::size_t>(k)];
            const zev::Param& q = y.params[static_cast<std::size_t>(k)];
            if (p.param_type != q.param_type || p.name != q.name || p.prompt != q.prompt)
                return false;
        }
    }
    return true;
}

bool Parse(std::string text, zev::CodeSnippetTable& table)
{
    zev::TCodeSnippets parser(table);
    parser.Scanner().SrcStream() = std::move(text);
    parser.Execute();
    if (table.count() > zev::kMaxCodeSnippets)
        Fail("preset table beyond its capacity", "");
    for (const zev::CodeSnippet& s : table)
        if (s.param_count < 0 || s.param_count > zev::kMaxSnippetParams)
            Fail("parameter count out of range", s.name);
    for (const zev::TParseError& e : parser.Errors())
        if (e.Line < 1 || parser.ErrorMsg(e.ErrorCode, e.Data).rfind("Error: ", 0) == 0)
            Fail("error without a line or a message", std::to_string(e.ErrorCode));
    return parser.Successful();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zev::CodeSnippetTable first;
    if (!Parse(std::string(reinterpret_cast<const char*>(data), size), first))
        return 0;
    std::string written = Write(first);
    zev::CodeSnippetTable second;
    if (!Parse(written, second))
        Fail("written presets do not read back", written);
    if (!Same(first, second))
        Fail("presets differ after a round trip", written);
    return 0;
}
