#include "script/engine/types.h"

#include "script/engine/classes.h"

namespace zev::script {

namespace {
const Type kError { TypeKind::Error };
const Type kVoid { TypeKind::Void };
const Type kInteger { TypeKind::Integer };
const Type kFloat { TypeKind::Float };
const Type kString { TypeKind::String };
const Type kBoolean { TypeKind::Boolean };
const Type kVariant { TypeKind::Variant };
const Type kNil { TypeKind::Nil };
} // namespace

const Type* TypeTable::Error()
{
    return &kError;
}
const Type* TypeTable::Void()
{
    return &kVoid;
}
const Type* TypeTable::Integer()
{
    return &kInteger;
}
const Type* TypeTable::Float()
{
    return &kFloat;
}
const Type* TypeTable::String()
{
    return &kString;
}
const Type* TypeTable::Boolean()
{
    return &kBoolean;
}
const Type* TypeTable::Variant()
{
    return &kVariant;
}
const Type* TypeTable::Nil()
{
    return &kNil;
}

const Type* TypeTable::Make(Type t)
{
    for (auto& existing : m_types)
        if (existing->kind == t.kind && existing->elem == t.elem && existing->low == t.low && existing->high == t.high
            && existing->cls == t.cls)
            return existing.get();
    m_types.push_back(std::make_unique<Type>(t));
    return m_types.back().get();
}

const Type* TypeTable::DynArray(const Type* elem)
{
    return Make({ TypeKind::DynArray, elem, 0, -1, nullptr });
}

const Type* TypeTable::StaticArray(const Type* elem, int64_t low, int64_t high)
{
    return Make({ TypeKind::StaticArray, elem, low, high, nullptr });
}

const Type* TypeTable::ClassType(const ClassInfo* cls)
{
    return Make({ TypeKind::Class, nullptr, 0, -1, cls });
}

const Type* TypeTable::ArrayLiteral(const Type* elem)
{
    return Make({ TypeKind::ArrayLiteral, elem, 0, -1, nullptr });
}

bool SameType(const Type* a, const Type* b)
{
    if (a == b)
        return true;
    if (a->kind != b->kind)
        return false;
    switch (a->kind) {
    case TypeKind::DynArray:
    case TypeKind::ArrayLiteral:
        return SameType(a->elem, b->elem);
    case TypeKind::StaticArray:
        return a->low == b->low && a->high == b->high && SameType(a->elem, b->elem);
    case TypeKind::Class:
        return a->cls == b->cls;
    default:
        return true;
    }
}

std::string TypeName(const Type* t)
{
    switch (t->kind) {
    case TypeKind::Error:
        return "<error>";
    case TypeKind::Void:
        return "<no value>";
    case TypeKind::Integer:
        return "Integer";
    case TypeKind::Float:
        return "Float";
    case TypeKind::String:
        return "String";
    case TypeKind::Boolean:
        return "Boolean";
    case TypeKind::Variant:
        return "Variant";
    case TypeKind::Nil:
        return "nil";
    case TypeKind::DynArray:
        return "array of " + TypeName(t->elem);
    case TypeKind::ArrayLiteral:
        return "array of " + TypeName(t->elem);
    case TypeKind::StaticArray:
        return "array[" + std::to_string(t->low) + ".." + std::to_string(t->high) + "] of " + TypeName(t->elem);
    case TypeKind::Class:
        return t->cls->name;
    }
    return "?";
}

} // namespace zev::script
