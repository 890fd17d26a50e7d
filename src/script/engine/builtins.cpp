#include "script/engine/builtins.h"

#include <map>
#include <string>

#include "script/engine/text_util.h"

namespace zev::script {

namespace {

std::map<std::string, Builtin> BuildTable()
{
    std::vector<Builtin> all;
    AddOutputBuiltins(all);
    AddStringBuiltins(all);
    AddFormatBuiltins(all);
    AddMathBuiltins(all);
    AddOrdinalBuiltins(all);
    AddDialogBuiltins(all);
    AddMiscBuiltins(all);
    std::map<std::string, Builtin> table;
    for (auto& b : all)
        table.emplace(LowerCopy(b.name), std::move(b));
    return table;
}

} // namespace

const Builtin* FindBuiltin(std::string_view name)
{
    static const std::map<std::string, Builtin> table = BuildTable();
    auto it = table.find(LowerCopy(name));
    return it == table.end() ? nullptr : &it->second;
}

const Type* TypeOfKind(TypeKind k)
{
    switch (k) {
    case TypeKind::Integer:
        return TypeTable::Integer();
    case TypeKind::Float:
        return TypeTable::Float();
    case TypeKind::String:
        return TypeTable::String();
    case TypeKind::Boolean:
        return TypeTable::Boolean();
    case TypeKind::Variant:
        return TypeTable::Variant();
    case TypeKind::Void:
        return TypeTable::Void();
    default:
        return TypeTable::Error();
    }
}

} // namespace zev::script
