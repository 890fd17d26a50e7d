#include "script/engine/classes.h"

#include "script/engine/interpreter.h"
#include "script/engine/nodes.h"
#include "script/engine/text_util.h"

namespace zev::script {

namespace {

ExceptionObj* AsException(Instance* self)
{
    return static_cast<ExceptionObj*>(self);
}

Value NewException(Interp&, Value* args, const Node*)
{
    return MakeException(args[0].str());
}

Value GetMessage(Interp&, Instance* self, Value*, const Node*)
{
    return Value::Str(AsException(self)->message);
}

void SetMessage(Interp&, Instance* self, Value*, Value v, const Node*)
{
    AsException(self)->message = v.str();
}

Value GetClassName(Interp&, Instance* self, Value*, const Node*)
{
    return Value::Str(self->cls->name);
}

Value DoNothing(Interp&, Instance*, Value*, const Node*)
{
    return Value();
}

ClassInfo MakeTObject()
{
    ClassInfo c;
    c.name = "TObject";
    MemberInfo free;
    free.name = "Free";
    free.get = DoNothing; // freed when unreferenced; Free only has to be harmless
    c.members.push_back(free);
    MemberInfo cn;
    cn.name = "ClassName";
    cn.kind = MemberInfo::Kind::Property;
    cn.result = TypeKind::String;
    cn.get = GetClassName;
    c.members.push_back(cn);
    return c;
}

ClassInfo MakeExceptionClass()
{
    ClassInfo c;
    c.name = "Exception";
    c.parent = TObjectClass();
    MemberInfo create;
    create.kind = MemberInfo::Kind::Constructor;
    create.name = "Create";
    create.params = { TypeKind::String };
    create.result = TypeKind::Class;
    create.construct = NewException;
    c.members.push_back(create);
    MemberInfo msg;
    msg.kind = MemberInfo::Kind::Property;
    msg.name = "Message";
    msg.result = TypeKind::String;
    msg.get = GetMessage;
    msg.set = SetMessage;
    c.members.push_back(msg);
    return c;
}

ClassInfo MakeStringList()
{
    ClassInfo c;
    c.name = "TStringList";
    c.parent = TObjectClass();
    AddStringListMembers(c);
    return c;
}

} // namespace

const ClassInfo* TObjectClass()
{
    static const ClassInfo cls = MakeTObject();
    return &cls;
}

const ClassInfo* ExceptionClass()
{
    static const ClassInfo cls = MakeExceptionClass();
    return &cls;
}

const ClassInfo* StringListClass()
{
    static const ClassInfo cls = MakeStringList();
    return &cls;
}

const ClassInfo* FindClass(std::string_view name)
{
    for (const ClassInfo* c : { TObjectClass(), ExceptionClass(), StringListClass() })
        if (EqualsNoCase(c->name, name))
            return c;
    if (EqualsNoCase(name, "TStrings"))
        return StringListClass();
    return nullptr;
}

bool IsA(const ClassInfo* cls, const ClassInfo* base)
{
    for (; cls; cls = cls->parent)
        if (cls == base)
            return true;
    return false;
}

const MemberInfo* FindMember(const ClassInfo* cls, std::string_view name)
{
    for (; cls; cls = cls->parent)
        for (auto& m : cls->members)
            if (EqualsNoCase(m.name, name))
                return &m;
    return nullptr;
}

const MemberInfo* FindDefaultMember(const ClassInfo* cls)
{
    for (; cls; cls = cls->parent)
        for (auto& m : cls->members)
            if (m.isDefault)
                return &m;
    return nullptr;
}

Value MakeException(std::string_view message)
{
    auto* e = new ExceptionObj;
    e->cls = ExceptionClass();
    e->message = message;
    return Value::FromObj(Tag::Object, e);
}

} // namespace zev::script
