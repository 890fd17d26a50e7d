#include "model/dialog_writer.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "model/codes.h"

namespace zev {

namespace {

// Appends straight into one buffer: the writer is on the save path of the largest dialogues.
class Out {
public:
    Out() { m_s.reserve(1 << 16); }
    Out& operator<<(std::string_view text)
    {
        m_s.append(text);
        return *this;
    }
    Out& operator<<(char c)
    {
        m_s.push_back(c);
        return *this;
    }
    Out& operator<<(int32_t v)
    {
        char buf[16];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        m_s.append(buf, static_cast<std::size_t>(r.ptr - buf));
        return *this;
    }
    // A value with the full encoding.
    Out& Full(std::string_view text)
    {
        AppendFull(m_s, text);
        return *this;
    }
    Out& Quoted(std::string_view keyword, std::string_view value)
    {
        *this << keyword << " \"";
        return Full(value) << '"';
    }
    void Eol() { m_s += "\r\n"; }
    void Line(std::string_view text)
    {
        m_s.append(text);
        Eol();
    }
    std::string Take() { return std::move(m_s); }

    static void AppendFull(std::string& out, std::string_view text)
    {
        std::size_t run = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            char c = text[i];
            if (c != '"' && c != '\r')
                continue;
            out.append(text.data() + run, i - run);
            if (c == '"') {
                out += "\\\"";
            } else {
                out += "\\n";
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
            }
            run = i + 1;
        }
        out.append(text.data() + run, text.size() - run);
    }

private:
    std::string m_s;
};

int Count(int32_t count, int32_t capacity)
{
    return count < 0 ? 0 : (count > capacity ? capacity : count);
}

// Splits code at CR LF: empty lines in the middle stay, a trailing line break adds no line.
std::vector<std::string_view> SplitCode(std::string_view code)
{
    std::vector<std::string_view> pieces;
    while (!code.empty()) {
        auto crlf = code.find("\r\n");
        if (crlf == std::string_view::npos) {
            pieces.push_back(code);
            break;
        }
        pieces.push_back(code.substr(0, crlf));
        code.remove_prefix(crlf + 2);
    }
    return pieces;
}

void WriteCodeBlock(Out& out, std::string_view code, std::string_view indent)
{
    auto pieces = SplitCode(code);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        out << indent << '"';
        out.Full(pieces[i]) << '"';
        if (i + 1 < pieces.size())
            out << ',';
        out.Eol();
    }
}

void WriteHeaderComment(Out& out)
{
    for (std::string_view l : { "/*", "", "    ZEV Dialogue Tool", "         dialogue script file", "",
             " -- hand editing this file is not recommended", "" })
        out.Line(l);
    out << " Created with version " << kProgramVersionText;
    out.Eol();
    out.Line("");
    out.Line("*/");
    out.Line("");
}

void WriteVariables(Out& out, const dialog& d)
{
    int count = Count(d.variable_count, kMaxVariables);
    if (count <= 0)
        return;
    out.Line("vars {");
    for (int i = 0; i < count; ++i) {
        const TVariable& v = *d.variables[i];
        switch (v.scope) {
        case SCOPE_IMPORT:
            out << "import ";
            break;
        case SCOPE_EXPORT:
            out << "export ";
            break;
        case SCOPE_LOCAL:
            out << "local ";
            break;
        default:
            break;
        }
        out << "var " << v.name.view() << " notes \"";
        out.Full(v.notes) << '"';
        switch (v.value_type) {
        case VALUE_INTEGER:
            out << " = " << v.value.AsInt();
            break;
        case VALUE_FLOAT:
            out << " = " << FormatFloatValue(v.value.AsFloat());
            break;
        case VALUE_STRING:
            out << " = \"";
            out.Full(v.value.AsString()) << '"';
            break;
        default:
            break;
        }
        out << ';';
        out.Eol();
    }
    out.Line("}");
}

