#include "script/engine/variants.h"

#include <cmath>

#include "script/engine/classes.h"
#include "script/engine/text_util.h"

namespace zev::script {

std::string_view TagTypeName(const Value& v)
{
    switch (v.tag) {
    case Tag::Empty:
        return "Unassigned";
    case Tag::Int:
        return "Integer";
    case Tag::Float:
        return "Float";
    case Tag::Bool:
        return "Boolean";
    case Tag::Str:
        return "String";
    case Tag::Array:
        return "Array";
    case Tag::Object:
        return "Object";
    default:
        return "Reference";
    }
}

std::string ValueToText(const Value& v)
{
    switch (v.tag) {
    case Tag::Int:
        return std::to_string(v.i);
    case Tag::Float:
        return FloatToStr(v.f);
    case Tag::Bool:
        return v.b ? "True" : "False";
    case Tag::Str:
        return std::string(v.str());
    case Tag::Object:
        return v.o ? static_cast<Instance*>(v.o)->cls->name : "nil";
    case Tag::Array:
        return "array";
    default:
        return "";
    }
}

namespace {

[[noreturn]] void CannotConvert(Interp& c, const Value& v, std::string_view to, const Node* at)
{
    c.Fail(at,
        "Could not convert variant of type (" + std::string(TagTypeName(v)) + ") into type (" + std::string(to) + ")");
}

double ToDouble(Interp& c, const Value& v, const Node* at)
{
    switch (v.tag) {
    case Tag::Empty:
        return 0;
    case Tag::Int:
        return static_cast<double>(v.i);
    case Tag::Float:
        return v.f;
    case Tag::Bool:
        return v.b ? 1 : 0;
    case Tag::Str:
        if (auto f = ParseFloat(v.str()))
            return *f;
        break;
    default:
        break;
    }
    CannotConvert(c, v, "Float", at);
}

int64_t ToInt(Interp& c, const Value& v, const Node* at)
{
    switch (v.tag) {
    case Tag::Empty:
        return 0;
    case Tag::Int:
        return v.i;
    case Tag::Bool:
        return v.b ? 1 : 0;
    case Tag::Float:
        if (std::isfinite(v.f) && std::fabs(v.f) < 9.2e18)
            return static_cast<int64_t>(std::nearbyint(v.f));
        break;
    case Tag::Str:
        if (auto i = ParseInteger(v.str()))
            return *i;
        break;
    default:
        break;
    }
    CannotConvert(c, v, "Integer", at);
}

Value ToArray(Interp& c, const Value& v, const Type* to, const Node* at)
{
    if (v.tag != Tag::Array)
        CannotConvert(c, v, TypeName(to), at);
    const ArrayObj* src = v.arr();
    auto* a = new ArrayObj;
    Value result = Value::FromObj(Tag::Array, a);
    if (!src)
        return result;
    a->items.reserve(src->items.size());
    for (auto& item : src->items) {
        if (to->elem->kind == TypeKind::Float && item.tag == Tag::Int)
            a->items.push_back(Value::Float(static_cast<double>(item.i)));
        else if (item.arr() && item.arr()->isStatic)
            a->items.push_back(DeepCopyArray(item.arr()));
        else
            a->items.push_back(item);
    }
    return result;
}

} // namespace

Value VariantTo(Interp& c, const Value& v, const Type* to, const Node* at)
{
    switch (to->kind) {
    case TypeKind::Integer:
        return Value::Int(ToInt(c, v, at));
    case TypeKind::Float:
        return Value::Float(ToDouble(c, v, at));
    case TypeKind::String:
        if (v.tag == Tag::Array || v.tag == Tag::Object)
            CannotConvert(c, v, "String", at);
        return Value::StrMove(ValueToText(v));
    case TypeKind::Boolean:
        if (v.tag == Tag::Str) {
            if (EqualsNoCase(v.str(), "true"))
                return Value::Bool(true);
            if (EqualsNoCase(v.str(), "false"))
                return Value::Bool(false);
            CannotConvert(c, v, "Boolean", at);
        }
        if (v.tag == Tag::Float)
            return Value::Bool(v.f != 0);
        if (v.tag == Tag::Array || v.tag == Tag::Object)
            CannotConvert(c, v, "Boolean", at);
        return Value::Bool(v.i != 0);
    case TypeKind::Class:
        if (v.tag == Tag::Empty || (v.tag == Tag::Object && !v.o))
            return DefaultValue(to);
        if (v.tag == Tag::Object && IsA(static_cast<Instance*>(v.o)->cls, to->cls))
            return v;
        CannotConvert(c, v, to->cls->name, at);
    case TypeKind::DynArray:
        return ToArray(c, v, to, at);
    case TypeKind::Variant:
        return v;
    default:
        CannotConvert(c, v, TypeName(to), at);
    }
}

int VariantCompare(Interp& c, const Value& a, const Value& b, const Node* at)
{
    if (a.tag == Tag::Str && b.tag == Tag::Str)
        return CompareBytes(a.str(), b.str());
    if ((a.tag == Tag::Str && b.tag == Tag::Empty) || (a.tag == Tag::Empty && b.tag == Tag::Str))
        return CompareBytes(a.str(), b.str());
    if ((a.tag == Tag::Int || a.tag == Tag::Bool || a.tag == Tag::Empty)
        && (b.tag == Tag::Int || b.tag == Tag::Bool || b.tag == Tag::Empty)) {
        int64_t x = ToInt(c, a, at), y = ToInt(c, b, at);
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.tag == Tag::Object || b.tag == Tag::Object || a.tag == Tag::Array || b.tag == Tag::Array) {
        if (a.tag == b.tag && a.o == b.o)
            return 0;
        c.Fail(at, "Invalid variant operation");
    }
    double x = ToDouble(c, a, at), y = ToDouble(c, b, at);
    return x < y ? -1 : (x > y ? 1 : 0);
}

Value VariantBinary(Interp& c, Tok op, const Value& a, const Value& b, const Node* at)
{
    if (op == Tok::Plus && (a.tag == Tag::Str || b.tag == Tag::Str) && (a.tag == Tag::Str || a.tag == Tag::Empty)
        && (b.tag == Tag::Str || b.tag == Tag::Empty)) {
        if (b.str().empty())
            return a.tag == Tag::Str ? a : b;
        if (a.str().empty())
            return b;
        Value r = a;
        c.StrWithRoom(at, r, uint64_t(a.str().size()) + b.str().size()).append(b.str());
        return r;
    }
    bool ints = (a.tag == Tag::Int || a.tag == Tag::Bool || a.tag == Tag::Empty)
        && (b.tag == Tag::Int || b.tag == Tag::Bool || b.tag == Tag::Empty);
    if (a.tag == Tag::Bool && b.tag == Tag::Bool && (op == Tok::KwAnd || op == Tok::KwOr || op == Tok::KwXor)) {
        bool r = op == Tok::KwAnd ? (a.b && b.b) : op == Tok::KwOr ? (a.b || b.b) : (a.b != b.b);
        return Value::Bool(r);
    }
    if (ints || op == Tok::KwDiv || op == Tok::KwMod || op == Tok::KwAnd || op == Tok::KwOr || op == Tok::KwXor
        || op == Tok::KwShl || op == Tok::KwShr) {
        if (op != Tok::Slash) {
            uint64_t x = static_cast<uint64_t>(ToInt(c, a, at)), y = static_cast<uint64_t>(ToInt(c, b, at));
            int64_t sx = static_cast<int64_t>(x), sy = static_cast<int64_t>(y);
            switch (op) {
            case Tok::Plus:
                return Value::Int(static_cast<int64_t>(x + y));
            case Tok::Minus:
                return Value::Int(static_cast<int64_t>(x - y));
            case Tok::Star:
                return Value::Int(static_cast<int64_t>(x * y));
            case Tok::KwDiv:
            case Tok::KwMod:
                if (y == 0)
                    c.Fail(at, "Division by zero");
                if (sy == -1)
                    return Value::Int(op == Tok::KwDiv ? static_cast<int64_t>(0 - x) : 0);
                return Value::Int(op == Tok::KwDiv ? sx / sy : sx % sy);
            case Tok::KwAnd:
                return Value::Int(static_cast<int64_t>(x & y));
            case Tok::KwOr:
                return Value::Int(static_cast<int64_t>(x | y));
            case Tok::KwXor:
                return Value::Int(static_cast<int64_t>(x ^ y));
            case Tok::KwShl:
                return Value::Int(static_cast<int64_t>(x << (y & 63)));
            case Tok::KwShr:
                return Value::Int(static_cast<int64_t>(x >> (y & 63)));
            default:
                break;
            }
        }
    }
    double x = ToDouble(c, a, at), y = ToDouble(c, b, at);
    switch (op) {
    case Tok::Plus:
        return Value::Float(x + y);
    case Tok::Minus:
        return Value::Float(x - y);
    case Tok::Star:
        return Value::Float(x * y);
    case Tok::Slash:
        if (y == 0)
            c.Fail(at, "Division by zero");
        return Value::Float(x / y);
    default:
        c.Fail(at, "Invalid variant operation");
    }
}

} // namespace zev::script
