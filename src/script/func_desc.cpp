#include "script/func_desc.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/log.h"
#include "model/parser_runtime.h"
#include "script/engine/classes.h"

namespace zev {

namespace {

constexpr std::string_view kMain = "Main";
constexpr std::string_view kFunctions = "Functions";
constexpr std::string_view kClasses = "Classes";
constexpr std::string_view kPlaceholder = "\\n\\n<insert description here>";

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return text;
    std::size_t pos = 0;
    while ((pos = text.find(from, pos)) != std::string::npos) {
        text.replace(pos, from.size(), to);
        pos += to.size();
    }
    return text;
}

std::string ReplaceFirst(std::string text, std::string_view from, std::string_view to)
{
    std::size_t pos = text.find(from);
    if (pos != std::string::npos)
        text.replace(pos, from.size(), to);
    return text;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool WriteText(const std::string& path, std::string_view text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out.flush());
}

} // namespace

std::vector<ClassDesc> EngineClasses()
{
    std::vector<ClassDesc> out;
    for (const script::ClassInfo* c : { script::TObjectClass(), script::ExceptionClass(), script::StringListClass() }) {
        std::string decl = "type " + c->name + " = class";
        if (c->parent)
            decl += "(" + c->parent->name + ")";
        out.push_back({ c->name, decl + ";" });
    }
    return out;
}

std::string ExpandLineBreaks(std::string_view text, std::string_view lineBreak)
{
    return ReplaceAll(std::string(text), "\\n", lineBreak);
}

std::string CollapseLineBreaks(std::string_view text)
{
    return ReplaceAll(ReplaceAll(std::string(text), "\r\n", "\\n"), "\n", "\\n");
}

FuncDescStore::FuncDescStore(std::string path)
    : m_ini(std::move(path))
{
}

std::vector<std::string> FuncDescStore::Names() const
{
    std::vector<std::string> names;
    int count = m_ini.ReadInteger(kMain, "funccnt", 0);
    for (int i = 1; i <= count && i <= 100000; ++i)
        names.push_back(m_ini.ReadString(kMain, "Func" + std::to_string(i), ""));
    return names;
}

std::string FuncDescStore::Description(std::string_view name) const
{
    return m_ini.ReadString(kFunctions, name, "");
}

std::string FuncDescStore::Declaration(std::string_view name) const
{
    return m_ini.ReadString(kFunctions, std::string(name) + "_decl", "");
}

void FuncDescStore::SetDescription(std::string_view name, std::string_view description)
{
    m_ini.WriteString(kFunctions, name, description);
}

void FuncDescStore::Dump(const script::HostUnit& unit, const std::vector<ClassDesc>& classes, Logger& log)
{
    m_ini.WriteInteger(kMain, "ClassCnt", static_cast<int32_t>(classes.size()));
    for (std::size_t i = 0; i < classes.size(); ++i) {
        std::string key = "Class" + std::to_string(i + 1);
        if (!m_ini.ReadString(kMain, key, "").empty()) {
            log.Log("CLASS: " + classes[i].name + " already exists.");
        } else {
            m_ini.WriteString(kMain, key, classes[i].name);
            log.Log("Dumped class " + classes[i].name);
        }
    }
    for (const ClassDesc& c : classes)
        if (m_ini.ReadString(kClasses, c.name, "").empty()) {
            m_ini.WriteString(kClasses, c.name, c.declaration + std::string(kPlaceholder));
            log.Log("Dumped funcdesc " + c.name);
        }
    const auto& fns = unit.functions();
    m_ini.WriteInteger(kMain, "funccnt", static_cast<int32_t>(fns.size()));
    for (std::size_t i = 0; i < fns.size(); ++i) {
        std::string key = "Func" + std::to_string(i + 1);
        if (!m_ini.ReadString(kMain, key, "").empty()) {
            log.Log("FUNC: " + fns[i].name + " already exists.");
        } else {
            m_ini.WriteString(kMain, key, fns[i].name);
            log.Log("Dumped func " + fns[i].name);
        }
    }
    for (const script::HostFunction& f : fns) {
        std::string decl = f.Declaration();
        m_ini.WriteString(kFunctions, f.name + "_decl", decl);
        if (Description(f.name).empty()) {
            m_ini.WriteString(kFunctions, f.name, decl + std::string(kPlaceholder));
            log.Log("Dumped funcdesc " + f.name);
        }
    }
}

std::vector<std::string> FuncDescStore::SortedNames() const
{
    std::vector<std::string> names = Names();
    std::stable_sort(
        names.begin(), names.end(), [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); });
    return names;
}

