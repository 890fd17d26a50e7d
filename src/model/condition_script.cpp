#include "model/condition_script.h"

#include "model/codes.h"

namespace zev {

namespace {

void ReplaceFirst(std::string& s, std::string_view from, std::string_view to)
{
    auto pos = s.find(from);
    if (pos != std::string::npos)
        s.replace(pos, from.size(), to);
}

} // namespace

std::string ExpandConditionTemplate(
    std::string_view templ, std::string_view itemText, std::string_view op, std::string_view value)
{
    std::string t(templ);
    ReplaceFirst(t, "%eval%", op);
    ReplaceFirst(t, "%value%", value);
    // The template is a format string with the item text as its one argument: "%s" takes it and
    // "%%" is a percent sign; anything else stands as written.
    std::string out;
    out.reserve(t.size() + itemText.size());
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] == '%' && i + 1 < t.size() && (t[i + 1] == 's' || t[i + 1] == 'S')) {
            out += itemText;
            ++i;
        } else if (t[i] == '%' && i + 1 < t.size() && t[i + 1] == '%') {
            out += '%';
            ++i;
        } else {
            out += t[i];
        }
    }
    return out;
}

std::string BuildConditionScript(const condition& c, const IniLookup& ini)
{
    if (!ini)
        return {};
    std::string section = ini("Main", "CheckType" + std::to_string(c.check_type));
    std::string templ = ini(section, "SSLCommand");
    std::string item = !c.variable_name.empty() ? c.variable_name.str()
                                                : ini(section, "Item" + std::to_string(c.subject) + "SSLEnum");
    return ExpandConditionTemplate(templ, item, EvalName(c.eval), c.value.view());
}

} // namespace zev
