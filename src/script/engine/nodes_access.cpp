#include "script/engine/node_factory.h"

namespace zev::script {

namespace {

[[noreturn]] void OutOfBounds(Interp& c, const Node* at, int64_t index, int64_t low, int64_t high)
{
    c.Fail(at,
        "Index " + std::to_string(index) + " out of bounds (" + std::to_string(low) + ".." + std::to_string(high)
            + ")");
}

// s[i]: a one-character String, 1-based.
struct StringIndex final : Expr {
    ExprP s, index;
    Value eval(Interp& c) override
    {
        Value v = s->eval(c);
        int64_t i = index->evalInt(c);
        std::string_view sv = v.str();
        if (i < 1 || i > static_cast<int64_t>(sv.size()))
            OutOfBounds(c, this, i, 1, static_cast<int64_t>(sv.size()));
        return c.OneChar(static_cast<unsigned char>(sv[static_cast<size_t>(i - 1)]));
    }
};

// a[i] of a dynamic (from 0) or static (from its low bound) array.
struct ArrayElem final : LValue {
    ExprP array, index;
    LValue* arrayLv = nullptr; // when the array is a variable: no reference count traffic
    int localSlot = -1; // when it is a local of the current routine: not even a call

    ArrayObj* Array(Interp& c, Value& holder)
    {
        if (localSlot >= 0)
            return c.fp[localSlot].arr();
        if (arrayLv)
            return arrayLv->address(c)->arr();
        holder = array->eval(c);
        return holder.arr();
    }

    size_t Position(Interp& c, ArrayObj* a, int64_t i)
    {
        int64_t low = a ? a->low : 0;
        int64_t n = a ? static_cast<int64_t>(a->items.size()) : 0;
        if (i < low || i - low >= n)
            OutOfBounds(c, this, i, low, low + n - 1);
        return static_cast<size_t>(i - low);
    }

    Value* address(Interp& c) override
    {
        int64_t i = index->evalInt(c);
        Value holder;
        ArrayObj* a = Array(c, holder);
        // A temporary array (a function result) would die with `holder`; only variables are places.
        if (!arrayLv)
            c.Fail(this, "Variable expected");
        size_t pos = Position(c, a, i); // throws before a null array is touched
        return &a->items[pos];
    }
    Value eval(Interp& c) override
    {
        int64_t i = index->evalInt(c);
        Value holder;
        ArrayObj* a = Array(c, holder);
        size_t pos = Position(c, a, i);
        return a->items[pos];
    }
    int64_t evalInt(Interp& c) override
    {
        int64_t i = index->evalInt(c);
        Value holder;
        ArrayObj* a = Array(c, holder);
        size_t pos = Position(c, a, i);
        return a->items[pos].i;
    }
    double evalFloat(Interp& c) override
    {
        int64_t i = index->evalInt(c);
        Value holder;
        ArrayObj* a = Array(c, holder);
        size_t pos = Position(c, a, i);
        return a->items[pos].f;
    }
    bool evalBool(Interp& c) override
    {
        int64_t i = index->evalInt(c);
        Value holder;
        ArrayObj* a = Array(c, holder);
        size_t pos = Position(c, a, i);
        return a->items[pos].b;
    }
    // A `var` argument pins the array and finds the element again on each access.
    Value reference(Interp& c) override
    {
        int64_t i = index->evalInt(c);
        Value arr = array->eval(c);
        ArrayObj* a = arr.arr();
        size_t pos = Position(c, a, i);
        auto* r = new ElemRefObj;
        r->array = std::move(arr);
        r->index = static_cast<int64_t>(pos);
        return Value::FromObj(Tag::ElemRef, r);
    }
};

struct ArrayLiteral final : Expr {
    std::vector<ExprP> elems;
    Value eval(Interp& c) override
    {
        auto* a = new ArrayObj;
        Value v = Value::FromObj(Tag::Array, a);
        a->items.reserve(elems.size());
        for (auto& e : elems)
            a->items.push_back(e->eval(c));
        return v;
    }
};

struct CopyStatic final : Expr {
    ExprP e;
    Value eval(Interp& c) override { return CopyStaticIfShared(e->eval(c)); }
};

} // namespace

ExprP MakeStringIndex(ExprP s, ExprP index, int line, int col)
{
    auto n = std::make_unique<StringIndex>();
    n->s = std::move(s);
    n->index = std::move(index);
    n->type = TypeTable::String();
    n->At(line, col);
    return n;
}

ExprP MakeArrayElem(ExprP array, ExprP index, const Type* elem, int line, int col)
{
    auto n = std::make_unique<ArrayElem>();
    n->arrayLv = dynamic_cast<LValue*>(array.get());
    if (auto* local = dynamic_cast<LocalVar*>(array.get()))
        n->localSlot = local->slot;
    n->array = std::move(array);
    n->index = std::move(index);
    n->type = elem;
    n->At(line, col);
    return n;
}

ExprP MakeArrayLiteral(const Type* arrayType, std::vector<ExprP> elems, int line, int col)
{
    auto n = std::make_unique<ArrayLiteral>();
    n->elems = std::move(elems);
    n->type = arrayType;
    n->At(line, col);
    return n;
}

ExprP MakeCopyStatic(ExprP e)
{
    if (e->type->kind != TypeKind::StaticArray)
        return e;
    auto n = std::make_unique<CopyStatic>();
    n->type = e->type;
    n->At(e->line, e->col);
    n->e = std::move(e);
    return n;
}

} // namespace zev::script
