#include "script/engine/values.h"

#include "script/engine/nodes.h"
#include "script/engine/program.h"

namespace zev::script {

std::string& MutableStr(Value& slot)
{
    if (slot.tag != Tag::Str) {
        slot = Value();
        slot.tag = Tag::Str;
        slot.o = nullptr;
    }
    auto* so = static_cast<StrObj*>(slot.o);
    if (!so) {
        so = new StrObj;
        so->refs = 1;
        slot.o = so;
    } else if (so->refs > 1) {
        auto* copy = new StrObj;
        copy->s = so->s;
        copy->refs = 1;
        --so->refs;
        slot.o = copy;
        so = copy;
    }
    return so->s;
}

Value DefaultValue(const Type* t)
{
    Value v;
    switch (t->kind) {
    case TypeKind::Integer:
        return Value::Int(0);
    case TypeKind::Float:
        return Value::Float(0);
    case TypeKind::Boolean:
        return Value::Bool(false);
    case TypeKind::String:
        v.tag = Tag::Str;
        v.o = nullptr;
        return v;
    case TypeKind::DynArray:
        v.tag = Tag::Array;
        v.o = nullptr;
        return v;
    case TypeKind::Class:
    case TypeKind::Nil:
        v.tag = Tag::Object;
        v.o = nullptr;
        return v;
    case TypeKind::StaticArray: {
        auto* a = new ArrayObj;
        a->isStatic = true;
        a->low = t->low;
        size_t n = static_cast<size_t>(t->high - t->low + 1);
        a->items.reserve(n);
        for (size_t i = 0; i < n; ++i)
            a->items.push_back(DefaultValue(t->elem));
        return Value::FromObj(Tag::Array, a);
    }
    default:
        return v;
    }
}

Value DeepCopyArray(const ArrayObj* a)
{
    auto* c = new ArrayObj;
    c->isStatic = a->isStatic;
    c->low = a->low;
    c->items.reserve(a->items.size());
    for (auto& item : a->items) {
        ArrayObj* inner = item.arr();
        if (inner && inner->isStatic)
            c->items.push_back(DeepCopyArray(inner));
        else
            c->items.push_back(item);
    }
    return Value::FromObj(Tag::Array, c);
}

Value CopyStaticIfShared(Value v)
{
    ArrayObj* a = v.arr();
    if (a && a->isStatic && a->refs > 1)
        return DeepCopyArray(a);
    return v;
}

Value* DerefSlot(Interp& c, Value& slot, const Node* at)
{
    if (slot.tag == Tag::Ref)
        return slot.ref;
    if (slot.tag == Tag::ElemRef) {
        auto* er = static_cast<ElemRefObj*>(slot.o);
        ArrayObj* a = er->array.arr();
        if (!a || er->index < 0 || static_cast<size_t>(er->index) >= a->items.size())
            c.Fail(at, "Index " + std::to_string(er->index + (a ? a->low : 0)) + " out of bounds");
        return &a->items[static_cast<size_t>(er->index)];
    }
    return &slot;
}

void FinishSlots(const std::vector<const Type*>& types, std::vector<Value>& init, std::vector<int>& fresh)
{
    init.clear();
    fresh.clear();
    for (size_t i = 0; i < types.size(); ++i) {
        if (types[i]->kind == TypeKind::StaticArray) {
            fresh.push_back(static_cast<int>(i));
            Value v;
            v.tag = Tag::Array;
            v.o = nullptr;
            init.push_back(v);
        } else {
            init.push_back(DefaultValue(types[i]));
        }
    }
}

} // namespace zev::script
