#include <algorithm>

#include "script/engine/builtins.h"
#include "script/engine/checker.h"
#include "script/engine/text_util.h"

namespace zev::script {

namespace {

using K = TypeKind;

int64_t Len(const Value& v)
{
    return static_cast<int64_t>(v.str().size());
}

Value StrOut(Interp& c, const Node* at, std::string s)
{
    c.Charge(at, s.size());
    return Value::StrMove(std::move(s));
}

Value UpperCaseFn(Interp& c, Value* a, size_t, const Node* at)
{
    std::string s(a[0].str());
    for (char& ch : s)
        ch = UpperAscii(ch);
    return StrOut(c, at, std::move(s));
}

Value LowerCaseFn(Interp& c, Value* a, size_t, const Node* at)
{
    return StrOut(c, at, LowerCopy(a[0].str()));
}

bool Blank(char ch)
{
    return static_cast<unsigned char>(ch) <= ' ';
}

Value TrimFn(Interp&, Value* a, size_t, const Node*)
{
    std::string_view s = a[0].str();
    while (!s.empty() && Blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && Blank(s.back()))
        s.remove_suffix(1);
    return Value::Str(s);
}

Value TrimLeftFn(Interp&, Value* a, size_t, const Node*)
{
    std::string_view s = a[0].str();
    while (!s.empty() && Blank(s.front()))
        s.remove_prefix(1);
    return Value::Str(s);
}

Value TrimRightFn(Interp&, Value* a, size_t, const Node*)
{
    std::string_view s = a[0].str();
    while (!s.empty() && Blank(s.back()))
        s.remove_suffix(1);
    return Value::Str(s);
}

Value PosFn(Interp&, Value* a, size_t, const Node*)
{
    std::string_view sub = a[0].str(), s = a[1].str();
    int64_t from = a[2].i < 1 ? 1 : a[2].i;
    if (sub.empty() || from > static_cast<int64_t>(s.size()))
        return Value::Int(0);
    auto p = s.find(sub, static_cast<size_t>(from - 1));
    return Value::Int(p == std::string_view::npos ? 0 : static_cast<int64_t>(p) + 1);
}

Value IntToStrFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::StrMove(std::to_string(a[0].i));
}

Value StrToIntFn(Interp& c, Value* a, size_t, const Node* at)
{
    if (auto v = ParseInteger(a[0].str()))
        return Value::Int(*v);
    c.Fail(at, "'" + std::string(a[0].str()) + "' is not a valid integer value");
}

Value StrToIntDefFn(Interp&, Value* a, size_t, const Node*)
{
    auto v = ParseInteger(a[0].str());
    return Value::Int(v ? *v : a[1].i);
}

Value FloatToStrFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::StrMove(FloatToStr(a[0].f));
}

Value StrToFloatFn(Interp& c, Value* a, size_t, const Node* at)
{
    if (auto v = ParseFloat(a[0].str()))
        return Value::Float(*v);
    c.Fail(at, "'" + std::string(a[0].str()) + "' is not a valid floating point value");
}

Value StrToFloatDefFn(Interp&, Value* a, size_t, const Node*)
{
    auto v = ParseFloat(a[0].str());
    return Value::Float(v ? *v : a[1].f);
}

Value IntToHexFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::StrMove(IntToHex(a[0].i, a[1].i));
}

Value BoolToStrFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Str(a[0].b ? "True" : "False");
}

Value ChrFn(Interp& c, Value* a, size_t, const Node* at)
{
    if (a[0].i < 0 || a[0].i > 255)
        c.Fail(at, "Chr argument " + std::to_string(a[0].i) + " out of range (0..255)");
    return c.OneChar(static_cast<unsigned char>(a[0].i));
}

Value QuotedStrFn(Interp& c, Value* a, size_t, const Node* at)
{
    std::string_view s = a[0].str();
    c.CheckBytes(at, s.size() + static_cast<uint64_t>(std::count(s.begin(), s.end(), '\'')) + 2);
    return StrOut(c, at, QuotedStr(s));
}

Value SameTextFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Bool(EqualsNoCase(a[0].str(), a[1].str()));
}

Value CompareTextFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(CompareNoCase(a[0].str(), a[1].str()));
}

