#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "script/engine/types.h"
#include "script/engine/values.h"

namespace zev::script {

class Interp;
struct Node;
struct Instance;

// A member of a library class as the checker sees it. Methods take `params`; properties read with
// `get` and write with `set`; an indexed property takes its index as the one parameter.
struct MemberInfo {
    enum class Kind { Method, Property, Constructor } kind = Kind::Method;
    std::string_view name;
    std::vector<TypeKind> params;
    TypeKind result = TypeKind::Void; // Class: an instance of the owning class
    bool indexed = false;
    bool isDefault = false; // `list[i]` means `list.Strings[i]`
    bool variadicArray = false; // last parameter is an `array of const`
    Value (*get)(Interp& c, Instance* self, Value* args, const Node* at) = nullptr;
    void (*set)(Interp& c, Instance* self, Value* args, Value v, const Node* at) = nullptr;
    Value (*construct)(Interp& c, Value* args, const Node* at) = nullptr;
};

struct ClassInfo {
    std::string name;
    const ClassInfo* parent = nullptr;
    std::vector<MemberInfo> members;
};

struct Instance : Obj {
    const ClassInfo* cls = nullptr;
};

struct ExceptionObj final : Instance {
    std::string message;
};

struct StringListObj final : Instance {
    std::vector<std::string> items;
};

const ClassInfo* TObjectClass();
const ClassInfo* ExceptionClass();
const ClassInfo* StringListClass();
const ClassInfo* FindClass(std::string_view name);
bool IsA(const ClassInfo* cls, const ClassInfo* base);
// Looks through the class and its ancestors.
const MemberInfo* FindMember(const ClassInfo* cls, std::string_view name);
const MemberInfo* FindDefaultMember(const ClassInfo* cls);

void AddStringListMembers(ClassInfo& cls);

// TStringList's text forms, shared with the tests through the script.
std::string JoinText(const std::vector<std::string>& items);
std::vector<std::string> SplitText(std::string_view text);
std::string JoinCommaText(const std::vector<std::string>& items);
std::vector<std::string> SplitCommaText(std::string_view text);

} // namespace zev::script
