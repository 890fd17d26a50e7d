#include <cstdio>

#include "script/engine/builtins.h"
#include "script/engine/checker.h"
#include "script/engine/text_util.h"
#include "script/engine/variants.h"

namespace zev::script {

namespace {

struct WriteItem {
    ExprP value, width, decimals;
};

// Write(a, b:5, f:0:2): each value as Pascal writes it, right-aligned in its width.
struct WriteNode final : Expr {
    std::vector<WriteItem> items;
    bool newline = false;
    Value eval(Interp& c) override
    {
        std::string out;
        for (auto& it : items) {
            Value v = it.value->eval(c);
            std::string text;
            if (it.decimals && v.tag == Tag::Float) {
                int64_t d = it.decimals->evalInt(c);
                d = d < 0 ? 0 : (d > 60 ? 60 : d);
                char buf[400];
                std::snprintf(buf, sizeof buf, "%.*f", static_cast<int>(d), v.f);
                text = buf;
            } else {
                text = ValueToText(v);
            }
            if (it.width) {
                int64_t w = it.width->evalInt(c);
                if (w > static_cast<int64_t>(text.size()) && w < (1 << 20)) {
                    c.CheckBytes(this, static_cast<uint64_t>(w));
                    std::string padded;
                    padded.reserve(static_cast<size_t>(w));
                    padded.append(static_cast<size_t>(w) - text.size(), ' ');
                    padded.append(text);
                    text = std::move(padded);
                }
            }
            out += text;
        }
        if (newline)
            out += '\n';
        c.Charge(this, out.size());
        c.Out(out);
        c.CheckStop(this); // the sink may run the host's event loop
        return Value();
    }
};

bool Printable(const Type* t)
{
    switch (t->kind) {
    case TypeKind::Integer:
    case TypeKind::Float:
    case TypeKind::String:
    case TypeKind::Boolean:
    case TypeKind::Variant:
    case TypeKind::Error:
        return true;
    default:
        return false;
    }
}

ExprP CheckWrite(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args, bool newline)
{
    auto n = std::make_unique<WriteNode>();
    n->newline = newline;
    n->type = TypeTable::Void();
    n->At(site.line, site.col);
    bool ok = true;
    for (const AstExpr* a : args) {
        WriteItem item;
        const AstExpr* value = a;
        if (a->kind == AstExpr::Kind::WriteArg) {
            value = a->kids[0].get();
            item.width = ck.Convert(ck.CheckExpr(*a->kids[1]), TypeTable::Integer(), a->kids[1]->line, a->kids[1]->col);
            if (a->kids.size() > 2)
                item.decimals
                    = ck.Convert(ck.CheckExpr(*a->kids[2]), TypeTable::Integer(), a->kids[2]->line, a->kids[2]->col);
        }
        item.value = ck.CheckExpr(*value);
        if (!Printable(item.value->type)) {
            ck.Error(value->line, value->col, "Cannot write a value of type \"" + TypeName(item.value->type) + "\"");
            ok = false;
        }
        ok = ok && !item.value->type->isError();
        n->items.push_back(std::move(item));
    }
    if (!ok)
        return ck.ErrorExpr();
    return n;
}

ExprP CheckWriteNoLine(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    return CheckWrite(ck, site, args, false);
}

ExprP CheckWriteLine(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    return CheckWrite(ck, site, args, true);
}

} // namespace

void AddOutputBuiltins(std::vector<Builtin>& t)
{
    Builtin w;
    w.name = "Write";
    w.check = CheckWriteNoLine;
    t.push_back(w);
    Builtin wl;
    wl.name = "WriteLn";
    wl.check = CheckWriteLine;
    t.push_back(wl);
    wl.name = "PrintLn";
    t.push_back(wl);
}

} // namespace zev::script