Value CompareStrFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(CompareBytes(a[0].str(), a[1].str()));
}

Value StringOfCharFn(Interp& c, Value* a, size_t, const Node* at)
{
    int64_t n = a[1].i;
    if (n <= 0 || a[0].str().empty())
        return Value::Str("");
    c.CheckSize(at, static_cast<uint64_t>(n), 1);
    return StrOut(c, at, std::string(static_cast<size_t>(n), a[0].str()[0]));
}

Value DupeStringFn(Interp& c, Value* a, size_t, const Node* at)
{
    std::string_view s = a[0].str();
    int64_t n = a[1].i;
    if (n <= 0 || s.empty())
        return Value::Str("");
    c.CheckSize(at, static_cast<uint64_t>(n), s.size());
    std::string r;
    r.reserve(s.size() * static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i)
        r.append(s);
    return StrOut(c, at, std::move(r));
}

Value ReverseStringFn(Interp&, Value* a, size_t, const Node*)
{
    std::string s(a[0].str());
    std::reverse(s.begin(), s.end());
    return Value::StrMove(std::move(s));
}

// Copy(s, index, count) as Pascal: an index before the start counts from 1, a count past the end stops there.
Value CopyStrFn(Interp&, Value* a, size_t n, const Node*)
{
    std::string_view s = a[0].str();
    int64_t index = n > 1 ? a[1].i : 1;
    int64_t count = n > 2 ? a[2].i : INT64_MAX;
    if (index < 1)
        index = 1;
    int64_t len = static_cast<int64_t>(s.size());
    if (index > len || count <= 0)
        return Value::Str("");
    if (count > len - index + 1)
        count = len - index + 1;
    return Value::Str(s.substr(static_cast<size_t>(index - 1), static_cast<size_t>(count)));
}

Value CopyArrayFn(Interp&, Value* a, size_t n, const Node*)
{
    ArrayObj* src = a[0].arr();
    auto* r = new ArrayObj;
    Value out = Value::FromObj(Tag::Array, r);
    if (!src)
        return out;
    int64_t len = static_cast<int64_t>(src->items.size());
    int64_t index = n > 1 ? a[1].i : 0;
    int64_t count = n > 2 ? a[2].i : len;
    if (index < 0)
        index = 0;
    if (index >= len || count <= 0)
        return out;
    if (count > len - index)
        count = len - index;
    for (int64_t i = index; i < index + count; ++i) {
        const Value& item = src->items[static_cast<size_t>(i)];
        r->items.push_back(item.arr() && item.arr()->isStatic ? DeepCopyArray(item.arr()) : item);
    }
    return out;
}

Value LengthStrFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(Len(a[0]));
}

Value LengthArrayFn(Interp&, Value* a, size_t, const Node*)
{
    return Value::Int(a[0].arr() ? static_cast<int64_t>(a[0].arr()->items.size()) : 0);
}

Value OrdFn(Interp&, Value* a, size_t, const Node*)
{
    switch (a[0].tag) {
    case Tag::Str:
        return Value::Int(a[0].str().empty() ? 0 : static_cast<unsigned char>(a[0].str()[0]));
    case Tag::Bool:
        return Value::Int(a[0].b ? 1 : 0);
    default:
        return Value::Int(a[0].i);
    }
}

// Length of a variable reads it in place: no reference counting on a hot path.
struct LengthOfVar final : IntExpr {
    ExprP var;
    bool isString = true;
    int64_t evalInt(Interp& c) override
    {
        Value* v = static_cast<LValue*>(var.get())->address(c);
        if (isString)
            return static_cast<int64_t>(v->str().size());
        return v->arr() ? static_cast<int64_t>(v->arr()->items.size()) : 0;
    }
};

