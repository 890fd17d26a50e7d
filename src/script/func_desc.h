#pragma once

// The description store of the script functions ("func_desc.ini" beside the program): the help
// texts of Help and GetHelp, kept in step with the host unit by "Dump script commands", edited in
// the "[DEV] Function description editor", turned into an HTML page by DumpHelpToHTML.
// Line breaks inside a stored description are the two characters backslash and n.

#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"
#include "script/engine/host_unit.h"

namespace zev {

class Logger;

// A class of the engine's classes library as the store lists it.
struct ClassDesc {
    std::string name;
    std::string declaration;
};

// The classes the engine's library offers scripts.
std::vector<ClassDesc> EngineClasses();

class FuncDescStore {
public:
    explicit FuncDescStore(std::string path);

    IniFile& ini() { return m_ini; }
    const std::string& path() const { return m_ini.Path(); }

    // "Func1" .. "Func" + funccnt of section "Main", in key order (a missing key reads empty).
    std::vector<std::string> Names() const;
    std::string Description(std::string_view name) const;
    std::string Declaration(std::string_view name) const;
    void SetDescription(std::string_view name, std::string_view description);

    // "Dump script commands": names, declarations and placeholder descriptions of the unit's
    // functions and the library's classes; existing names and descriptions are kept.
    void Dump(const script::HostUnit& unit, const std::vector<ClassDesc>& classes, Logger& log);

    // The pieces of DumpHelpToHTML, over names sorted without regard to case.
    std::vector<std::string> SortedNames() const;
    std::vector<std::string> DeclarationListing(const std::vector<std::string>& sorted) const;
    static std::string IndexTable(const std::vector<std::string>& sorted);
    std::string FunctionBodies(const std::vector<std::string>& sorted) const;

private:
    IniFile m_ini;
};

// The description with the HTML page's replacements applied (line breaks, bold keywords, notes).
std::string HtmlDescription(std::string_view description);
// Every backslash-n of text turned into a line break, and back.
std::string ExpandLineBreaks(std::string_view text, std::string_view lineBreak = "\r\n");
std::string CollapseLineBreaks(std::string_view text);

// What DumpHelpToHTML wrote.
struct HtmlDumpResult {
    bool ok = false;
    std::string error; // the file that could not be read or written
    int functionCount = 0;
    int pageLines = 0;
};

// Writes "ZEVFunctions_NEW.pas" and "doc/ScriptFunctions.html" into outputFolder from the template
// at templatePath. The listing is written before the template is read.
HtmlDumpResult DumpHelpToHtml(
    const FuncDescStore& store, const std::string& templatePath, const std::string& outputFolder);

// The "[DEV] Function description editor": the function list and the description memo; every
// change of the memo is written to the store at once.
class FuncDescEditorModel {
public:
    explicit FuncDescEditorModel(FuncDescStore& store);

    static constexpr std::string_view kCaption = "[DEV] Function description editor";
    static constexpr std::string_view kListCaption = "Script functions";
    static constexpr std::string_view kMemoCaption = "Description for the selected function:";

    const std::vector<std::string>& names() const { return m_names; }
    int selected() const { return m_selected; }
    const std::string& memo() const { return m_memo; }

    void Select(int index);
    // The memo text changed (lines separated by CR LF or LF).
    void SetMemo(std::string text);

private:
    FuncDescStore& m_store;
    std::vector<std::string> m_names;
    int m_selected = -1;
    std::string m_memo;
};

} // namespace zev