std::vector<std::string> FuncDescStore::DeclarationListing(const std::vector<std::string>& sorted) const
{
    std::vector<std::string> lines = { "{*-----------------------------------------------", " Summary",
        " Script functions documentation", "", " @author zevdlg [Generated by the dialogue tool]", " Description",
        " This file contains detailed information about each", " built-in function in the dialogue tool.",
        " These are the functions that can be used in helper scripts",
        "-----------------------------------------------}", "unit ZEVFunctions;", "", "interface", "" };
    for (const std::string& name : sorted) {
        lines.insert(lines.end(), { "{", "", "Description" });
        std::string desc = ExpandLineBreaks(Description(name), "\n");
        std::size_t start = 0;
        for (std::size_t nl; (nl = desc.find('\n', start)) != std::string::npos; start = nl + 1)
            lines.push_back(desc.substr(start, nl - start));
        lines.push_back(desc.substr(start));
        lines.insert(lines.end(), { "", "}", "", Declaration(name), "" });
    }
    lines.insert(lines.end(), { "", "implementation", "", "end." });
    return lines;
}

std::string FuncDescStore::IndexTable(const std::vector<std::string>& sorted)
{
    auto cell
        = [](const std::string& n) { return "<td><a href=\"ScriptFunctions.html#" + n + "\">" + n + "</a></td>\n"; };
    std::string out = "<table class=\"funclist\" width=\"100%\"  border=\"1\" cellspacing=\"1\" cellpadding=\"4\">\n";
    std::size_t full = sorted.size() / 4 * 4;
    for (std::size_t i = 0; i < full; i += 4)
        out += "<tr>" + cell(sorted[i]) + cell(sorted[i + 1]) + cell(sorted[i + 2]) + cell(sorted[i + 3]) + "</tr>\n";
    out += "<tr>";
    for (std::size_t i = full; i < sorted.size(); ++i)
        out += cell(sorted[i]);
    out += "</tr>\n";
    return out + "\n</table>\n";
}

std::string HtmlDescription(std::string_view description)
{
    std::string s = ReplaceAll(std::string(description), "\\n", "<br>");
    s = ReplaceFirst(s, "procedure", "<b>procedure</b>");
    s = ReplaceFirst(s, "function", "<b>function</b>");
    s = ReplaceAll(s, "NOTE:", "<span class=\"note\">NOTE:</span>");
    s = ReplaceAll(s, " : ", ": ");
    s = ReplaceAll(s, " String;", "<b> string</b>;");
    s = ReplaceAll(s, " String)", "<b> string</b>)");
    return ReplaceAll(s, "var", "<b>var</b>");
}

std::string FuncDescStore::FunctionBodies(const std::vector<std::string>& sorted) const
{
    std::string out;
    for (const std::string& name : sorted) {
        out += "<a name=\"" + name + "\"></a><p class=\"funcname\">" + name + "</p>\n";
        out += "<p class=\"funcdesc\"> [ <a href=\"ScriptFunctions.html#index\">Back to index</a> ] <br><br> "
            + Declaration(name) + "<br><br> " + HtmlDescription(Description(name)) + "</p>\n";
    }
    return out;
}

HtmlDumpResult DumpHelpToHtml(
    const FuncDescStore& store, const std::string& templatePath, const std::string& outputFolder)
{
    HtmlDumpResult r;
    std::vector<std::string> sorted = store.SortedNames();
    r.functionCount = static_cast<int>(sorted.size());
    std::string listing;
    for (const std::string& line : store.DeclarationListing(sorted))
        listing += line + "\r\n";
    std::string listingPath = (std::filesystem::path(outputFolder) / "ZEVFunctions_NEW.pas").string();
    if (!WriteText(listingPath, listing)) {
        r.error = "Cannot write " + listingPath;
        return r;
    }
    std::string page, error;
    if (!ReadWholeFile(templatePath, page, error)) {
        r.error = "Cannot open file \"" + templatePath + "\". " + error;
        return r;
    }
    page = ReplaceAll(page, "%%InsertIndexHere%%", FuncDescStore::IndexTable(sorted));
    page = ReplaceAll(page, "%%InsertFunctionsHere%%", store.FunctionBodies(sorted));
    page = ExpandLineBreaks(page, "\r\n");
    std::error_code ec;
    std::filesystem::path docFolder = std::filesystem::path(outputFolder) / "doc";
    std::filesystem::create_directories(docFolder, ec);
    std::string pagePath = (docFolder / "ScriptFunctions.html").string();
    if (!WriteText(pagePath, page)) {
        r.error = "Cannot write " + pagePath;
        return r;
    }
    r.pageLines = static_cast<int>(std::count(page.begin(), page.end(), '\n'));
    if (!page.empty() && page.back() != '\n')
        ++r.pageLines;
    r.ok = true;
    return r;
}

FuncDescEditorModel::FuncDescEditorModel(FuncDescStore& store)
    : m_store(store)
    , m_names(store.Names())
{
}

void FuncDescEditorModel::Select(int index)
{
    if (index < 0 || index >= static_cast<int>(m_names.size())) {
        m_selected = -1;
        m_memo.clear();
        return;
    }
    m_selected = index;
    m_memo = ExpandLineBreaks(m_store.Description(m_names[static_cast<std::size_t>(index)]), "\r\n");
}

void FuncDescEditorModel::SetMemo(std::string text)
{
    m_memo = std::move(text);
    if (m_selected < 0)
        return;
    m_store.SetDescription(m_names[static_cast<std::size_t>(m_selected)], CollapseLineBreaks(m_memo));
}

} // namespace zev