ExprP CheckLength(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (args.size() != 1) {
        ck.Error(site.line, site.col, "Length takes one argument");
        return ck.ErrorExpr();
    }
    ExprP x = ck.CheckExpr(*args[0]);
    const Type* t = x->type;
    std::vector<ExprP> a;
    bool variable = dynamic_cast<LValue*>(x.get()) && (t->kind == TypeKind::String || t->kind == TypeKind::DynArray);
    if (variable && !dynamic_cast<ConstExpr*>(x.get())) {
        auto n = std::make_unique<LengthOfVar>();
        n->isString = t->kind == TypeKind::String;
        n->var = std::move(x);
        n->type = TypeTable::Integer();
        n->At(site.line, site.col);
        return n;
    }
    if (t->kind == TypeKind::String) {
        a.push_back(std::move(x));
        return MakeNative(LengthStrFn, TypeTable::Integer(), std::move(a), site.line, site.col);
    }
    if (t->isArray() || t->kind == TypeKind::ArrayLiteral) {
        a.push_back(std::move(x));
        return MakeNative(LengthArrayFn, TypeTable::Integer(), std::move(a), site.line, site.col);
    }
    if (!t->isError())
        ck.Error(args[0]->line, args[0]->col, "Length needs a String or an array");
    return ck.ErrorExpr();
}

ExprP CheckCopy(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (args.empty() || args.size() > 3) {
        ck.Error(site.line, site.col, "Copy takes one to three arguments");
        return ck.ErrorExpr();
    }
    ExprP x = ck.CheckExpr(*args[0]);
    const Type* t = x->type;
    if (t->isError())
        return ck.ErrorExpr();
    bool isStr = t->kind == TypeKind::String;
    if (!isStr && !t->isArray()) {
        ck.Error(args[0]->line, args[0]->col, "Copy needs a String or an array");
        return ck.ErrorExpr();
    }
    std::vector<ExprP> a;
    a.push_back(std::move(x));
    for (size_t i = 1; i < args.size(); ++i)
        a.push_back(ck.Convert(ck.CheckExpr(*args[i]), TypeTable::Integer(), args[i]->line, args[i]->col));
    const Type* result = isStr ? TypeTable::String() : ck.types().DynArray(t->elem);
    return MakeNative(isStr ? CopyStrFn : CopyArrayFn, result, std::move(a), site.line, site.col);
}

ExprP CheckOrd(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    if (args.size() != 1) {
        ck.Error(site.line, site.col, "Ord takes one argument");
        return ck.ErrorExpr();
    }
    ExprP x = ck.CheckExpr(*args[0]);
    TypeKind k = x->type->kind;
    if (k != TypeKind::String && k != TypeKind::Boolean && k != TypeKind::Integer) {
        if (!x->type->isError())
            ck.Error(args[0]->line, args[0]->col, "Ord needs an Integer, a Boolean or a String");
        return ck.ErrorExpr();
    }
    std::vector<ExprP> a;
    bool isConst = x->constant() != nullptr;
    a.push_back(std::move(x));
    ExprP call = MakeNative(OrdFn, TypeTable::Integer(), std::move(a), site.line, site.col);
    if (isConst)
        if (auto v = EvalConstant(*call))
            return std::make_unique<ConstExpr>(TypeTable::Integer(), *v);
    return call;
}

// Delete(var s, index, count) and Insert(sub, var s, index) change a String variable in place.
struct EditString final : Expr {
    bool insert = false;
    ExprP target, a, b; // Delete: index, count; Insert: sub, index
    Value eval(Interp& c) override
    {
        Value x = a->eval(c);
        Value y = b->eval(c);
        Value* p = static_cast<LValue*>(target.get())->address(c);
        std::string_view cur = p->str();
        int64_t len = static_cast<int64_t>(cur.size());
        if (insert) {
            std::string_view sub = x.str();
            if (sub.empty())
                return Value();
            int64_t at = y.i < 1 ? 1 : (y.i > len + 1 ? len + 1 : y.i);
            c.Charge(this, sub.size());
            c.StrWithRoom(this, *p, static_cast<uint64_t>(len) + sub.size()).insert(static_cast<size_t>(at - 1), sub);
            return Value();
        }
        int64_t index = x.i, count = y.i;
        if (index < 1 || index > len || count <= 0)
            return Value();
        if (count > len - index + 1)
            count = len - index + 1;
        MutableStr(*p).erase(static_cast<size_t>(index - 1), static_cast<size_t>(count));
        return Value();
    }
};

