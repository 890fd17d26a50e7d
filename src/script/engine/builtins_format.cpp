#include <cstdio>

#include "script/engine/builtins.h"
#include "script/engine/checker.h"
#include "script/engine/text_util.h"
#include "script/engine/variants.h"

namespace zev::script {

namespace {

struct Spec {
    bool left = false;
    int64_t width = -1;
    int64_t precision = -1;
    char conv = 's';
};

[[noreturn]] void Invalid(Interp& c, const Node* at, std::string_view fmt)
{
    c.Fail(at, "Format '" + std::string(fmt) + "' invalid or incompatible with argument");
}

// Widths of a million and more are ignored; smaller ones still meet the size cap.
std::string Pad(Interp& c, const Node* at, std::string s, const Spec& sp)
{
    if (sp.width <= static_cast<int64_t>(s.size()) || sp.width >= (1 << 20))
        return s;
    c.CheckBytes(at, static_cast<uint64_t>(sp.width));
    std::string r;
    r.reserve(static_cast<size_t>(sp.width));
    size_t fill = static_cast<size_t>(sp.width) - s.size();
    if (!sp.left)
        r.append(fill, ' ');
    r.append(s);
    if (sp.left)
        r.append(fill, ' ');
    return r;
}

std::string FormatOne(Interp& c, const Node* at, std::string_view fmt, const Spec& sp, const Value& v)
{
    char buf[512];
    int prec = static_cast<int>(sp.precision < 0 ? -1 : (sp.precision > 100 ? 100 : sp.precision));
    switch (sp.conv) {
    case 'd': {
        if (v.tag != Tag::Int)
            Invalid(c, at, fmt);
        std::string digits = v.i < 0 ? std::to_string(0 - static_cast<uint64_t>(v.i)) : std::to_string(v.i);
        while (prec > 0 && static_cast<int>(digits.size()) < prec)
            digits.insert(0, "0");
        return Pad(c, at, (v.i < 0 ? "-" : "") + digits, sp);
    }
    case 'x': {
        if (v.tag != Tag::Int)
            Invalid(c, at, fmt);
        return Pad(c, at, IntToHex(v.i, prec > 0 ? prec : 1), sp);
    }
    case 'f':
    case 'e':
    case 'g': {
        double d;
        if (v.tag == Tag::Float)
            d = v.f;
        else if (v.tag == Tag::Int)
            d = static_cast<double>(v.i);
        else
            Invalid(c, at, fmt);
        int p = prec >= 0 ? prec : (sp.conv == 'f' ? 2 : 6);
        char f[8] = { '%', '.', '*', sp.conv, 0 };
        std::snprintf(buf, sizeof buf, f, p, d);
        return Pad(c, at, buf, sp);
    }
    default: {
        std::string s = ValueToText(v);
        if (v.tag == Tag::Array || (v.tag == Tag::Object && v.o))
            Invalid(c, at, fmt);
        if (prec >= 0 && static_cast<size_t>(prec) < s.size())
            s.resize(static_cast<size_t>(prec));
        return Pad(c, at, s, sp);
    }
    }
}

// %[-][width][.precision](d|s|x|f|e|g) and %%; `*` takes a width or precision from the arguments.
Value FormatFn(Interp& c, Value* a, size_t, const Node* at)
{
    std::string_view fmt = a[0].str();
    ArrayObj* args = a[1].arr();
    size_t next = 0;
    auto take = [&]() -> const Value& {
        if (!args || next >= args->items.size())
            c.Fail(at, "No argument for format '" + std::string(fmt) + "'");
        return args->items[next++];
    };
    std::string out;
    auto emit = [&](std::string_view piece) {
        c.Reserve(at, out, uint64_t(out.size()) + piece.size());
        out.append(piece);
    };
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != '%') {
            emit(fmt.substr(i, 1));
            continue;
        }
        size_t start = i++;
        if (i < fmt.size() && fmt[i] == '%') {
            emit("%");
            continue;
        }
        Spec sp;
        if (i < fmt.size() && fmt[i] == '-') {
            sp.left = true;
            ++i;
        }
        auto number = [&](int64_t& dst) {
            if (i < fmt.size() && fmt[i] == '*') {
                const Value& w = take();
                if (w.tag != Tag::Int)
                    Invalid(c, at, fmt.substr(start, i - start + 1));
                dst = w.i;
                ++i;
                return;
            }
            if (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9') {
                dst = 0;
                while (i < fmt.size() && fmt[i] >= '0' && fmt[i] <= '9' && dst < 100000)
                    dst = dst * 10 + (fmt[i++] - '0');
            }
        };
        number(sp.width);
        if (i < fmt.size() && fmt[i] == '.') {
            ++i;
            sp.precision = 0;
            number(sp.precision);
        }
        if (i >= fmt.size())
            Invalid(c, at, fmt.substr(start));
        char conv = LowerAscii(fmt[i]);
        if (conv != 'd' && conv != 's' && conv != 'x' && conv != 'f' && conv != 'e' && conv != 'g')
            Invalid(c, at, fmt.substr(start, i - start + 1));
        sp.conv = conv;
        emit(FormatOne(c, at, fmt.substr(start, i - start + 1), sp, take()));
    }
    c.Charge(at, out.size());
    return Value::StrMove(std::move(out));
}

ExprP CheckFormat(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (args.size() != 2) {
        ck.Error(site.line, site.col, "Format takes a format string and an array of values");
        return ck.ErrorExpr();
    }
    std::vector<ExprP> a;
    a.push_back(ck.Convert(ck.CheckExpr(*args[0]), TypeTable::String(), args[0]->line, args[0]->col));
    a.push_back(ck.CheckArg(*args[1], ck.types().DynArray(TypeTable::Variant())));
    if (a[0]->type->isError() || a[1]->type->isError())
        return ck.ErrorExpr();
    return MakeNative(FormatFn, TypeTable::String(), std::move(a), site.line, site.col);
}

} // namespace

void AddFormatBuiltins(std::vector<Builtin>& t)
{
    t.push_back(Custom("Format", CheckFormat));
}

} // namespace zev::script
