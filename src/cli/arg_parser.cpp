#include "cli/arg_parser.h"

#include <charconv>
#include <cstdint>
#include <string_view>

namespace zev {

namespace {

// A whole decimal integer in the option's range; the complaint names what is wrong.
std::string ReadInteger(const CliOption& option, std::string_view s, int64_t& v)
{
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    const bool digits = !s.empty() && end == s.data() + s.size();
    if (!digits || (ec != std::errc() && ec != std::errc::result_out_of_range))
        return "not an integer: '" + std::string(s) + "'";
    if (ec == std::errc::result_out_of_range || v < option.min || v > option.max)
        return "'" + std::string(s) + "' is out of range (" + std::to_string(option.min) + " to "
            + std::to_string(option.max) + ")";
    return {};
}

const CliOption* FindCommon(std::string_view name)
{
    for (const CliOption& o : CliCommonOptionList())
        if (o.name == name)
            return &o;
    return nullptr;
}

std::string Quoted(std::string_view s)
{
    return "'" + std::string(s) + "'";
}

class Parser {
public:
    Parser(const CliCommandTable& table, const std::vector<std::string>& args)
        : m_table(table)
        , m_args(args)
    {
    }

    CliInvocation Run()
    {
        CliInvocation& r = m_result;
        if (m_args.empty())
            return r;
        r.action = CliInvocation::Action::Run;
        bool optionsEnded = false;
        for (m_pos = 0; m_pos < m_args.size(); ++m_pos) {
            const std::string& a = m_args[m_pos];
            if (!optionsEnded && a == "--") {
                optionsEnded = true;
            } else if (!optionsEnded && (a == "--help" || a == "-h")) {
                r.action = CliInvocation::Action::Help;
                return r;
            } else if (!optionsEnded && a == "--version" && !r.command) {
                r.action = CliInvocation::Action::Version;
                return r;
            } else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
                if (!Option(a))
                    return r;
            } else if (!r.command) {
                r.command = m_table.Find(a);
                if (!r.command)
                    return Fail("unknown command " + Quoted(a));
            } else {
                r.args.operands.push_back(a);
            }
        }
        if (!r.command)
            return Fail("no command given");
        const auto& want = r.command->operands;
        if (r.args.operands.size() < want.size())
            return Fail("missing " + want[r.args.operands.size()]);
        if (r.args.operands.size() > want.size())
            return Fail("unexpected argument " + Quoted(r.args.operands[want.size()]));
        for (const CliOption& o : r.command->options)
            if (o.required && !r.args.Has(o.name))
                return Fail("missing option " + o.name + " " + o.valueName);
        return r;
    }

private:
    CliInvocation& Fail(std::string message)
    {
        m_result.action = CliInvocation::Action::UsageError;
        m_result.error = std::move(message);
        return m_result;
    }

    // One "--name" or "--name=value" argument (and its value argument); false after a usage error.
    bool Option(const std::string& arg)
    {
        auto eq = arg.find('=');
        std::string name = arg.substr(0, eq);
        const CliOption* opt = FindCommon(name);
        bool common = opt != nullptr;
        if (!opt && m_result.command)
            opt = m_result.command->FindOption(name);
        if (!opt || arg.rfind("--", 0) != 0) {
            Fail("unknown option " + Quoted(name));
            return false;
        }
        std::string value;
        if (opt->value == CliValue::None) {
            if (eq != std::string::npos) {
                Fail("option " + name + " takes no value");
                return false;
            }
        } else if (eq != std::string::npos) {
            value = arg.substr(eq + 1);
        } else if (m_pos + 1 < m_args.size()) {
            value = m_args[++m_pos];
        } else {
            Fail("option " + name + " needs a value (" + opt->valueName + ")");
            return false;
        }
        std::vector<int64_t> numbers;
        if (std::string complaint = CheckCliValue(*opt, value, &numbers); !complaint.empty()) {
            Fail("option " + name + ": " + complaint);
            return false;
        }
        if (common)
            return Common(*opt, value);
        if (opt->value == CliValue::Integer || opt->value == CliValue::IntegerList)
            m_result.args.numbers[opt->name] = numbers;
        return Store(*opt, value);
    }

    bool Common(const CliOption& opt, const std::string& value)
    {
        CliCommonOptions& c = m_result.common;
        bool again = (opt.name == "--home" && m_homeSeen) || (opt.name == "--log" && m_logSeen)
            || (opt.name == "--verbose" && c.verbose);
        if (again) {
            Fail("option " + opt.name + " given more than once");
            return false;
        }
        if (opt.name == "--home") {
            c.home = value;
            m_homeSeen = true;
        } else if (opt.name == "--log") {
            c.logFile = value;
            m_logSeen = true;
        } else {
            c.verbose = true;
        }
        return true;
    }

    bool Store(const CliOption& opt, const std::string& value)
    {
        auto& values = m_result.args.options[opt.name];
        if (!values.empty() && !opt.repeatable) {
            Fail("option " + opt.name + " given more than once");
            return false;
        }
        values.push_back(value);
        return true;
    }

    const CliCommandTable& m_table;
    const std::vector<std::string>& m_args;
    std::size_t m_pos = 0;
    bool m_homeSeen = false;
    bool m_logSeen = false;
    CliInvocation m_result;
};

} // namespace

std::string CheckCliValue(const CliOption& option, const std::string& value, std::vector<int64_t>* numbers)
{
    std::vector<int64_t> read;
    if (!numbers)
        numbers = &read;
    switch (option.value) {
    case CliValue::None:
    case CliValue::Text:
        return {};
    case CliValue::Path:
        return value.empty() ? "empty " + option.valueName : std::string();
    case CliValue::Integer: {
        int64_t v = 0;
        std::string complaint = ReadInteger(option, value, v);
        if (complaint.empty())
            numbers->push_back(v);
        return complaint;
    }
    case CliValue::IntegerList: {
        std::string_view rest(value);
        while (true) {
            auto comma = rest.find(',');
            int64_t v = 0;
            std::string complaint = ReadInteger(option, rest.substr(0, comma), v);
            if (!complaint.empty())
                return complaint.starts_with("not an integer")
                    ? "not a comma-separated list of integers: " + Quoted(value)
                    : complaint;
            numbers->push_back(v);
            if (comma == std::string_view::npos)
                return {};
            rest.remove_prefix(comma + 1);
        }
    }
    }
    return {};
}

CliInvocation ParseCliArguments(const CliCommandTable& table, const std::vector<std::string>& args)
{
    return Parser(table, args).Run();
}

} // namespace zev