ExprP CheckEdit(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args, bool insert)
{
    if (args.size() != 3) {
        ck.Error(site.line, site.col, std::string(insert ? "Insert" : "Delete") + " takes three arguments");
        return ck.ErrorExpr();
    }
    size_t ti = insert ? 1 : 0;
    auto n = std::make_unique<EditString>();
    n->insert = insert;
    n->target = ck.CheckLValue(*args[ti]);
    if (n->target->type->isError() || !ck.AsLValue(n->target.get(), args[ti]->line, args[ti]->col, true))
        return ck.ErrorExpr();
    if (n->target->type->kind != TypeKind::String) {
        ck.Error(args[ti]->line, args[ti]->col, "String variable expected");
        return ck.ErrorExpr();
    }
    if (insert) {
        n->a = ck.Convert(ck.CheckExpr(*args[0]), TypeTable::String(), args[0]->line, args[0]->col);
        n->b = ck.Convert(ck.CheckExpr(*args[2]), TypeTable::Integer(), args[2]->line, args[2]->col);
    } else {
        n->a = ck.Convert(ck.CheckExpr(*args[1]), TypeTable::Integer(), args[1]->line, args[1]->col);
        n->b = ck.Convert(ck.CheckExpr(*args[2]), TypeTable::Integer(), args[2]->line, args[2]->col);
    }
    if (n->a->type->isError() || n->b->type->isError())
        return ck.ErrorExpr();
    n->type = TypeTable::Void();
    n->At(site.line, site.col);
    return n;
}

ExprP CheckDelete(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    return CheckEdit(ck, site, args, false);
}

ExprP CheckInsert(Checker& ck, const AstExpr& site, const std::vector<const AstExpr*>& args)
{
    return CheckEdit(ck, site, args, true);
}

} // namespace

void AddStringBuiltins(std::vector<Builtin>& t)
{
    t.push_back(Custom("Length", CheckLength));
    t.push_back(Custom("Copy", CheckCopy));
    t.push_back(Custom("Ord", CheckOrd));
    t.push_back(Custom("Delete", CheckDelete));
    t.push_back(Custom("Insert", CheckInsert));
    t.push_back(Fixed("UpperCase", { K::String }, K::String, UpperCaseFn));
    t.push_back(Fixed("LowerCase", { K::String }, K::String, LowerCaseFn));
    t.push_back(Fixed("Trim", { K::String }, K::String, TrimFn));
    t.push_back(Fixed("TrimLeft", { K::String }, K::String, TrimLeftFn));
    t.push_back(Fixed("TrimRight", { K::String }, K::String, TrimRightFn));
    t.push_back(Fixed("Pos", { K::String, K::String, K::Integer }, K::Integer, PosFn, 2, { Value::Int(1) }));
    t.push_back(Fixed("IntToStr", { K::Integer }, K::String, IntToStrFn));
    t.push_back(Fixed("StrToInt", { K::String }, K::Integer, StrToIntFn));
    t.push_back(Fixed("StrToIntDef", { K::String, K::Integer }, K::Integer, StrToIntDefFn));
    t.push_back(Fixed("FloatToStr", { K::Float }, K::String, FloatToStrFn));
    t.push_back(Fixed("StrToFloat", { K::String }, K::Float, StrToFloatFn));
    t.push_back(Fixed("StrToFloatDef", { K::String, K::Float }, K::Float, StrToFloatDefFn));
    t.push_back(Fixed("IntToHex", { K::Integer, K::Integer }, K::String, IntToHexFn, 1, { Value::Int(1) }));
    t.push_back(Fixed("BoolToStr", { K::Boolean, K::Boolean }, K::String, BoolToStrFn, 1, { Value::Bool(true) }));
    t.push_back(Fixed("Chr", { K::Integer }, K::String, ChrFn));
    t.push_back(Fixed("QuotedStr", { K::String }, K::String, QuotedStrFn));
    t.push_back(Fixed("SameText", { K::String, K::String }, K::Boolean, SameTextFn));
    t.push_back(Fixed("CompareText", { K::String, K::String }, K::Integer, CompareTextFn));
    t.push_back(Fixed("CompareStr", { K::String, K::String }, K::Integer, CompareStrFn));
    t.push_back(Fixed("StringOfChar", { K::String, K::Integer }, K::String, StringOfCharFn));
    t.push_back(Fixed("DupeString", { K::String, K::Integer }, K::String, DupeStringFn));
    t.push_back(Fixed("ReverseString", { K::String }, K::String, ReverseStringFn));
}

} // namespace zev::script