void WriteHeader(Out& out, const dialog& d)
{
    out.Quoted("NPCName", d.npc_name).Eol();
    out.Quoted("Location", d.location).Eol();
    out.Quoted("Description", d.description).Eol();
    out.Quoted("Unknown_Desc", d.unknown_desc).Eol();
    out.Quoted("Known_Desc", d.known_desc).Eol();
    out.Quoted("Detailed_Desc", d.detailed_desc).Eol();
}

void WriteStartConditions(Out& out, const dialog& d)
{
    int count = Count(d.start_condition_count, kMaxStartConditions);
    if (count <= 0)
        return;
    out.Line("/* Dialogue starting conditions */");
    out.Line("");
    out.Line("start_conditions");
    out << "default_condition " << d.default_condition;
    out.Eol();
    out.Line("{");
    for (int i = 0; i < count; ++i) {
        const starting_condition& s = *d.start_conditions[i];
        out.Quoted("cond target_node", s.target_node).Eol();
        out.Line("{");
        int lines = Count(s.line_count, kMaxStartConditionLines);
        for (int l = 0; l < lines; ++l) {
            const cond_data& c = *s.lines[l];
            out << "    SSL \"";
            out.Full(c.ssl) << "\" var_param \"";
            out.Full(c.var_param) << "\" eval " << c.eval << " value_to_check \"";
            out.Full(c.value_to_check) << "\" ini_index " << c.ini_index << " link " << c.link;
            if (l + 1 < lines)
                out << ',';
            out.Eol();
        }
        out.Line(i + 1 < count ? "}," : "}");
    }
    out.Line("};");
    out.Line("");
}

void WriteTimedEvents(Out& out, const dialog& d)
{
    int count = Count(d.timed_event_count, kMaxTimedEvents);
    if (count <= 0)
        return;
    out.Line("/* Timed events */");
    out.Line("");
    out.Line("// Intervals are entered in seconds (converted to game ticks by the script)");
    out.Line("// default_event points to an index from the timed event list");
    out.Line("// starting from zero");
    out << "Default_Event = " << d.default_event;
    out.Eol();
    for (int i = 0; i < count; ++i) {
        const time_event_data& e = *d.timed_events[i];
        out << "TimeEvent fixed_param_name=\"";
        out.Full(e.fixed_param_name) << "\", enum=" << e.enum_value;
        out.Eol();
        out.Line(e.is_random ? "IsRandomInterval = True" : "IsRandomInterval = False");
        if (e.is_random) {
            out << "IntervalMin=" << e.interval_min;
            out.Eol();
            out << "IntervalMax=" << e.interval_max;
        } else {
            out << "Interval=" << e.interval;
        }
        out.Eol();
        out.Line("   code = {");
        int lines = Count(e.code_line_count, kMaxTimedEventLines);
        for (int l = 0; l < lines; ++l) {
            out << "    \"";
            out.Full(e.code[l]->line) << '"';
            if (l + 1 < lines)
                out << ',';
            out.Eol();
        }
        out.Line("  }");
    }
    out.Line("");
}

void WriteFloatNodes(Out& out, const dialog& d)
{
    int count = Count(d.float_node_count, kMaxFloatNodes);
    if (count <= 0)
        return;
    out.Line("/* Float message nodes */");
    out.Line("");
    for (int i = 0; i < count; ++i) {
        const floatnode& f = *d.float_nodes[i];
        out.Quoted("Floatnode", f.name).Eol();
        out.Quoted("notes", f.notes).Eol();
        out.Line("{");
        int messages = Count(f.message_count, kMaxFloatMessages);
        for (int m = 0; m < messages; ++m) {
            out << '"';
            out.Full(f.messages[m]) << '"';
            if (m + 1 < messages)
                out << ',';
            out.Eol();
        }
        out.Line("}");
    }
    out.Line("");
}

// A condition value as it stood in the file; a string token that the CR rule closed after an
// escaped quote gets its closing quote, so the line reads back.
std::string_view WritableValue(std::string_view value, bool& addQuote)
{
    addQuote = false;
    if (value.empty() || value.front() != '"')
        return value;
    enum { Plain, Escape, AfterEscapedQuote } state = Plain;
    for (std::size_t i = 1; i < value.size(); ++i) {
        char c = value[i];
        if (state == Plain || state == AfterEscapedQuote) {
            if (c == '"') {
                addQuote = i + 1 != value.size();
                return value;
            }
            state = c == '\\' ? Escape : Plain;
        } else if (c == '"') {
            state = AfterEscapedQuote;
        } else if (c != '\\') {
            state = Plain;
        }
    }
    addQuote = true;
    return value;
}

