#include "model/dialog_writer.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "model/codes.h"

namespace zev {

namespace {

class Lines {
public:
    void Add(std::string_view line)
    {
        m_out.append(line);
        m_out += "\r\n";
    }
    std::string Take() { return std::move(m_out); }

private:
    std::string m_out;
};

std::string Quoted(std::string_view keyword, std::string_view value)
{
    std::string s(keyword);
    s += " \"";
    s += EncodeFull(value);
    s += '"';
    return s;
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

void WriteCodeBlock(Lines& out, std::string_view code, std::string_view indent)
{
    auto pieces = SplitCode(code);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::string line(indent);
        line += '"';
        line += EncodeQuotes(pieces[i]);
        line += '"';
        if (i + 1 < pieces.size())
            line += ',';
        out.Add(line);
    }
}

void WriteHeaderComment(Lines& out)
{
    for (std::string_view l : {"/*", "", "    ZEV Dialogue Tool", "         dialogue script file", "",
                               " -- hand editing this file is not recommended", ""})
        out.Add(l);
    out.Add(std::string(" Created with version ") + std::string(kProgramVersionText));
    out.Add("");
    out.Add("*/");
    out.Add("");
}

void WriteVariables(Lines& out, const dialog& d)
{
    if (d.variable_count <= 0)
        return;
    out.Add("vars {");
    for (int i = 0; i < d.variable_count && i < kMaxVariables; ++i) {
        const TVariable& v = *d.variables[i];
        std::string line;
        switch (v.scope) {
        case SCOPE_IMPORT: line = "import "; break;
        case SCOPE_EXPORT: line = "export "; break;
        case SCOPE_LOCAL: line = "local "; break;
        default: break;
        }
        line += "var ";
        line += v.name.view();
        line += " notes \"" + EncodeFull(v.notes) + "\"";
        switch (v.value_type) {
        case VALUE_INTEGER: line += " = " + std::to_string(v.value.AsInt()); break;
        case VALUE_FLOAT: line += " = " + FormatFloatValue(v.value.AsFloat()); break;
        case VALUE_STRING: line += " = \"" + EncodeFull(v.value.AsString()) + "\""; break;
        default: break;
        }
        line += ';';
        out.Add(line);
    }
    out.Add("}");
}

void WriteHeader(Lines& out, const dialog& d)
{
    out.Add(Quoted("NPCName", d.npc_name));
    out.Add(Quoted("Location", d.location));
    out.Add(Quoted("Description", d.description));
    out.Add(Quoted("Unknown_Desc", d.unknown_desc));
    out.Add(Quoted("Known_Desc", d.known_desc));
    out.Add(Quoted("Detailed_Desc", d.detailed_desc));
}

void WriteStartConditions(Lines& out, const dialog& d)
{
    int count = d.start_condition_count < kMaxStartConditions ? d.start_condition_count : kMaxStartConditions;
    if (count <= 0)
        return;
    out.Add("/* Dialogue starting conditions */");
    out.Add("");
    out.Add("start_conditions");
    out.Add("default_condition " + std::to_string(d.default_condition));
    out.Add("{");
    for (int i = 0; i < count; ++i) {
        const starting_condition& s = *d.start_conditions[i];
        out.Add(Quoted("cond target_node", s.target_node));
        out.Add("{");
        int lines = s.line_count < kMaxStartConditionLines ? s.line_count : kMaxStartConditionLines;
        for (int l = 0; l < lines; ++l) {
            const cond_data& c = *s.lines[l];
            std::string line = "    SSL \"" + EncodeFull(c.ssl) + "\" var_param \"" + EncodeFull(c.var_param) +
                               "\" eval " + std::to_string(c.eval) + " value_to_check \"" +
                               EncodeFull(c.value_to_check) + "\" ini_index " + std::to_string(c.ini_index) +
                               " link " + std::to_string(c.link);
            if (l + 1 < lines)
                line += ',';
            out.Add(line);
        }
        out.Add(i + 1 < count ? "}," : "}");
    }
    out.Add("};");
    out.Add("");
}

void WriteTimedEvents(Lines& out, const dialog& d)
{
    int count = d.timed_event_count < kMaxTimedEvents ? d.timed_event_count : kMaxTimedEvents;
    if (count <= 0)
        return;
    out.Add("/* Timed events */");
    out.Add("");
    out.Add("// Intervals are entered in seconds (converted to game ticks by the script)");
    out.Add("// default_event points to an index from the timed event list");
    out.Add("// starting from zero");
    out.Add("Default_Event = " + std::to_string(d.default_event));
    for (int i = 0; i < count; ++i) {
        const time_event_data& e = *d.timed_events[i];
        out.Add("TimeEvent fixed_param_name=\"" + EncodeFull(e.fixed_param_name) +
                "\", enum=" + std::to_string(e.enum_value));
        out.Add(std::string("IsRandomInterval = ") + (e.is_random ? "True" : "False"));
        if (e.is_random) {
            out.Add("IntervalMin=" + std::to_string(e.interval_min));
            out.Add("IntervalMax=" + std::to_string(e.interval_max));
        } else {
            out.Add("Interval=" + std::to_string(e.interval));
        }
        out.Add("   code = {");
        int lines = e.code_line_count < kMaxTimedEventLines ? e.code_line_count : kMaxTimedEventLines;
        for (int l = 0; l < lines; ++l)
            out.Add("    \"" + EncodeQuotes(e.code[l]->line) + "\"" + (l + 1 < lines ? "," : ""));
        out.Add("  }");
    }
    out.Add("");
}

void WriteFloatNodes(Lines& out, const dialog& d)
{
    int count = d.float_node_count < kMaxFloatNodes ? d.float_node_count : kMaxFloatNodes;
    if (count <= 0)
        return;
    out.Add("/* Float message nodes */");
    out.Add("");
    for (int i = 0; i < count; ++i) {
        const floatnode& f = *d.float_nodes[i];
        out.Add(Quoted("Floatnode", f.name));
        out.Add(Quoted("notes", f.notes));
        out.Add("{");
        int messages = f.message_count < kMaxFloatMessages ? f.message_count : kMaxFloatMessages;
        for (int m = 0; m < messages; ++m)
            out.Add("\"" + EncodeQuotes(f.messages[m]) + "\"" + (m + 1 < messages ? "," : ""));
        out.Add("}");
    }
    out.Add("");
}

// A condition value as it stood in the file; a string token that the CR rule closed after an
// escaped quote gets its closing quote, so the line reads back.
std::string WritableValue(std::string_view value)
{
    if (value.empty() || value.front() != '"')
        return std::string(value);
    enum { Plain, Escape, AfterEscapedQuote } state = Plain;
    for (std::size_t i = 1; i < value.size(); ++i) {
        char c = value[i];
        bool last = i + 1 == value.size();
        if (state == Plain || state == AfterEscapedQuote) {
            if (c == '"')
                return last ? std::string(value) : std::string(value) + '"';
            state = c == '\\' ? Escape : Plain;
        } else if (c == '"') {
            state = AfterEscapedQuote;
        } else if (c != '\\') {
            state = Plain;
        }
    }
    return std::string(value) + '"';
}

// ConditionText, made readable where the record holds codes that have no name: an unknown type or
// subject would otherwise leave a line the reader rejects, losing the rest of the file.
std::string WritableConditionText(const condition& c)
{
    std::string_view type = CheckTypeName(c.check_type);
    std::string subject = SubjectName(c);
    if (subject.empty() && c.check_type >= CHECK_STAT && c.check_type <= CHECK_MONEY) {
        // The reader maps stat names first, then skill names, to the subject code.
        if (!StatName(c.subject).empty())
            subject = std::string(StatName(c.subject));
        else if (!SkillName(c.subject).empty())
            subject = std::string(SkillName(c.subject));
    }
    if (subject.empty())
        subject = c.variable_name.empty() ? "unknown" : c.variable_name.str();
    std::string out(type.empty() ? std::string_view("UNKNOWN_CHECK") : type);
    out += ' ';
    out += subject;
    out += ' ';
    std::string_view op = EvalName(c.eval);
    out += op;
    out += ' ';
    if (!op.empty())
        out += WritableValue(c.value);
    out += " link_next ";
    out += LinkNextName(c.link_next).empty() ? LinkNextName(LINK_NONE) : LinkNextName(c.link_next);
    return out;
}

std::string OptionLine(const option& o)
{
    std::string line = "          int=" + std::to_string(o.intelligence);
    if (o.to_custom_proc && !o.to_skill_check)
        line += " linkflags custom_proc";
    else if (o.to_skill_check && !o.to_custom_proc)
        line += " linkflags skill_check";
    line += " Reaction=";
    line += (o.reaction == REACTION_GOOD || o.reaction == REACTION_BAD) ? ReactionName(o.reaction)
                                                                        : ReactionName(REACTION_NEUTRAL);
    if (o.gender == GENDER_MALE)
        line += " Gender=MALE";
    else if (o.gender == GENDER_FEMALE)
        line += " Gender=FEMALE";
    line += " playertext \"" + EncodeFull(o.text) + "\" linkto \"" + EncodeFull(o.link_target) + "\" ";
    int conds = o.condition_count < kMaxConditions ? o.condition_count : kMaxConditions;
    if (conds > 0) {
        line += "conditions { ";
        for (int c = 0; c < conds; ++c) {
            if (c > 0)
                line += ", ";
            line += WritableConditionText(*o.conditions[c]);
        }
        line += " }";
    }
    line += " notes \"" + EncodeFull(o.notes) + "\"";
    return line;
}

std::string CommentSafe(std::string_view name)
{
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        out += name[i];
        if (name[i] == '*' && i + 1 < name.size() && name[i + 1] == '/')
            out += ' ';
    }
    return out;
}

void WriteNode(Lines& out, const dlgnode& n)
{
    out.Add(Quoted("Node", n.name));
    out.Add(Quoted("notes", n.notes));
    int checks = n.skill_check_count < kMaxSkillChecks ? n.skill_check_count : kMaxSkillChecks;
    if (checks > 0) {
        out.Add("/* Skill checks for node " + CommentSafe(n.name) + " */");
        out.Add("");
        for (int i = 0; i < checks; ++i) {
            const skillcheck& s = *n.skill_checks[i];
            out.Add("      define_skill_check " + s.name.str() + " {");
            out.Add("      skill_num = " + std::to_string(s.skill) + ";");
            out.Add("      difficulty_modifier = " + std::to_string(s.difficulty_modifier) + ";");
            out.Add("      onsuccess => " + s.on_success.str() + ";");
            out.Add("      onfailure => " + s.on_failure.str() + ";");
            out.Add("      }");
        }
        out.Add("");
    }
    if (!n.custom_code.empty()) {
        out.Add("    insert_custom_code {");
        WriteCodeBlock(out, n.custom_code, "    ");
        out.Add("    }");
    }
    out.Add("{");
    out.Add(Quoted("NPCText", n.npc_text));
    if (!n.npc_female_text.empty())
        out.Add(Quoted(" NPCFemaleText", n.npc_female_text));
    out.Add("      options {");
    int opts = n.option_count < kMaxOptions ? n.option_count : kMaxOptions;
    for (int i = 0; i < opts; ++i)
        out.Add(OptionLine(*n.options[i]));
    out.Add("              }");
    out.Add("}");
}

void WriteCustomProcs(Lines& out, const dialog& d)
{
    int count = d.custom_proc_count < kMaxCustomProcs ? d.custom_proc_count : kMaxCustomProcs;
    if (count <= 0)
        return;
    out.Add("/* Custom procedures */");
    for (int i = 0; i < count; ++i) {
        const custom_proc& p = *d.custom_procs[i];
        out.Add("      custom_proc " + p.name.str() + " associate_node " + std::to_string(p.associate_node) + " {");
        WriteCodeBlock(out, p.code, "      ");
        out.Add("      }");
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
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') {
            out += "\\\"";
        } else if (c == '\r') {
            out += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
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
    Lines out;
    WriteHeaderComment(out);
    WriteVariables(out, d);
    WriteHeader(out, d);
    WriteStartConditions(out, d);
    WriteTimedEvents(out, d);
    WriteFloatNodes(out, d);
    out.Add("/* Regular nodes */");
    out.Add("");
    int nodes = d.node_count < kMaxNodes ? d.node_count : kMaxNodes;
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
