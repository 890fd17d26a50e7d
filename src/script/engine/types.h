#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zev::script {

struct ClassInfo;

enum class TypeKind : uint8_t {
    Error, // a type that already produced a message: silences follow-up errors
    Void,
    Integer,
    Float,
    String,
    Boolean,
    Variant,
    DynArray,
    StaticArray,
    Class,
    Nil,
    ArrayLiteral, // an open array argument whose element type is not fixed yet
};

struct Type {
    TypeKind kind = TypeKind::Error;
    const Type* elem = nullptr; // arrays
    int64_t low = 0, high = -1; // static arrays
    const ClassInfo* cls = nullptr;

    bool isError() const { return kind == TypeKind::Error; }
    bool isNumeric() const { return kind == TypeKind::Integer || kind == TypeKind::Float; }
    bool isArray() const { return kind == TypeKind::DynArray || kind == TypeKind::StaticArray; }
    // Kinds whose slot holds a reference-counted pointer.
    bool isRef() const
    {
        return kind == TypeKind::String || kind == TypeKind::DynArray || kind == TypeKind::StaticArray
            || kind == TypeKind::Class || kind == TypeKind::Variant || kind == TypeKind::Nil;
    }
};

// Owns the composite types of one program; the simple ones are shared constants.
class TypeTable {
public:
    static const Type* Error();
    static const Type* Void();
    static const Type* Integer();
    static const Type* Float();
    static const Type* String();
    static const Type* Boolean();
    static const Type* Variant();
    static const Type* Nil();

    const Type* DynArray(const Type* elem);
    const Type* StaticArray(const Type* elem, int64_t low, int64_t high);
    const Type* ClassType(const ClassInfo* cls);
    const Type* ArrayLiteral(const Type* elem);

private:
    const Type* Make(Type t);
    std::vector<std::unique_ptr<Type>> m_types;
};

std::string TypeName(const Type* t);
bool SameType(const Type* a, const Type* b);

} // namespace zev::script