// ConditionText, made readable where the record holds codes that have no name: an unknown type or
// subject would otherwise leave a line the reader rejects, losing the rest of the file.
void WriteCondition(Out& out, const condition& c)
{
    std::string_view type = CheckTypeName(c.check_type);
    std::string_view subject;
    switch (c.check_type) {
    case CHECK_STAT:
        subject = StatName(c.subject);
        break;
    case CHECK_SKILL:
        subject = SkillName(c.subject);
        break;
    case CHECK_MONEY:
        subject = MoneyName(c.subject);
        break;
    case GLOBAL_VARIABLE:
    case LOCAL_VARIABLE:
    case SCRIPT_VARIABLE:
        subject = c.variable_name.view();
        break;
    default:
        break;
    }
    if (subject.empty() && c.check_type >= CHECK_STAT && c.check_type <= CHECK_MONEY) {
        // The reader maps stat names first, then skill names, to the subject code.
        subject = StatName(c.subject);
        if (subject.empty())
            subject = SkillName(c.subject);
    }
    if (subject.empty())
        subject = c.variable_name.empty() ? std::string_view("unknown") : c.variable_name.view();
    out << (type.empty() ? std::string_view("UNKNOWN_CHECK") : type) << ' ' << subject << ' ';
    std::string_view op = EvalName(c.eval);
    out << op << ' ';
    if (!op.empty()) {
        bool addQuote = false;
        out << WritableValue(c.value, addQuote);
        if (addQuote)
            out << '"';
    }
    std::string_view link = LinkNextName(c.link_next);
    out << " link_next " << (link.empty() ? LinkNextName(LINK_NONE) : link);
}

void WriteOption(Out& out, const option& o)
{
    out << "          int=" << o.intelligence;
    if (o.to_custom_proc && !o.to_skill_check)
        out << " linkflags custom_proc";
    else if (o.to_skill_check && !o.to_custom_proc)
        out << " linkflags skill_check";
    out << " Reaction=";
    out << ((o.reaction == REACTION_GOOD || o.reaction == REACTION_BAD) ? ReactionName(o.reaction)
                                                                        : ReactionName(REACTION_NEUTRAL));
    if (o.gender == GENDER_MALE)
        out << " Gender=MALE";
    else if (o.gender == GENDER_FEMALE)
        out << " Gender=FEMALE";
    out << " playertext \"";
    out.Full(o.text) << "\" linkto \"";
    out.Full(o.link_target) << "\" ";
    int conds = Count(o.condition_count, kMaxConditions);
    if (conds > 0) {
        out << "conditions { ";
        for (int c = 0; c < conds; ++c) {
            if (c > 0)
                out << ", ";
            WriteCondition(out, *o.conditions[c]);
        }
        out << " }";
    }
    out << " notes \"";
    out.Full(o.notes) << '"';
    out.Eol();
}

void WriteCommentSafe(Out& out, std::string_view name)
{
    for (std::size_t i = 0; i < name.size(); ++i) {
        out << name[i];
        if (name[i] == '*' && i + 1 < name.size() && name[i + 1] == '/')
            out << ' ';
    }
}

