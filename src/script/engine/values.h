#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zev::script {

// Everything a script can hold a reference to: strings, arrays and class instances. The count is
// not atomic: scripts run on one thread.
struct Obj {
    virtual ~Obj() = default;
    uint32_t refs = 0;
};

inline void Retain(Obj* o)
{
    if (o)
        ++o->refs;
}
inline void Release(Obj* o)
{
    if (o && --o->refs == 0)
        delete o;
}

struct StrObj final : Obj {
    std::string s;
};

struct Value;
struct ArrayObj;
struct Instance;

enum class Tag : uint8_t { Empty, Int, Float, Bool, Str, Array, Object, Ref, ElemRef };

// One slot: the static type decides which member is live, the tag lets generic code (Variant,
// slot release, Write) see it too. A null string pointer is the empty string.
struct Value {
    union {
        int64_t i;
        double f;
        bool b;
        Obj* o;
        Value* ref;
    };
    Tag tag = Tag::Empty;

    Value()
        : i(0)
    {
    }
    static Value Int(int64_t v)
    {
        Value r;
        r.tag = Tag::Int;
        r.i = v;
        return r;
    }
    static Value Float(double v)
    {
        Value r;
        r.tag = Tag::Float;
        r.f = v;
        return r;
    }
    static Value Bool(bool v)
    {
        Value r;
        r.tag = Tag::Bool;
        r.i = 0;
        r.b = v;
        return r;
    }
    static Value Str(std::string_view s);
    static Value StrMove(std::string&& s);
    static Value FromObj(Tag t, Obj* obj)
    {
        Value r;
        r.tag = t;
        r.o = obj;
        Retain(obj);
        return r;
    }
    static Value SlotRef(Value* target)
    {
        Value r;
        r.tag = Tag::Ref;
        r.ref = target;
        return r;
    }

    bool holdsObj() const { return tag == Tag::Str || tag == Tag::Array || tag == Tag::Object || tag == Tag::ElemRef; }

    Value(const Value& v)
        : i(v.i)
        , tag(v.tag)
    {
        if (holdsObj())
            Retain(o);
    }
    Value(Value&& v) noexcept
        : i(v.i)
        , tag(v.tag)
    {
        v.tag = Tag::Empty;
        v.i = 0;
    }
    Value& operator=(const Value& v)
    {
        if (v.holdsObj())
            Retain(v.o);
        if (holdsObj())
            Release(o);
        i = v.i;
        tag = v.tag;
        return *this;
    }
    Value& operator=(Value&& v) noexcept
    {
        if (this != &v) {
            if (holdsObj())
                Release(o);
            i = v.i;
            tag = v.tag;
            v.tag = Tag::Empty;
            v.i = 0;
        }
        return *this;
    }
    ~Value()
    {
        if (holdsObj())
            Release(o);
    }

    std::string_view str() const
    {
        return (tag == Tag::Str && o) ? std::string_view(static_cast<StrObj*>(o)->s) : std::string_view();
    }
    ArrayObj* arr() const { return tag == Tag::Array ? reinterpret_cast<ArrayObj*>(o) : nullptr; }
    Instance* inst() const { return tag == Tag::Object ? reinterpret_cast<Instance*>(o) : nullptr; }
};

struct ArrayObj final : Obj {
    std::vector<Value> items;
    int64_t low = 0; // 0 for dynamic arrays, the declared low bound for static ones
    bool isStatic = false;
};

// A var argument that names an array element: it keeps the array alive and finds the element again
// on every access, so a resize in the callee cannot leave it dangling.
struct ElemRefObj final : Obj {
    Value array; // Tag::Array
    int64_t index = 0;
};

inline Value Value::Str(std::string_view s)
{
    Value r;
    r.tag = Tag::Str;
    r.o = nullptr;
    if (!s.empty()) {
        auto* so = new StrObj;
        so->s.assign(s.data(), s.size());
        so->refs = 1;
        r.o = so;
    }
    return r;
}

inline Value Value::StrMove(std::string&& s)
{
    Value r;
    r.tag = Tag::Str;
    r.o = nullptr;
    if (!s.empty()) {
        auto* so = new StrObj;
        so->s = std::move(s);
        so->refs = 1;
        r.o = so;
    }
    return r;
}

// The string of a slot, made unshared so it can be changed in place (copy on write).
std::string& MutableStr(Value& slot);

} // namespace zev::script
