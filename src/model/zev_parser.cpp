#include "model/zev_parser.h"

#include <array>
#include <charconv>
#include <limits>

#include "model/codes.h"
#include "model/dialog_ops.h"

namespace zev {

namespace S = zevsym;

namespace {

// A record begins at index count of its table and is counted once complete. At a full table it is
// parsed into a scratch record that is then freed.
template <class T, std::size_t N> T* BeginRecord(T* (&table)[N], int32_t count, bool& dropped)
{
    dropped = TableFull(table, count);
    T* rec = new T();
    if (!dropped)
        table[count] = rec;
    return rec;
}

template <class T, std::size_t N, class Free>
void EndRecord(T* (&table)[N], int32_t& count, T* rec, bool dropped, Free freeRecord)
{
    if (dropped) {
        freeRecord(rec);
        return;
    }
    table[count] = rec;
    ++count;
}

template <class T> void DeleteRecord(T* p)
{
    delete p;
}

template <class T, std::size_t N, class Free> void FreeTable(T* (&table)[N], int32_t& count, Free freeRecord)
{
    int n = count < 0 ? 0 : (count > static_cast<int32_t>(N) ? static_cast<int>(N) : count);
    for (int i = 0; i < n; ++i) {
        freeRecord(table[i]);
        table[i] = nullptr;
    }
    count = 0;
}

int32_t SubjectCode(std::string_view name)
{
    if (name == "dude_caps")
        return 1;
    if (int32_t stat = StatCode(name))
        return stat;
    return SkillCode(name);
}

} // namespace

TZEV::TZEV()
    : TBaseGrammar(std::make_unique<TZEVScanner>())
{
    SetMessage(83, "invalid TimedEventData");
    SetMessage(84, "invalid _variable");
    for (int code : { 85, 86, 87 })
        SetMessage(code, "invalid Options");
    SetMessage(88, "invalid Condition");
    SetMessage(89, "invalid Condition");
    SetMessage(90, "invalid Main");
    SetMessage(kErrNumberOutOfRange, "number out of range");
}

std::string TZEV::DecodeString(std::string_view token)
{
    if (!token.empty())
        token.remove_prefix(1);
    if (!token.empty() && token.back() == '"')
        token.remove_suffix(1);
    std::string out;
    out.reserve(token.size());
    for (std::size_t i = 0; i < token.size(); ++i) {
        char c = token[i];
        if (c == '\\' && i + 1 < token.size()) {
            char n = token[i + 1];
            if (n == '"') {
                out += '"';
                ++i;
                continue;
            }
            if (n == 'n') {
                out += "\r\n";
                ++i;
                continue;
            }
            if (n == 't') {
                out += '\t';
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

void TZEV::ParseStart()
{
    m_sharedNames.clear();
    ZEV();
    std::unordered_map<std::string, HostString>().swap(m_sharedNames);
}

HostString TZEV::SharedName(std::string text)
{
    // Names past the cap are not worth a table entry: a file whose links name no nodes.
    constexpr std::size_t kMaxShared = 4 * kMaxNodes;
    auto found = m_sharedNames.find(text);
    if (found != m_sharedNames.end())
        return found->second;
    HostString name(text);
    if (m_sharedNames.size() < kMaxShared)
        m_sharedNames.emplace(std::move(text), name);
    return name;
}

// ---- Token helpers

std::string TZEV::ExpectString()
{
    Expect(S::string);
    return DecodeString(LexString());
}

std::string TZEV::ExpectIdent()
{
    Expect(S::ident);
    return LexString();
}

int32_t TZEV::ExpectInteger()
{
    if (m_sym != S::integer) {
        SynErr(S::integer);
        return 0;
    }
    Get();
    return ConvertInteger();
}

int32_t TZEV::ConvertInteger()
{
    std::string text = LexString();
    std::string_view digits(text);
    bool negative = false;
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) {
        negative = digits[0] == '-';
        digits.remove_prefix(1);
    }
    int64_t magnitude = 0;
    bool ok = !digits.empty();
    for (char c : digits) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1) {
            ok = false;
            break;
        }
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (!ok || value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) {
        StoreError(kErrNumberOutOfRange, &m_scanner->CurrentSymbol, 0, {});
        return 0;
    }
    return static_cast<int32_t>(value);
}

double TZEV::ConvertFloat()
{
    std::string text = LexString();
    if (!text.empty() && text.back() == 'f')
        text.pop_back();
    double value = 0.0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        // A tiny value is zero; only a value too large for a float does not convert.
        bool large = false;
        for (char c : text) {
            if (c == '.')
                break;
            if (c >= '1' && c <= '9')
                large = true;
        }
        if (large)
            StoreError(kErrNumberOutOfRange, &m_scanner->CurrentSymbol, 0, {});
        return 0.0;
    }
    return ec == std::errc() ? value : 0.0;
}

void TZEV::TooMany()
{
    StoreError(kErrTooManyEntries, &m_scanner->NextSymbol, 0, {});
}

bool TZEV::StartsSection() const
{
    switch (m_sym) {
    case S::NPCName:
    case S::Default_Event:
    case S::Floatnode:
    case S::Node:
    case S::start_conditions:
    case S::custom_proc:
    case S::exec_script_code:
        return true;
    default:
        return false;
    }
}

void TZEV::ResetTables()
{
    dialog& d = *m_dialog;
    FreeTable(d.nodes, d.node_count, FreeNode);
    FreeTable(d.float_nodes, d.float_node_count, DeleteRecord<floatnode>);
    FreeTable(d.variables, d.variable_count, DeleteRecord<TVariable>);
    FreeTable(d.timed_events, d.timed_event_count, FreeTimedEvent);
    FreeTable(d.start_conditions, d.start_condition_count, FreeStartCondition);
    FreeTable(d.custom_procs, d.custom_proc_count, DeleteRecord<custom_proc>);
    m_execLines.clear();
}

// ---- Productions

// ZEV = [ Vars ] Section { Section } .
void TZEV::ZEV()
{
    ResetTables();
    if (m_sym == S::vars)
        Vars();
    Section();
    while (StartsSection())
        Section();
}

// Vars = "vars" "{" { Variable } "}" .
void TZEV::Vars()
{
    Expect(S::vars);
    FreeTable(m_dialog->variables, m_dialog->variable_count, DeleteRecord<TVariable>);
    Expect(S::lbrace);
    while (m_sym == S::import || m_sym == S::local || m_sym == S::export_ || m_sym == S::var)
        Variable();
    Expect(S::rbrace);
}

// Variable = [ "import" | "local" | "export" ] "var" ident [ "notes" string ]
//            [ "=" ( string | integer | float ) ] ";" .
void TZEV::Variable()
{
    dialog& d = *m_dialog;
    bool dropped = false;
    TVariable* v = BeginRecord(d.variables, d.variable_count, dropped);
    if (dropped)
        TooMany();
    v->scope = SCOPE_NONE;
    if (m_sym == S::import) {
        Get();
        v->scope = SCOPE_IMPORT;
    } else if (m_sym == S::local) {
        Get();
        v->scope = SCOPE_LOCAL;
    } else if (m_sym == S::export_) {
        Get();
        v->scope = SCOPE_EXPORT;
    }
    Expect(S::var);
    v->name = ExpectIdent();
    v->value_type = VALUE_NONE;
    if (m_sym == S::notes) {
        Get();
        v->notes = ExpectString();
    }
    if (m_sym == S::assign) {
        Get();
        if (m_sym == S::string) {
            Get();
            v->value_type = VALUE_STRING;
            v->value.SetString(DecodeString(LexString()));
        } else if (m_sym == S::integer) {
            Get();
            v->value_type = VALUE_INTEGER;
            v->value.SetInt(ConvertInteger());
        } else if (m_sym == S::float_) {
            Get();
            v->value_type = VALUE_FLOAT;
            v->value.SetFloat(ConvertFloat());
        } else {
            SynErr(84);
        }
    }
    Expect(S::semicolon);
    EndRecord(d.variables, d.variable_count, v, dropped, DeleteRecord<TVariable>);
}

// Section = Header | TimedEvents | FloatNode { FloatNode } | Node { Node } | StartConditions
//         | CustomProc | ExecScript .
void TZEV::Section()
{
    switch (m_sym) {
    case S::NPCName:
        Header();
        break;
    case S::Default_Event:
        TimedEvents();
        break;
    case S::Floatnode:
        FloatNode();
        while (m_sym == S::Floatnode)
            FloatNode();
        break;
    case S::Node:
        NodeDef();
        while (m_sym == S::Node)
            NodeDef();
        break;
    case S::start_conditions:
        StartConditions();
        break;
    case S::custom_proc:
        CustomProc();
        break;
    case S::exec_script_code:
        ExecScript();
        break;
    default:
        SynErr(90);
        break;
    }
}

// Header = "NPCName" string "Location" string "Description" string "Unknown_Desc" string
//          "Known_Desc" string "Detailed_Desc" string .
void TZEV::Header()
{
    dialog& d = *m_dialog;
    Expect(S::NPCName);
    d.npc_name = ExpectString();
    Expect(S::Location);
    d.location = ExpectString();
    Expect(S::Description);
    d.description = ExpectString();
    Expect(S::Unknown_Desc);
    d.unknown_desc = ExpectString();
    Expect(S::Known_Desc);
    d.known_desc = ExpectString();
    Expect(S::Detailed_Desc);
    d.detailed_desc = ExpectString();
}

// TimedEvents = "Default_Event" "=" integer TimeEvent { TimeEvent } .
void TZEV::TimedEvents()
{
    dialog& d = *m_dialog;
    Expect(S::Default_Event);
    FreeTable(d.timed_events, d.timed_event_count, FreeTimedEvent);
    Expect(S::assign);
    d.default_event = ExpectInteger();
    TimeEvent();
    while (m_sym == S::TimeEvent)
        TimeEvent();
}

// TimeEvent = "TimeEvent" "fixed_param_name" "=" string "," "enum" "=" integer "IsRandomInterval" "="
//             ( "True" "IntervalMin" "=" integer "IntervalMax" "=" integer | "False" "Interval" "=" integer )
//             "code" "=" "{" [ string { "," string } ] "}" .
void TZEV::TimeEvent()
{
    dialog& d = *m_dialog;
    bool dropped = false;
    time_event_data* e = BeginRecord(d.timed_events, d.timed_event_count, dropped);
    if (dropped)
        TooMany();
    Expect(zevsym::TimeEvent);
    Expect(S::fixed_param_name);
    Expect(S::assign);
    e->fixed_param_name = ExpectString();
    Expect(S::comma);
    Expect(S::enum_);
    Expect(S::assign);
    e->enum_value = ExpectInteger();
    Expect(S::IsRandomInterval);
    Expect(S::assign);
    if (m_sym == S::True) {
        Get();
        e->is_random = 1;
        Expect(S::IntervalMin);
        Expect(S::assign);
        e->interval_min = ExpectInteger();
        Expect(S::IntervalMax);
        Expect(S::assign);
        e->interval_max = ExpectInteger();
    } else if (m_sym == S::False) {
        Get();
        e->is_random = 0;
        Expect(S::Interval);
        Expect(S::assign);
        e->interval = ExpectInteger();
    } else {
        SynErr(83);
    }
    Expect(S::code);
    Expect(S::assign);
    Expect(S::lbrace);
    auto codeLine = [&] {
        bool full = false;
        action* a = BeginRecord(e->code, e->code_line_count, full);
        if (full)
            TooMany();
        a->line = ExpectString();
        EndRecord(e->code, e->code_line_count, a, full, DeleteRecord<action>);
    };
    if (m_sym == S::string) {
        codeLine();
        while (m_sym == S::comma) {
            Get();
            codeLine();
        }
    }
    Expect(S::rbrace);
    EndRecord(d.timed_events, d.timed_event_count, e, dropped, FreeTimedEvent);
}

// FloatNode = "Floatnode" string "notes" string "{" [ string { "," string } ] "}" .
void TZEV::FloatNode()
{
    dialog& d = *m_dialog;
    bool dropped = false;
    floatnode* f = BeginRecord(d.float_nodes, d.float_node_count, dropped);
    if (dropped)
        TooMany();
    Expect(S::Floatnode);
    f->name = ExpectString();
    Expect(S::notes);
    f->notes = ExpectString();
    Expect(S::lbrace);
    auto message = [&] {
        // Reported at the message that does not fit, which is read all the same.
        if (TableFull(f->messages, f->message_count))
            TooMany();
        AddFloatMessage(*f, ExpectString());
    };
    if (m_sym == S::string) {
        message();
        while (m_sym == S::comma) {
            Get();
            message();
        }
    }
    Expect(S::rbrace);
    EndRecord(d.float_nodes, d.float_node_count, f, dropped, DeleteRecord<floatnode>);
}

// Node = "Node" string "notes" string { SkillCheckDef } [ "insert_custom_code" "{" [ string { "," string } ] "}" ]
//        "{" "NPCText" string [ "NPCFemaleText" string ] "options" "{" { Option } "}" "}" .
void TZEV::NodeDef()
{
    dialog& d = *m_dialog;
    bool dropped = false;
    dlgnode* n = BeginRecord(d.nodes, d.node_count, dropped);
    if (dropped)
        TooMany();
    Expect(zevsym::Node);
    n->name = SharedName(ExpectString());
    Expect(S::notes);
    n->notes = ExpectString();
    while (m_sym == S::define_skill_check)
        SkillCheckDef(*n);
    if (m_sym == S::insert_custom_code) {
        Get();
        Expect(S::lbrace);
        std::string code;
        if (m_sym == S::string) {
            code += ExpectString() + "\r\n";
            while (m_sym == S::comma) {
                Get();
                code += ExpectString() + "\r\n";
            }
        }
        n->custom_code = code;
        Expect(S::rbrace);
    }
    Expect(S::lbrace);
    Expect(S::NPCText);
    n->npc_text = ExpectString();
    if (m_sym == S::NPCFemaleText) {
        Get();
        n->npc_female_text = ExpectString();
    }
    Expect(S::options);
    Expect(S::lbrace);
    while (m_sym == S::int_ || m_sym == S::linkflags || m_sym == S::Reaction || m_sym == S::Gender
        || m_sym == S::playertext)
        Option(*n);
    Expect(S::rbrace);
    Expect(S::rbrace);
    EndRecord(d.nodes, d.node_count, n, dropped, FreeNode);
}

// SkillCheckDef = "define_skill_check" ident "{" "skill_num" "=" integer ";" "difficulty_modifier" "=" integer ";"
//                 "onsuccess" "=>" ident ";" "onfailure" "=>" ident ";" "}" .
void TZEV::SkillCheckDef(dlgnode& node)
{
    bool dropped = false;
    skillcheck* s = BeginRecord(node.skill_checks, node.skill_check_count, dropped);
    if (dropped)
        TooMany();
    Expect(S::define_skill_check);
    s->name = ExpectIdent();
    Expect(S::lbrace);
    Expect(S::skill_num);
    Expect(S::assign);
    s->skill = ExpectInteger();
    Expect(S::semicolon);
    Expect(S::difficulty_modifier);
    Expect(S::assign);
    s->difficulty_modifier = ExpectInteger();
    Expect(S::semicolon);
    Expect(S::onsuccess);
    Expect(S::arrow);
    s->on_success = ExpectIdent();
    Expect(S::semicolon);
    Expect(S::onfailure);
    Expect(S::arrow);
    s->on_failure = ExpectIdent();
    Expect(S::semicolon);
    Expect(S::rbrace);
    EndRecord(node.skill_checks, node.skill_check_count, s, dropped, DeleteRecord<skillcheck>);
}

// Option = [ "int" "=" integer ] [ "linkflags" ( "skill_check" | "custom_proc" ) ]
//          [ "Reaction" "=" ( "REACTION_BAD" | "REACTION_NEUTRAL" | "REACTION_GOOD" ) ]
//          [ "Gender" "=" ( "FEMALE" | "MALE" ) ] "playertext" string "linkto" string
//          [ "conditions" "{" Condition { "," Condition } "}" ] "notes" string .
void TZEV::Option(dlgnode& node)
{
    bool dropped = false;
    option* o = BeginRecord(node.options, node.option_count, dropped);
    if (dropped)
        TooMany();
    o->intelligence = 4;
    if (m_sym == S::int_) {
        Get();
        Expect(S::assign);
        o->intelligence = ExpectInteger();
    }
    if (m_sym == S::linkflags) {
        Get();
        if (m_sym == S::skill_check) {
            Get();
            o->to_skill_check = 1;
            o->to_custom_proc = 0;
        } else if (m_sym == S::custom_proc) {
            Get();
            o->to_custom_proc = 1;
            o->to_skill_check = 0;
        } else {
            SynErr(85);
        }
    }
    if (m_sym == S::Reaction) {
        Get();
        Expect(S::assign);
        if (m_sym == S::REACTION_BAD) {
            Get();
            o->reaction = REACTION_BAD;
        } else if (m_sym == S::REACTION_NEUTRAL) {
            Get();
            o->reaction = REACTION_NEUTRAL;
        } else if (m_sym == S::REACTION_GOOD) {
            Get();
            o->reaction = REACTION_GOOD;
        } else {
            SynErr(86);
        }
    }
    if (m_sym == S::Gender) {
        Get();
        Expect(S::assign);
        if (m_sym == S::FEMALE) {
            Get();
            o->gender = GENDER_FEMALE;
        } else if (m_sym == S::MALE) {
            Get();
            o->gender = GENDER_MALE;
        } else {
            SynErr(87);
        }
    }
    Expect(S::playertext);
    o->text = ExpectString();
    Expect(S::linkto);
    o->link_target = SharedName(ExpectString());
    if (m_sym == S::conditions) {
        Get();
        Expect(S::lbrace);
        Condition(*o);
        while (m_sym == S::comma) {
            Get();
            Condition(*o);
        }
        Expect(S::rbrace);
    }
    Expect(S::notes);
    o->notes = ExpectString();
    EndRecord(node.options, node.option_count, o, dropped, FreeOption);
}

// Condition = ident ident [ ( "==" | "!=" | "<" | ">" | ">=" | "<=" ) ( integer | string ) ]
//             [ "link_next" ( "NONE" | "AND" | "OR" ) ] .
void TZEV::Condition(option& opt)
{
    bool dropped = false;
    condition* c = BeginRecord(opt.conditions, opt.condition_count, dropped);
    if (dropped)
        TooMany();
    Expect(S::ident);
    m_cond.type = LexString();
    Expect(S::ident);
    m_cond.subject = LexString();
    if (m_sym >= S::eq && m_sym <= S::le) {
        Get();
        m_cond.op = LexString();
        if (m_sym == S::integer || m_sym == S::string) {
            Get();
            m_cond.value = LexString();
        } else {
            SynErr(88);
        }
    }
    if (m_sym == S::link_next) {
        Get();
        if (m_sym == S::NONE) {
            Get();
            m_cond.link = LINK_NONE;
        } else if (m_sym == S::AND) {
            Get();
            m_cond.link = LINK_AND;
        } else if (m_sym == S::OR) {
            Get();
            m_cond.link = LINK_OR;
        } else {
            SynErr(89);
        }
    }
    c->check_type = CheckTypeCode(m_cond.type);
    if (c->check_type >= GLOBAL_VARIABLE)
        c->variable_name = m_cond.subject;
    c->subject = SubjectCode(m_cond.subject);
    int32_t eval = EvalCode(m_cond.op);
    c->eval = eval < 0 ? 0 : eval;
    c->value = m_cond.value;
    c->link_next = m_cond.link;
    if (m_buildScript)
        c->script_expr = m_buildScript(*c);
    EndRecord(opt.conditions, opt.condition_count, c, dropped, DeleteRecord<condition>);
}

// StartConditions = "start_conditions" "default_condition" integer "{" StartCond { "," StartCond } "}" ";" .
void TZEV::StartConditions()
{
    dialog& d = *m_dialog;
    Expect(S::start_conditions);
    FreeTable(d.start_conditions, d.start_condition_count, FreeStartCondition);
    Expect(S::default_condition);
    d.default_condition = ExpectInteger();
    Expect(S::lbrace);
    StartCond();
    while (m_sym == S::comma) {
        Get();
        StartCond();
    }
    Expect(S::rbrace);
    Expect(S::semicolon);
}

// StartCond = "cond" "target_node" string "{" [ CondLine { "," CondLine } ] "}" .
void TZEV::StartCond()
{
    dialog& d = *m_dialog;
    bool dropped = false;
    starting_condition* s = BeginRecord(d.start_conditions, d.start_condition_count, dropped);
    if (dropped)
        TooMany();
    Expect(S::cond);
    Expect(S::target_node);
    s->target_node = ExpectString();
    Expect(S::lbrace);
    if (m_sym == S::SSL) {
        CondLine(*s);
        while (m_sym == S::comma) {
            Get();
            CondLine(*s);
        }
    }
    Expect(S::rbrace);
    EndRecord(d.start_conditions, d.start_condition_count, s, dropped, FreeStartCondition);
}

// CondLine = "SSL" string "var_param" string "eval" integer "value_to_check" string "ini_index" integer
//            "link" integer .
void TZEV::CondLine(starting_condition& s)
{
    bool dropped = false;
    cond_data* c = BeginRecord(s.lines, s.line_count, dropped);
    if (dropped)
        TooMany();
    c->link = 0;
    Expect(S::SSL);
    c->ssl = ExpectString();
    Expect(S::var_param);
    c->var_param = ExpectString();
    Expect(S::eval);
    c->eval = ExpectInteger();
    Expect(S::value_to_check);
    c->value_to_check = ExpectString();
    Expect(S::ini_index);
    c->ini_index = ExpectInteger();
    Expect(S::link);
    c->link = ExpectInteger();
    EndRecord(s.lines, s.line_count, c, dropped, DeleteRecord<cond_data>);
}

// CustomProc = "custom_proc" ident "associate_node" integer "{" [ string { "," string } ] "}" .
void TZEV::CustomProc()
{
    dialog& d = *m_dialog;
    bool dropped = false;
    custom_proc* p = BeginRecord(d.custom_procs, d.custom_proc_count, dropped);
    if (dropped)
        TooMany();
    Expect(S::custom_proc);
    p->name = ExpectIdent();
    Expect(S::associate_node);
    p->associate_node = ExpectInteger();
    Expect(S::lbrace);
    std::string code;
    if (m_sym == S::string) {
        code += ExpectString() + "\r\n";
        while (m_sym == S::comma) {
            Get();
            code += ExpectString() + "\r\n";
        }
    }
    p->code = code;
    Expect(S::rbrace);
    EndRecord(d.custom_procs, d.custom_proc_count, p, dropped, DeleteRecord<custom_proc>);
}

// ExecScript = "exec_script_code" "{" [ string { "," string } ] "}" ";" .
void TZEV::ExecScript()
{
    Expect(S::exec_script_code);
    Expect(S::lbrace);
    if (m_sym == S::string) {
        m_execLines.push_back(ExpectString());
        while (m_sym == S::comma) {
            Get();
            m_execLines.push_back(ExpectString());
        }
    }
    Expect(S::rbrace);
    Expect(S::semicolon);
}

} // namespace zev