void WriteNode(Out& out, const dlgnode& n)
{
    out.Quoted("Node", n.name).Eol();
    out.Quoted("notes", n.notes).Eol();
    int checks = Count(n.skill_check_count, kMaxSkillChecks);
    if (checks > 0) {
        out << "/* Skill checks for node ";
        WriteCommentSafe(out, n.name);
        out << " */";
        out.Eol();
        out.Line("");
        for (int i = 0; i < checks; ++i) {
            const skillcheck& s = *n.skill_checks[i];
            out << "      define_skill_check " << s.name.view() << " {";
            out.Eol();
            out << "      skill_num = " << s.skill << ';';
            out.Eol();
            out << "      difficulty_modifier = " << s.difficulty_modifier << ';';
            out.Eol();
            out << "      onsuccess => " << s.on_success.view() << ';';
            out.Eol();
            out << "      onfailure => " << s.on_failure.view() << ';';
            out.Eol();
            out.Line("      }");
        }
        out.Line("");
    }
    if (!n.custom_code.empty()) {
        out.Line("    insert_custom_code {");
        WriteCodeBlock(out, n.custom_code, "    ");
        out.Line("    }");
    }
    out.Line("{");
    out.Quoted("NPCText", n.npc_text).Eol();
    if (!n.npc_female_text.empty())
        out.Quoted(" NPCFemaleText", n.npc_female_text).Eol();
    out.Line("      options {");
    int opts = Count(n.option_count, kMaxOptions);
    for (int i = 0; i < opts; ++i)
        WriteOption(out, *n.options[i]);
    out.Line("              }");
    out.Line("}");
}

void WriteCustomProcs(Out& out, const dialog& d)
{
    int count = Count(d.custom_proc_count, kMaxCustomProcs);
    if (count <= 0)
        return;
    out.Line("/* Custom procedures */");
    for (int i = 0; i < count; ++i) {
        const custom_proc& p = *d.custom_procs[i];
        out << "      custom_proc " << p.name.view() << " associate_node " << p.associate_node << " {";
        out.Eol();
        WriteCodeBlock(out, p.code, "      ");
        out.Line("      }");
    }
}

} // namespace

std::string EncodeQuotes(std::string_view text)
{
    // These values are written one line per string, but a "\n" read from a file puts a CR LF inside
    // one; left raw it would make the file unreadable, so it is encoded like a lone CR.
    return EncodeFull(text);
}

std::string EncodeFull(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    Out::AppendFull(out, text);
    return out;
}

std::string FormatFloatValue(double v)
{
    if (!std::isfinite(v))
        return "0.0"; // the format has no spelling for these
    if (v == 0.0)
        return std::signbit(v) ? "-0.0" : "0.0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    // buf: [-]d.dddddddddddddde[+-]x
    std::string s(buf);
    bool negative = s[0] == '-';
    if (negative)
        s.erase(0, 1);
    auto e = s.find('e');
    int exponent = std::atoi(s.c_str() + e + 1);
    std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string intPart;
    std::string fracPart;
    if (exponent >= 0) {
        auto intLen = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intLen) {
            intPart = digits + std::string(intLen - digits.size(), '0');
        } else {
            intPart = digits.substr(0, intLen);
            fracPart = digits.substr(intLen);
        }
    } else {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    if (fracPart.empty())
        fracPart = "0";
    return (negative ? "-" : "") + intPart + "." + fracPart;
}

std::string SerializeDialogue(const dialog& d)
{
    Out out;
    WriteHeaderComment(out);
    WriteVariables(out, d);
    WriteHeader(out, d);
    WriteStartConditions(out, d);
    WriteTimedEvents(out, d);
    WriteFloatNodes(out, d);
    out.Line("/* Regular nodes */");
    out.Line("");
    int nodes = Count(d.node_count, kMaxNodes);
    for (int i = 0; i < nodes; ++i)
        WriteNode(out, *d.nodes[i]);
    WriteCustomProcs(out, d);
    return out.Take();
}

bool WriteDialogueFile(dialog& d, const std::string& path, std::string& error)
{
    std::string text = SerializeDialogue(d);
    std::string temp = path + ".tmp-zevdlg";
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        error = "Cannot create file \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (fsync(fileno(f)) == 0) && ok;
    int saved = errno;
    ok = (std::fclose(f) == 0) && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        saved = errno;
        ok = false;
    }
    if (!ok) {
        std::remove(temp.c_str());
        error = "Cannot write file \"" + path + "\": " + std::strerror(saved ? saved : errno);
        return false;
    }
    d.file_name = path;
    return true;
}

} // namespace zev
